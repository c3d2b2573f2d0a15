// Redrawing only what a key changed: after every key (moves, wins and reloads) the
// frame kept up by update() equals a full render of the new board, and every pixel
// that changed lies inside one of the rectangles update() reports.
#include <gtest/gtest.h>

#include <random>

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

TEST(RenderUpdate, MatchesAFullRenderAfterRandomMovesAndReloads) {
  const std::vector<std::int16_t> keys = {kKeyLeft,  kKeyUp,    kKeyRight, kKeyDown, kKeyLeft,
                                          kKeyUp,    kKeyRight, kKeyDown,  kKeyLeft, kKeyUp,
                                          kKeyRight, kKeyDown,  kKeyR,     kKeyF1,   kKeyF2};
  for (unsigned seed = 1; seed <= 6; ++seed) playAndCompare(seed, keys, 400);
}

TEST(RenderUpdate, MatchesAFullRenderThroughWinsOnEveryLevel) {
  // Winning sequences for the three levels, played one after another.
  const char* wins =
      "RRDRDDRDRRRRRURRDRDRDRDR"
      "RRDDRRRDDDRRRUURUUURRDDDRRRURUU"
      "URRURDRDDDRRURRRRRRRRUULLLULLULLLD";
  const Renderer renderer;
  Game game;
  Frame kept, full;
  renderer.update(game.board(), kept);
  for (const char* c = wins; *c; ++c) {
    const std::int16_t key = *c == 'R'   ? kKeyRight
                             : *c == 'L' ? kKeyLeft
                             : *c == 'U' ? kKeyUp
                                         : kKeyDown;
    game.press(key);
    renderer.update(game.board(), kept);
    renderer.render(game.board(), full);
    ASSERT_EQ(kept.pixels, full.pixels) << "key " << (c - wins);
  }
  EXPECT_EQ(game.frontEnd.boxes.size(), 3u);
  EXPECT_EQ(*game.form.variables().level, 1);
}

}  // namespace
}  // namespace gravisk
