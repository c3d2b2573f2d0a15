// gravisk_flood_keys SEED ROUND...: plans the key flood for the flood test. Each ROUND
// is a count of arrow keys, optionally followed by R ("40R"); one line of key names is
// printed per round. Every arrow is chosen so that it moves the hero on level 1 as the
// game stands then (never onto the door), so a key lost or doubled shows on screen.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "game/form.h"
#include "stub_front_end.h"

namespace {

using namespace gravisk;

struct Arrow {
  std::int16_t code;
  const char* name;
  int dx, dy;
};
constexpr Arrow kArrows[] = {{kKeyLeft, "Left", -1, 0},
                             {kKeyUp, "Up", 0, -1},
                             {kKeyRight, "Right", 1, 0},
                             {kKeyDown, "Down", 0, 1}};

// The grass and rocks of every cell: what digging and pushing change.
std::string tilesOf(const Board& board) {
  std::string s;
  for (int i = 0; i < kCells; ++i) {
    s +=
        static_cast<char>('0' + board.visible(Layer::Grass, i) + 2 * board.visible(Layer::Rock, i));
  }
  return s;
}

// Plays one arrow that moves the hero, never onto the door. Arrows that dig or push
// come first: a shifted path then digs elsewhere and the difference stays on screen.
bool stepSomewhere(Form1& form, std::mt19937& random) {
  int order[4] = {0, 1, 2, 3};
  std::shuffle(std::begin(order), std::end(order), random);
  const Arrow* walk = nullptr;
  Board& board = form.board();
  const Board saved = board;
  const float left = board.left(board.hero()), top = board.top(board.hero());
  const std::string before = tilesOf(board);
  for (int i : order) {
    const Arrow& a = kArrows[i];
    if (left + a.dx * kTile == board.left(board.door()) &&
        top + a.dy * kTile == board.top(board.door())) {
      continue;  // that would win
    }
    form.Form_KeyDown(a.code, 0);
    const bool moved = board.left(board.hero()) != left || board.top(board.hero()) != top;
    const bool changedTiles = tilesOf(board) != before;
    board = saved;
    if (!moved) continue;
    if (!walk) walk = &a;
    if (changedTiles) {
      walk = &a;
      break;
    }
  }
  if (!walk) return false;
  form.Form_KeyDown(walk->code, 0);
  std::printf("%s ", walk->name);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: gravisk_flood_keys SEED COUNT[R]...\n");
    return 2;
  }
  std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
  testing::StubFrontEnd frontEnd;
  frontEnd.onMessageBox = [] { std::abort(); };  // the plan never wins
  Form1 form(frontEnd);
  form.show();
  for (int r = 2; r < argc; ++r) {
    char* end = nullptr;
    const long count = std::strtol(argv[r], &end, 10);
    for (long i = 0; i < count; ++i) {
      if (!stepSomewhere(form, random)) {
        std::fprintf(stderr, "gravisk_flood_keys: the hero is stuck\n");
        return 1;
      }
    }
    if (std::string_view(end) == "R") {
      form.Form_KeyDown(kKeyR, 0);
      std::printf("R");
    }
    std::printf("\n");
  }
  return 0;
}
