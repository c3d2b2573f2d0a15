// The Win32 front end's game pads, from their HID reports to the game's keys: an
// Xbox and a PlayStation pad's reports, byte for byte, read as Windows' HID parser
// reads them by each pad's report descriptor, then through PadKeys.
#include "win32/pad_reports.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace gravisk::win32 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An Xbox One S controller (045E:02FD) over Bluetooth, input report 1 by its report
// descriptor (as dumped in xpadneo's docs/descriptors/xb1s_windows.md): X, Y, Rx, Ry
// 16 bits each (0 to 65535), Z and Rz 10 bits in two bytes each, the hat switch in
// the low 4 bits of byte 13 (1 north to 8 north-west clockwise, 0 at rest), buttons
// 1 to 10 in the low bits of bytes 14 and 15 (A B X Y LB RB View Menu LS RS).
constexpr PadFields kXboxFields{{1, 8, 4}, {0, 65535, 16}, {0, 65535, 16}};
HidReading xboxReading(const Bytes& r) {
  HidReading reading;
  reading.x = r[1] | r[2] << 8;
  reading.y = r[3] | r[4] << 8;
  reading.hat = r[13] & 0x0F;
  reading.buttons.emplace();
  const unsigned bits = r[14] | r[15] << 8;
  for (std::uint16_t usage = 1; usage <= 10; ++usage) {
    if (bits & (1u << (usage - 1))) reading.buttons->push_back(usage);
  }
  return reading;
}
Bytes xboxReport(std::uint8_t hat, std::uint16_t buttons, std::uint16_t x = 0x8000,
                 std::uint16_t y = 0x8000) {
  // id, X, Y, Rx and Ry centred, Z and Rz let go, the hat, the buttons
  Bytes r{0x01, 0, 0, 0, 0, 0x00, 0x80, 0x00, 0x80, 0, 0, 0, 0, hat, 0, 0};
  r[1] = x & 0xFF, r[2] = x >> 8, r[3] = y & 0xFF, r[4] = y >> 8;
  r[14] = buttons & 0xFF, r[15] = buttons >> 8;
  return r;
}

// A DualShock 4 (054C:05C4) on USB, input report 1 by its report descriptor (the PS4
// developer wiki's DS4-USB page): X, Y, Z, Rz one byte each (0 to 255), the hat
// switch in the low 4 bits of byte 5 (0 north to 7 north-west, 8 at rest), then
// buttons 1 to 14 (Square Cross Circle Triangle L1 R1 L2 R2 Share Options L3 R3 PS
// touch pad) from bit 4 of byte 5, and a 6-bit report counter.
constexpr PadFields kDs4Fields{{0, 7, 4}, {0, 255, 8}, {0, 255, 8}};
HidReading ds4Reading(const Bytes& r) {
  HidReading reading;
  reading.x = r[1];
  reading.y = r[2];
  reading.hat = r[5] & 0x0F;
  reading.buttons.emplace();
  const unsigned bits = (r[5] >> 4) | r[6] << 4 | (r[7] & 0x03) << 12;
  for (std::uint16_t usage = 1; usage <= 14; ++usage) {
    if (bits & (1u << (usage - 1))) reading.buttons->push_back(usage);
  }
  return reading;
}
Bytes ds4Report(std::uint8_t hatAndFace, std::uint8_t more, std::uint8_t x = 0x80,
                std::uint8_t y = 0x80) {
  // Byte 7 holds PS and the touch pad in its low bits, the report counter above them.
  return {0x01, x, y, 0x80, 0x80, hatAndFace, more, 0xA8, 0x00, 0x00};
}

struct Step {
  Bytes report;
  std::vector<std::int16_t> keys;  // what reaches Form_KeyDown
  bool closesBox = false;
};

// Plays the reports of one pad in order, 10 ms apart, the box open for those marked so.
template <typename Read>
void play(PadLayout layout, const PadFields& fields, Read read, const std::vector<Step>& steps,
          bool boxOpen = false) {
  PadKeys keys;
  if (boxOpen) keys.boxOpened();
  PadState state;
  std::uint64_t now = 1000;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const PadState after = padState(layout, fields, read(steps[i].report), state);
    std::vector<std::int16_t> sent;
    bool closed = false;
    for (const PadAction& action : padChanges(keys, 7, state, after, now += 10)) {
      if (action.key) sent.push_back(action.key);
      closed = closed || action.closeBox;
    }
    EXPECT_EQ(sent, steps[i].keys) << "report " << i;
    EXPECT_EQ(closed, steps[i].closesBox) << "report " << i;
    state = after;
  }
}

TEST(PadReports, XboxOneSOverBluetooth) {
  const std::uint8_t rest = 0;
  play(PadLayout::Xbox, kXboxFields, xboxReading,
       {
           {xboxReport(rest, 0), {}},
           {xboxReport(3, 0), {39}},                     // hat east: D-pad right
           {xboxReport(rest, 0), {}},                    //
           {xboxReport(1, 0), {38}},                     // north
           {xboxReport(7, 0), {37}},                     // west
           {xboxReport(5, 0), {40}},                     // south
           {xboxReport(rest, 0x0001), {}},               // A
           {xboxReport(rest, 0x0008), {82}},             // Y
           {xboxReport(rest, 0x0020), {112}},            // RB
           {xboxReport(rest, 0x0010), {113}},            // LB
           {xboxReport(rest, 0x0040), {82}},             // View
           {xboxReport(rest, 0x0084), {}},               // Menu, X
           {xboxReport(rest, 0x0300), {}},               // the sticks' buttons
           {xboxReport(rest, 0, 0x0000), {37}},          // stick full left
           {xboxReport(rest, 0, 0x8000, 0xFFFF), {40}},  // full down
           {xboxReport(rest, 0, 0x8000, 0x4000), {}},    // a quarter up: not past half
           {xboxReport(rest, 0, 0x8000, 0x3FFF), {38}},  // just past half up
       });
  // A and Menu close the box; B and X do not.
  play(PadLayout::Xbox, kXboxFields, xboxReading,
       {{xboxReport(rest, 0x0002), {}},
        {xboxReport(rest, 0x0004), {}},
        {xboxReport(rest, 0x0001), {}, true},
        {xboxReport(rest, 0), {}},
        {xboxReport(rest, 0x0080), {}, true}},
       true);
}

TEST(PadReports, DualShock4OverUsb) {
  const std::uint8_t rest = 0x08;
  play(PadLayout::PlayStation, kDs4Fields, ds4Reading,
       {
           {ds4Report(rest, 0), {}},
           {ds4Report(0x00, 0), {38}},              // hat north: D-pad up
           {ds4Report(0x02, 0), {39}},              // east
           {ds4Report(0x04, 0), {40}},              // south
           {ds4Report(0x06, 0), {37}},              // west
           {ds4Report(0x01, 0), {38, 39}},          // north-east: both
           {ds4Report(rest, 0), {}},                //
           {ds4Report(rest | 0x20, 0), {}},         // Cross
           {ds4Report(rest | 0x80, 0), {82}},       // Triangle
           {ds4Report(rest | 0x50, 0), {}},         // Square, Circle
           {ds4Report(rest, 0x01), {113}},          // L1
           {ds4Report(rest, 0x02), {112}},          // R1
           {ds4Report(rest, 0x0C), {}},             // L2, R2
           {ds4Report(rest, 0x10), {82}},           // Share
           {ds4Report(rest, 0x20), {}},             // Options
           {ds4Report(rest, 0xC0), {}},             // L3, R3
           {ds4Report(rest, 0, 0xFF), {39}},        // stick full right
           {ds4Report(rest, 0, 0x80, 0x00), {38}},  // full up
       });
  // Cross and Options close the box; Circle, Square and Share do not.
  play(PadLayout::PlayStation, kDs4Fields, ds4Reading,
       {{ds4Report(rest | 0x40, 0), {}},
        {ds4Report(rest | 0x10, 0), {}},
        {ds4Report(rest | 0x20, 0), {}, true},
        {ds4Report(rest, 0x10), {}},
        {ds4Report(rest, 0x20), {}, true}},
       true);
}

TEST(PadReports, AReportWithoutAControlLeavesItAsItWas) {
  PadKeys keys;
  const PadState right =
      padState(PadLayout::Xbox, kXboxFields, xboxReading(xboxReport(3, 0x20)), {});
  padChanges(keys, 1, {}, right, 0);
  // The Guide button comes in a report of its own, with none of these controls.
  EXPECT_EQ(padState(PadLayout::Xbox, kXboxFields, HidReading{}, right), right);
  // ... and one with the buttons but not the hat keeps the D-pad.
  HidReading buttonsOnly;
  buttonsOnly.buttons.emplace();
  EXPECT_EQ(padState(PadLayout::Xbox, kXboxFields, buttonsOnly, right).buttons,
            1u << static_cast<int>(PadButton::DpadRight));
  // The hat back at rest lets go of the direction: the repeat stops.
  ASSERT_TRUE(keys.nextRepeat());
  const PadState rest =
      padState(PadLayout::Xbox, kXboxFields, xboxReading(xboxReport(0, 0x20)), right);
  padChanges(keys, 1, right, rest, 10);
  EXPECT_FALSE(keys.nextRepeat());
}

TEST(PadReports, LayoutByVendorOrTheXInputDriver) {
  EXPECT_EQ(padLayout(0x045E, R"(\\?\HID#VID_045E&PID_02FD#a&1&0000#{4d1e55b2})"), PadLayout::Xbox);
  EXPECT_EQ(padLayout(0x054C, R"(\\?\HID#VID_054C&PID_05C4#8&1&0000#{4d1e55b2})"),
            PadLayout::PlayStation);
  // Another maker's pad on the XInput driver: its HID side numbers buttons as Xbox.
  EXPECT_EQ(padLayout(0x0E6F, R"(\\?\HID#VID_0E6F&PID_02A4&IG_00#9&2&0&0000#{4d1e55b2})"),
            PadLayout::Xbox);
  EXPECT_EQ(padLayout(0x0E6F, R"(\\?\hid#vid_0e6f&pid_02a4&ig_00#9&2&0&0000#{4d1e55b2})"),
            PadLayout::Xbox);
  EXPECT_EQ(padLayout(0x046D, R"(\\?\HID#VID_046D&PID_C216#7&1&0000#{4d1e55b2})"),
            PadLayout::PlayStation);
}

TEST(PadReports, StickValuesFromTheirLogicalRange) {
  // A signed 16-bit field, as the parser hands it over: not sign-extended.
  const HidRange signed16{-32768, 32767, 16};
  EXPECT_EQ(stickValue(0x8000, signed16), -32768);
  EXPECT_EQ(stickValue(0xFFFF, signed16), -1);
  EXPECT_EQ(stickValue(0x7FFF, signed16), 32767);
  // 0 to 65535 declared in two bytes reads back as 0 to -1.
  const HidRange wrapped{0, -1, 16};
  EXPECT_EQ(stickValue(0, wrapped), -32768);
  EXPECT_EQ(stickValue(0xFFFF, wrapped), 32767);
  // A byte: the centre 128 is just right of 0; a value beyond the range is its end.
  const HidRange byte{0, 255, 8};
  EXPECT_EQ(stickValue(128, byte), 128);
  EXPECT_EQ(stickValue(255, byte), 32767);
  EXPECT_EQ(stickValue(300, {0, 200, 16}), 32767);
  // A four-way hat: 0 north, 1 east, 2 south, 3 west.
  const auto hat = [](std::uint32_t raw) {
    HidReading reading;
    reading.hat = raw;
    return padState(PadLayout::PlayStation, {{0, 3, 4}, {}, {}}, reading, {}).buttons;
  };
  EXPECT_EQ(hat(1), 1u << static_cast<int>(PadButton::DpadRight));
  EXPECT_EQ(hat(3), 1u << static_cast<int>(PadButton::DpadLeft));
  EXPECT_EQ(hat(4), 0u);
}

}  // namespace
}  // namespace gravisk::win32
