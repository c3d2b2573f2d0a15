// The message box the game has open: found among this thread's windows and closed
// as its OK button closes it, for a game pad's A or Start, which Windows does not
// send to the box as it sends keys.
#pragma once

namespace gravisk::win32 {

// Presses OK on the message box open on this thread. False if none is open.
bool pressOpenBoxOk();

}  // namespace gravisk::win32
