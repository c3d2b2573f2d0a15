// Form1, the game's one window object: it owns the game variables, which last
// for the whole run, and the window with the board, which every reload throws
// away and builds anew. All work enters through Form_Load and Form_KeyDown.
#pragma once

#include <cstdint>
#include <optional>

#include "board/board.h"
#include "game/front_end.h"
#include "levels/form_access.h"
#include "levels/level_table.h"

namespace gravisk {

// Windows virtual-key codes of the keys the game answers.
enum KeyCode : std::int16_t {
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyR = 82,
  kKeyF1 = 112,
  kKeyF2 = 113,
};

class Form1 final : public FormAccess {
 public:
  explicit Form1(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates the window from its definition and runs Form_Load if it is not
  // loaded yet, then puts it on screen. Starting the game is one show().
  void show();
  // Destroys the window with every element in it; the game variables stay.
  void unload();
  // Unloads, then shows: a fresh board with the level the counter leads to.
  void reload() override;

  // setvariables, loadshapes, loadlevel, in that order.
  void Form_Load();
  // Routes one key-down event by its key code; the shift state never matters.
  void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);

  bool loaded() const { return window_.has_value(); }
  // The board of the loaded window; only valid while loaded().
  Board& board() override { return *window_; }
  const Board& board() const { return *window_; }
  GameVariables& variables() override { return vars_; }
  const GameVariables& variables() const { return vars_; }
  // The front end's box, titled with the application's title.
  void messageBox(std::string_view text) override;

 private:
  FrontEnd& frontEnd_;
  GameVariables vars_;
  std::optional<Board> window_;
};

}  // namespace gravisk
