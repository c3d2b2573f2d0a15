// A test page: gravisk.html's game started with a level counter it cannot load,
// so that a run-time error leaves the core either at start-up (#start) or from
// the first F1 in the running game (#key). The page's address picks the fault.
#include <emscripten/emscripten.h>

#include <string>

#include "fault_hooks.h"
#include "web/web_front_end.h"

// clang-format off
EM_JS(int, faultIsAtStart, (), { return location.hash === '#start' ? 1 : 0; });
// clang-format on

extern "C" EMSCRIPTEN_KEEPALIVE gravisk::web::WebFrontEnd* gravisk_start() {
  gravisk::StartHooks hooks;
  gravisk::testing::faultHooks(faultIsAtStart() ? "start" : "key", hooks);
  auto* game = new gravisk::web::WebFrontEnd(hooks);
  game->start();
  return game;
}
