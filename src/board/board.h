// The board: every element of the game window (the seven defined ones and the
// tiles made at run time), the four layers addressed by cell index, the hero,
// the door and the drawing order. The game's state lives in these elements.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "board/element.h"

namespace gravisk {

// The four stacked layers of a cell, back to front as the player sees them.
enum class Layer : std::uint8_t { Dirt, Grass, Rock, Wall };
inline constexpr int kLayerCount = 4;

inline constexpr int kColumns = 16;
inline constexpr int kRows = 8;
inline constexpr int kCells = kColumns * kRows;
inline constexpr float kTile = 375.0f;     // side of one cell, in twips
inline constexpr int kTwipsPerPixel = 15;  // at the standard 96 dpi

// Which named element of the window definition an element is.
enum class DefinedName : std::uint8_t { Hero, Grass, Wall, Door, Rock, Number, Dirt };

struct DefinedElement {
  DefinedName name;
  Element element;
};

// A rectangle of the client area in pixels, half-open: [x, x + w) × [y, y + h).
struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

using ElementId = std::uint16_t;

// The square of the client area an element covers, in whole pixels.
inline PixelRect pixelRect(const Element& e) {
  const auto toPixels = [](float twips) {
    return static_cast<int>(std::floor(twips / kTwipsPerPixel));
  };
  const int x = toPixels(e.left);
  const int y = toPixels(e.top);
  return {x, y, toPixels(e.left + e.width) - x, toPixels(e.top + e.height) - y};
}

class Board {
 public:
  // Creates the window's elements from its definition, given front to back.
  explicit Board(std::span<const DefinedElement> frontToBack);

  ElementId hero() const { return hero_; }
  ElementId door() const { return door_; }
  ElementId number() const { return number_; }

  // The element of `layer` for cell `index`; throws SubscriptOutOfRange when the
  // index lies outside 0 to 127 or the element has not been created yet.
  ElementId element(Layer layer, int index) const;
  bool exists(Layer layer, int index) const;

  // Creates element `index` of `layer` as a copy of its element 0: same
  // picture and size, hidden, at the back of the drawing order. Throws if it
  // already exists or the index lies outside 1 to 127.
  ElementId create(Layer layer, int index);

  const Element& get(ElementId id) const { return elements_[id]; }
  bool visible(ElementId id) const { return elements_[id].visible; }
  float left(ElementId id) const { return elements_[id].left; }
  float top(ElementId id) const { return elements_[id].top; }
  void setVisible(ElementId id, bool visible);
  void setLeft(ElementId id, float left);
  void setTop(ElementId id, float top);
  // Puts the element in front of every other element of the window.
  void bringToFront(ElementId id);

  bool visible(Layer layer, int index) const { return visible(element(layer, index)); }
  void setVisible(Layer layer, int index, bool v) { setVisible(element(layer, index), v); }

  // The hero's cell index, (Top × 16 + Left) / 375 in single precision.
  float heroCell() const;

  std::size_t size() const { return elements_.size(); }
  // Element ids from the back (drawn first) to the front (drawn last).
  std::span<const ElementId> drawingOrder() const { return order_; }

  // Parts of the client area whose look changed since the last takeDamage().
  std::span<const PixelRect> damage() const { return damage_; }
  std::vector<PixelRect> takeDamage();

 private:
  // Records the element's square; a hidden element shows nothing to redraw.
  void damageElement(ElementId id, bool evenIfHidden = false);

  std::vector<Element> elements_;
  std::vector<ElementId> order_;  // back to front
  std::array<std::array<std::int16_t, kCells>, kLayerCount> layers_{};
  ElementId hero_ = 0;
  ElementId door_ = 0;
  ElementId number_ = 0;
  std::vector<PixelRect> damage_;
};

}  // namespace gravisk
