// The speckle helpers shared by the textures and the rock: seeded, softened noise and
// painting a set of pixels by rank with exact colour counts.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tile.h"

namespace gravisk::assetgen {

using NoiseField = std::array<int, kTilePixels>;

struct Share {
  std::uint32_t colour;
  int count;
};

// Where the wall's five deepest flecks are (see makeWall); the door keeps them.
inline constexpr int kWallPits[] = {at(9, 3), at(16, 3), at(21, 3), at(0, 12), at(0, 24)};
inline constexpr int kWallFlecks = 56;

// Seeded noise, each value mixed with its four neighbours (wrapping around the edges);
// the larger selfWeight, the smaller the clumps.
NoiseField clumpyNoise(std::uint64_t seed, int selfWeight);

// Colours `pixels` by their noise value, lowest first: the first share's count of them
// get its colour, then the next share's, and so on.
void paintByRank(Tile& tile, const NoiseField& field, std::vector<int> pixels,
                 std::span<const Share> shares);

std::vector<int> allPixels();

}  // namespace gravisk::assetgen
