// Starting and ending the game on SDL2: SDL's video alone on X11 or Wayland, no
// invisible video driver, the event loop, and a run-time error reported in a
// message box and on stderr before the game ends with status 1.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "base/runtime_error.h"
#include "game/window_definition.h"
#include "sdl2/run.h"
#include "sdl2/sdl_front_end.h"
#include "sdl2/wayland_box.h"
#include "sdl2/wayland_window.h"
#include "sdl2/x11_hints.h"

namespace {

// One line on stderr, and the same in a message box, over the game window if
// there is one (an owned box is misplaced when no window manager runs).
void reportFatal(const std::string& line, SDL_Window* window) {
  std::cerr << "gravisk: " << line << '\n';
  const std::string title(gravisk::kAppTitle);
  if (gravisk::sdl2::onWayland(SDL_GetCurrentVideoDriver())) {
    gravisk::sdl2::showWaylandBox(
        window, line, title, [] {}, [](const SDL_Event&) { return false; });
    return;
  }
  SDL_Window* owner = window && gravisk::sdl2::inWindowManagerFrame(window) ? window : nullptr;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), line.c_str(), owner);
}

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// Why no window can be opened, for the player who started the game.
std::string noDisplayReason() {
  if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) return "no display (DISPLAY is not set)";
  const std::string error = SDL_GetError();
  const std::string why = error.empty() ? "" : ": " + error;
  if (isSet("DISPLAY")) return "display " + std::string(std::getenv("DISPLAY")) + why;
  return "no X display (DISPLAY is not set), and Wayland display " +
         std::string(std::getenv("WAYLAND_DISPLAY")) + (error.empty() ? ": not reachable" : why);
}

// libwayland finds a display named without a path in XDG_RUNTIME_DIR, and says
// so in a line of its own when that is not set.
bool waylandSocketFindable() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  return name[0] == '/' || isSet("XDG_RUNTIME_DIR");
}

// SDL falls back to drivers that draw nowhere; a game nobody can see is useless.
bool invisibleDriver(const char* driver) {
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0;
}

}  // namespace

namespace gravisk::sdl2 {

int runGame(const StartHooks& hooks) {
  SDL_SetMainReady();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A puzzle waits for the player; it must not keep the screen saver away.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // SDL opens an X input method, which parses the locale's whole Compose table
  // (thousands of lines, about 10 ms) at every start. The game reads keys, never
  // text, so it needs no compose sequences. (On Wayland the same variable reaches
  // xkbcommon, which takes an empty file for an error and says so on stderr.)
  if (isSet("DISPLAY") || !isSet("WAYLAND_DISPLAY")) setenv("XCOMPOSEFILE", "/dev/null", 1);
  nameWaylandApp();
  // With no desktop to show a window on, SDL would try Wayland (which complains
  // on stderr) and then settle on a driver that draws nowhere: say it plainly.
  if (!isSet("SDL_VIDEODRIVER")) {
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
      std::cerr << "gravisk: cannot open a window: " << noDisplayReason() << '\n';
      return 1;
    }
    // The display the environment names, and no fallback when it is not there.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, isSet("DISPLAY") ? "x11" : "wayland");
    if (!isSet("DISPLAY") && !waylandSocketFindable()) {
      SDL_SetError("XDG_RUNTIME_DIR is not set");
      std::cerr << "gravisk: cannot open a window: " << noDisplayReason() << '\n';
      return 1;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::cerr << "gravisk: cannot open a window: " << noDisplayReason() << '\n';
    return 1;
  }
  if (invisibleDriver(SDL_GetCurrentVideoDriver())) {
    SDL_ClearError();
    std::cerr << "gravisk: cannot open a window: " << noDisplayReason() << " (SDL video driver "
              << (SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none") << ")\n";
    SDL_Quit();
    return 1;
  }

  chooseWindowSurface(SDL_GetCurrentVideoDriver());
  keepGlLoaded(SDL_GetCurrentVideoDriver());
  tolerateStaleWakeups(SDL_GetCurrentVideoDriver());

  int status = 1;
  {
    SdlFrontEnd game;
    try {
      if (hooks.beforeShow) hooks.beforeShow(game.form);
      game.start();
      if (hooks.afterShow) hooks.afterShow(game.form);
      status = game.loop();
    } catch (const RuntimeError& e) {
      reportFatal(e.report(), game.window);
    } catch (const WindowError& e) {
      std::cerr << "gravisk: " << e.what() << '\n';
    } catch (const std::exception& e) {
      reportFatal(e.what(), game.window);
    }
  }
  // No SDL_Quit: on X11 it puts back Xlib's default error handler before it
  // closes its second connection, and a wakeup that SDL sent there to a window
  // just destroyed would then end the game with status 1 after the fact. The
  // game changed nothing on the display that needs undoing; the X server frees
  // everything when the connection closes.
  return status;
}

}  // namespace gravisk::sdl2
