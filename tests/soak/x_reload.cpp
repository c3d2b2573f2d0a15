// gravisk_x_reload N: presses F1 N times through the XTEST extension, each time
// waiting until a new "Gravisk V2.0" window has the keyboard focus (a reload makes a
// new window). Faster than a fresh xdotool per key; exits 1 if a reload does not come.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

struct OpenDisplay {
  Display* dpy = XOpenDisplay(nullptr);
  ~OpenDisplay() {
    if (dpy) XCloseDisplay(dpy);
  }
};

// The focused window can vanish between two requests (a reload destroys it): such
// errors only mean "not this window", the next poll looks again.
int ignoreVanishedWindow(Display*, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadMatch) return 0;
  std::fprintf(stderr, "gravisk_x_reload: X error %d\n", error->error_code);
  std::exit(1);
}

// The focused window if it is a mapped game window, else None.
Window focusedGameWindow(Display* dpy) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(dpy, &focus, &revert);
  if (focus == None || focus == PointerRoot) return None;
  char* name = nullptr;
  const bool game = XFetchName(dpy, focus, &name) && name && std::strcmp(name, "Gravisk V2.0") == 0;
  if (name) XFree(name);
  XWindowAttributes attributes;
  if (!game || !XGetWindowAttributes(dpy, focus, &attributes)) return None;
  return attributes.map_state == IsViewable ? focus : None;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc == 2 ? std::strtol(argv[1], nullptr, 10) : -1;
  if (count < 0) {
    std::fprintf(stderr, "usage: gravisk_x_reload COUNT\n");
    return 2;
  }
  OpenDisplay display;
  Display* dpy = display.dpy;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!dpy || !XTestQueryExtension(dpy, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "gravisk_x_reload: no X display with XTEST\n");
    return 1;
  }
  XSetErrorHandler(ignoreVanishedWindow);
  const KeyCode f1 = XKeysymToKeycode(dpy, XK_F1);
  using Clock = std::chrono::steady_clock;
  Window window = focusedGameWindow(dpy);
  if (window == None) {
    std::fprintf(stderr, "gravisk_x_reload: the game window does not have the focus\n");
    return 1;
  }
  const auto start = Clock::now();
  for (long i = 0; i < count; ++i) {
    XTestFakeKeyEvent(dpy, f1, True, CurrentTime);
    XTestFakeKeyEvent(dpy, f1, False, CurrentTime);
    XSync(dpy, False);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    Window next = None;
    while ((next = focusedGameWindow(dpy)) == None || next == window) {
      if (Clock::now() > deadline) {
        std::fprintf(stderr, "gravisk_x_reload: no new window after F1 number %ld\n", i + 1);
        return 1;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    window = next;
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::printf("%ld reloads in %.0f ms (%.2f ms each)\n", count, ms, count ? ms / count : 0.0);
  return 0;
}
