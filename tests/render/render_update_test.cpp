// Redrawing only what a key changed: after every key (moves, wins and reloads) the
// frame kept up by update() equals a full render of the new board, and every pixel
// that changed lies inside one of the rectangles update() reports.
#include <gtest/gtest.h>

#include <random>

#include "level_solutions.h"
#include "render_support.h"

namespace gravisk {
namespace {

using render_test::Game;

bool inside(const std::vector<PixelRect>& rects, int x, int y) {
  for (const PixelRect& r : rects) {
    if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return true;
  }
  return false;
}

void playAndCompare(unsigned seed, const std::vector<std::int16_t>& keys, int steps) {
  SCOPED_TRACE(seed);
  const Renderer renderer;
  Game game;
  Frame kept;
  const std::vector<PixelRect> first = renderer.update(game.board(), kept);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].w, Frame::kWidth);
  EXPECT_EQ(first[0].h, Frame::kHeight);
  std::mt19937 random(seed);
  int reloads = 0, wins = 0;
  Frame full;
  for (int step = 0; step < steps; ++step) {
    const std::int16_t key = keys[random() % keys.size()];
    const Frame before = kept;
    const std::size_t boxes = game.frontEnd.boxes.size();
    game.press(key);
    reloads += key == kKeyR || key == kKeyF1 || key == kKeyF2;
    wins += static_cast<int>(game.frontEnd.boxes.size() - boxes);
    const std::vector<PixelRect> changed = renderer.update(game.board(), kept);
    renderer.render(game.board(), full);
    ASSERT_EQ(kept.pixels, full.pixels) << "step " << step << " key " << key;
    for (int y = 0; y < Frame::kHeight; ++y) {
      for (int x = 0; x < Frame::kWidth; ++x) {
        if (before.at(x, y) != kept.at(x, y)) {
          ASSERT_TRUE(inside(changed, x, y)) << "step " << step << " pixel " << x << "," << y;
        }
      }
    }
    for (const PixelRect& r : changed) {
      ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= Frame::kWidth &&
                  r.y + r.h <= Frame::kHeight);
    }
  }
  EXPECT_GT(reloads, 0);
  ::testing::Test::RecordProperty("wins", wins);
}

// One random sequence a seed, each its own test, so that each fits a short time limit.
class RandomRenderUpdate : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomRenderUpdate, MatchesAFullRenderAfterRandomMovesAndReloads) {
  const std::vector<std::int16_t> keys = {kKeyLeft,  kKeyUp,    kKeyRight, kKeyDown, kKeyLeft,
                                          kKeyUp,    kKeyRight, kKeyDown,  kKeyLeft, kKeyUp,
                                          kKeyRight, kKeyDown,  kKeyR,     kKeyF1,   kKeyF2};
  playAndCompare(GetParam(), keys, 400);
}
INSTANTIATE_TEST_SUITE_P(Seeds, RandomRenderUpdate, ::testing::Range(1u, 7u));

TEST(RenderUpdate, MatchesAFullRenderThroughWinsOnEveryLevel) {
  // The three levels' solutions, played one after another.
  std::vector<std::int16_t> wins;
  for (int level = 1; level <= 3; ++level) {
    const std::vector<std::int16_t> keys = testing::levelSolution(level);
    ASSERT_FALSE(keys.empty()) << "no solution for level " << level;
    wins.insert(wins.end(), keys.begin(), keys.end());
  }
  const Renderer renderer;
  Game game;
  Frame kept, full;
  renderer.update(game.board(), kept);
  for (std::size_t i = 0; i < wins.size(); ++i) {
    game.press(wins[i]);
    renderer.update(game.board(), kept);
    renderer.render(game.board(), full);
    ASSERT_EQ(kept.pixels, full.pixels) << "key " << i;
  }
  EXPECT_EQ(game.frontEnd.boxes.size(), 3u);
  EXPECT_EQ(*game.form.variables().level, 1);
}

}  // namespace
}  // namespace gravisk
