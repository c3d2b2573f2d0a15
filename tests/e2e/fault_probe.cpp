// A test program: the Linux game started with a level counter it cannot load,
// so that a run-time error leaves the core either at start-up ("start") or from
// the first F1 in the running game ("key"). The built-in levels never fail.
#include <cstdio>

#include "fault_hooks.h"
#include "sdl2/run.h"

int main(int argc, char** argv) {
  gravisk::StartHooks hooks;
  if (argc != 2 || !gravisk::testing::faultHooks(argv[1], hooks)) {
    std::fprintf(stderr, "usage: sdl2_fault_probe start|key\n");
    return 2;
  }
  return gravisk::sdl2::runGame(hooks);
}
