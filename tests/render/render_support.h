// Helpers for the renderer tests: a started game with a silent front end, and what the
// board says each cell should show.
#pragma once

#include <string_view>

#include "game/form.h"
#include "render/renderer.h"

namespace gravisk::render_test {

struct SilentFrontEnd : FrontEnd {
  int boxes = 0;
  void messageBox(std::string_view, std::string_view) override { ++boxes; }
  void windowUnloaded() override {}
  void windowShown() override {}
};

struct Game {
  SilentFrontEnd frontEnd;
  Form1 form{frontEnd};
  Game() { form.show(); }
  Board& board() { return form.board(); }
  void press(std::int16_t key) { form.Form_KeyDown(key, 0); }
};

inline bool at(const Board& b, ElementId id, int cell) {
  return b.left(id) == static_cast<float>(cell % kColumns) * kTile &&
         b.top(id) == static_cast<float>(cell / kColumns) * kTile;
}

// The picture a cell of a built-in board shows: the hero or the door where they
// stand, else the grass, rock or wall it holds, else its floor.
inline Picture expectedPicture(const Board& b, int cell) {
  if (at(b, b.hero(), cell)) return Picture::Hero;
  if (b.visible(b.door()) && at(b, b.door(), cell)) return Picture::Door;
  if (b.visible(Layer::Grass, cell)) return Picture::Grass;
  if (b.visible(Layer::Rock, cell)) return Picture::Rock;
  if (b.visible(Layer::Wall, cell)) return Picture::Wall;
  return Picture::Dirt;
}

inline constexpr const char* kPictureFile[kPictureCount] = {"dirt.bmp", "grass.bmp", "rock.bmp",
                                                            "wall.bmp", "door.bmp",  "hero.bmp"};

}  // namespace gravisk::render_test
