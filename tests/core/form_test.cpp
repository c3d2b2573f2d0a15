// Start-up, the key dispatch and the reload of the game form.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "game_support.h"
#include "levels/builtin_levels.h"

namespace gravisk {
namespace {

using testing::Game;
using testing::rowsOf;
using testing::StubFrontEnd;

TEST(Form, StartsAtLevelOneAndIsShownOnlyOnceLoaded) {
  StubFrontEnd frontEnd;
  Form1 form(frontEnd);
  EXPECT_FALSE(form.loaded());
  EXPECT_FALSE(form.variables().level.has_value());
  form.Form_KeyDown(kKeyF1, 0);  // no window yet: nothing happens
  EXPECT_FALSE(form.variables().level.has_value());
  frontEnd.onMessageBox = [] { FAIL(); };
  // What the board holds when the window goes on screen: the player sees that.
  std::vector<std::array<std::string, 8>> onScreen;
  frontEnd.onShown = [&] {
    ASSERT_TRUE(form.loaded());
    onScreen.push_back(rowsOf(form.board()));
  };
  form.show();
  EXPECT_EQ(frontEnd.events, std::vector<std::string>{"shown"});
  EXPECT_EQ(*form.variables().level, 1);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(rowsOf(form.board())[y], kLevelRows[0][y]);
  form.show();  // showing a loaded window does not load it again
  EXPECT_EQ(*form.variables().level, 1);
  form.Form_KeyDown(kKeyF1, 0);  // and every reload shows the next level whole
  ASSERT_EQ(onScreen.size(), 3u);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(onScreen[0][y], kLevelRows[0][y]);
    EXPECT_EQ(onScreen[2][y], kLevelRows[1][y]);
  }
}

TEST(Form, KeysOutsideTheTableChangeNothing) {
  Game game;
  game.press(kKeyRight);  // leave the start so that a restart would show
  const auto before = rowsOf(game.board());
  const auto events = game.frontEnd.events;
  for (int key = -32768; key <= 32767; ++key) {
    if (key == kKeyR || (key >= kKeyLeft && key <= kKeyDown) || key == kKeyF1 || key == kKeyF2) {
      continue;
    }
    game.press(static_cast<std::int16_t>(key), static_cast<std::int16_t>(key * 7));
  }
  EXPECT_EQ(rowsOf(game.board()), before);
  EXPECT_EQ(game.frontEnd.events, events);
  EXPECT_EQ(game.level(), 1);
  // 'r' in lower case is 114 as a character but is never a key code of its own: it is F3.
  game.press(114);
  EXPECT_EQ(rowsOf(game.board()), before);
}

TEST(Form, RWithAnyModifierRestarts) {
  for (std::int16_t shift : {0, 1, 2, 3, 4, 7}) {
    Game game;
    game.press(kKeyRight);
    game.press(kKeyR, shift);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(rowsOf(game.board())[y], kLevelRows[0][y]) << shift;
  }
}

TEST(Form, ReloadKeepsTheVariablesAndBuildsEverythingElseAnew) {
  Game game;
  GameVariables& vars = game.form.variables();
  vars.leveldata.set(50, 3, "kept");
  const Board* before = &game.board();
  game.board().setVisible(game.board().number(), true);  // anything done to the old window...
  game.board().bringToFront(game.board().element(Layer::Dirt, 5));
  game.form.reload();
  EXPECT_EQ(vars.leveldata.get(50, 3), "kept");
  EXPECT_EQ(vars.maxlevel, 3);
  EXPECT_EQ(game.level(), 2);
  const Board& board = game.board();
  EXPECT_EQ(&board, before);                    // the same form, a fresh board in it
  EXPECT_FALSE(board.visible(board.number()));  // ...is gone
  EXPECT_EQ(board.size(), 7u + 4u * 127u);
  EXPECT_NE(board.drawingOrder().back(), board.element(Layer::Dirt, 5));
  for (int y = 0; y < 8; ++y) EXPECT_EQ(rowsOf(board)[y], kLevelRows[1][y]);
}

TEST(Form, ManyReloadsKeepExactlyOneBoardOfElements) {
  Game game;
  for (int i = 0; i < 300; ++i) game.press(i % 3 == 0 ? kKeyF2 : kKeyF1);
  EXPECT_EQ(game.board().size(), 7u + 4u * 127u);
  EXPECT_EQ(game.board().drawingOrder().size(), game.board().size());
  EXPECT_EQ(game.frontEnd.events.size(), 1u + 2u * 300u);
}

TEST(Form, ALoadErrorTravelsOutOfTheKeyThatCausedIt) {
  Game game;
  game.form.variables().level = -2;  // the load after F1 asks for level -1
  try {
    game.press(kKeyF1);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 9);
  }
  // The load stopped at its first cell; the window exists but holds no level.
  EXPECT_TRUE(game.form.loaded());
  EXPECT_EQ(game.board().left(game.board().hero()), 2400.0f);
}

}  // namespace
}  // namespace gravisk
