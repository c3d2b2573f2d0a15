// The words of the game for a screen reader. Rows and columns are counted from 1,
// as people count; a move's outcome is read off the two snapshots around its key.
#include "game/narration.h"

#include <cmath>

#include "game/form.h"
#include "game/window_definition.h"

namespace gravisk {
namespace {

struct Heading {
  std::int16_t key;
  std::string_view word;
  int dx;
  int dy;
};

// Clockwise from up, the order in which Space reads the neighbours.
constexpr std::array<Heading, 4> kHeadings{{
    {kKeyUp, "up", 0, -1},
    {kKeyRight, "right", 1, 0},
    {kKeyDown, "down", 0, 1},
    {kKeyLeft, "left", -1, 0},
}};

constexpr std::string_view kHelp =
    "Arrows move, R restarts the level, F1 goes to the next level and F2 back; Space says "
    "what is around you, P where you and the door are, 1 to 8 read that row, and H says "
    "these keys.";

// The cell an element stands on, or -1 when it is not on a cell of the board.
int cellAt(const Board& board, ElementId id) {
  const float x = board.left(id) / kTile;
  const float y = board.top(id) / kTile;
  if (!(x >= 0 && x < kColumns && y >= 0 && y < kRows) || x != std::floor(x) ||
      y != std::floor(y)) {
    return -1;
  }
  return static_cast<int>(y) * kColumns + static_cast<int>(x);
}

// The cell one step from `cell`, or -1 off the board.
int neighbour(int cell, const Heading& heading) {
  const int x = cell % kColumns + heading.dx;
  const int y = cell / kColumns + heading.dy;
  if (x < 0 || x >= kColumns || y < 0 || y >= kRows) return -1;
  return y * kColumns + x;
}

std::string position(int cell) {
  if (cell < 0) return "Off the board.";
  return "Row " + std::to_string(cell / kColumns + 1) + ", column " +
         std::to_string(cell % kColumns + 1) + ".";
}

// "Row 3, column 5. Door at row 8, column 16."
std::string positions(const BoardView& view) {
  std::string text = position(view.hero);
  if (view.door >= 0) {
    text += " Door at row " + std::to_string(view.door / kColumns + 1) + ", column " +
            std::to_string(view.door % kColumns + 1) + ".";
  }
  return text;
}

std::string move(const BoardView& before, const Heading& heading, const BoardView& after) {
  const std::string way(heading.word);
  const int target = before.hero < 0 ? -1 : neighbour(before.hero, heading);
  if (target < 0) return "Blocked " + way + ": edge.";
  if (target == before.door) return "";  // a win: the box speaks
  if (after.hero == before.hero) {
    // On the board only a wall or a rock with no room beyond it stops the hero.
    return "Blocked " + way +
           (before.cells[target] == CellKind::Wall ? ": wall." : ": the rock cannot move.");
  }
  std::string where(1, ' ');
  where += position(after.hero);
  switch (before.cells[target]) {
    case CellKind::Grass:
      return "Dug grass, moved " + way + "." + where;
    case CellKind::Rock:
      return "Pushed the rock " + way + "." + where;
    default:
      return "Moved " + way + "." + where;
  }
}

// "Up: wall. Right: rock. Down: grass. Left: dirt."
std::string around(const BoardView& view) {
  std::string text;
  for (const Heading& heading : kHeadings) {
    const int cell = view.hero < 0 ? -1 : neighbour(view.hero, heading);
    if (!text.empty()) text += ' ';
    text += static_cast<char>(heading.word[0] - 'a' + 'A');
    text += heading.word.substr(1);
    text += ": ";
    text += cell < 0 ? std::string_view("edge") : cellName(view, cell);
    text += '.';
  }
  return text;
}

// "Row 3: rock, dirt, rock, dirt, rock, wall, 5 grass, dirt, 4 wall."
std::string row(const BoardView& view, int y) {
  std::string text = "Row " + std::to_string(y + 1) + ":";
  for (int x = 0; x < kColumns;) {
    const std::string_view name = cellName(view, y * kColumns + x);
    int run = 1;
    while (x + run < kColumns && cellName(view, y * kColumns + x + run) == name) ++run;
    text += x == 0 ? " " : ", ";
    if (run > 1) text += std::to_string(run) + " ";
    text += name;
    x += run;
  }
  return text + ".";
}

}  // namespace

BoardView viewOf(const Form1& form) {
  const Board& board = form.board();
  BoardView view;
  view.level = levelValue(form.variables());
  view.levels = form.variables().maxlevel;
  for (int i = 0; i < kCells; ++i) {
    if (board.visible(Layer::Grass, i)) {
      view.cells[i] = CellKind::Grass;
    } else if (board.visible(Layer::Rock, i)) {
      view.cells[i] = CellKind::Rock;
    } else if (board.visible(Layer::Wall, i)) {
      view.cells[i] = CellKind::Wall;
    }
  }
  view.hero = cellAt(board, board.hero());
  view.door = board.visible(board.door()) ? cellAt(board, board.door()) : -1;
  return view;
}

bool isReviewKey(std::int16_t key) {
  return key == kKeySpace || key == kKeyP || key == kKeyH ||
         (key >= kKeyDigit1 && key <= kKeyDigit8);
}

std::string narrate(const BoardView& before, std::int16_t key, const BoardView& after) {
  for (const Heading& heading : kHeadings) {
    if (key == heading.key) return move(before, heading, after);
  }
  switch (key) {
    case kKeyR:
    case kKeyF1:
    case kKeyF2:
      return levelSentence(after);
    case kKeySpace:
      return around(after);
    case kKeyP:
      return positions(after);
    case kKeyH:
      return std::string(kHelp);
    default:
      if (key >= kKeyDigit1 && key <= kKeyDigit8) return row(after, key - kKeyDigit1);
      return "";
  }
}

std::string levelSentence(const BoardView& view) {
  return "Level " + std::to_string(view.level) + " of " + std::to_string(view.levels) + ". " +
         positions(view);
}

std::string gameName(const BoardView& view) {
  return std::string(kAppTitle) + ", level " + std::to_string(view.level) + " of " +
         std::to_string(view.levels);
}

std::string_view cellName(const BoardView& view, int index) {
  if (index == view.hero) return "you";
  if (index == view.door) return "door";
  switch (view.cells[index]) {
    case CellKind::Grass:
      return "grass";
    case CellKind::Rock:
      return "rock";
    case CellKind::Wall:
      return "wall";
    default:
      return "dirt";
  }
}

}  // namespace gravisk
