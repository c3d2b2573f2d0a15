// Long random key sequences through all three levels: after every key the
// board keeps its invariants, and between reloads rocks are only moved and
// grass only ever disappears.
#include <gtest/gtest.h>

#include <random>

#include "recording_front_end.h"

namespace gravisk {
namespace {

using testing::Game;

bool onCorner(float left, float top) {
  return std::fmod(left, kTile) == 0 && std::fmod(top, kTile) == 0 && left >= 0 &&
         left <= 15 * kTile && top >= 0 && top <= 7 * kTile;
}

struct Snapshot {
  int rocks = 0;
  std::vector<bool> grass;
};

Snapshot check(const Board& b) {
  Snapshot s;
  const ElementId hero = b.hero(), door = b.door();
  EXPECT_TRUE(onCorner(b.left(hero), b.top(hero)));
  EXPECT_TRUE(onCorner(b.left(door), b.top(door)));
  EXPECT_FALSE(b.left(hero) == b.left(door) && b.top(hero) == b.top(door)) << "hero on the door";
  const int heroCell = static_cast<int>(b.heroCell());
  const int doorCell = static_cast<int>((b.top(door) * 16 + b.left(door)) / kTile);
  for (int i = 0; i < kCells; ++i) {
    EXPECT_TRUE(b.visible(Layer::Dirt, i));
    const int held =
        b.visible(Layer::Grass, i) + b.visible(Layer::Rock, i) + b.visible(Layer::Wall, i);
    EXPECT_LE(held, 1) << "cell " << i;
    if (i == heroCell || i == doorCell) {
      EXPECT_EQ(held, 0) << "cell " << i;
    }
    s.rocks += b.visible(Layer::Rock, i);
    s.grass.push_back(b.visible(Layer::Grass, i));
  }
  return s;
}

TEST(Invariants, HoldAfterEveryKeyOfLongRandomSequences) {
  const std::int16_t keys[] = {kKeyLeft,  kKeyUp,   kKeyRight, kKeyDown, kKeyLeft,  kKeyUp,
                               kKeyRight, kKeyDown, kKeyLeft,  kKeyUp,   kKeyRight, kKeyDown,
                               kKeyR,     kKeyF1,   kKeyF2,    65,       0,         -1};
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(keys) - 1);
    Game game;
    Snapshot before = check(game.board());
    int reloads = 0;
    for (int step = 0; step < 5000; ++step) {
      const std::size_t events = game.frontEnd.events.size();
      game.press(keys[pick(random)], static_cast<std::int16_t>(random()));
      Snapshot after = check(game.board());
      if (game.frontEnd.events.size() == events) {  // same board: only moves happened
        ASSERT_EQ(after.rocks, before.rocks);
        for (int i = 0; i < kCells; ++i) ASSERT_FALSE(after.grass[i] && !before.grass[i]);
      } else {
        ++reloads;
      }
      before = std::move(after);
      if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(reloads, 0);
  }
}

}  // namespace
}  // namespace gravisk
