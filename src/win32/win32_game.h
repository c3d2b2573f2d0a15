// The Win32 front end of the game: the window that shows the renderer's pixels,
// the keys handed to Form1, the message boxes, and the message loop. Gravisk.exe's
// WinMain is one call of runGame().
#pragma once

#include <functional>

#include "game/form.h"

namespace gravisk::win32 {

// Extra steps at start-up for programs that need the game in a particular state
// (the fault probe the Wine tests run); Gravisk.exe itself passes none.
struct StartHooks {
  std::function<void(Form1&)> beforeShow;  // before the first Form1::show()
  std::function<void(Form1&)> afterShow;   // once the first window is on screen
};

// Shows the game and runs its message loop until the player closes the window.
// Returns the process exit status: 0 after a close, 1 after a run-time error,
// which has then been reported in a message box and on stderr.
int runGame(const StartHooks& hooks = {});

}  // namespace gravisk::win32
