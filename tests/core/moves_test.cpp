// The hero's moves: walking, digging, pushing, the edges of the board, every
// thing that stops a rock, and stepping onto the door.
#include <gtest/gtest.h>

#include "game_support.h"

namespace gravisk {
namespace {

using testing::Game;
using testing::layOut;
using testing::oneColumn;
using testing::oneRow;
using testing::Rows;
using testing::rowsOf;

constexpr const char* kEmpty = "0000000000000000";

struct MoveCase {
  const char* name;
  Rows before;
  std::int16_t key;
  Rows after;  // the same as before when the move changes nothing
};

void PrintTo(const MoveCase& c, std::ostream* os) {
  *os << c.name;
}

class Moves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(Moves, ChangeTheBoardExactlyAsExpected) {
  const MoveCase& c = GetParam();
  Game game;
  layOut(game.form, c.before);
  game.press(c.key);
  EXPECT_EQ(rowsOf(game.board()), c.after);
  EXPECT_TRUE(game.frontEnd.boxes.empty());
  EXPECT_EQ(game.level(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Moves,
    ::testing::Values(
        MoveCase{"LeftFromColumn0", oneRow(3, "4000000000000000"), kKeyLeft,
                 oneRow(3, "4000000000000000")},
        MoveCase{"UpFromRow0", oneColumn(6, "40000000"), kKeyUp, oneColumn(6, "40000000")},
        MoveCase{"RightFromColumn15NeverWrapsToTheNextRow", oneRow(2, "0000000000000004"),
                 kKeyRight, oneRow(2, "0000000000000004")},
        MoveCase{"DownFromRow7", oneColumn(9, "00000004"), kKeyDown, oneColumn(9, "00000004")},
        MoveCase{"RockInColumn0", oneRow(4, "2400000000000000"), kKeyLeft,
                 oneRow(4, "2400000000000000")},
        MoveCase{"RockInColumn15", oneRow(4, "0000000000000042"), kKeyRight,
                 oneRow(4, "0000000000000042")},
        MoveCase{"RockInRow0", oneColumn(3, "24000000"), kKeyUp, oneColumn(3, "24000000")},
        MoveCase{"RockInRow7", oneColumn(3, "00000042"), kKeyDown, oneColumn(3, "00000042")}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Moves,
    ::testing::Values(
        MoveCase{"WalkLeft", oneRow(1, "0000040000000000"), kKeyLeft,
                 oneRow(1, "0000400000000000")},
        MoveCase{"WalkRightAlongTheRow", oneRow(1, "0000000000000040"), kKeyRight,
                 oneRow(1, "0000000000000004")},
        MoveCase{"WalkUp", oneColumn(2, "00400000"), kKeyUp, oneColumn(2, "04000000")},
        MoveCase{"WalkDownIntoRow7", oneColumn(2, "00000040"), kKeyDown, oneColumn(2, "00000004")},
        MoveCase{"DigRight", oneRow(5, "0041100000000000"), kKeyRight,
                 oneRow(5, "0004100000000000")},
        MoveCase{"DigUp", oneColumn(0, "11400000"), kKeyUp, oneColumn(0, "14000000")},
        MoveCase{"DigGrassWithARockBeyond", oneRow(5, "0041200000000000"), kKeyRight,
                 oneRow(5, "0004200000000000")},
        MoveCase{"PushLeft", oneRow(6, "0002400000000000"), kKeyLeft,
                 oneRow(6, "0024000000000000")},
        MoveCase{"PushRightToTheLastColumn", oneRow(6, "0000000000000420"), kKeyRight,
                 oneRow(6, "0000000000000042")},
        MoveCase{"PushUpToRow0", oneColumn(8, "02400000"), kKeyUp, oneColumn(8, "24000000")},
        MoveCase{"PushDownToRow7", oneColumn(8, "00000420"), kKeyDown, oneColumn(8, "00000042")},
        MoveCase{"Wall", oneRow(0, "0000034000000000"), kKeyLeft, oneRow(0, "0000034000000000")},
        MoveCase{"WallAbove", oneColumn(1, "00034000"), kKeyUp, oneColumn(1, "00034000")}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(PushBlockers, Moves,
                         ::testing::Values(MoveCase{"TwoRocks", oneRow(2, "0000224000000000"),
                                                    kKeyLeft, oneRow(2, "0000224000000000")},
                                           MoveCase{"RockThenWall", oneRow(2, "0000004230000000"),
                                                    kKeyRight, oneRow(2, "0000004230000000")},
                                           MoveCase{"RockThenGrassWhichStays",
                                                    oneColumn(4, "00421000"), kKeyDown,
                                                    oneColumn(4, "00421000")},
                                           MoveCase{"RockThenDoor", oneRow(2, "0000000425000000"),
                                                    kKeyRight, oneRow(2, "0000000425000000")},
                                           MoveCase{"RockThenDoorAbove", oneColumn(11, "05240000"),
                                                    kKeyUp, oneColumn(11, "05240000")}),
                         [](const auto& info) { return info.param.name; });

TEST(HeroMoves, PushLeavesNoRockBehindAndKeepsTheNumberOfRocks) {
  Game game;
  layOut(game.form, oneRow(3, "0002400000000000"));
  Board& board = game.board();
  // Hero in column 4 pushes the rock from column 3 to column 2.
  game.press(kKeyLeft);
  EXPECT_TRUE(board.visible(Layer::Rock, 3 * 16 + 2));
  EXPECT_FALSE(board.visible(Layer::Rock, 3 * 16 + 3));
  EXPECT_EQ(board.left(board.hero()), 3 * 375.0f);
  EXPECT_EQ(board.top(board.hero()), 3 * 375.0f);
  int rocks = 0;
  for (int i = 0; i < kCells; ++i) rocks += board.visible(Layer::Rock, i);
  EXPECT_EQ(rocks, 1);
}

TEST(HeroMoves, StepOntoTheDoorCallsWinnerOnceWithoutMovingTheHero) {
  const std::pair<std::int16_t, Rows> cases[] = {
      {kKeyLeft, oneRow(4, "0000000054000000")},
      {kKeyRight, oneRow(4, "0000000045000000")},
      {kKeyUp, oneColumn(4, "00054000")},
      {kKeyDown, oneColumn(4, "00045000")},
  };
  for (const auto& [key, rows] : cases) {
    SCOPED_TRACE(key);
    Game game;
    layOut(game.form, rows);
    const float left = game.board().left(game.board().hero());
    const float top = game.board().top(game.board().hero());
    game.frontEnd.onMessageBox = [&] {
      EXPECT_EQ(game.form.board().left(game.form.board().hero()), left);
      EXPECT_EQ(game.form.board().top(game.form.board().hero()), top);
    };
    game.press(key);
    EXPECT_EQ(game.frontEnd.boxes.size(), 1u);
    EXPECT_EQ(game.level(), 2);  // and the form has moved on
  }
}

TEST(HeroMoves, DoorOnTheOtherSideOfARowEndIsNotNextToTheHero) {
  Game game;
  // Hero at the end of row 1, door at the start of row 2: index + 1, but no neighbour.
  layOut(game.form,
         {kEmpty, "0000000000000004", "5000000000000000", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty});
  game.press(kKeyRight);
  EXPECT_TRUE(game.frontEnd.boxes.empty());
  // Hero at the start of row 2, door at the end of row 1.
  layOut(game.form,
         {kEmpty, "0000000000000005", "4000000000000000", kEmpty, kEmpty, kEmpty, kEmpty, kEmpty});
  game.press(kKeyLeft);
  EXPECT_TRUE(game.frontEnd.boxes.empty());
  EXPECT_EQ(game.board().left(game.board().hero()), 0.0f);
}

TEST(HeroMoves, DiagonalDoorIsReachedOnlyByAStraightStep) {
  Game game;
  layOut(game.form,
         {kEmpty, kEmpty, "0000040000000000", "0000005000000000", kEmpty, kEmpty, kEmpty, kEmpty});
  game.press(kKeyRight);  // now directly above the door
  EXPECT_TRUE(game.frontEnd.boxes.empty());
  game.press(kKeyDown);
  EXPECT_EQ(game.frontEnd.boxes.size(), 1u);
}

TEST(HeroMoves, ModifiersChangeNothing) {
  for (std::int16_t shift : {0, 1, 2, 4, 7, -1}) {
    Game game;
    layOut(game.form, oneRow(5, "0041100000000000"));
    game.press(kKeyRight, shift);
    EXPECT_EQ(rowsOf(game.board()), oneRow(5, "0004100000000000")) << shift;
  }
}

TEST(HeroMoves, AHeroOffTheGridMovesByWholeCellsFromWhereItStands) {
  // A level without a hero start leaves the hero at its window place, 2400 × 1320,
  // whose cell index is (1320 × 16 + 2400) / 375 = 62.72. A move looks at the cell
  // that index plus the step rounds to: Left at 61.72, so cell 62 (grass, dug) and
  // not 61 (a wall); then Down from 61.72 at 77.72, so 78 (floor) and not 77 (a wall).
  Game game;
  Board& board = game.board();
  layOut(game.form,
         {kEmpty, kEmpty, kEmpty, "0000000000000310", "0000000000000300", kEmpty, kEmpty, kEmpty});
  board.setLeft(board.hero(), 2400);
  board.setTop(board.hero(), 1320);
  game.press(kKeyLeft);
  EXPECT_EQ(board.left(board.hero()), 2025.0f);
  EXPECT_EQ(board.top(board.hero()), 1320.0f);
  EXPECT_FALSE(board.visible(Layer::Grass, 62));
  game.press(kKeyDown);
  EXPECT_EQ(board.left(board.hero()), 2025.0f);
  EXPECT_EQ(board.top(board.hero()), 1695.0f);
  EXPECT_TRUE(board.visible(Layer::Wall, 61));
  EXPECT_TRUE(board.visible(Layer::Wall, 77));
}

}  // namespace
}  // namespace gravisk
