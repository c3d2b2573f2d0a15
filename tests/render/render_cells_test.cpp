// Full renders checked pixel by pixel: each cell shows exactly the picture the board
// puts there, the strips beyond the board keep the background colour, the label
// never shows, a hero off the grid sits under the tiles in front of it, and the
// 32 × 32 pictures shrink by taking the pixel under each screen pixel's centre.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "board/construction.h"
#include "levels/level_loading.h"
#include "render/bitmap.h"
#include "render/embedded_assets.h"
#include "render_support.h"

namespace gravisk {
namespace {

using render_test::expectedPicture;
using render_test::Game;

std::set<std::uint32_t> paletteOf(Picture picture) {
  const auto bytes = embeddedAsset(pictureFile(picture));
  const Picture32 decoded = decodeBmp(bytes);
  return {decoded.pixels.begin(), decoded.pixels.end()};
}

// Every cell's square equals the renderer's tile for the cell's picture, and every
// pixel in it is one of the decoded picture's own colours.
void expectCellsMatchBoard(const Renderer& renderer, const Board& board, const Frame& frame) {
  std::array<std::set<std::uint32_t>, kPictureCount> palettes;
  for (int p = 0; p < kPictureCount; ++p) palettes[p] = paletteOf(static_cast<Picture>(p));
  for (int cell = 0; cell < kCells; ++cell) {
    const Picture picture = expectedPicture(board, cell);
    const Tile& tile = renderer.tile(picture);
    const int x0 = cell % kColumns * kTilePixels;
    const int y0 = cell / kColumns * kTilePixels;
    int wrong = 0, foreign = 0;
    for (int y = 0; y < kTilePixels; ++y) {
      for (int x = 0; x < kTilePixels; ++x) {
        const std::uint32_t got = frame.at(x0 + x, y0 + y);
        wrong += got != tile[y * kTilePixels + x];
        foreign += palettes[static_cast<int>(picture)].count(got) == 0;
      }
    }
    EXPECT_EQ(wrong, 0) << "cell " << cell << " picture " << static_cast<int>(picture);
    EXPECT_EQ(foreign, 0) << "cell " << cell << " has colours not in its picture";
  }
}

void expectStripsAreBackground(const Frame& frame) {
  int wrong = 0;
  for (int y = 0; y < Frame::kHeight; ++y) {
    for (int x = kColumns * kTilePixels; x < Frame::kWidth; ++x)
      wrong += frame.at(x, y) != 0xF0F0F0;
  }
  for (int x = 0; x < Frame::kWidth; ++x) {
    wrong += frame.at(x, kRows * kTilePixels) != 0xF0F0F0;
  }
  EXPECT_EQ(Frame::kWidth - kColumns * kTilePixels, 2);
  EXPECT_EQ(Frame::kHeight - kRows * kTilePixels, 1);
  EXPECT_EQ(wrong, 0) << "pixels of the right or bottom strip not in the background colour";
}

TEST(RenderCells, EveryLevelAndPlayedBoardShowsItsPicturesAndBackgroundStrips) {
  const Renderer renderer;
  Game game;
  std::mt19937 random(7);
  const std::int16_t keys[] = {kKeyLeft, kKeyUp, kKeyRight, kKeyDown};
  for (int level = 1; level <= 3; ++level) {
    SCOPED_TRACE(level);
    ASSERT_EQ(*game.form.variables().level, level);
    Frame frame;
    renderer.render(game.board(), frame);
    expectCellsMatchBoard(renderer, game.board(), frame);
    expectStripsAreBackground(frame);

    for (int i = 0; i < 60 && game.frontEnd.boxes.empty(); ++i) game.press(keys[random() % 4]);
    ASSERT_EQ(*game.form.variables().level, level) << "the random walk won; pick another seed";
    renderer.render(game.board(), frame);
    expectCellsMatchBoard(renderer, game.board(), frame);
    expectStripsAreBackground(frame);
    game.press(kKeyF1);
  }
}

// Each kind of cell in its own colours, taken from what the pictures are meant
// to show rather than from the game's picture files, so that a mix-up of the
// pictures shows: the colours allowed anywhere in the cell, and those of them
// that must be there.
TEST(RenderCells, EachKindOfCellShowsItsOwnPicturesColours) {
  using Colours = std::set<std::uint32_t>;
  const Colours browns = {0x994400, 0xCC6600, 0x793B00};
  const Colours greens = {0x009900, 0x00CC00, 0x00FF00};
  const Colours greys = {0x6E6E6E, 0x5D5D5D, 0x7F7F7F, 0x4C4C4C, 0x333333};
  const Colours highlights = {0x999999, 0xBBBBBB};
  const auto both = [](Colours a, const Colours& b) {
    a.insert(b.begin(), b.end());
    return a;
  };
  struct Look {
    const char* name;
    int cell;  // on level 1 at the start: row 0 is "4020231111111111", the door is cell 127
    Colours allowed;
    std::vector<Colours> musts;  // at least one colour of each of these
  };
  const Look looks[] = {
      {"floor", 1, browns, {}},
      {"grass", 6, greens, {}},
      {"wall", 5, greys, {}},
      {"rock", 2, both(both(greys, highlights), browns), {highlights, browns, greys}},
      {"door",
       127,
       both(both(greys, highlights), {0xFF8040, 0x804000, 0x00FF00, 0x008000}),
       {{0xFF8040}, {0x00FF00, 0x008000}, greys}},
      {"hero",
       0,
       both(browns, {0xFFFF00, 0xF9CC00, 0xDD9900, 0xFF9C00, 0xF37700, 0xFFFFFF, 0x191919, 0x000000,
                     0x663300}),
       {{0xFFFF00}, {0xFF9C00, 0xF37700}, {0x000000}}},
  };
  const Renderer renderer;
  Game game;
  Frame frame;
  renderer.render(game.board(), frame);
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    Colours seen;
    for (int y = 0; y < kTilePixels; ++y) {
      for (int x = 0; x < kTilePixels; ++x) {
        seen.insert(frame.at(look.cell % kColumns * kTilePixels + x,
                             look.cell / kColumns * kTilePixels + y));
      }
    }
    for (std::uint32_t colour : seen)
      EXPECT_EQ(look.allowed.count(colour), 1u) << std::hex << colour;
    for (const Colours& must : look.musts) {
      EXPECT_TRUE(std::any_of(must.begin(), must.end(), [&](auto c) { return seen.count(c); }))
          << "none of " << std::hex << *must.begin() << "...";
    }
  }
}

TEST(RenderCells, HeroCoversTheFloorOfCellZeroAtLevelOneStart) {
  const Renderer renderer;
  Game game;
  Frame frame;
  renderer.render(game.board(), frame);
  const Tile& hero = renderer.tile(Picture::Hero);
  ASSERT_NE(hero, renderer.tile(Picture::Dirt));
  for (int y = 0; y < kTilePixels; ++y) {
    for (int x = 0; x < kTilePixels; ++x) {
      ASSERT_EQ(frame.at(x, y), hero[y * kTilePixels + x]) << x << "," << y;
    }
  }
  // The floor of cell 0 is still there underneath: step off and it shows.
  game.press(kKeyDown);
  renderer.render(game.board(), frame);
  EXPECT_EQ(frame.at(12, 12), renderer.tile(Picture::Dirt)[12 * kTilePixels + 12]);
}

TEST(RenderCells, TheNumberLabelNeverShowsEvenWhenVisible) {
  const Renderer renderer;
  Game game;
  Frame hidden, shown;
  renderer.render(game.board(), hidden);
  game.board().setVisible(game.board().number(), true);
  ASSERT_TRUE(game.board().visible(game.board().number()));
  renderer.render(game.board(), shown);
  EXPECT_EQ(hidden.pixels, shown.pixels);
  Frame updated = hidden;
  renderer.update(game.board(), updated);
  EXPECT_EQ(updated.pixels, hidden.pixels);
}

// A level without a hero start leaves the hero where the window put it, 2400 × 1320
// twips = 160, 88 pixels, behind the grass, rock and wall tiles of cells 1 to 127.
TEST(RenderCells, HeroWithoutStartStaysAtItsWindowPlaceBehindTiles) {
  GameVariables vars;
  setvariables(vars);
  const std::array<std::string, 8> rows = {
      "0000000000000000", "0000000000000000", "0000000000000000", "0000001000000000",
      "0000000300000000", "0000000000000000", "0000000000000000", "0000000000000005"};
  constexpr int kSpare = 50;
  for (int y = 0; y < 8; ++y) vars.leveldata.set(kSpare, y, rows[y]);
  vars.level = kSpare;
  Board board(windowDefinition());
  loadshapes(board);
  loadlevel(vars, board);
  ASSERT_EQ(board.left(board.hero()), 2400.0f);
  ASSERT_EQ(board.top(board.hero()), 1320.0f);

  const Renderer renderer;
  Frame frame;
  renderer.render(board, frame);
  const Tile& hero = renderer.tile(Picture::Hero);
  const Tile& grass = renderer.tile(Picture::Grass);
  const Tile& wall = renderer.tile(Picture::Wall);
  const Tile& dirt = renderer.tile(Picture::Dirt);
  int heroPixels = 0;
  for (int y = 75; y < 125; ++y) {
    for (int x = 150; x < 200; ++x) {
      const int col = x / kTilePixels, row = y / kTilePixels;
      const int inCell = (y % kTilePixels) * kTilePixels + x % kTilePixels;
      const bool inHero = x >= 160 && x < 185 && y >= 88 && y < 113;
      std::uint32_t want = dirt[inCell];
      if (col == 6 && row == 3) {
        want = grass[inCell];  // in front of the hero
      } else if (col == 7 && row == 4) {
        want = wall[inCell];  // in front of the hero
      } else if (inHero) {
        want = hero[(y - 88) * kTilePixels + (x - 160)];
        ++heroPixels;
      }
      ASSERT_EQ(frame.at(x, y), want) << x << "," << y;
    }
  }
  // Cells (6,4) and (7,3) leave 15 × 13 and 10 × 12 pixels of the hero uncovered.
  EXPECT_EQ(heroPixels, 15 * 13 + 10 * 12);
}

TEST(ScaleToTile, TakesThePicturePixelUnderEachScreenPixelCentre) {
  PicturePixels picture{};
  for (int y = 0; y < kPicturePixels; ++y) {
    for (int x = 0; x < kPicturePixels; ++x) {
      picture[y * kPicturePixels + x] = static_cast<std::uint32_t>(y << 8 | x);
    }
  }
  const Tile tile = scaleToTile(picture);
  for (int y = 0; y < kTilePixels; ++y) {
    for (int x = 0; x < kTilePixels; ++x) {
      // The centre of screen pixel x lies at (x + 0.5) × 32 / 25 picture pixels.
      const auto sx = static_cast<std::uint32_t>(std::floor((x + 0.5) * 32.0 / 25.0));
      const auto sy = static_cast<std::uint32_t>(std::floor((y + 0.5) * 32.0 / 25.0));
      ASSERT_EQ(tile[y * kTilePixels + x], sy << 8 | sx) << x << "," << y;
    }
  }
  EXPECT_EQ(tile[0], 0x0000u);
  EXPECT_EQ(tile[12 * kTilePixels + 12], 0x1010u);  // the exact middle: pixel 16
  EXPECT_EQ(tile[24 * kTilePixels + 24], 0x1F1Fu);
  // 32 columns shrink to 25: exactly seven picture columns are skipped.
  std::set<std::uint32_t> columns;
  for (int x = 0; x < kTilePixels; ++x) columns.insert(tile[x] & 0xFF);
  EXPECT_EQ(columns.size(), 25u);
}

}  // namespace
}  // namespace gravisk
