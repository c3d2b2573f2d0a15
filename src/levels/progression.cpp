// Level progression through the counter and a reload.
#include "levels/progression.h"

#include "levels/form_access.h"

namespace gravisk {

void winner(FormAccess& form) {
  form.messageBox("You won!");
  form.reload();
}

void restartLevel(FormAccess& form) {
  addToLevel(form.variables(), -1);
  form.reload();
}

void nextLevel(FormAccess& form) {
  form.reload();
}

void previousLevel(FormAccess& form) {
  GameVariables& vars = form.variables();
  addToLevel(vars, -2);
  if (levelValue(vars) == -1) vars.level = static_cast<std::int16_t>(vars.maxlevel - 1);
  form.reload();
}

}  // namespace gravisk
