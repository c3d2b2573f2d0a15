// The SDL2 front end's window handling, message box and event loop. The loop
// sleeps in SDL_WaitEvent: the game does nothing until the player does, and waits
// with a time-out only while a direction held on a pad is to repeat.
#include "sdl2/sdl_front_end.h"

#include <SDL_messagebox.h>
#include <SDL_timer.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>

#include "game/window_definition.h"
#include "render/embedded_assets.h"
#include "render/scaling.h"
#include "sdl2/keys.h"
#include "sdl2/wayland_box.h"
#include "sdl2/wayland_window.h"
#include "sdl2/x11_hints.h"

namespace gravisk::sdl2 {
namespace {

// Frame pixels are 0x00RRGGBB in native-endian 32-bit words: SDL's RGB888.
constexpr Uint32 kFrameFormat = SDL_PIXELFORMAT_RGB888;

// Copies a part of the frame to the window surface, each pixel as a scale × scale
// block; a surface of another pixel format gets the block copy through `scratch`.
void copyToSurface(const Frame& frame, int scale, std::vector<std::uint32_t>& scratch,
                   SDL_Surface* surface, const PixelRect& rect) {
  const PixelRect shown = scaledRect(rect, scale);
  // The window cannot be resized, so its surface has the window's size; never
  // write past a smaller one.
  if (surface->w < Frame::kWidth * scale || surface->h < Frame::kHeight * scale) return;
  if (surface->format->format == kFrameFormat) {
    presentScaled(frame, rect, scale, static_cast<std::uint32_t*>(surface->pixels),
                  static_cast<std::size_t>(surface->pitch));
    return;
  }
  const int width = Frame::kWidth * scale;
  scratch.resize(static_cast<std::size_t>(width) * Frame::kHeight * scale);
  const std::size_t pitch = static_cast<std::size_t>(width) * 4;
  presentScaled(frame, rect, scale, scratch.data(), pitch);
  SDL_ConvertPixels(shown.w, shown.h, kFrameFormat,
                    scratch.data() + static_cast<std::size_t>(shown.y) * width + shown.x,
                    static_cast<int>(pitch), surface->format->format,
                    static_cast<std::uint8_t*>(surface->pixels) + shown.y * surface->pitch +
                        shown.x * surface->format->BytesPerPixel,
                    surface->pitch);
}

// Where the window goes so that the whole of it, frame and title bar included,
// is centred in the work area of the first screen, as the Windows program does;
// a window larger than the work area keeps its top-left corner inside it. A
// window manager puts its frame's outer corner where the window asks to be (the
// default north-west gravity); with none there is no frame, and the client area
// itself is centred.
SDL_Point centredPosition(int width, int height, const FrameExtents& frame) {
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &area) != 0) {
    return {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED};
  }
  const int outerWidth = frame.left + width + frame.right;
  const int outerHeight = frame.top + height + frame.bottom;
  return {std::max(area.x, area.x + (area.w - outerWidth) / 2),
          std::max(area.y, area.y + (area.h - outerHeight) / 2)};
}

// Why SDL gave no window surface. SDL often says nothing: when the player's
// SDL_FRAMEBUFFER_ACCELERATION turns off the GL ES surface that Wayland needs.
std::string noSurfaceReason(const char* driver) {
  const std::string error = SDL_GetError();
  if (!error.empty()) return error;
  std::string reason = "SDL's " + std::string(driver ? driver : "") + " video driver has none";
  const char* acceleration = std::getenv("SDL_FRAMEBUFFER_ACCELERATION");
  if (acceleration) reason += std::string(" with SDL_FRAMEBUFFER_ACCELERATION=") + acceleration;
  return reason;
}

}  // namespace

SdlFrontEnd::SdlFrontEnd() {
  try {
    iconImage = decodeIcon(embeddedAsset("gravisk.ico"), 32, 4);
    iconSurface =
        SDL_CreateRGBSurfaceWithFormatFrom(iconImage.argb.data(), iconImage.width, iconImage.height,
                                           32, iconImage.width * 4, SDL_PIXELFORMAT_ARGB8888);
  } catch (const std::exception& e) {
    // The game plays as well without its icon; say so and go on.
    std::cerr << "gravisk: no window icon: " << e.what() << '\n';
  }
}

SdlFrontEnd::~SdlFrontEnd() {
  if (window) SDL_DestroyWindow(window);
  if (iconSurface) SDL_FreeSurface(iconSurface);
}

void SdlFrontEnd::start() {
  scale = scaleForDpi(desktopDpi(SDL_GetCurrentVideoDriver()));
  pads.start();
  form.show();
}

void SdlFrontEnd::keyDown(std::int16_t code, std::int16_t shift) {
  form.Form_KeyDown(code, shift);
  if (!form.loaded()) return;
  const std::vector<PixelRect> changed = renderer.update(form.board(), frame);
  present(changed.data(), static_cast<int>(changed.size()));
}

int SdlFrontEnd::loop() {
  SDL_Event event;
  std::vector<std::int16_t> padKeys;
  for (;;) {
    // A direction held on a pad repeats as a held key does; nothing else has a
    // time-out.
    if (const std::int16_t key = pads.repeat(SDL_GetTicks64())) keyDown(key, 0);
    if (const std::optional<std::uint64_t> due = pads.nextRepeat()) {
      const std::uint64_t now = SDL_GetTicks64();
      const std::uint64_t wait = *due > now ? *due - now : 0;
      if (!SDL_WaitEventTimeout(&event, static_cast<int>(std::min<std::uint64_t>(wait, INT_MAX)))) {
        continue;
      }
    } else if (!SDL_WaitEvent(&event)) {
      break;
    }
    switch (event.type) {
      case SDL_QUIT:
        return 0;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != windowId) break;
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) presentAll();
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return 0;
        break;
      case SDL_KEYDOWN: {
        // A key queued for a window that a reload has since destroyed is dropped.
        // A key without a window comes from the X server to the current window
        // in the first 200 ms after it gained the focus, before SDL takes note.
        if (event.key.windowID != windowId && event.key.windowID != 0) break;
        const std::int16_t code = virtualKey(event.key.keysym);
        if (code != 0) keyDown(code, shiftState(event.key.keysym.mod));
        break;
      }
      default:
        padKeys.clear();
        if (pads.handle(event, padKeys)) {
          for (const std::int16_t key : padKeys) keyDown(key, 0);
        }
        break;
    }
  }
  throw WindowError(std::string("waiting for events failed: ") + SDL_GetError());
}

void SdlFrontEnd::messageBox(std::string_view text, std::string_view title) {
  const std::string message(text);
  const std::string caption(title);
  const SDL_MessageBoxButtonData ok = {
      SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"};
  // Owned by the game window; with no window manager SDL would misplace an owned
  // box, and a box centred on the screen sits over the (centred) window anyway.
  SDL_Window* owner = window && inWindowManagerFrame(window) ? window : nullptr;
  const SDL_MessageBoxData box = {
      SDL_MESSAGEBOX_INFORMATION, owner, caption.c_str(), message.c_str(), 1, &ok, nullptr};
  int pressed = 0;
  // A pad's A or Start closes the box too, and none of its buttons reaches the game.
  bool shown = false;
  if (onWayland(SDL_GetCurrentVideoDriver())) {
    // The box's loop is the game's own there: the pads are read in it.
    pads.ownBoxOpened();
    shown = showWaylandBox(
        window, message, caption, [this] { presentAll(); },
        [this](const SDL_Event& event) { return pads.closesBox(event); });
  } else {
    pads.boxOpened(caption);
    shown = SDL_ShowMessageBox(&box, &pressed) == 0;
  }
  if (!shown) {
    std::cerr << "gravisk: " << message << " (cannot show a message box: " << SDL_GetError()
              << ")\n";
  }
  pads.boxClosed();
  // The box is modal: while it was open the game window could not be used. Keys
  // typed meanwhile belong to the box, and a close request for the game window
  // (its close box, or the window manager's) is ignored, as Windows ignores a
  // disabled owner window. A close request after the box has gone ends the game.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
  SDL_FlushEvent(SDL_QUIT);
  SDL_FilterEvents(
      [](void*, SDL_Event* event) {
        return event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_CLOSE ? 0
                                                                                              : 1;
      },
      nullptr);
}

void SdlFrontEnd::windowUnloaded() {
  if (window) destroyWindowAndColormap(window);
  window = nullptr;
  windowId = 0;
}

void SdlFrontEnd::windowShown() {
  const std::string title(kWindowTitle);
  const char* driver = SDL_GetCurrentVideoDriver();
  // The client area: at the screen's scale on X11. On Wayland in logical pixels,
  // as is the window surface; SDL draws each of its pixels as an n x n block of
  // the drawable, n being the output's scale.
  const int width = onWayland(driver) ? Frame::kWidth : windowWidth();
  const int height = onWayland(driver) ? Frame::kHeight : windowHeight();
  // Every game window gets the same frame, so once the window manager has said
  // how large it is, the window is created where it belongs.
  const SDL_Point at = centredPosition(width, height, knownFrame.value_or(FrameExtents{}));
  window = SDL_CreateWindow(title.c_str(), at.x, at.y, width, height, windowFlags(driver));
  if (!window) throw WindowError(std::string("cannot open a window: ") + SDL_GetError());
  windowId = SDL_GetWindowID(window);
  if (iconSurface) SDL_SetWindowIcon(window, iconSurface);
  // The frame hints must be there before the window manager first sees the
  // window, and SDL writes its own ones while creating it: hence hidden first.
  setFrameHints(window);
  // The first window asks for the frame (and is moved once it is known); the
  // answer depends on those hints. Without a window manager nobody answers.
  FrameExtents asked;
  if (!knownFrame && requestFrameExtents(window, asked)) {
    knownFrame = asked;
    const SDL_Point framed = centredPosition(width, height, asked);
    SDL_SetWindowPosition(window, framed.x, framed.y);
  }

  renderer.update(form.board(), frame);  // a new board is drawn whole
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface) throw WindowError("cannot draw in the window: " + noSurfaceReason(driver));
  copyToSurface(frame, scale, scratch, surface, {0, 0, Frame::kWidth, Frame::kHeight});

  SDL_ShowWindow(window);
  // Before its first picture, which maps it.
  if (onWayland(driver)) fixWaylandSize(window);
  SDL_UpdateWindowSurface(window);
  // Without a window manager nobody else hands a new window the keyboard; a key
  // held down through a reload goes on acting on the new one.
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
}

void SdlFrontEnd::present(const PixelRect* rects, int count) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface || count == 0) return;
  std::vector<SDL_Rect> shown;
  shown.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    copyToSurface(frame, scale, scratch, surface, rects[i]);
    const PixelRect r = scaledRect(rects[i], scale);
    shown.push_back({r.x, r.y, r.w, r.h});
  }
  SDL_UpdateWindowSurfaceRects(window, shown.data(), count);
}

void SdlFrontEnd::presentAll() {
  const PixelRect all{0, 0, Frame::kWidth, Frame::kHeight};
  present(&all, 1);
}

}  // namespace gravisk::sdl2
