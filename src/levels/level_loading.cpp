// Decoding a level onto the board. The six cell tests run for every cell, in
// order, each reading the cell's character afresh.
#include "levels/level_loading.h"

#include "base/runtime_error.h"

namespace gravisk {
namespace {

void setLayers(Board& board, int index, bool rock, bool grass, bool wall) {
  board.setVisible(Layer::Rock, index, rock);
  board.setVisible(Layer::Grass, index, grass);
  board.setVisible(Layer::Wall, index, wall);
}

void place(Board& board, ElementId id, int x, int y) {
  board.setVisible(id, true);
  board.setTop(id, static_cast<float>(y) * kTile);
  board.setLeft(id, static_cast<float>(x) * kTile);
}

}  // namespace

double cellNumber(const std::string& cellchar) {
  if (cellchar.size() == 1 && cellchar[0] >= '0' && cellchar[0] <= '9') {
    return cellchar[0] - '0';
  }
  throw TypeMismatch("cell \"" + cellchar + "\" is not a number");
}

void loadlevel(GameVariables& vars, Board& board) {
  for (int x = 0; x < kColumns; ++x) {
    for (int y = 0; y < kRows; ++y) {
      const std::string& row = vars.leveldata.get(levelValue(vars), y);
      vars.cellchar = row.size() > static_cast<std::size_t>(x) ? row.substr(x, 1) : std::string();
      const int index = y * kColumns + x;
      const auto is = [&](double code) { return cellNumber(vars.cellchar) == code; };

      if (is(0) || is(4) || is(5)) setLayers(board, index, false, false, false);
      if (is(1)) setLayers(board, index, false, true, false);
      if (is(2)) setLayers(board, index, true, false, false);
      if (is(3)) setLayers(board, index, false, false, true);
      if (is(4)) place(board, board.hero(), x, y);
      if (is(5)) place(board, board.door(), x, y);
    }
  }
}

}  // namespace gravisk
