// A Windows test program: Gravisk's Win32 front end, whose open message box is
// closed the way a game pad's A or Start closes it, once the file named on the
// command line exists (the test makes it when it has seen the box).
#include <windows.h>

#include <cstdio>

#include "win32/open_box.h"
#include "win32/win32_game.h"

namespace {

const char* signal = nullptr;

// Runs inside the box's own message loop too, as a pad's reports do.
void CALLBACK closeWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
  if (GetFileAttributesA(signal) == INVALID_FILE_ATTRIBUTES) return;
  if (gravisk::win32::pressOpenBoxOk()) DeleteFileA(signal);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gravisk_box_probe signal-file\n");
    return 2;
  }
  signal = argv[1];
  gravisk::StartHooks hooks;
  hooks.afterShow = [](gravisk::Form1&) { SetTimer(nullptr, 0, 50, closeWhenAsked); };
  return gravisk::win32::runGame(hooks);
}
