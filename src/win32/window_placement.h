// Where the game window goes and what the shift argument of a key holds: the
// small calculations of the Win32 front end, kept free of <windows.h> so they
// build and are checked on any platform.
#pragma once

#include <cstdint>

namespace gravisk::win32 {

// A rectangle in screen pixels, right and bottom exclusive (like a Win32 RECT).
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// The top-left corner that centres a width x height window in the work area. A
// window larger than the work area keeps its top-left corner (and so its caption
// and close box) inside it.
ScreenPoint centredOrigin(ScreenRect workArea, int width, int height);

// The shift argument of Form_KeyDown: 1 for Shift, 2 for Ctrl, 4 for Alt, added.
std::int16_t shiftState(bool shift, bool ctrl, bool alt);

}  // namespace gravisk::win32
