// Whole-pixel scaling for dense screens: the scale each dpi gets, and the block
// copy that puts a part of the frame into a window buffer n times as large.
#include "render/scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace gravisk {
namespace {

TEST(Scaling, DpiRoundsToTheNearestWholeScaleAtLeastOne) {
  // The usual desktop settings, and the halfway points that round up.
  const std::pair<double, int> table[] = {
      {96, 1},    {120, 1}, {144, 2}, {192, 2}, {288, 3}, {143.9, 1}, {240, 3},
      {239.9, 2}, {384, 4}, {72, 1},  {1, 1},   {0, 1},   {-192, 1},  {1e9, kMaxScale}};
  for (auto [dpi, n] : table) EXPECT_EQ(scaleForDpi(dpi), n) << dpi << " dpi";
  EXPECT_EQ(scaleForDpi(std::numeric_limits<double>::quiet_NaN()), 1);
  EXPECT_EQ(scaleForDpi(std::numeric_limits<double>::infinity()), kMaxScale);
}

// A frame whose every pixel differs from every other, so a pixel taken from the
// wrong place shows.
Frame distinctFrame() {
  Frame frame;
  for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
    frame.pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  }
  return frame;
}

// Every screen pixel inside the scaled rectangle is its frame pixel's block; every
// pixel outside it, the spare bytes at each row's end included, is left alone.
TEST(Scaling, PresentsEachPixelAsABlockInsideTheRectangleOnly) {
  const Frame frame = distinctFrame();
  constexpr std::uint32_t kUntouched = 0xDEADBEEF;
  const PixelRect rects[] = {{0, 0, Frame::kWidth, Frame::kHeight},
                             {25, 50, 25, 25},
                             {400, 0, 2, Frame::kHeight},  // the right-hand strip
                             {0, 200, Frame::kWidth, 1},   // the bottom strip
                             {401, 200, 1, 1}};
  for (int n = 1; n <= 3; ++n) {
    const int width = Frame::kWidth * n + 5;  // rows with spare pixels, like a surface's pitch
    const int height = Frame::kHeight * n;
    for (const PixelRect& r : rects) {
      SCOPED_TRACE(testing::Message()
                   << "n " << n << " rect " << r.x << "," << r.y << " " << r.w << "x" << r.h);
      std::vector<std::uint32_t> screen(static_cast<std::size_t>(width) * height, kUntouched);
      presentScaled(frame, r, n, screen.data(), width * sizeof(std::uint32_t));
      int wrong = 0;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const bool inside = x / n >= r.x && x / n < r.x + r.w && y / n >= r.y &&
                              y / n < r.y + r.h && x < Frame::kWidth * n;
          const std::uint32_t want = inside ? frame.at(x / n, y / n) : kUntouched;
          if (screen[static_cast<std::size_t>(y) * width + x] != want && ++wrong <= 3) {
            ADD_FAILURE() << "screen pixel " << x << "," << y;
          }
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

}  // namespace
}  // namespace gravisk
