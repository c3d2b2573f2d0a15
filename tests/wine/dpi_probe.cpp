// A Windows test program: Gravisk's Win32 front end, whose first window is told
// at once that it now stands on a screen of the dpi given on the command line,
// the way Windows tells a window dragged to another monitor (WM_DPICHANGED).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "win32/win32_game.h"

namespace {

int newDpi = 0;

// Sent once the first window has settled on screen, as when a player drags it.
void CALLBACK moveToNewScreen(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND window = FindWindowW(L"GraviskWindow", nullptr);
  if (!window) std::exit(3);
  // Windows suggests the window's place on the new screen; here, where it is.
  RECT suggested{};
  GetWindowRect(window, &suggested);
  SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(newDpi, newDpi),
               reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

int main(int argc, char** argv) {
  newDpi = argc == 2 ? std::atoi(argv[1]) : 0;
  if (newDpi <= 0) {
    std::fprintf(stderr, "usage: gravisk_dpi_probe dpi\n");
    return 2;
  }
  gravisk::StartHooks hooks;
  hooks.afterShow = [](gravisk::Form1&) { SetTimer(nullptr, 0, 500, moveToNewScreen); };
  return gravisk::win32::runGame(hooks);
}
