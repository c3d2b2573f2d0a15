// gravisk: the game on Linux, in an SDL2 window. Starts SDL's video alone,
// refuses to run on an invisible video driver, plays, and reports a run-time
// error in a message box and on stderr before ending with status 1.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "game/runtime_error.h"
#include "game/window_definition.h"
#include "sdl2/sdl_front_end.h"
#include "sdl2/x11_hints.h"

namespace {

// One line on stderr, and the same in a message box when a display is there.
void reportFatal(const std::string& line, SDL_Window* parent) {
  std::cerr << "gravisk: " << line << '\n';
  const std::string title(gravisk::kAppTitle);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), line.c_str(), parent);
}

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// Why no window can be opened, for the player who started the game.
std::string noDisplayReason() {
  const char* display = std::getenv("DISPLAY");
  if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) return "no display (DISPLAY is not set)";
  const std::string error = SDL_GetError();
  if (isSet("DISPLAY")) {
    return "display " + std::string(display) + (error.empty() ? "" : ": " + error);
  }
  return error.empty() ? "no display" : error;
}

// SDL falls back to drivers that draw nowhere; a game nobody can see is useless.
bool invisibleDriver(const char* driver) {
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0;
}

}  // namespace

int main(int, char**) {
  SDL_SetMainReady();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A puzzle waits for the player; it must not keep the screen saver away.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // The window surface is plain memory sent to the X server; left to itself SDL
  // backs it with an OpenGL context, which costs a lot of memory and start-up time.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // SDL opens an X input method, which parses the locale's whole Compose table
  // (thousands of lines, about 10 ms) at every start. The game reads keys, never
  // text, so it needs no compose sequences.
  setenv("XCOMPOSEFILE", "/dev/null", 1);
  // With no desktop to show a window on, SDL would try Wayland (which complains
  // on stderr) and then settle on a driver that draws nowhere: say it plainly.
  if (!isSet("SDL_VIDEODRIVER")) {
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
      std::cerr << "gravisk: cannot open a window: " << noDisplayReason() << '\n';
      return 1;
    }
    // The display the environment names, and no fallback when it is not there.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, isSet("DISPLAY") ? "x11" : "wayland");
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

  gravisk::sdl2::tolerateStaleWakeups(SDL_GetCurrentVideoDriver());

  int status = 1;
  {
    gravisk::sdl2::SdlFrontEnd game;
    try {
      status = game.run();
    } catch (const gravisk::RuntimeError& e) {
      reportFatal(e.report(), game.window);
    } catch (const gravisk::sdl2::WindowError& e) {
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
