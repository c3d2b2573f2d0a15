// All four moves follow one rule and differ only in their row of the direction
// table. Positions are single-precision twips, always whole multiples of 375 on
// the board, so every sum and comparison here is exact.
#include "play/hero_moves.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "base/runtime_error.h"
#include "levels/form_access.h"
#include "levels/progression.h"

namespace gravisk {
namespace {

struct Rule {
  bool horizontal;  // moves Left (true) or Top (false)
  float step;       // twips
  float cellStep;   // cell index
  // The guards compare the hero's moved coordinate with a limit, strictly.
  bool upward;  // true: coordinate > limit; false: coordinate < limit
  float edgeLimit;
  float pushLimit;
};

constexpr std::array<Rule, 4> kRules{{
    /* Left  */ {true, -kTile, -1, true, 0, kTile},
    /* Up    */ {false, -kTile, -16, true, 0, kTile},
    /* Right */ {true, kTile, 1, false, 15 * kTile, 14 * kTile},
    /* Down  */ {false, kTile, 16, false, 7 * kTile, 6 * kTile},
}};

bool passes(const Rule& rule, float coordinate, float limit) {
  return rule.upward ? coordinate > limit : coordinate < limit;
}

// Every coordinate calculation is checked: a non-finite result is a fault.
float checked(float value) {
  if (!std::isfinite(value)) throw Overflow("coordinate calculation");
  return value;
}

// A cell index computed in floating point, rounded to a 16-bit integer the way
// an element index is picked (halves to even).
int toCell(float index) {
  const float rounded = std::nearbyint(checked(index));
  if (rounded < INT16_MIN || rounded > INT16_MAX) throw Overflow("cell index");
  return static_cast<int>(rounded);
}

float moved(const Board& board, ElementId id, const Rule& rule) {
  return rule.horizontal ? board.left(id) : board.top(id);
}

float cross(const Board& board, ElementId id, const Rule& rule) {
  return rule.horizontal ? board.top(id) : board.left(id);
}

// Is the door `steps` cells from the hero in the move's direction?
bool doorAt(const Board& board, const Rule& rule, float steps) {
  const float target = checked(moved(board, board.hero(), rule) + steps * rule.step);
  return moved(board, board.door(), rule) == target &&
         cross(board, board.door(), rule) == cross(board, board.hero(), rule);
}

void walk(Board& board, const Rule& rule) {
  const ElementId hero = board.hero();
  const float to = checked(moved(board, hero, rule) + rule.step);
  if (rule.horizontal) {
    board.setLeft(hero, to);
  } else {
    board.setTop(hero, to);
  }
}

// The move on `board` itself. It never reloads: when the door is on the target
// cell it changes nothing and says so, and the caller wins once this board is out
// of reach.
enum class Reached { Elsewhere, Door };

Reached step(Board& board, const Rule& rule) {
  if (!passes(rule, moved(board, board.hero(), rule), rule.edgeLimit)) return Reached::Elsewhere;

  const float heroCell = checked(board.heroCell());
  const int target = toCell(heroCell + rule.cellStep);
  const int beyond = toCell(heroCell + 2 * rule.cellStep);

  if (doorAt(board, rule, 1)) return Reached::Door;

  const bool grass = board.visible(Layer::Grass, target);
  const bool wall = board.visible(Layer::Wall, target);
  const bool rock = board.visible(Layer::Rock, target);
  if (!grass && !wall && !rock) {
    walk(board, rule);
    return Reached::Elsewhere;
  }

  if (board.visible(Layer::Grass, target)) {
    board.setVisible(Layer::Grass, target, false);  // dig
    walk(board, rule);
    return Reached::Elsewhere;
  }

  const bool pushRoom = passes(rule, moved(board, board.hero(), rule), rule.pushLimit);
  if (!(board.visible(Layer::Rock, target) && pushRoom)) {
    return Reached::Elsewhere;  // a wall, or no room
  }

  const bool rockBeyond = board.visible(Layer::Rock, beyond);
  const bool wallBeyond = board.visible(Layer::Wall, beyond);
  const bool grassBeyond = board.visible(Layer::Grass, beyond);
  if (rockBeyond || wallBeyond || grassBeyond || doorAt(board, rule, 2)) return Reached::Elsewhere;

  board.setVisible(Layer::Rock, target, false);
  board.setVisible(Layer::Rock, beyond, true);
  walk(board, rule);
  return Reached::Elsewhere;
}

}  // namespace

void moveHero(FormAccess& form, Direction direction) {
  // The board is only a parameter of step(): winner()'s reload cannot leave a
  // reference to it behind here.
  if (step(form.board(), kRules[static_cast<int>(direction)]) == Reached::Door) winner(form);
}

}  // namespace gravisk
