// Where the Win32 front end puts its window and what shift state it hands to the
// game; built natively, since these calculations need no Windows.
#include "win32/window_placement.h"

#include <gtest/gtest.h>

namespace gravisk::win32 {
namespace {

TEST(CentredOrigin, CentresInTheWorkAreaNotTheScreen) {
  // A taskbar 40 pixels high at the bottom of a 1024 x 768 screen.
  const ScreenPoint p = centredOrigin({0, 0, 1024, 728}, 408, 230);
  EXPECT_EQ(p.x, 308);
  EXPECT_EQ(p.y, 249);
  // A work area that does not start at the screen's corner (a taskbar at the left,
  // or a second monitor), and an odd leftover that cannot split evenly.
  const ScreenPoint q = centredOrigin({62, 30, 1986, 1110}, 409, 231);
  EXPECT_EQ(q.x, 62 + (1924 - 409) / 2);
  EXPECT_EQ(q.y, 30 + (1080 - 231) / 2);
}

TEST(CentredOrigin, KeepsTheCaptionOnScreenWhenTheWindowIsTooBig) {
  const ScreenPoint p = centredOrigin({100, 50, 400, 250}, 408, 230);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 50);
  // Too wide only: still centred vertically.
  const ScreenPoint q = centredOrigin({0, 0, 300, 600}, 408, 230);
  EXPECT_EQ(q.x, 0);
  EXPECT_EQ(q.y, 185);
}

TEST(ShiftState, AddsShiftCtrlAndAltAsOneTwoAndFour) {
  EXPECT_EQ(shiftState(false, false, false), 0);
  EXPECT_EQ(shiftState(true, false, false), 1);
  EXPECT_EQ(shiftState(false, true, false), 2);
  EXPECT_EQ(shiftState(false, false, true), 4);
  EXPECT_EQ(shiftState(true, true, false), 3);
  EXPECT_EQ(shiftState(true, false, true), 5);
  EXPECT_EQ(shiftState(true, true, true), 7);
}

}  // namespace
}  // namespace gravisk::win32
