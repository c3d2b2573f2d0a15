// The two faults the front ends' probe programs start the game with: a level
// counter that overflows at the first load ("start"), or one that names a
// level the table has no rows for at the first reload ("key", e.g. F1).
#pragma once

#include <string_view>

#include "game/start_hooks.h"

namespace gravisk::testing {

// Fills `hooks` for `mode`; false for a mode it does not know.
inline bool faultHooks(std::string_view mode, StartHooks& hooks) {
  if (mode == "start") {
    // Loading adds one to the counter: 32767 + 1 overflows a 16-bit integer.
    hooks.beforeShow = [](Form1& form) { form.variables().level = 32767; };
    return true;
  }
  if (mode == "key") {
    // The next reload loads level -4, which the level table has no rows for.
    hooks.afterShow = [](Form1& form) { form.variables().level = -5; };
    return true;
  }
  return false;
}

}  // namespace gravisk::testing
