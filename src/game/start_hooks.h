// Extra steps at start-up for programs that need the game in a particular
// state: the fault probes of the end-to-end tests start the real front ends
// with data the game cannot load. The game itself passes none.
#pragma once

#include <functional>

#include "game/form.h"

namespace gravisk {

struct StartHooks {
  std::function<void(Form1&)> beforeShow;  // before the first Form1::show()
  std::function<void(Form1&)> afterShow;   // once the first window is on screen
};

}  // namespace gravisk
