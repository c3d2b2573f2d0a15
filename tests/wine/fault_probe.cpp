// A Windows test program: Gravisk's Win32 front end started with a level counter
// the game cannot load, so that a run-time error leaves the core either at start-up
// ("start") or from the first F1 inside the window procedure ("key").
#include <cstdio>

#include "fault_hooks.h"
#include "win32/win32_game.h"

int main(int argc, char** argv) {
  gravisk::StartHooks hooks;
  if (argc != 2 || !gravisk::testing::faultHooks(argv[1], hooks)) {
    std::fprintf(stderr, "usage: gravisk_fault_probe start|key\n");
    return 2;
  }
  return gravisk::win32::runGame(hooks);
}
