// One element of the game window: an image tile or the text label, with the
// properties the game reads and writes (position and size in twips, visibility).
#pragma once

#include <cstdint>
#include <string_view>

namespace gravisk {

// The six tile pictures; every image element shows exactly one of them.
enum class Picture : std::uint8_t { Dirt, Grass, Rock, Wall, Door, Hero };
inline constexpr int kPictureCount = 6;

struct Element {
  enum class Kind : std::uint8_t { Image, Label };

  Kind kind = Kind::Image;
  Picture picture = Picture::Dirt;  // images only
  std::string_view caption;         // labels only
  float left = 0.0f;                // twips from the client area's left edge
  float top = 0.0f;                 // twips from the client area's top edge
  float width = 0.0f;               // twips
  float height = 0.0f;              // twips
  bool visible = false;
};

}  // namespace gravisk
