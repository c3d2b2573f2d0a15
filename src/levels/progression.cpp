// Level progression through the counter and a reload.
#include "levels/progression.h"

#include "game/form.h"
#include "game/window_definition.h"

namespace gravisk {

void winner(Form1& form) {
  form.frontEnd().messageBox("You won!", kAppTitle);
  form.reload();
}

void restartLevel(Form1& form) {
  addToLevel(form.variables(), -1);
  form.reload();
}

void nextLevel(Form1& form) {
  form.reload();
}

void previousLevel(Form1& form) {
  GameVariables& vars = form.variables();
  addToLevel(vars, -2);
  if (levelValue(vars) == -1) vars.level = static_cast<std::int16_t>(vars.maxlevel - 1);
  form.reload();
}

}  // namespace gravisk
