// The window's own elements, board construction and the drawing order.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/runtime_error.h"
#include "board/construction.h"
#include "game/window_definition.h"

namespace gravisk {
namespace {

struct Expected {
  DefinedName name;
  Element::Kind kind;
  float left, top, width, height;
  bool visible;
};

TEST(WindowDefinition, SevenElementsFrontToBackWithTheirPlacesAndVisibility) {
  const Expected expected[] = {
      {DefinedName::Hero, Element::Kind::Image, 2400, 1320, 375, 375, true},
      {DefinedName::Grass, Element::Kind::Image, 0, 0, 375, 375, false},
      {DefinedName::Wall, Element::Kind::Image, 0, 0, 375, 375, false},
      {DefinedName::Door, Element::Kind::Image, 3240, 1440, 375, 375, false},
      {DefinedName::Rock, Element::Kind::Image, 0, 0, 375, 375, false},
      {DefinedName::Number, Element::Kind::Label, 600, 120, 345, 345, false},
      {DefinedName::Dirt, Element::Kind::Image, 0, 0, 375, 375, true},
  };
  const auto def = windowDefinition();
  ASSERT_EQ(def.size(), std::size(expected));
  for (std::size_t i = 0; i < def.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(def[i].name, expected[i].name);
    EXPECT_EQ(def[i].element.kind, expected[i].kind);
    EXPECT_EQ(def[i].element.left, expected[i].left);
    EXPECT_EQ(def[i].element.top, expected[i].top);
    EXPECT_EQ(def[i].element.width, expected[i].width);
    EXPECT_EQ(def[i].element.height, expected[i].height);
    EXPECT_EQ(def[i].element.visible, expected[i].visible);
  }
  EXPECT_EQ(def[5].element.caption, "0");
  EXPECT_EQ(kWindowTitle, "Gravisk V2.0");
  EXPECT_EQ(kClientWidthTwips / kTwipsPerPixel, kClientWidth);
  EXPECT_EQ(kClientHeightTwips / kTwipsPerPixel, kClientHeight);
}

TEST(WindowDefinition, EachElementShowsItsOwnPicture) {
  Board board(windowDefinition());
  EXPECT_EQ(board.get(board.hero()).picture, Picture::Hero);
  EXPECT_EQ(board.get(board.door()).picture, Picture::Door);
  EXPECT_EQ(board.get(board.element(Layer::Dirt, 0)).picture, Picture::Dirt);
  EXPECT_EQ(board.get(board.element(Layer::Grass, 0)).picture, Picture::Grass);
  EXPECT_EQ(board.get(board.element(Layer::Rock, 0)).picture, Picture::Rock);
  EXPECT_EQ(board.get(board.element(Layer::Wall, 0)).picture, Picture::Wall);
  EXPECT_EQ(board.get(board.number()).kind, Element::Kind::Label);
}

TEST(Board, FreshWindowHoldsOnlyElementZeroOfEachLayer) {
  Board board(windowDefinition());
  EXPECT_EQ(board.size(), 7u);
  for (Layer layer : {Layer::Dirt, Layer::Grass, Layer::Rock, Layer::Wall}) {
    EXPECT_TRUE(board.exists(layer, 0));
    EXPECT_FALSE(board.exists(layer, 1));
    EXPECT_THROW(board.element(layer, 1), SubscriptOutOfRange);
    EXPECT_THROW(board.element(layer, -1), SubscriptOutOfRange);
    EXPECT_THROW(board.element(layer, 128), SubscriptOutOfRange);
  }
}

TEST(Construction, BuildsEveryCellOnItsOwnSquareShowingOnlyTheFloor) {
  Board board(windowDefinition());
  loadshapes(board);
  EXPECT_EQ(board.size(), 7u + 4u * 127u);
  for (int i = 0; i < kCells; ++i) {
    SCOPED_TRACE(i);
    for (Layer layer : {Layer::Dirt, Layer::Grass, Layer::Rock, Layer::Wall}) {
      const Element& e = board.get(board.element(layer, i));
      EXPECT_EQ(e.left, static_cast<float>(i % 16) * 375.0f);
      EXPECT_EQ(e.top, static_cast<float>(i / 16) * 375.0f);
      EXPECT_EQ(e.width, 375.0f);
      EXPECT_EQ(e.height, 375.0f);
      EXPECT_EQ(e.visible, layer == Layer::Dirt);
      EXPECT_EQ(e.picture, board.get(board.element(layer, 0)).picture);
    }
  }
  // The corners of the table in the rules: 15 is the top-right, 16 starts row 1.
  EXPECT_EQ(board.left(board.element(Layer::Wall, 15)), 5625.0f);
  EXPECT_EQ(board.top(board.element(Layer::Wall, 15)), 0.0f);
  EXPECT_EQ(board.left(board.element(Layer::Rock, 16)), 0.0f);
  EXPECT_EQ(board.top(board.element(Layer::Rock, 16)), 375.0f);
  EXPECT_EQ(board.left(board.element(Layer::Grass, 127)), 5625.0f);
  EXPECT_EQ(board.top(board.element(Layer::Grass, 127)), 2625.0f);
}

TEST(Construction, BuildingTwiceOnOneWindowIsAnError) {
  Board board(windowDefinition());
  loadshapes(board);
  EXPECT_THROW(loadshapes(board), AlreadyLoaded);
}

TEST(Construction, DrawingOrderPutsEachCellsTilesOverItsFloorAndTheFloorBehindHeroAndDoor) {
  Board board(windowDefinition());
  loadshapes(board);
  const auto order = board.drawingOrder();
  ASSERT_EQ(order.size(), board.size());
  auto depth = [&](ElementId id) {  // 0 is the back
    return std::find(order.begin(), order.end(), id) - order.begin();
  };
  // From the front: Wall 127, Rock 127, Grass 127, Wall 126, ... Grass 1.
  std::size_t pos = order.size();
  for (int i = 127; i >= 1; --i) {
    for (Layer layer : {Layer::Wall, Layer::Rock, Layer::Grass}) {
      ASSERT_EQ(order[--pos], board.element(layer, i)) << "cell " << i;
    }
  }
  // Behind them, the window's own elements keep their defined order.
  EXPECT_EQ(order[--pos], board.hero());
  EXPECT_EQ(order[--pos], board.element(Layer::Grass, 0));
  EXPECT_EQ(order[--pos], board.element(Layer::Wall, 0));
  EXPECT_EQ(order[--pos], board.door());
  EXPECT_EQ(order[--pos], board.element(Layer::Rock, 0));
  EXPECT_EQ(order[--pos], board.number());
  for (int i = 0; i < kCells; ++i) {
    const auto floor = depth(board.element(Layer::Dirt, i));
    EXPECT_LT(floor, depth(board.hero()));
    EXPECT_LT(floor, depth(board.door()));
    for (Layer layer : {Layer::Grass, Layer::Rock, Layer::Wall}) {
      EXPECT_LT(floor, depth(board.element(layer, i)));
    }
  }
}

TEST(Board, HeroCellIndexFromItsPosition) {
  Board board(windowDefinition());
  board.setLeft(board.hero(), 0);
  board.setTop(board.hero(), 375);
  EXPECT_EQ(board.heroCell(), 16.0f);  // column 0 of row 1
  board.setLeft(board.hero(), 5625);
  board.setTop(board.hero(), 2625);
  EXPECT_EQ(board.heroCell(), 127.0f);
}

TEST(Board, ReportsWhatAChangeTouchedAndOnlyThat) {
  Board board(windowDefinition());
  loadshapes(board);
  board.takeDamage();                         // a new window is drawn whole
  board.setVisible(Layer::Grass, 17, false);  // already hidden: nothing to redraw
  EXPECT_TRUE(board.damage().empty());
  board.setVisible(Layer::Grass, 17, true);
  ASSERT_EQ(board.damage().size(), 1u);
  EXPECT_EQ(board.damage()[0].x, 25);
  EXPECT_EQ(board.damage()[0].y, 25);
  EXPECT_EQ(board.damage()[0].w, 25);
  EXPECT_EQ(board.damage()[0].h, 25);
  board.takeDamage();
  board.setLeft(board.hero(), 375);  // visible hero: old and new squares
  const auto moved = board.takeDamage();
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[0].x, 160);
  EXPECT_EQ(moved[1].x, 25);
  board.setLeft(board.door(), 0);  // hidden door: nothing shows
  EXPECT_TRUE(board.damage().empty());
}

}  // namespace
}  // namespace gravisk
