// gravisk.html's game: the page starts it once the WebAssembly is ready and keeps
// the pointer for its later calls. It takes no arguments and reads no files.
#include <emscripten/emscripten.h>

#include "web/web_front_end.h"

extern "C" EMSCRIPTEN_KEEPALIVE gravisk::web::WebFrontEnd* gravisk_start() {
  // Lives as long as the page; a new game is a new page.
  auto* game = new gravisk::web::WebFrontEnd({});
  game->start();
  return game;
}
