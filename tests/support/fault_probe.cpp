// A test program for each front end: the game started with a level counter it
// cannot load, so that a run-time error leaves the core either at start-up
// ("start") or from the first F1 in the running game ("key"). The built-in levels
// never fail. Linux and Windows take the fault as the argument; the page from its
// address (#start, else the key).
#include <cstdio>
#include <string_view>

#include "game/form.h"
#include "game/start_hooks.h"
#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>

#include "web/web_front_end.h"
#elif defined(_WIN32)
#include "win32/win32_game.h"
namespace front_end = gravisk::win32;
#else
#include "sdl2/run.h"
namespace front_end = gravisk::sdl2;
#endif

namespace {

// Fills `hooks` for `mode`; false for a mode it does not know.
bool faultHooks(std::string_view mode, gravisk::StartHooks& hooks) {
  if (mode == "start") {
    // Loading adds one to the counter: 32767 + 1 overflows a 16-bit integer.
    hooks.beforeShow = [](gravisk::Form1& form) { form.variables().level = 32767; };
    return true;
  }
  if (mode == "key") {
    // The next reload loads level -4, which the level table has no rows for.
    hooks.afterShow = [](gravisk::Form1& form) { form.variables().level = -5; };
    return true;
  }
  return false;
}

}  // namespace

#if defined(__EMSCRIPTEN__)
// clang-format off
EM_JS(int, faultIsAtStart, (), { return location.hash === '#start' ? 1 : 0; });
// clang-format on

extern "C" EMSCRIPTEN_KEEPALIVE gravisk::web::WebFrontEnd* gravisk_start() {
  gravisk::StartHooks hooks;
  faultHooks(faultIsAtStart() ? "start" : "key", hooks);
  auto* game = new gravisk::web::WebFrontEnd(hooks);
  game->start();
  return game;
}
#else
int main(int argc, char** argv) {
  gravisk::StartHooks hooks;
  if (argc != 2 || !faultHooks(argv[1], hooks)) {
    std::fprintf(stderr, "usage: %s start|key\n", argv[0]);
    return 2;
  }
  return front_end::runGame(hooks);
}
#endif
