// Helpers for the renderer tests: what the board says each cell should show.
#pragma once

#include "game_support.h"
#include "render/renderer.h"

namespace gravisk::render_test {

using testing::Game;

// The picture a cell of a built-in board shows: the hero or the door where they
// stand, else the grass, rock or wall it holds, else its floor.
inline Picture expectedPicture(const Board& b, int cell) {
  switch (testing::cellCode(b, cell)) {
    case '1':
      return Picture::Grass;
    case '2':
      return Picture::Rock;
    case '3':
      return Picture::Wall;
    case '4':
      return Picture::Hero;
    case '5':
      return Picture::Door;
    default:
      return Picture::Dirt;
  }
}

}  // namespace gravisk::render_test
