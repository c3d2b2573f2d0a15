// Centring the game window in the work area, and the key's shift argument.
#include "win32/window_placement.h"

#include <algorithm>

namespace gravisk::win32 {

namespace {

// Centres a length of `size` in [low, high), never starting before `low`.
int centred(int low, int high, int size) {
  return std::max(low, low + (high - low - size) / 2);
}

}  // namespace

ScreenPoint centredOrigin(ScreenRect workArea, int width, int height) {
  return {centred(workArea.left, workArea.right, width),
          centred(workArea.top, workArea.bottom, height)};
}

std::int16_t shiftState(bool shift, bool ctrl, bool alt) {
  return static_cast<std::int16_t>((shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0));
}

}  // namespace gravisk::win32
