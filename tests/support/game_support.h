// Test helpers for the game: a started game on the stub front end, a way to lay
// out any board from eight rows of cell codes (or one row or column of them), and
// the rules every board keeps, for the tests and the fuzzer alike.
#pragma once

#include <array>
#include <bitset>
#include <cmath>
#include <string>

#include "game/form.h"
#include "levels/level_loading.h"
#include "stub_front_end.h"

namespace gravisk::testing {

// A started game: the form shown once, at level 1.
struct Game {
  StubFrontEnd frontEnd;
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

using Rows = std::array<std::string, 8>;

// A board that is all floor but for one row, with the door far away.
inline Rows oneRow(int y, const std::string& row) {
  constexpr const char* kEmpty = "0000000000000000";
  Rows rows{kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty};
  rows[y] = row;
  if (row.find('5') == std::string::npos) rows[y == 7 ? 0 : 7][7] = '5';
  return rows;
}

// The same as a column: `column` read top to bottom placed in column x.
inline Rows oneColumn(int x, const std::string& column) {
  constexpr const char* kEmpty = "0000000000000000";
  Rows rows{kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty};
  for (int y = 0; y < 8; ++y) rows[y][x] = column[y];
  if (column.find('5') == std::string::npos) rows[0][x == 15 ? 0 : 15] = '5';
  return rows;
}

// The cell an element stands on, from its position.
inline int cellOf(const Board& board, ElementId id) {
  return static_cast<int>(board.top(id) / kTile) * kColumns +
         static_cast<int>(board.left(id) / kTile);
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

// What moves may change on one board besides the hero: the grass and the rocks.
struct Tiles {
  std::bitset<kCells> grass;
  std::bitset<kCells> rocks;
  bool operator==(const Tiles&) const = default;
};

inline Tiles tilesOf(const Board& board) {
  Tiles t;
  for (int i = 0; i < kCells; ++i) {
    t.grass[i] = board.visible(Layer::Grass, i);
    t.rocks[i] = board.visible(Layer::Rock, i);
  }
  return t;
}

// The first rule of a loaded board that `board` breaks, or "" if it keeps them
// all: the floor in every cell, at most one of grass, rock and wall per cell,
// the hero and the door on cell corners inside the board, on empty cells, and
// never on one another.
inline std::string boardFault(const Board& board) {
  const auto onCorner = [&](ElementId id) {
    const float left = board.left(id), top = board.top(id);
    return std::isfinite(left) && std::isfinite(top) && std::fmod(left, kTile) == 0 &&
           std::fmod(top, kTile) == 0 && left >= 0 && left <= 15 * kTile && top >= 0 &&
           top <= 7 * kTile;
  };
  if (!onCorner(board.hero())) return "hero off the cell corners";
  if (!onCorner(board.door())) return "door off the cell corners";
  const int hero = cellOf(board, board.hero());
  const int door = cellOf(board, board.door());
  if (hero == door) return "hero on the door";
  for (int i = 0; i < kCells; ++i) {
    // Only a fault's message names its cell: a board that keeps the rules costs no string.
    const auto cell = [i] { return " in cell " + std::to_string(i); };
    if (!board.visible(Layer::Dirt, i)) return "floor hidden" + cell();
    const int held = board.visible(Layer::Grass, i) + board.visible(Layer::Rock, i) +
                     board.visible(Layer::Wall, i);
    if (held > 1) return "more than one of grass, rock and wall" + cell();
    if (held > 0 && i == hero) return "hero inside a tile" + cell();
    if (held > 0 && i == door) return "door inside a tile" + cell();
  }
  return "";
}

// The first way `after` cannot have come from `before` by moves alone, or "":
// rocks are only moved, so their number stays, and grass only disappears.
inline std::string moveFault(const Tiles& before, const Tiles& after) {
  if (after.rocks.count() != before.rocks.count()) return "rock count changed";
  if ((after.grass & ~before.grass).any()) return "grass appeared";
  return "";
}

}  // namespace gravisk::testing
