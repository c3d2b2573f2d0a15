// A game controller as a keyboard: the button table, the stick, the repeat of a
// held direction, the box, and pads coming and going.
#include "game/pad.h"

#include <gtest/gtest.h>

#include "game/form.h"

namespace gravisk {
namespace {

PadAction key(std::int16_t code) {
  return {code, false};
}
constexpr PadAction kNothing{};
constexpr PadAction kCloseBox{0, true};

TEST(Pad, EachButtonSendsItsKeyOncePerPress) {
  const std::pair<PadButton, std::int16_t> table[] = {
      {PadButton::DpadUp, 38},
      {PadButton::DpadDown, 40},
      {PadButton::DpadLeft, 37},
      {PadButton::DpadRight, 39},
      {PadButton::Y, 82},
      {PadButton::Back, 82},
      {PadButton::RightShoulder, 112},
      {PadButton::LeftShoulder, 113},
      {PadButton::A, 0},
      {PadButton::B, 0},
      {PadButton::X, 0},
      {PadButton::Start, 0},
  };
  for (const auto& [button, code] : table) {
    PadKeys pad;
    EXPECT_EQ(pad.button(1, button, true, 0), key(code)) << static_cast<int>(button);
    // A press reported again before its release is the same press.
    EXPECT_EQ(pad.button(1, button, true, 10), kNothing);
    EXPECT_EQ(pad.button(1, button, false, 20), kNothing);
    EXPECT_EQ(pad.button(1, button, true, 30), key(code));
    // Only the arrows repeat.
    EXPECT_EQ(pad.nextRepeat().has_value(), code >= 37 && code <= 40);
  }
}

TEST(Pad, AHeldDirectionRepeatsLikeAHeldKeyUntilLetGoOrReplaced) {
  PadKeys pad;
  pad.button(1, PadButton::DpadRight, true, 1000);
  EXPECT_EQ(pad.nextRepeat(), 1500u);
  EXPECT_EQ(pad.repeat(1499), 0);
  EXPECT_EQ(pad.repeat(1500), kKeyRight);
  EXPECT_EQ(pad.nextRepeat(), 1533u);
  EXPECT_EQ(pad.repeat(1533), kKeyRight);
  // A front end woken late repeats once and keeps the pace from then on.
  EXPECT_EQ(pad.repeat(2000), kKeyRight);
  EXPECT_EQ(pad.repeat(2001), 0);
  EXPECT_EQ(pad.nextRepeat(), 2033u);
  // A level button in between does not stop it; another direction takes over.
  EXPECT_EQ(pad.button(1, PadButton::RightShoulder, true, 2010), key(kKeyF1));
  EXPECT_EQ(pad.nextRepeat(), 2033u);
  EXPECT_EQ(pad.button(1, PadButton::DpadDown, true, 2020), key(kKeyDown));
  EXPECT_EQ(pad.nextRepeat(), 2520u);
  // Letting go of the replaced direction changes nothing; of the held one, stops it.
  pad.button(1, PadButton::DpadRight, false, 2030);
  EXPECT_EQ(pad.repeat(2520), kKeyDown);
  pad.button(1, PadButton::DpadDown, false, 2530);
  EXPECT_EQ(pad.nextRepeat(), std::nullopt);
  EXPECT_EQ(pad.repeat(9999), 0);
}

TEST(Pad, TheStickPastHalfItsTravelIsTheDpadOfItsStrongerAxis) {
  PadKeys pad;
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, 16384, 0), kNothing);  // half way is not past it
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, 16385, 0), key(kKeyRight));
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, 32767, 5), kNothing);   // still right: no new press
  EXPECT_EQ(pad.axis(1, PadAxis::LeftY, -20000, 6), kNothing);  // x still the stronger
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, 10000, 7), key(kKeyUp));
  EXPECT_EQ(pad.nextRepeat(), 507u);
  EXPECT_EQ(pad.axis(1, PadAxis::LeftY, 32767, 8), key(kKeyDown));
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, -32768, 9), key(kKeyLeft));
  EXPECT_EQ(pad.axis(1, PadAxis::LeftY, 0, 10), kNothing);
  EXPECT_EQ(pad.axis(1, PadAxis::LeftX, -100, 11), kNothing);  // back to the middle
  EXPECT_EQ(pad.nextRepeat(), std::nullopt);
}

TEST(Pad, WhileTheBoxIsOpenOnlyAAndStartActAndTheyCloseIt) {
  PadKeys pad;
  pad.button(1, PadButton::DpadRight, true, 0);
  pad.boxOpened();
  EXPECT_EQ(pad.nextRepeat(), std::nullopt);  // the box stops the repeat
  EXPECT_EQ(pad.repeat(5000), 0);
  for (PadButton b : {PadButton::DpadLeft, PadButton::Y, PadButton::Back, PadButton::B,
                      PadButton::LeftShoulder, PadButton::RightShoulder}) {
    EXPECT_EQ(pad.button(1, b, true, 10), kNothing);
  }
  EXPECT_EQ(pad.axis(1, PadAxis::LeftY, 32767, 10), kNothing);
  EXPECT_EQ(pad.button(2, PadButton::Start, true, 20), kCloseBox);
  EXPECT_EQ(pad.button(1, PadButton::A, true, 20), kCloseBox);
  pad.boxClosed();
  // Nothing held through the box repeats after it; A does nothing in the game.
  EXPECT_EQ(pad.nextRepeat(), std::nullopt);
  EXPECT_EQ(pad.button(1, PadButton::A, false, 30), kNothing);
  EXPECT_EQ(pad.button(1, PadButton::A, true, 40), kNothing);
  EXPECT_EQ(pad.button(1, PadButton::DpadRight, true, 50), kNothing);  // still down since before
}

TEST(Pad, TwoPadsBothPlayAndAPadThatGoesStopsOnlyItsOwnRepeat) {
  PadKeys pad;
  EXPECT_EQ(pad.button(7, PadButton::DpadLeft, true, 0), key(kKeyLeft));
  EXPECT_EQ(pad.button(9, PadButton::DpadLeft, true, 10), key(kKeyLeft));
  pad.padRemoved(7);  // not the one that holds the repeat
  EXPECT_EQ(pad.nextRepeat(), 510u);
  pad.padRemoved(9);
  EXPECT_EQ(pad.nextRepeat(), std::nullopt);
  // A pad that comes back starts with nothing held.
  EXPECT_EQ(pad.button(9, PadButton::DpadLeft, true, 20), key(kKeyLeft));
}

}  // namespace
}  // namespace gravisk
