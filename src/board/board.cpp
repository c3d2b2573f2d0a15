// The board's elements, layers and drawing order, and the record of which
// parts of the client area a change has touched.
#include "board/board.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/runtime_error.h"

namespace gravisk {
namespace {

std::string layerName(Layer layer) {
  switch (layer) {
    case Layer::Dirt:
      return "Dirt";
    case Layer::Grass:
      return "Grass";
    case Layer::Rock:
      return "Rock";
    case Layer::Wall:
      return "Wall";
  }
  return "?";
}

int layerOf(DefinedName name) {
  switch (name) {
    case DefinedName::Dirt:
      return static_cast<int>(Layer::Dirt);
    case DefinedName::Grass:
      return static_cast<int>(Layer::Grass);
    case DefinedName::Rock:
      return static_cast<int>(Layer::Rock);
    case DefinedName::Wall:
      return static_cast<int>(Layer::Wall);
    default:
      return -1;
  }
}

}  // namespace

Board::Board(std::span<const DefinedElement> frontToBack) {
  for (auto& layer : layers_) layer.fill(-1);
  elements_.reserve(frontToBack.size() + (kCells - 1) * kLayerCount);
  order_.reserve(elements_.capacity());
  for (const DefinedElement& defined : frontToBack) {
    const auto id = static_cast<ElementId>(elements_.size());
    elements_.push_back(defined.element);
    order_.insert(order_.begin(), id);  // each later one lies further back
    switch (defined.name) {
      case DefinedName::Hero:
        hero_ = id;
        break;
      case DefinedName::Door:
        door_ = id;
        break;
      case DefinedName::Number:
        number_ = id;
        break;
      default:
        layers_[layerOf(defined.name)][0] = static_cast<std::int16_t>(id);
        break;
    }
  }
  // A new window has never been drawn: all of it needs drawing.
  damage_.push_back({0, 0, 1 << 15, 1 << 15});
}

bool Board::exists(Layer layer, int index) const {
  return index >= 0 && index < kCells && layers_[static_cast<int>(layer)][index] >= 0;
}

ElementId Board::element(Layer layer, int index) const {
  if (!exists(layer, index)) {
    throw SubscriptOutOfRange(layerName(layer) + "(" + std::to_string(index) + ")");
  }
  return static_cast<ElementId>(layers_[static_cast<int>(layer)][index]);
}

ElementId Board::create(Layer layer, int index) {
  const std::string name = layerName(layer) + "(" + std::to_string(index) + ")";
  if (index < 1 || index >= kCells) throw SubscriptOutOfRange(name);
  if (exists(layer, index)) throw AlreadyLoaded(name);
  Element copy = get(element(layer, 0));
  copy.visible = false;
  const auto id = static_cast<ElementId>(elements_.size());
  elements_.push_back(copy);
  order_.insert(order_.begin(), id);
  layers_[static_cast<int>(layer)][index] = static_cast<std::int16_t>(id);
  return id;
}

void Board::setVisible(ElementId id, bool visible) {
  Element& e = elements_[id];
  if (e.visible == visible) return;
  e.visible = visible;
  damageElement(id, /*evenIfHidden=*/true);
}

void Board::setLeft(ElementId id, float left) {
  Element& e = elements_[id];
  if (e.left == left) return;
  damageElement(id);
  e.left = left;
  damageElement(id);
}

void Board::setTop(ElementId id, float top) {
  Element& e = elements_[id];
  if (e.top == top) return;
  damageElement(id);
  e.top = top;
  damageElement(id);
}

void Board::bringToFront(ElementId id) {
  if (!order_.empty() && order_.back() == id) return;
  auto it = std::find(order_.begin(), order_.end(), id);
  std::rotate(it, it + 1, order_.end());
  if (elements_[id].visible) damageElement(id);
}

float Board::heroCell() const {
  const Element& h = elements_[hero_];
  return (h.top * 16.0f + h.left) / kTile;
}

std::vector<PixelRect> Board::takeDamage() {
  std::vector<PixelRect> taken;
  taken.swap(damage_);
  return taken;
}

void Board::damageElement(ElementId id, bool evenIfHidden) {
  const Element& e = elements_[id];
  if (!e.visible && !evenIfHidden) return;
  const PixelRect r = pixelRect(e);
  // A move touches a handful of cells; keep the list short by merging repeats.
  for (const PixelRect& d : damage_) {
    if (r.x >= d.x && r.y >= d.y && r.x + r.w <= d.x + d.w && r.y + r.h <= d.y + d.h) return;
  }
  damage_.push_back(r);
}

}  // namespace gravisk
