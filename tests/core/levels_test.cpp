// The level table and counter, and decoding a level onto the board.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "board/construction.h"
#include "game/window_definition.h"
#include "game_support.h"

namespace gravisk {
namespace {

using testing::Game;
using testing::layOut;
using testing::rowsOf;
using testing::StubFrontEnd;

TEST(LevelTable, KeepsItsBoundsAndReadsUnwrittenEntriesAsEmpty) {
  GameVariables vars;
  setvariables(vars);
  EXPECT_EQ(vars.maxlevel, 3);
  for (int row = 0; row <= 8; ++row) {
    EXPECT_EQ(vars.leveldata.get(0, row), "");
    EXPECT_EQ(vars.leveldata.get(4, row), "");
    EXPECT_EQ(vars.leveldata.get(100, row), "");
  }
  for (int level = 1; level <= 3; ++level) EXPECT_EQ(vars.leveldata.get(level, 8), "");
  EXPECT_THROW(vars.leveldata.get(101, 0), SubscriptOutOfRange);
  EXPECT_THROW(vars.leveldata.get(-1, 0), SubscriptOutOfRange);
  EXPECT_THROW(vars.leveldata.get(1, 9), SubscriptOutOfRange);
  EXPECT_THROW(vars.leveldata.get(1, -1), SubscriptOutOfRange);
  EXPECT_THROW(vars.leveldata.set(1, 9, "x"), SubscriptOutOfRange);
}

TEST(LevelTable, HoldsTheBuiltInLevelsWithTheirCounts) {
  struct Count {
    int hero, door, floor, grass, rocks, walls;
  };
  const Count expected[3] = {
      {0, 127, 28, 58, 24, 16}, {0, 15, 41, 0, 79, 6}, {48, 22, 34, 0, 12, 80}};
  GameVariables vars;
  setvariables(vars);
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    int counts[6] = {};
    int hero = -1, door = -1;
    for (int y = 0; y < 8; ++y) {
      const std::string& row = vars.leveldata.get(n, y);
      ASSERT_EQ(row.size(), 16u);
      for (int x = 0; x < 16; ++x) {
        ASSERT_TRUE(row[x] >= '0' && row[x] <= '5');
        ++counts[row[x] - '0'];
        if (row[x] == '4') hero = y * 16 + x;
        if (row[x] == '5') door = y * 16 + x;
      }
    }
    const Count& c = expected[n - 1];
    EXPECT_EQ(hero, c.hero);
    EXPECT_EQ(door, c.door);
    EXPECT_EQ(counts[4], 1);
    EXPECT_EQ(counts[5], 1);
    EXPECT_EQ(counts[0], c.floor);
    EXPECT_EQ(counts[1], c.grass);
    EXPECT_EQ(counts[2], c.rocks);
    EXPECT_EQ(counts[3], c.walls);
  }
}

TEST(LevelCounter, EveryLoadStepsItByOneAndWrapsAfterTheLast) {
  GameVariables vars;
  EXPECT_FALSE(vars.level.has_value());
  setvariables(vars);
  EXPECT_EQ(*vars.level, 1);  // empty counts as 0
  const std::pair<int, int> steps[] = {{0, 1}, {1, 2}, {2, 3}, {3, 1}};
  for (auto [before, after] : steps) {
    vars.level = static_cast<std::int16_t>(before);
    setvariables(vars);
    EXPECT_EQ(*vars.level, after) << "from " << before;
  }
  // Only the upper end is wrapped.
  vars.level = -5;
  setvariables(vars);
  EXPECT_EQ(*vars.level, -4);
  vars.level = 32767;
  EXPECT_THROW(setvariables(vars), Overflow);
}

TEST(LevelLoading, EachBuiltInLevelShowsExactlyItsRows) {
  // The levels as the game is meant to have them, written out here rather than
  // taken from the game's own table, so that a typo there shows.
  const std::array<std::string, 8> levels[3] = {
      {"4020231111111111", "0202031111111111", "2020231111103333", "0202031111020202",
       "2020201111302020", "3333011111320202", "1111111111302020", "1111111111320205"},
      {"4200200230200225", "2222222220222220", "2200200200203200", "2203203200200200",
       "2222222222202222", "2200200200200222", "2200203203200222", "2222222222222222"},
      {"3303300020333333", "3320335300203303", "0020203333000203", "4230230333333323",
       "3033032200000000", "3333020033333333", "3333033333333333", "3333333333333333"}};
  Game game;
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(game.level(), n);
    EXPECT_EQ(rowsOf(game.board()), levels[n - 1]);
    EXPECT_TRUE(game.board().visible(game.board().hero()));
    EXPECT_TRUE(game.board().visible(game.board().door()));
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(game.board().visible(Layer::Dirt, i));
    game.press(kKeyF1);
  }
}

TEST(LevelLoading, LastHeroAndDoorScannedWinColumnByColumn) {
  Game game;
  layOut(game.form,
         {"4000000000000005", "0000000000000000", "0000040000000000", "0000000000000000",
          "0000004000000000", "0000005000000000", "0000000000000000", "5000000000000000"});
  // Column 6 is scanned after column 5, and row 4 after nothing else in column 6.
  EXPECT_EQ(game.board().left(game.board().hero()), 6 * 375.0f);
  EXPECT_EQ(game.board().top(game.board().hero()), 4 * 375.0f);
  EXPECT_EQ(game.board().left(game.board().door()), 15 * 375.0f);
  EXPECT_EQ(game.board().top(game.board().door()), 0.0f);
  for (int i : {0, 37, 70, 86, 15, 112}) {  // every 4 and 5 is bare floor
    EXPECT_FALSE(game.board().visible(Layer::Grass, i));
    EXPECT_FALSE(game.board().visible(Layer::Rock, i));
    EXPECT_FALSE(game.board().visible(Layer::Wall, i));
  }
}

TEST(LevelLoading, WithoutHeroOrDoorTheyKeepTheWindowsOwnPlace) {
  StubFrontEnd frontEnd;
  Form1 form(frontEnd);
  form.show();
  // Load a level with neither a 4 nor a 5 onto a freshly made window.
  form.unload();
  GameVariables& vars = form.variables();
  for (int y = 0; y < 8; ++y) vars.leveldata.set(42, y, "0123012301230123");
  Board board(windowDefinition());
  loadshapes(board);
  vars.level = 42;
  loadlevel(vars, board);
  EXPECT_TRUE(board.visible(board.hero()));
  EXPECT_EQ(board.left(board.hero()), 2400.0f);
  EXPECT_EQ(board.top(board.hero()), 1320.0f);
  EXPECT_FALSE(board.visible(board.door()));
  EXPECT_EQ(board.left(board.door()), 3240.0f);
  EXPECT_EQ(board.top(board.door()), 1440.0f);
}

TEST(LevelLoading, CodesSixToNineLeaveTheCellAsBuiltAndCellZeroDecodesLikeAnyOther) {
  Game game;
  layOut(game.form,
         {"3111111111111145", "6789000000000000", "0000000000000000", "0000000000000000",
          "0000000000000000", "0000000000000000", "0000000000000000", "0000000000000000"});
  EXPECT_TRUE(game.board().visible(Layer::Wall, 0));
  EXPECT_FALSE(game.board().visible(Layer::Grass, 0));
  // Row 1's first four cells held what level 1 put there: 6-9 keep it.
  const std::string level1row1 = "0202";
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(game.board().visible(Layer::Rock, 16 + x), level1row1[x] == '2') << x;
  }
}

struct LoadFault {
  const char* name;
  std::array<std::string, 8> rows;
  int faultColumn, faultRow;
};

void PrintTo(const LoadFault& f, std::ostream* os) {
  *os << f.name;
}

class LevelLoadingFaults : public ::testing::TestWithParam<LoadFault> {};

TEST_P(LevelLoadingFaults, StopAtTheBadCellKeepingWhatWasScannedBefore) {
  const LoadFault& fault = GetParam();
  StubFrontEnd frontEnd;
  Form1 form(frontEnd);
  form.show();
  Board board(windowDefinition());
  loadshapes(board);
  GameVariables& vars = form.variables();
  for (int y = 0; y < 8; ++y) vars.leveldata.set(7, y, fault.rows[y]);
  vars.level = 7;
  EXPECT_THROW(loadlevel(vars, board), TypeMismatch);
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) {
      const bool scanned = x < fault.faultColumn || (x == fault.faultColumn && y < fault.faultRow);
      EXPECT_EQ(board.visible(Layer::Wall, y * 16 + x), scanned) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, LevelLoadingFaults,
    ::testing::Values(
        LoadFault{"Letter",
                  {"3333333333333333", "3333333333333333", "33333x3333333333", "3333333333333333",
                   "3333333333333333", "3333333333333333", "3333333333333333", "3333333333333333"},
                  5,
                  2},
        LoadFault{"Space",
                  {"3333333333333333", "3333333333333333", "3333333333333333", "3333333333333333",
                   "3333333333333333", "3333333333333333", "3333333333333333", "3 33333333333333"},
                  1,
                  7},
        LoadFault{"ShortRow",
                  {"3333333333333333", "3333333333333333", "3333333333333333", "333333333333",
                   "3333333333333333", "3333333333333333", "3333333333333333", "3333333333333333"},
                  12,
                  3},
        LoadFault{"EmptyRow", {"3333333333333333", "", "", "", "", "", "", ""}, 0, 1},
        LoadFault{"Minus",
                  {"-333333333333333", "3333333333333333", "3333333333333333", "3333333333333333",
                   "3333333333333333", "3333333333333333", "3333333333333333", "3333333333333333"},
                  0,
                  0}),
    [](const auto& info) { return info.param.name; });

TEST(LevelLoading, CounterOutsideTheTableIsASubscriptErrorAndEmptyLevelsAMismatch) {
  StubFrontEnd frontEnd;
  Form1 form(frontEnd);
  form.show();
  GameVariables& vars = form.variables();
  for (int bad : {101, -1, 32767}) {
    vars.level = static_cast<std::int16_t>(bad);
    EXPECT_THROW(loadlevel(vars, form.board()), SubscriptOutOfRange) << bad;
  }
  for (int empty : {0, 4, 100}) {
    vars.level = static_cast<std::int16_t>(empty);
    EXPECT_THROW(loadlevel(vars, form.board()), TypeMismatch) << empty;
  }
}

TEST(LevelLoading, ErrorsCarryTheirNumberAndMessage) {
  try {
    cellNumber("x");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(e.report().rfind("Run-time error '13': Type mismatch", 0), 0u) << e.report();
  }
  EXPECT_EQ(cellNumber("7"), 7.0);
  EXPECT_THROW(cellNumber(""), TypeMismatch);
}

}  // namespace
}  // namespace gravisk
