// The generator's in-memory picture: 32 x 32 colours, 0x00RRGGBB, rows top to bottom,
// plus the builders of the six tile pictures and the character-map painter they share.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string_view>

namespace gravisk::assetgen {

inline constexpr int kTileSize = 32;
inline constexpr int kTilePixels = kTileSize * kTileSize;

using Tile = std::array<std::uint32_t, kTilePixels>;

inline constexpr int at(int x, int y) {
  return y * kTileSize + x;
}

// The floor and wall colours, named after what they are in the game.
namespace colour {
inline constexpr std::uint32_t kEarth = 0x994400;   // floor, middle brown
inline constexpr std::uint32_t kClay = 0xCC6600;    // floor, light brown
inline constexpr std::uint32_t kLoam = 0x793B00;    // floor, dark brown
inline constexpr std::uint32_t kMeadow = 0x009900;  // grass, dark green
inline constexpr std::uint32_t kLeaf = 0x00CC00;    // grass, middle green
inline constexpr std::uint32_t kSprout = 0x00FF00;  // grass, light green
inline constexpr std::uint32_t kStone = 0x6E6E6E;   // wall, middle grey
inline constexpr std::uint32_t kSlate = 0x5D5D5D;   // wall, dark grey
inline constexpr std::uint32_t kPebble = 0x7F7F7F;  // wall, light grey
inline constexpr std::uint32_t kFleck = 0x4C4C4C;   // wall, dark fleck
inline constexpr std::uint32_t kPit = 0x333333;     // wall, deepest fleck
inline constexpr std::uint32_t kGleam = 0x999999;   // highlight on stone
inline constexpr std::uint32_t kShine = 0xBBBBBB;   // brightest highlight on stone
}  // namespace colour

// What a character in a hand-drawn map stands for: a fixed colour, or "keep the pixel
// of the picture underneath" (the floor or the wall the figure is drawn over).
struct Legend {
  std::map<char, std::uint32_t> colours;
  std::string_view keep = ".";
};

// Paints a 32-line map over `under`: each character is looked up in the legend, and
// the `keep` characters leave the pixel of `under` as it is. Throws on a bad map.
Tile paintMap(std::span<const std::string_view> rows, const Legend& legend, const Tile& under);

Tile makeDirt();
Tile makeGrass();
Tile makeWall();
Tile makeRock(const Tile& dirt);
Tile makeDoor(const Tile& wall);
Tile makeHero(const Tile& dirt);

}  // namespace gravisk::assetgen
