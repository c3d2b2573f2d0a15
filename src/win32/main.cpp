// Gravisk.exe's entry point: the Windows build of the game, one window and the
// Win32 message loop around the shared core and renderer.
#include <windows.h>

#include "win32/win32_game.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return gravisk::win32::runGame();
}
