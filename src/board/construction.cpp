// Board construction: one cell at a time, floor first, then grass, rock and
// wall, each placed on the cell whose index it carries.
#include "board/construction.h"

#include <cmath>

namespace gravisk {
namespace {

void placeOnCell(Board& board, ElementId id, int i) {
  const float row = std::floor(static_cast<float>(i) / kColumns);
  const float column = static_cast<float>(i) - row * kColumns;
  board.setTop(id, row * kTile);
  board.setLeft(id, column * kTile);
}

}  // namespace

void loadshapes(Board& board) {
  for (int i = 1; i < kCells; ++i) {
    const ElementId dirt = board.create(Layer::Dirt, i);
    const ElementId grass = board.create(Layer::Grass, i);
    const ElementId rock = board.create(Layer::Rock, i);
    const ElementId wall = board.create(Layer::Wall, i);

    board.setVisible(dirt, true);
    placeOnCell(board, dirt, i);
    for (ElementId id : {grass, rock, wall}) {
      board.setVisible(id, false);
      placeOnCell(board, id, i);
      board.bringToFront(id);
    }
  }
}

}  // namespace gravisk
