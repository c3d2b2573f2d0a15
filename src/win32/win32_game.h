// The Win32 front end of the game: the window that shows the renderer's pixels,
// the keys handed to Form1, the message boxes, and the message loop. Gravisk.exe's
// WinMain is one call of runGame().
#pragma once

#include "game/start_hooks.h"

namespace gravisk::win32 {

// Shows the game and runs its message loop until the player closes the window.
// Returns the process exit status: 0 after a close, 1 after a run-time error,
// which has then been reported in a message box and on stderr.
int runGame(const StartHooks& hooks = {});

}  // namespace gravisk::win32
