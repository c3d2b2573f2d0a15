// The controller's buttons and stick turned into the game's key codes, and the
// repeat of a held direction.
#include "game/pad.h"

#include <algorithm>
#include <cstdlib>

#include "game/form.h"

namespace gravisk {
namespace {

// The key code of a button, or 0 for one that does nothing in the game.
std::int16_t keyOf(PadButton button) {
  switch (button) {
    case PadButton::DpadUp:
      return kKeyUp;
    case PadButton::DpadDown:
      return kKeyDown;
    case PadButton::DpadLeft:
      return kKeyLeft;
    case PadButton::DpadRight:
      return kKeyRight;
    case PadButton::Y:
    case PadButton::Back:
      return kKeyR;
    case PadButton::RightShoulder:
      return kKeyF1;
    case PadButton::LeftShoulder:
      return kKeyF2;
    default:
      return 0;
  }
}

bool isArrow(std::int16_t key) {
  return key >= kKeyLeft && key <= kKeyDown;
}

// The arrow a stick at (x, y) holds: the stronger axis, once past half its travel.
std::int16_t stickArrow(int x, int y) {
  const int ax = std::abs(x);
  const int ay = std::abs(y);
  if (std::max(ax, ay) <= PadKeys::kStickPushed) return 0;
  if (ax >= ay) return x < 0 ? kKeyLeft : kKeyRight;
  return y < 0 ? kKeyUp : kKeyDown;
}

}  // namespace

PadKeys::Pad& PadKeys::padFor(int id) {
  for (Pad& pad : pads_) {
    if (pad.id == id) return pad;
  }
  pads_.push_back(Pad{id});
  return pads_.back();
}

PadAction PadKeys::press(int pad, int source, std::int16_t key, std::uint64_t nowMs) {
  if (boxOpen_) return {};
  if (isArrow(key)) held_ = Held{pad, source, key, nowMs + kFirstRepeatMs};
  return {key, false};
}

void PadKeys::letGo(int pad, int source) {
  if (held_ && held_->pad == pad && held_->source == source) held_.reset();
}

PadAction PadKeys::button(int pad, PadButton button, bool down, std::uint64_t nowMs) {
  const int index = static_cast<int>(button);
  if (index < 0 || index >= kPadButtonCount) return {};
  Pad& state = padFor(pad);
  const std::uint16_t bit = static_cast<std::uint16_t>(1u << index);
  const bool wasDown = (state.buttons & bit) != 0;
  state.buttons = down ? (state.buttons | bit) : (state.buttons & ~bit);
  if (!down) {
    letGo(pad, index);
    return {};
  }
  if (wasDown) return {};  // a press is one action, however often it is reported
  if (boxOpen_) return {0, button == PadButton::A || button == PadButton::Start};
  const std::int16_t key = keyOf(button);
  return key ? press(pad, index, key, nowMs) : PadAction{};
}

PadAction PadKeys::axis(int pad, PadAxis axis, int value, std::uint64_t nowMs) {
  Pad& state = padFor(pad);
  (axis == PadAxis::LeftX ? state.x : state.y) = value;
  const std::int16_t arrow = stickArrow(state.x, state.y);
  if (arrow == state.stickKey) return {};
  state.stickKey = arrow;
  letGo(pad, kStickSource);
  return arrow ? press(pad, kStickSource, arrow, nowMs) : PadAction{};
}

void PadKeys::padRemoved(int pad) {
  if (held_ && held_->pad == pad) held_.reset();
  std::erase_if(pads_, [pad](const Pad& p) { return p.id == pad; });
}

void PadKeys::boxOpened() {
  boxOpen_ = true;
  held_.reset();
}

void PadKeys::boxClosed() {
  boxOpen_ = false;
}

std::int16_t PadKeys::repeat(std::uint64_t nowMs) {
  if (!held_ || boxOpen_ || nowMs < held_->due) return 0;
  // A late call repeats once, not once for every period it missed.
  held_->due += kRepeatMs;
  if (held_->due <= nowMs) held_->due = nowMs + kRepeatMs;
  return held_->key;
}

std::optional<std::uint64_t> PadKeys::nextRepeat() const {
  if (!held_ || boxOpen_) return std::nullopt;
  return held_->due;
}

}  // namespace gravisk
