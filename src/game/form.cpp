// Start-up, the load sequence, the key dispatch and the reload of Form1.
#include "game/form.h"

#include "board/construction.h"
#include "game/window_definition.h"
#include "levels/level_loading.h"
#include "levels/progression.h"
#include "play/hero_moves.h"

namespace gravisk {

void Form1::show() {
  if (!window_) {
    window_.emplace(windowDefinition());
    Form_Load();
  }
  frontEnd_.windowShown();
}

void Form1::unload() {
  if (!window_) return;
  window_.reset();
  frontEnd_.windowUnloaded();
}

void Form1::reload() {
  unload();
  show();
}

void Form1::messageBox(std::string_view text) {
  frontEnd_.messageBox(text, kAppTitle);
}

void Form1::Form_Load() {
  setvariables(vars_);
  loadshapes(*window_);
  loadlevel(vars_, *window_);
}

void Form1::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/) {
  if (!window_) return;
  switch (keyCode) {
    case kKeyR:
      restartLevel(*this);
      break;
    case kKeyLeft:
      moveHero(*this, Direction::Left);
      break;
    case kKeyUp:
      moveHero(*this, Direction::Up);
      break;
    case kKeyRight:
      moveHero(*this, Direction::Right);
      break;
    case kKeyDown:
      moveHero(*this, Direction::Down);
      break;
    case kKeyF1:
      nextLevel(*this);
      break;
    case kKeyF2:
      previousLevel(*this);
      break;
    default:
      break;  // every other key is ignored
  }
}

}  // namespace gravisk
