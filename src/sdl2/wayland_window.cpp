// The game window's Wayland specifics: its app id, the GL ES window surface SDL
// needs there, the high-dpi drawable and the fixed size.
#include "sdl2/wayland_window.h"

#include <SDL_hints.h>

#include <cstdlib>
#include <cstring>

#include "game/window_definition.h"

namespace gravisk::sdl2 {

bool onWayland(const char* videoDriver) {
  return videoDriver && std::strcmp(videoDriver, "wayland") == 0;
}

void nameWaylandApp() {
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kAppId, 0);
}

void chooseWindowSurface(const char* videoDriver) {
  if (!onWayland(videoDriver)) {
    // An OpenGL context would cost a lot of memory and start-up time.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return;
  }
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "opengles2");
  // Blocks, never blends, when the drawable is n times the window.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
}

void keepGlLoaded(const char* videoDriver) {
  // Failing here, the window surface says why when it is made.
  if (onWayland(videoDriver)) SDL_GL_LoadLibrary(nullptr);
}

Uint32 windowFlags(const char* videoDriver) {
  return SDL_WINDOW_HIDDEN | (onWayland(videoDriver) ? SDL_WINDOW_ALLOW_HIGHDPI : 0);
}

void fixWaylandSize(SDL_Window* window) {
  SDL_SetWindowMinimumSize(window, kClientWidth, kClientHeight);
  SDL_SetWindowMaximumSize(window, kClientWidth, kClientHeight);
}

}  // namespace gravisk::sdl2
