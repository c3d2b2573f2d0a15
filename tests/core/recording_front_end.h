// Test helpers for the core: a front end that records what the game asked of
// it, and a way to lay out any board from eight rows of cell codes.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/form.h"
#include "levels/level_loading.h"

namespace gravisk::testing {

class RecordingFrontEnd : public FrontEnd {
 public:
  struct Box {
    std::string text;
    std::string title;
  };

  void messageBox(std::string_view text, std::string_view title) override {
    boxes.push_back({std::string(text), std::string(title)});
    if (onMessageBox) onMessageBox();
  }
  void windowUnloaded() override {
    events.push_back("unloaded");
    if (onUnloaded) onUnloaded();
  }
  void windowShown() override { events.push_back("shown"); }

  std::vector<Box> boxes;
  std::vector<std::string> events;
  std::function<void()> onMessageBox;  // runs while the box is "open"
  std::function<void()> onUnloaded;    // runs between the two halves of a reload
};

// A started game: the form shown once, at level 1.
struct Game {
  RecordingFrontEnd frontEnd;
  Form1 form{frontEnd};
  Game() { form.show(); }
  Board& board() { return form.board(); }
  int level() const { return *form.variables().level; }
  void press(std::int16_t key, std::int16_t shift = 0) { form.Form_KeyDown(key, shift); }
};

// Decodes `rows` onto the form's current board the way a level loads, using a
// spare entry of the level table, and leaves the counter as it was.
inline void layOut(Form1& form, const std::array<std::string, 8>& rows) {
  GameVariables& vars = form.variables();
  const auto saved = vars.level;
  constexpr int kSpare = 99;
  for (int y = 0; y < 8; ++y) vars.leveldata.set(kSpare, y, rows[y]);
  vars.level = kSpare;
  loadlevel(vars, form.board());
  vars.level = saved;
}

// The code a cell shows: 1 grass, 2 rock, 3 wall, 4 hero, 5 door, 0 floor.
inline char cellCode(const Board& board, int index) {
  const float left = static_cast<float>(index % kColumns) * kTile;
  const float top = static_cast<float>(index / kColumns) * kTile;
  if (board.left(board.hero()) == left && board.top(board.hero()) == top) return '4';
  if (board.visible(board.door()) && board.left(board.door()) == left &&
      board.top(board.door()) == top) {
    return '5';
  }
  if (board.visible(Layer::Grass, index)) return '1';
  if (board.visible(Layer::Rock, index)) return '2';
  if (board.visible(Layer::Wall, index)) return '3';
  return '0';
}

// The whole board as eight rows of codes, for comparing with a level's rows.
inline std::array<std::string, 8> rowsOf(const Board& board) {
  std::array<std::string, 8> rows;
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kColumns; ++x) rows[y] += cellCode(board, y * kColumns + x);
  }
  return rows;
}

}  // namespace gravisk::testing
