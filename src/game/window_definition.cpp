// The seven elements of a freshly created game window. The hero and the door
// start off the grid; level loading moves them onto their cells. Number is a
// label that never shows.
#include "game/window_definition.h"

#include <array>

namespace gravisk {
namespace {

constexpr Element image(Picture picture, float left, float top, bool visible) {
  Element e;
  e.kind = Element::Kind::Image;
  e.picture = picture;
  e.left = left;
  e.top = top;
  e.width = kTile;
  e.height = kTile;
  e.visible = visible;
  return e;
}

constexpr Element label(std::string_view caption, float left, float top, float w, float h) {
  Element e;
  e.kind = Element::Kind::Label;
  e.caption = caption;
  e.left = left;
  e.top = top;
  e.width = w;
  e.height = h;
  e.visible = false;
  return e;
}

constexpr std::array<DefinedElement, 7> kDefinition{{
    {DefinedName::Hero, image(Picture::Hero, 2400, 1320, true)},
    {DefinedName::Grass, image(Picture::Grass, 0, 0, false)},
    {DefinedName::Wall, image(Picture::Wall, 0, 0, false)},
    {DefinedName::Door, image(Picture::Door, 3240, 1440, false)},
    {DefinedName::Rock, image(Picture::Rock, 0, 0, false)},
    {DefinedName::Number, label("0", 600, 120, 345, 345)},
    {DefinedName::Dirt, image(Picture::Dirt, 0, 0, true)},
}};

}  // namespace

std::span<const DefinedElement> windowDefinition() {
  return kDefinition;
}

}  // namespace gravisk
