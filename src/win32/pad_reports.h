// What a game pad's HID input reports mean to the game, once Windows' HID parser
// has read them: which button numbers are which buttons of the standard layout, the
// hat switch as the D-pad, the left stick scaled from its field's logical range, and
// the changes from one report to the next handed to PadKeys. Free of <windows.h>, so
// that it builds and is checked on any platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "game/pad.h"

namespace gravisk::win32 {

// How a pad numbers its buttons on the HID button page.
enum class PadLayout : std::uint8_t {
  // Xbox pads (1 A, 2 B, 3 X, 4 Y, 5 LB, 6 RB, 7 Back, 8 Start): Microsoft's own,
  // and every pad on the XInput driver, whose HID side numbers them so.
  Xbox,
  // PlayStation pads (1 Square, 2 Cross, 3 Circle, 4 Triangle, 5 L1, 6 R1, 9 Share,
  // 10 Options), the order most other HID pads follow too.
  PlayStation,
};

inline constexpr std::uint16_t kMicrosoftVendorId = 0x045E;

// The layout of the pad with this USB vendor id and device interface name (the
// XInput driver's HID devices have "IG_" in their names).
PadLayout padLayout(std::uint16_t vendorId, std::string_view deviceName);

// A value field as the report descriptor declares it.
struct HidRange {
  std::int32_t min = 0;  // logical minimum
  std::int32_t max = 0;  // logical maximum
  int bits = 0;          // the field's size in the report
};

// A stick's raw field value (as HidP_GetUsageValue reads it, not sign-extended)
// scaled from its logical range to -32768 (left, up) .. 32767 (right, down).
int stickValue(std::uint32_t raw, HidRange range);

// What the HID parser read from one report; a field the report does not carry (a
// pad may send several reports, each with some of its controls) is left empty.
struct HidReading {
  std::optional<std::vector<std::uint16_t>> buttons;  // the button usages down
  std::optional<std::uint32_t> hat;                   // the hat switch's raw value
  std::optional<std::uint32_t> x;                     // the left stick's raw values
  std::optional<std::uint32_t> y;
};

// The ranges of a pad's hat switch and stick fields.
struct PadFields {
  HidRange hat;
  HidRange x;
  HidRange y;
};

// A pad as the game sees it.
struct PadState {
  std::uint16_t buttons = 0;  // bit n: PadButton n is down
  int x = 0;                  // the left stick, -32768 .. 32767, 0 at rest
  int y = 0;
  bool operator==(const PadState&) const = default;
};

// The pad after a report: `before` with what the report carries put in.
PadState padState(PadLayout layout, const PadFields& fields, const HidReading& reading,
                  const PadState& before);

// Hands the changes from `before` to `after` of pad `pad` to `keys`, releases
// first, and returns what they ask for, in order.
std::vector<PadAction> padChanges(PadKeys& keys, int pad, const PadState& before,
                                  const PadState& after, std::uint64_t nowMs);

}  // namespace gravisk::win32
