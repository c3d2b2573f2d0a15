// The browser front end's game controllers: the Gamepad API's standard layout as
// the core's pad buttons, fed with the page's clock into PadKeys. A key that comes
// out takes the page's way of a keydown, a close the way of OK; the page's one
// timer for a pad is armed for the held direction's next repeat only.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <optional>

#include "web/web_front_end.h"

namespace gravisk::web {
namespace {

// clang-format off
EM_JS(void, pageSendKey, (int keyCode), { graviskPage.sendKey(keyCode, 0); });
EM_JS(void, pageCloseBox, (), { graviskPage.closeBox(); });
EM_JS(void, pageArmPadRepeat, (double at), { graviskPads.armRepeat(at); });
// clang-format on

// The core's button at `index` of the standard layout (buttons[index] in the
// Gamepad API), or none for one the game has no use for.
std::optional<PadButton> standardButton(int index) {
  switch (index) {
    case 0:
      return PadButton::A;
    case 1:
      return PadButton::B;
    case 2:
      return PadButton::X;
    case 3:
      return PadButton::Y;
    case 4:
      return PadButton::LeftShoulder;
    case 5:
      return PadButton::RightShoulder;
    case 8:
      return PadButton::Back;
    case 9:
      return PadButton::Start;
    case 12:
      return PadButton::DpadUp;
    case 13:
      return PadButton::DpadDown;
    case 14:
      return PadButton::DpadLeft;
    case 15:
      return PadButton::DpadRight;
    default:
      return std::nullopt;
  }
}

// performance.now() as whole milliseconds.
std::uint64_t clockMs(double nowMs) {
  return nowMs > 0 ? static_cast<std::uint64_t>(nowMs) : 0;
}

}  // namespace

void WebFrontEnd::padButton(int pad, int index, bool down, double nowMs) {
  if (const std::optional<PadButton> button = standardButton(index)) {
    padAct(pads.button(pad, *button, down, clockMs(nowMs)));
  }
}

void WebFrontEnd::padAxis(int pad, int axis, int value, double nowMs) {
  if (axis != 0 && axis != 1) return;
  padAct(pads.axis(pad, axis == 0 ? PadAxis::LeftX : PadAxis::LeftY, value, clockMs(nowMs)));
}

void WebFrontEnd::padRemoved(int pad) {
  pads.padRemoved(pad);
  armPadRepeat();
}

void WebFrontEnd::padRepeat(double nowMs) {
  if (const std::int16_t key = pads.repeat(clockMs(nowMs))) pageSendKey(key);
  armPadRepeat();
}

void WebFrontEnd::padAct(PadAction action) {
  if (action.closeBox) pageCloseBox();
  if (action.key) pageSendKey(action.key);
  armPadRepeat();
}

void WebFrontEnd::armPadRepeat() {
  const std::optional<std::uint64_t> next = ended ? std::nullopt : pads.nextRepeat();
  pageArmPadRepeat(next ? static_cast<double>(*next) : -1.0);
}

}  // namespace gravisk::web

// The page's poll of its controllers calls in here; `game` is what gravisk_start returned.
extern "C" {
EMSCRIPTEN_KEEPALIVE void gravisk_pad_button(gravisk::web::WebFrontEnd* game, int pad, int index,
                                             int down, double nowMs) {
  game->padButton(pad, index, down != 0, nowMs);
}
EMSCRIPTEN_KEEPALIVE void gravisk_pad_axis(gravisk::web::WebFrontEnd* game, int pad, int axis,
                                           int value, double nowMs) {
  game->padAxis(pad, axis, value, nowMs);
}
EMSCRIPTEN_KEEPALIVE void gravisk_pad_removed(gravisk::web::WebFrontEnd* game, int pad) {
  game->padRemoved(pad);
}
EMSCRIPTEN_KEEPALIVE void gravisk_pad_repeat(gravisk::web::WebFrontEnd* game, double nowMs) {
  game->padRepeat(nowMs);
}
}
