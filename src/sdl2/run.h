// Starting the game on Linux: the display checks, SDL's start-up, the game's
// event loop and the report of a run-time error. The gravisk program's main is
// one call of runGame().
#pragma once

#include "game/start_hooks.h"

namespace gravisk::sdl2 {

// Plays the game until the player closes the window. Returns the exit status:
// 0 after a close; 1 when no window can be opened (one line on stderr) or after
// a run-time error, which has then been reported on stderr and in a message box.
int runGame(const StartHooks& hooks = {});

}  // namespace gravisk::sdl2
