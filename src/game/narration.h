// What a screen reader says of the game: a snapshot of what the board shows, the
// sentence for a key (what it did, from the snapshots before and after it), the
// level as it loads, and the keys the game ignores that read the board out.
// Every front end speaks these words; none makes its own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "board/board.h"

namespace gravisk {

class Form1;

// What a cell shows besides its floor: the one of grass, rock and wall that is visible.
enum class CellKind : std::uint8_t { Dirt, Grass, Rock, Wall };

// The board as the player sees it. Cells are indexed as on the board: row × 16 + column.
struct BoardView {
  int level = 0;   // the level on the board, 1 to `levels`
  int levels = 0;  // how many levels there are
  std::array<CellKind, kCells> cells{};
  int hero = -1;  // the hero's cell; -1 when it stands off the board
  int door = -1;  // the door's cell; -1 when it is hidden or off the board
  bool operator==(const BoardView&) const = default;
};

// The snapshot of a loaded form's board.
BoardView viewOf(const Form1& form);

// Keys the game ignores that read the board out loud (Windows virtual-key codes).
enum ReviewKey : std::int16_t {
  kKeySpace = 32,   // the four neighbours of the hero
  kKeyDigit1 = 49,  // 1 to 8: that row, left to right
  kKeyDigit8 = 56,
  kKeyH = 72,  // the keys to listen with
  kKeyP = 80,  // where the hero and the door are
};
bool isReviewKey(std::int16_t key);

// What `key` did, given the board before and after it: a move, a blocked move and
// why, the level a level key loaded, or what a review key reads. Empty for a win
// (the box speaks, and the next level is announced once it closes) and for keys the
// game ignores.
std::string narrate(const BoardView& before, std::int16_t key, const BoardView& after);

// "Level 2 of 3. Row 1, column 1. Door at row 8, column 16.": said at every level load.
std::string levelSentence(const BoardView& view);

// The game's name for assistive technology: "Gravisk, level 2 of 3".
std::string gameName(const BoardView& view);

// One cell in a word: "you", "door", "dirt", "grass", "rock" or "wall".
std::string_view cellName(const BoardView& view, int index);

}  // namespace gravisk
