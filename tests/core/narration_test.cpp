// What a screen reader is told: each outcome of a move with its direction and the
// hero's new place, counted from 1; every level load; the keys that read the board
// out (Space, P, 1 to 8, H), with runs of one kind counted. The sentences are
// written out here from the built-in levels and the layouts below.
#include <gtest/gtest.h>

#include "game/narration.h"
#include "game_support.h"
#include "level_solutions.h"

namespace gravisk {
namespace {

using testing::Game;
using testing::layOut;
using testing::levelSolution;
using testing::oneColumn;
using testing::oneRow;
using testing::Rows;

// Presses `key` and returns what the game says of it.
std::string say(Game& game, std::int16_t key) {
  const BoardView before = viewOf(game.form);
  game.press(key);
  return narrate(before, key, viewOf(game.form));
}

constexpr const char* kLevel1 = "Level 1 of 3. Row 1, column 1. Door at row 8, column 16.";
constexpr const char* kLevel2 = "Level 2 of 3. Row 1, column 1. Door at row 1, column 16.";
constexpr const char* kLevel3 = "Level 3 of 3. Row 4, column 1. Door at row 2, column 7.";

struct SayCase {
  const char* name;
  Rows board;
  std::int16_t key;
  const char* said;
};

void PrintTo(const SayCase& c, std::ostream* os) {
  *os << c.name;
}

class Outcome : public ::testing::TestWithParam<SayCase> {};

TEST_P(Outcome, SaysWhatTheMoveDidAndWhereTheHeroIs) {
  const SayCase& c = GetParam();
  Game game;
  layOut(game.form, c.board);
  EXPECT_EQ(say(game, c.key), c.said);
  EXPECT_TRUE(game.frontEnd.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Moves, Outcome,
    ::testing::Values(
        SayCase{"WalkLeft", oneRow(1, "0000040000000000"), kKeyLeft,
                "Moved left. Row 2, column 5."},
        SayCase{"WalkUp", oneColumn(2, "00400000"), kKeyUp, "Moved up. Row 2, column 3."},
        SayCase{"WalkRightToTheLastColumn", oneRow(1, "0000000000000040"), kKeyRight,
                "Moved right. Row 2, column 16."},
        SayCase{"WalkDownToTheLastRow", oneColumn(2, "00000040"), kKeyDown,
                "Moved down. Row 8, column 3."},
        SayCase{"DigRight", oneRow(5, "0041100000000000"), kKeyRight,
                "Dug grass, moved right. Row 6, column 4."},
        SayCase{"DigUp", oneColumn(0, "11400000"), kKeyUp, "Dug grass, moved up. Row 2, column 1."},
        SayCase{"PushLeft", oneRow(6, "0002400000000000"), kKeyLeft,
                "Pushed the rock left. Row 7, column 4."},
        SayCase{"PushDown", oneColumn(8, "00000420"), kKeyDown,
                "Pushed the rock down. Row 7, column 9."}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Blocked, Outcome,
    ::testing::Values(
        SayCase{"EdgeRight", oneRow(2, "0000000000000004"), kKeyRight, "Blocked right: edge."},
        SayCase{"EdgeDown", oneColumn(9, "00000004"), kKeyDown, "Blocked down: edge."},
        SayCase{"EdgeUp", oneColumn(9, "40000000"), kKeyUp, "Blocked up: edge."},
        SayCase{"WallLeft", oneRow(0, "0000034000000000"), kKeyLeft, "Blocked left: wall."},
        SayCase{"WallUp", oneColumn(1, "00034000"), kKeyUp, "Blocked up: wall."},
        SayCase{"RockAtTheEdge", oneRow(4, "2400000000000000"), kKeyLeft,
                "Blocked left: the rock cannot move."},
        SayCase{"TwoRocks", oneRow(2, "0000224000000000"), kKeyLeft,
                "Blocked left: the rock cannot move."},
        SayCase{"RockThenGrass", oneColumn(4, "00421000"), kKeyDown,
                "Blocked down: the rock cannot move."},
        SayCase{"RockThenDoor", oneRow(2, "0000000425000000"), kKeyRight,
                "Blocked right: the rock cannot move."}),
    [](const auto& info) { return info.param.name; });

TEST(Narration, AWinSaysNothingAndTheNextLevelIsAnnouncedOnceTheBoxHasClosed) {
  Game game;
  layOut(game.form, oneRow(3, "0000450000000000"));
  EXPECT_EQ(say(game, kKeyRight), "");
  ASSERT_EQ(game.frontEnd.boxes.size(), 1u);
  EXPECT_EQ(levelSentence(viewOf(game.form)), kLevel2);

  // Each built-in level won by its solution: its last key says nothing, and the
  // board then holds the next level, level 1 after level 3.
  const char* const next[] = {kLevel2, kLevel3, kLevel1};
  for (int level = 1; level <= 3; ++level) {
    Game won;
    for (int i = 1; i < level; ++i) won.press(kKeyF1);
    const std::vector<std::int16_t> keys = levelSolution(level);
    ASSERT_FALSE(keys.empty());
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
      EXPECT_NE(say(won, keys[i]), "") << "level " << level << ", key " << i;
    }
    EXPECT_EQ(say(won, keys.back()), "") << "level " << level;
    EXPECT_EQ(won.frontEnd.boxes.size(), 1u);
    EXPECT_EQ(levelSentence(viewOf(won.form)), next[level - 1]);
  }
}

TEST(Narration, EveryLevelLoadSaysTheLevelWhereTheHeroStartsAndTheDoor) {
  Game game;
  EXPECT_EQ(levelSentence(viewOf(game.form)), kLevel1);
  EXPECT_EQ(gameName(viewOf(game.form)), "Gravisk, level 1 of 3");
  EXPECT_EQ(say(game, kKeyF1), kLevel2);
  EXPECT_EQ(say(game, kKeyF1), kLevel3);
  EXPECT_EQ(gameName(viewOf(game.form)), "Gravisk, level 3 of 3");
  EXPECT_EQ(say(game, kKeyF1), kLevel1);
  EXPECT_EQ(say(game, kKeyF2), kLevel3);
  EXPECT_EQ(say(game, kKeyF2), kLevel2);
  // A restart after a move says where the hero starts again.
  EXPECT_EQ(say(game, kKeyRight), "Pushed the rock right. Row 1, column 2.");
  EXPECT_EQ(say(game, kKeyR), kLevel2);
  EXPECT_EQ(say(game, kKeyR), kLevel2);
  EXPECT_EQ(gameName(viewOf(game.form)), "Gravisk, level 2 of 3");
}

TEST(Narration, ReviewKeysReadTheBoardAndTheGameIgnoresThem) {
  Game game;
  EXPECT_EQ(say(game, kKeySpace), "Up: edge. Right: dirt. Down: dirt. Left: edge.");
  EXPECT_EQ(say(game, kKeyP), "Row 1, column 1. Door at row 8, column 16.");

  // The four neighbours clockwise from up, each by its kind.
  layOut(game.form,
         {"0000000000000000", "0000000000000000", "0000030000000000", "0000042000000000",
          "0000010000000000", "0000000000000000", "0000000000000000", "0000000000000005"});
  EXPECT_EQ(say(game, kKeySpace), "Up: wall. Right: rock. Down: grass. Left: dirt.");
  EXPECT_EQ(say(game, kKeyP), "Row 4, column 6. Door at row 8, column 16.");
  layOut(game.form, oneRow(7, "0000000000000054"));
  EXPECT_EQ(say(game, kKeySpace), "Up: dirt. Right: edge. Down: edge. Left: door.");
  EXPECT_EQ(say(game, kKeyP), "Row 8, column 16. Door at row 8, column 15.");

  // On level 3 after a step up.
  game.press(kKeyF2);
  EXPECT_EQ(say(game, kKeyUp), "Moved up. Row 3, column 1.");
  EXPECT_EQ(say(game, kKeyP), "Row 3, column 1. Door at row 2, column 7.");

  // H says the keys to listen with in one sentence.
  const std::string help = say(game, kKeyH);
  EXPECT_EQ(help.find(". "), std::string::npos) << help;
  EXPECT_EQ(help.back(), '.');
  for (const char* key : {"Space", "P ", "1 to 8", "H "}) {
    EXPECT_NE(help.find(key), std::string::npos) << key << " missing from: " << help;
  }

  // None of them changes the board; keys the game ignores say nothing.
  const BoardView before = viewOf(game.form);
  for (std::int16_t key : {kKeySpace, kKeyP, kKeyH, kKeyDigit1, kKeyDigit8}) {
    EXPECT_NE(say(game, key), "") << key;
    EXPECT_EQ(viewOf(game.form), before) << key;
  }
  for (std::int16_t key : {13, 27, 48, 57, 65, 114}) EXPECT_EQ(say(game, key), "") << key;
}

TEST(Narration, ARowIsReadLeftToRightWithRunsOfOneKindCounted) {
  Game game;
  EXPECT_EQ(say(game, kKeyDigit1), "Row 1: you, dirt, rock, dirt, rock, wall, 10 grass.");
  EXPECT_EQ(say(game, kKeyDigit1 + 2),
            "Row 3: rock, dirt, rock, dirt, rock, wall, 5 grass, dirt, 4 wall.");
  EXPECT_EQ(say(game, kKeyDigit8), "Row 8: 10 grass, wall, rock, dirt, rock, dirt, door.");
  // After a push the rock is read where it now stands.
  game.press(kKeyRight);
  game.press(kKeyRight);
  EXPECT_EQ(say(game, kKeyDigit1), "Row 1: 2 dirt, you, 2 rock, wall, 10 grass.");

  game.press(kKeyF1);
  EXPECT_EQ(say(game, kKeyDigit1),
            "Row 1: you, rock, 2 dirt, rock, 2 dirt, rock, wall, dirt, rock, 2 dirt, 2 rock, "
            "door.");
  game.press(kKeyF1);
  EXPECT_EQ(say(game, kKeyDigit8), "Row 8: 16 wall.");
  EXPECT_EQ(say(game, kKeyDigit1 + 3),
            "Row 4: you, rock, wall, dirt, rock, wall, dirt, 7 wall, rock, wall.");
}

}  // namespace
}  // namespace gravisk
