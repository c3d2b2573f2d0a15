// A game controller as one more keyboard: which button of the standard layout
// sends which of the game's key codes, and how a held direction repeats. Every
// front end feeds its pads' changes in here, with the time in milliseconds, and
// sends what comes out to Form_KeyDown; this keeps no clock and calls nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace gravisk {

// The buttons of the standard layout the game cares about (the others do nothing).
enum class PadButton : std::uint8_t {
  A,  // south
  B,  // east
  X,  // west
  Y,  // north
  Back,
  Start,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
};
inline constexpr int kPadButtonCount = 12;

enum class PadAxis : std::uint8_t { LeftX, LeftY };

// What one change of a pad asks for: a key code for Form_KeyDown (0 for none), or
// closing the open message box as its OK button does.
struct PadAction {
  std::int16_t key = 0;
  bool closeBox = false;
  bool operator==(const PadAction&) const = default;
};

class PadKeys {
 public:
  static constexpr std::uint64_t kFirstRepeatMs = 500;  // a held key's delay
  static constexpr std::uint64_t kRepeatMs = 33;        // then about 30 a second
  static constexpr int kStickPushed = 16384;            // half the stick's travel

  // Button `button` of pad `pad` (any number the front end knows it by) went down
  // or up at `nowMs`.
  PadAction button(int pad, PadButton button, bool down, std::uint64_t nowMs);
  // The left stick of pad `pad` moved on `axis` to `value` (-32768 to 32767).
  // Pushed past half its travel it acts as the D-pad, in the stronger axis only.
  PadAction axis(int pad, PadAxis axis, int value, std::uint64_t nowMs);
  // Pad `pad` is gone: its buttons and stick count as let go.
  void padRemoved(int pad);

  // The box is open: A and Start close it and nothing else acts; a held
  // direction stops repeating until a direction is pressed anew.
  void boxOpened();
  void boxClosed();
  bool boxOpen() const { return boxOpen_; }

  // The held direction's key if its repeat has fallen due by `nowMs` (and the next
  // one is then scheduled), else 0.
  std::int16_t repeat(std::uint64_t nowMs);
  // When the held direction repeats next; none while no direction is held.
  std::optional<std::uint64_t> nextRepeat() const;

 private:
  struct Pad {
    int id = 0;
    std::uint16_t buttons = 0;  // bit n: PadButton n is down
    int x = 0;
    int y = 0;
    std::int16_t stickKey = 0;  // the arrow the stick holds, or 0
  };
  // What repeats: the arrow, and which pad's button (or stick) holds it.
  struct Held {
    int pad = 0;
    int source = 0;  // a PadButton, or kStickSource
    std::int16_t key = 0;
    std::uint64_t due = 0;
  };
  static constexpr int kStickSource = -1;

  Pad& padFor(int id);
  PadAction press(int pad, int source, std::int16_t key, std::uint64_t nowMs);
  void letGo(int pad, int source);

  std::vector<Pad> pads_;
  std::optional<Held> held_;
  bool boxOpen_ = false;
};

}  // namespace gravisk
