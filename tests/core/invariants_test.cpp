// Long random key sequences through all three levels: after every key the
// board keeps its invariants, and between reloads rocks are only moved and
// grass only ever disappears.
#include <gtest/gtest.h>

#include <random>

#include "game_support.h"

namespace gravisk {
namespace {

using testing::boardFault;
using testing::Game;
using testing::moveFault;
using testing::tilesOf;

// One random sequence a seed, each its own test, so that each fits a short time limit.
class Invariants : public ::testing::TestWithParam<unsigned> {};

TEST_P(Invariants, HoldAfterEveryKeyOfALongRandomSequence) {
  const std::int16_t keys[] = {kKeyLeft,  kKeyUp,   kKeyRight, kKeyDown, kKeyLeft,  kKeyUp,
                               kKeyRight, kKeyDown, kKeyLeft,  kKeyUp,   kKeyRight, kKeyDown,
                               kKeyR,     kKeyF1,   kKeyF2,    65,       0,         -1};
  std::mt19937 random(GetParam());
  std::uniform_int_distribution<std::size_t> pick(0, std::size(keys) - 1);
  Game game;
  ASSERT_EQ(boardFault(game.board()), "");
  testing::Tiles before = tilesOf(game.board());
  int reloads = 0;
  for (int step = 0; step < 5000; ++step) {
    const std::size_t events = game.frontEnd.events.size();
    game.press(keys[pick(random)], static_cast<std::int16_t>(random()));
    ASSERT_EQ(boardFault(game.board()), "") << "step " << step;
    const testing::Tiles after = tilesOf(game.board());
    if (game.frontEnd.events.size() == events) {  // same board: only moves happened
      ASSERT_EQ(moveFault(before, after), "") << "step " << step;
    } else {
      ++reloads;
    }
    before = after;
  }
  EXPECT_GT(reloads, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Invariants, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace gravisk
