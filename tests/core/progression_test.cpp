// Moving between levels: R, F1, F2 and winning, from every level, and what a
// reload keeps and throws away.
#include <gtest/gtest.h>

#include "game_support.h"
#include "levels/builtin_levels.h"
#include "levels/progression.h"

namespace gravisk {
namespace {

using testing::Game;
using testing::rowsOf;

// Brings a fresh game to level `n` through F1.
void goTo(Game& game, int n) {
  while (game.level() != n) game.press(kKeyF1);
}

struct Change {
  int from;
  int r, f1, f2, won;                              // the level shown afterwards
  int counterR, counterF1, counterF2, counterWon;  // the counter handed to the reload
};

// Each row: on level `from`, what R, F1, F2 and a win lead to.
constexpr Change kChanges[] = {
    {1, 1, 2, 3, 2, 0, 1, 2, 1},
    {2, 2, 3, 1, 3, 1, 2, 0, 2},
    {3, 3, 1, 2, 1, 2, 3, 1, 3},
};

TEST(Progression, LevelKeysAndWinsLeadWhereTheTableSays) {
  for (const Change& c : kChanges) {
    SCOPED_TRACE(c.from);
    const std::pair<std::int16_t, int> keys[] = {{kKeyR, c.r}, {kKeyF1, c.f1}, {kKeyF2, c.f2}};
    for (auto [key, to] : keys) {
      Game game;
      goTo(game, c.from);
      game.press(key);
      EXPECT_EQ(game.level(), to) << "key " << key;
      EXPECT_TRUE(game.frontEnd.boxes.empty());
    }
    Game game;
    goTo(game, c.from);
    winner(game.form);
    EXPECT_EQ(game.level(), c.won);
    ASSERT_EQ(game.frontEnd.boxes.size(), 1u);
    EXPECT_EQ(game.frontEnd.boxes[0].text, "You won!");
    EXPECT_EQ(game.frontEnd.boxes[0].title, "Gravisk");
  }
}

TEST(Progression, CounterHandedToTheReloadIsOneBelowTheLevelWanted) {
  for (const Change& c : kChanges) {
    SCOPED_TRACE(c.from);
    const std::pair<std::int16_t, int> keys[] = {
        {kKeyR, c.counterR}, {kKeyF1, c.counterF1}, {kKeyF2, c.counterF2}};
    for (auto [key, counter] : keys) {
      Game game;
      goTo(game, c.from);
      std::vector<int> handed;
      game.frontEnd.onUnloaded = [&] {
        EXPECT_FALSE(game.form.loaded());
        handed.push_back(game.level());
      };
      game.frontEnd.events.clear();
      game.press(key);
      EXPECT_EQ(handed, std::vector<int>{counter}) << "key " << key;
      EXPECT_EQ(game.frontEnd.events, (std::vector<std::string>{"unloaded", "shown"}));
    }
    Game game;
    goTo(game, c.from);
    std::vector<int> handed;
    game.frontEnd.onUnloaded = [&] { handed.push_back(game.level()); };
    winner(game.form);
    EXPECT_EQ(handed, std::vector<int>{c.counterWon});
  }
}

TEST(Progression, F2OnLevelOneGoesThroughMinusOneToTheLastLevel) {
  Game game;
  ASSERT_EQ(game.level(), 1);
  GameVariables& vars = game.form.variables();
  // What F2 does before its reload, step by step.
  addToLevel(vars, -2);
  EXPECT_EQ(*vars.level, -1);
  vars.level = 1;
  game.press(kKeyF2);
  EXPECT_EQ(game.level(), 3);
  // R on level 1 leaves 0, which the load brings back to 1.
  game.press(kKeyF1);
  ASSERT_EQ(game.level(), 1);
  game.press(kKeyR);
  EXPECT_EQ(game.level(), 1);
}

TEST(Progression, RestartRestoresTheStartingBoardAfterMoves) {
  for (int n = 1; n <= 3; ++n) {
    Game game;
    goTo(game, n);
    const auto start = rowsOf(game.board());
    for (std::int16_t key : {kKeyRight, kKeyDown, kKeyDown, kKeyRight, kKeyUp, kKeyRight}) {
      game.press(key);
    }
    game.press(kKeyR);
    EXPECT_EQ(game.level(), n);
    EXPECT_EQ(rowsOf(game.board()), start);
  }
  Game game;
  game.press(kKeyRight);  // level 1: hero digs nothing but walks
  game.press(kKeyDown);   // and pushes the rock below it
  ASSERT_NE(rowsOf(game.board())[0], std::string(kLevelRows[0][0]));
  game.press(kKeyR);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(rowsOf(game.board())[y], kLevelRows[0][y]);
}

TEST(Progression, WhileTheBoxIsOpenTheBoardStillShowsTheHeroBesideTheDoor) {
  Game game;
  goTo(game, 2);  // level 2: door at column 15 of row 0
  Board& board = game.board();
  board.setLeft(board.hero(), 14 * 375.0f);
  board.setTop(board.hero(), 0);
  bool checked = false;
  game.frontEnd.onMessageBox = [&] {
    ASSERT_TRUE(game.form.loaded());
    EXPECT_EQ(game.form.board().left(game.form.board().hero()), 14 * 375.0f);
    EXPECT_EQ(game.level(), 2);
    checked = true;
  };
  game.press(kKeyRight);
  EXPECT_TRUE(checked);
  EXPECT_EQ(game.level(), 3);
  EXPECT_EQ(game.frontEnd.boxes.size(), 1u);
}

TEST(Progression, HeldKeysStepOncePerKeyDown) {
  Game game;
  for (int i = 0; i < 7; ++i) game.press(kKeyF1);
  EXPECT_EQ(game.level(), 2);  // 1 + 7 steps, round the three levels
  for (int i = 0; i < 5; ++i) game.press(kKeyF2);
  EXPECT_EQ(game.level(), 3);
  for (int i = 0; i < 4; ++i) game.press(kKeyR);
  EXPECT_EQ(game.level(), 3);
}

}  // namespace
}  // namespace gravisk
