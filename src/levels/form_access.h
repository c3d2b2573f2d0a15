// What moving between levels and the hero's moves need of the game's window,
// which sits above them: the game variables, the board on screen, the message
// box and the reload. Form1 answers these calls.
#pragma once

#include <string_view>

#include "board/board.h"
#include "levels/level_table.h"

namespace gravisk {

class FormAccess {
 public:
  // The four game variables; they outlive every reload.
  virtual GameVariables& variables() = 0;
  // The board of the loaded window. A reload destroys it: nothing may hold it across one.
  virtual Board& board() = 0;
  // A modal box with `text` and one OK button, titled with the application's title;
  // returns once the player has closed it.
  virtual void messageBox(std::string_view text) = 0;
  // Unloads the window, then shows it: a fresh board with the level the counter leads to.
  virtual void reload() = 0;

 protected:
  ~FormAccess() = default;
};

}  // namespace gravisk
