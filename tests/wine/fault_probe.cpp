// A Windows test program: Gravisk's Win32 front end started with a level counter
// the game cannot load, so that a run-time error leaves the core either at start-up
// ("start") or from the first F1 inside the window procedure ("key").
#include <cstdio>
#include <cstring>

#include "win32/win32_game.h"

int main(int argc, char** argv) {
  gravisk::win32::StartHooks hooks;
  if (argc == 2 && std::strcmp(argv[1], "start") == 0) {
    // Loading adds one to the counter: 32767 + 1 overflows a 16-bit integer.
    hooks.beforeShow = [](gravisk::Form1& form) { form.variables().level = 32767; };
  } else if (argc == 2 && std::strcmp(argv[1], "key") == 0) {
    // The next reload loads level -4, which the level table has no rows for.
    hooks.afterShow = [](gravisk::Form1& form) { form.variables().level = -5; };
  } else {
    std::fprintf(stderr, "usage: gravisk_fault_probe start|key\n");
    return 2;
  }
  return gravisk::win32::runGame(hooks);
}
