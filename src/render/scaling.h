// Showing the client area on dense screens: each frame pixel becomes an n × n
// block of screen pixels, n being the screen's dpi over 96 in whole steps, so
// the window keeps its size in inches and every tile edge stays sharp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board/board.h"
#include "render/renderer.h"

namespace gravisk {

// The screen pixels per frame pixel on a screen of `dpi` dots per inch: dpi / 96
// rounded to the nearest whole number (halves up), at least 1 (96 and 120 give
// 1, 144 and 192 give 2, 288 gives 3). Nonsense (NaN, a negative or an absurdly
// large dpi) gives 1, or at most kMaxScale.
inline constexpr int kMaxScale = 8;
int scaleForDpi(double dpi);

// A rectangle of the frame as it covers the screen at scale n.
inline PixelRect scaledRect(PixelRect rect, int n) {
  return {rect.x * n, rect.y * n, rect.w * n, rect.h * n};
}

// Copies `rect` of the frame into `to`, a buffer of the whole client area at
// scale n (at least Frame::kWidth × n pixels a row, `pitch` bytes from one row
// to the next), each pixel as an n × n block of the same value: nearest
// neighbour, nothing blended. `rect` must lie inside the frame.
void presentScaled(const Frame& frame, PixelRect rect, int n, std::uint32_t* to, std::size_t pitch);

}  // namespace gravisk
