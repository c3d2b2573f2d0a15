// A test program: the Linux game started with a level counter it cannot load,
// so that a run-time error leaves the core either at start-up ("start") or from
// the first F1 in the running game ("key"). The built-in levels never fail.
#include <cstdio>
#include <cstring>

#include "sdl2/run.h"

int main(int argc, char** argv) {
  gravisk::sdl2::StartHooks hooks;
  if (argc == 2 && std::strcmp(argv[1], "start") == 0) {
    // Loading adds one to the counter: 32767 + 1 overflows a 16-bit integer.
    hooks.beforeShow = [](gravisk::Form1& form) { form.variables().level = 32767; };
  } else if (argc == 2 && std::strcmp(argv[1], "key") == 0) {
    // The next reload loads level -4, which the level table has no rows for.
    hooks.afterShow = [](gravisk::Form1& form) { form.variables().level = -5; };
  } else {
    std::fprintf(stderr, "usage: sdl2_fault_probe start|key\n");
    return 2;
  }
  return gravisk::sdl2::runGame(hooks);
}
