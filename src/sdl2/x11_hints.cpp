// The Motif hints set with Xlib on the game window's X11 handle, which SDL
// hands out through SDL_GetWindowWMInfo, the frame extents asked of the window
// manager, the question whether a window manager runs, freeing the colormap SDL
// leaves behind, and the Xft.dpi resource. Nothing else needs Xlib.
#include "sdl2/x11_hints.h"

#include <SDL_syswm.h>
#include <SDL_timer.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gravisk::sdl2 {
namespace {

// The Motif window-manager hints, as every window manager reads them.
constexpr unsigned long kMwmHintsFunctions = 1L << 0;
constexpr unsigned long kMwmHintsDecorations = 1L << 1;
constexpr unsigned long kMwmFuncMove = 1L << 2;
constexpr unsigned long kMwmFuncClose = 1L << 5;
constexpr unsigned long kMwmDecorBorder = 1L << 1;
constexpr unsigned long kMwmDecorTitle = 1L << 3;
constexpr unsigned long kMwmDecorMenu = 1L << 4;

struct X11Handle {
  Display* display = nullptr;
  Window window = 0;
};

X11Handle x11Handle(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {info.info.x11.display, info.info.x11.window};
}

int handleXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  char text[256] = "";
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "gravisk: X error: %s (request %d.%d on resource 0x%lx)\n", text,
               error->request_code, error->minor_code, error->resourceid);
  std::exit(1);
}

// A window property of 32-bit values of `type`, at most `most` of them; empty
// when the window has no such property. Xlib hands 32-bit values as longs.
std::vector<long> readLongs(Display* display, Window window, Atom property, Atom type, long most) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, property, 0, most, False, type, &actualType, &format,
                         &count, &after, &data) == Success &&
      data) {
    if (actualType == type && format == 32) {
      const auto* longs = reinterpret_cast<const long*>(data);
      values.assign(longs, longs + count);
    }
    XFree(data);
  }
  return values;
}

// Whether the running window manager lists `feature` in _NET_SUPPORTED.
bool windowManagerSupports(Display* display, Window root, Atom feature) {
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
  const std::vector<long> atoms = readLongs(display, root, supported, XA_ATOM, 4096);
  return std::find(atoms.begin(), atoms.end(), static_cast<long>(feature)) != atoms.end();
}

// The window's _NET_FRAME_EXTENTS (left, right, top, bottom), if it has them.
bool readFrameExtents(Display* display, Window window, Atom property, FrameExtents& extents) {
  const std::vector<long> values = readLongs(display, window, property, XA_CARDINAL, 4);
  if (values.size() != 4) return false;
  extents = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
             static_cast<int>(values[3])};
  return true;
}

}  // namespace

bool requestFrameExtents(SDL_Window* window, FrameExtents& extents) {
  const X11Handle x11 = x11Handle(window);
  if (!x11.display) return false;
  const Window root = DefaultRootWindow(x11.display);
  const Atom request = XInternAtom(x11.display, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom property = XInternAtom(x11.display, "_NET_FRAME_EXTENTS", False);
  if (!windowManagerSupports(x11.display, root, request)) return false;

  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = x11.window;
  event.xclient.message_type = request;
  event.xclient.format = 32;
  XSendEvent(x11.display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(x11.display);
  // The window manager answers by setting the property, within a few
  // milliseconds; one that does not answer costs a fifth of a second.
  for (int waited = 0; waited < 200; ++waited) {
    if (readFrameExtents(x11.display, x11.window, property, extents)) return true;
    SDL_Delay(1);
  }
  return false;
}

void tolerateStaleWakeups(const char* videoDriver) {
  if (videoDriver && std::strcmp(videoDriver, "x11") == 0) XSetErrorHandler(handleXError);
}

void setFrameHints(SDL_Window* window) {
  const X11Handle x11 = x11Handle(window);
  if (!x11.display) return;
  // flags, functions, decorations, input mode, status: five CARD32s, which
  // Xlib takes as longs for format 32.
  const long hints[5] = {kMwmHintsFunctions | kMwmHintsDecorations, kMwmFuncMove | kMwmFuncClose,
                         kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu, 0, 0};
  const Atom atom = XInternAtom(x11.display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(x11.display, x11.window, atom, atom, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(x11.display);
}

void destroyWindowAndColormap(SDL_Window* window) {
  const X11Handle x11 = x11Handle(window);
  XWindowAttributes attributes;
  Colormap colormap = None;
  if (x11.display && XGetWindowAttributes(x11.display, x11.window, &attributes)) {
    colormap = attributes.colormap;
  }
  SDL_DestroyWindow(window);
  if (colormap != None && colormap != DefaultColormapOfScreen(attributes.screen)) {
    XFreeColormap(x11.display, colormap);
    XFlush(x11.display);
  }
}

bool inWindowManagerFrame(SDL_Window* window) {
  const X11Handle x11 = x11Handle(window);
  if (!x11.display) return true;
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(x11.display, x11.window, &root, &parent, &children, &count)) return true;
  if (children) XFree(children);
  return parent != root;
}

double desktopDpi(const char* videoDriver) {
  constexpr double kUsual = 96.0;
  if (!videoDriver || std::strcmp(videoDriver, "x11") != 0) return kUsual;
  // SDL's own connection is only reachable through a window, and the window's
  // size depends on the answer: a short connection of our own asks first.
  Display* display = XOpenDisplay(nullptr);
  if (!display) return kUsual;
  double dpi = kUsual;
  if (const char* resources = XResourceManagerString(display)) {
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources)) {
      char* type = nullptr;
      XrmValue value{};
      if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        // The number as written ("192", "144.5"), whatever the locale's decimal point.
        const char* text = value.addr;
        while (*text == ' ' || *text == '\t') ++text;
        double parsed = 0.0;
        const auto [end, error] = std::from_chars(text, text + std::strlen(text), parsed);
        if (error == std::errc() && end != text) dpi = parsed;
      }
      XrmDestroyDatabase(database);
    }
  }
  XCloseDisplay(display);
  return dpi;
}

}  // namespace gravisk::sdl2
