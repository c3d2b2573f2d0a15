// The open message box found among this thread's windows (dialog class #32770)
// and sent the command its OK button sends.
#include "win32/open_box.h"

#include <windows.h>

#include <string_view>

namespace gravisk::win32 {
namespace {

BOOL CALLBACK findBox(HWND candidate, LPARAM found) {
  wchar_t name[8]{};
  if (!IsWindowVisible(candidate) || !GetClassNameW(candidate, name, 8) ||
      std::wstring_view(name) != L"#32770") {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = candidate;
  return FALSE;
}

}  // namespace

bool pressOpenBoxOk() {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return false;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  return true;
}

}  // namespace gravisk::win32
