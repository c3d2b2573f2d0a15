// The dpi to scale rounding and the block copy of a frame rectangle that both
// window front ends present through.
#include "render/scaling.h"

#include <cmath>
#include <cstring>

namespace gravisk {

int scaleForDpi(double dpi) {
  if (!(dpi > 0.0)) return 1;  // also NaN
  const double steps = std::floor(dpi / 96.0 + 0.5);
  if (steps < 1.0) return 1;
  return steps > kMaxScale ? kMaxScale : static_cast<int>(steps);
}

void presentScaled(const Frame& frame, PixelRect rect, int n, std::uint32_t* to,
                   std::size_t pitch) {
  auto* base = reinterpret_cast<std::uint8_t*>(to);
  const std::size_t rowBytes = static_cast<std::size_t>(rect.w) * n * sizeof(std::uint32_t);
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    const std::uint32_t* from = frame.pixels.data() + static_cast<std::size_t>(y) * Frame::kWidth;
    auto* first = reinterpret_cast<std::uint32_t*>(base + static_cast<std::size_t>(y) * n * pitch) +
                  static_cast<std::size_t>(rect.x) * n;
    if (n == 1) {
      std::memcpy(first, from + rect.x, rowBytes);
      continue;
    }
    // One screen row made of n copies of each pixel, then the same row n - 1 times more.
    std::uint32_t* out = first;
    for (int x = rect.x; x < rect.x + rect.w; ++x) {
      for (int k = 0; k < n; ++k) *out++ = from[x];
    }
    for (int k = 1; k < n; ++k) {
      std::memcpy(reinterpret_cast<std::uint8_t*>(first) + k * pitch, first, rowBytes);
    }
  }
}

}  // namespace gravisk
