// A game pad's HID reports, as the HID parser reads them, turned into the buttons
// and stick of the standard layout and fed to the core's PadKeys.
#include "win32/pad_reports.h"

#include <algorithm>
#include <cctype>

namespace gravisk::win32 {
namespace {

constexpr std::uint16_t bit(PadButton button) {
  return static_cast<std::uint16_t>(1u << static_cast<int>(button));
}
constexpr std::uint16_t kDpad = bit(PadButton::DpadUp) | bit(PadButton::DpadDown) |
                                bit(PadButton::DpadLeft) | bit(PadButton::DpadRight);

// The button of the standard layout that button usage `usage` (1 for the first) is.
std::optional<PadButton> buttonOf(PadLayout layout, std::uint16_t usage) {
  using enum PadButton;
  switch (layout) {
    case PadLayout::Xbox: {
      constexpr PadButton table[] = {A, B, X, Y, LeftShoulder, RightShoulder, Back, Start};
      if (usage >= 1 && usage <= std::size(table)) return table[usage - 1];
      return std::nullopt;
    }
    case PadLayout::PlayStation:
      switch (usage) {
        case 1:
          return X;  // Square, west
        case 2:
          return A;  // Cross, south
        case 3:
          return B;  // Circle, east
        case 4:
          return Y;  // Triangle, north
        case 5:
          return LeftShoulder;  // L1
        case 6:
          return RightShoulder;  // R1
        case 9:
          return Back;  // Share (Create on the DualSense)
        case 10:
          return Start;  // Options
        default:
          return std::nullopt;  // L2, R2, the sticks' buttons, PS, touch pad
      }
  }
  return std::nullopt;
}

// The D-pad buttons a hat switch at `raw` holds. Its logical range counts the
// positions clockwise from north, eight of them (or four, without the diagonals);
// a value outside it is the hat at rest.
std::uint16_t hatButtons(std::uint32_t raw, HidRange range) {
  const std::int64_t positions = std::int64_t{range.max} - range.min + 1;
  const std::int64_t index = std::int64_t{raw} - range.min;
  if ((positions != 4 && positions != 8) || index < 0 || index >= positions) return 0;
  const std::int64_t eighth = index * 8 / positions;  // 0 north, 2 east, 4 south, 6 west
  std::uint16_t buttons = 0;
  if (eighth == 7 || eighth <= 1) buttons |= bit(PadButton::DpadUp);
  if (eighth >= 1 && eighth <= 3) buttons |= bit(PadButton::DpadRight);
  if (eighth >= 3 && eighth <= 5) buttons |= bit(PadButton::DpadDown);
  if (eighth >= 5 && eighth <= 7) buttons |= bit(PadButton::DpadLeft);
  return buttons;
}

}  // namespace

PadLayout padLayout(std::uint16_t vendorId, std::string_view deviceName) {
  if (vendorId == kMicrosoftVendorId) return PadLayout::Xbox;
  for (std::size_t i = 0; i + 3 <= deviceName.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(deviceName[i])) == 'I' &&
        std::toupper(static_cast<unsigned char>(deviceName[i + 1])) == 'G' &&
        deviceName[i + 2] == '_') {
      return PadLayout::Xbox;
    }
  }
  return PadLayout::PlayStation;
}

int stickValue(std::uint32_t raw, HidRange range) {
  const int bits = std::clamp(range.bits, 1, 32);
  const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
  std::int64_t value = static_cast<std::int64_t>(raw & mask);
  std::int64_t min = range.min;
  std::int64_t max = range.max;
  if (min < 0) {
    // A signed field: its top bit is the sign.
    if (value & (std::int64_t{1} << (bits - 1))) value -= std::int64_t{1} << bits;
  } else if (max < min) {
    // A maximum with its top bit set, declared in as many bytes as the field has
    // (0xFFFF in two), reads as negative: the range is unsigned.
    max = static_cast<std::int64_t>(static_cast<std::uint64_t>(max) & mask);
  }
  if (max <= min) return 0;
  value = std::clamp(value, min, max);
  return static_cast<int>((value - min) * 65535 / (max - min) - 32768);
}

PadState padState(PadLayout layout, const PadFields& fields, const HidReading& reading,
                  const PadState& before) {
  PadState after = before;
  if (reading.buttons) {
    after.buttons &= kDpad;
    for (const std::uint16_t usage : *reading.buttons) {
      if (const auto button = buttonOf(layout, usage)) after.buttons |= bit(*button);
    }
  }
  if (reading.hat) {
    after.buttons =
        static_cast<std::uint16_t>((after.buttons & ~kDpad) | hatButtons(*reading.hat, fields.hat));
  }
  if (reading.x) after.x = stickValue(*reading.x, fields.x);
  if (reading.y) after.y = stickValue(*reading.y, fields.y);
  return after;
}

std::vector<PadAction> padChanges(PadKeys& keys, int pad, const PadState& before,
                                  const PadState& after, std::uint64_t nowMs) {
  std::vector<PadAction> actions;
  const auto keep = [&actions](const PadAction& action) {
    if (action.key != 0 || action.closeBox) actions.push_back(action);
  };
  for (const bool down : {false, true}) {
    for (int index = 0; index < kPadButtonCount; ++index) {
      const auto button = static_cast<PadButton>(index);
      const bool wasDown = (before.buttons & bit(button)) != 0;
      const bool isDown = (after.buttons & bit(button)) != 0;
      if (wasDown != isDown && isDown == down) keep(keys.button(pad, button, down, nowMs));
    }
  }
  if (after.x != before.x) keep(keys.axis(pad, PadAxis::LeftX, after.x, nowMs));
  if (after.y != before.y) keep(keys.axis(pad, PadAxis::LeftY, after.y, nowMs));
  return actions;
}

}  // namespace gravisk::win32
