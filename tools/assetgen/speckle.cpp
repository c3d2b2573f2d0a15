// The speckled textures: the dirt floor, the grass and the stone wall. Each is seeded
// noise, softened a little so equal colours gather into small clumps, then coloured by
// rank so that every colour gets exactly its share of the 1,024 pixels.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "random.h"
#include "speckle.h"
#include "tile.h"

namespace gravisk::assetgen {

NoiseField clumpyNoise(std::uint64_t seed, int selfWeight) {
  SplitMix64 rng(seed);
  NoiseField raw{};
  for (int& value : raw) value = static_cast<int>(rng.below(1024));
  // Each pixel mixes with its four neighbours, wrapping around the edges, so a row of
  // tiles shows no seam where one tile's right edge meets the next one's left edge.
  NoiseField soft{};
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      const int left = (x + kTileSize - 1) % kTileSize;
      const int right = (x + 1) % kTileSize;
      const int up = (y + kTileSize - 1) % kTileSize;
      const int down = (y + 1) % kTileSize;
      soft[at(x, y)] = selfWeight * raw[at(x, y)] + raw[at(left, y)] + raw[at(right, y)] +
                       raw[at(x, up)] + raw[at(x, down)];
    }
  }
  // Then the average of the 7 x 7 pixels around each one is taken away, so no part of
  // the tile comes out darker or lighter as a whole and the speckle stays evenly spread.
  NoiseField even{};
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      int around = 0;
      for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
          around += soft[at((x + dx + kTileSize) % kTileSize, (y + dy + kTileSize) % kTileSize)];
        }
      }
      even[at(x, y)] = 49 * soft[at(x, y)] - around;
    }
  }
  return even;
}

void paintByRank(Tile& tile, const NoiseField& field, std::vector<int> pixels,
                 std::span<const Share> shares) {
  // Ties are broken by position, so the order does not depend on the sort algorithm.
  std::sort(pixels.begin(), pixels.end(),
            [&field](int a, int b) { return field[a] != field[b] ? field[a] < field[b] : a < b; });
  std::size_t next = 0;
  for (const Share& share : shares) {
    for (int n = 0; n < share.count && next < pixels.size(); ++n)
      tile[pixels[next++]] = share.colour;
  }
}

std::vector<int> allPixels() {
  std::vector<int> pixels(kTilePixels);
  for (int i = 0; i < kTilePixels; ++i) pixels[i] = i;
  return pixels;
}

Tile makeDirt() {
  // Dark, middle and light brown: 32 %, 36 % and 32 % of the floor.
  static constexpr Share kShares[] = {
      {colour::kLoam, 327}, {colour::kEarth, 369}, {colour::kClay, 328}};
  Tile tile{};
  paintByRank(tile, clumpyNoise(0xD1B7u, 6), allPixels(), kShares);
  return tile;
}

Tile makeGrass() {
  // Dark, middle and light green: 36 %, 33 % and 31 %.
  static constexpr Share kShares[] = {
      {colour::kMeadow, 369}, {colour::kLeaf, 338}, {colour::kSprout, 317}};
  Tile tile{};
  paintByRank(tile, clumpyNoise(0x64A55u, 6), allPixels(), kShares);
  return tile;
}

Tile makeWall() {
  Tile tile{};
  std::vector<bool> taken(kTilePixels, false);
  // The five deepest flecks sit where the door picture needs them: three in the row
  // just above the door opening and two on the left edge.
  for (const int pixel : kWallPits) {
    tile[pixel] = colour::kPit;
    taken[pixel] = true;
  }
  // 56 dark flecks, single or in pairs; about a third of them crowd the left edge, where
  // the stones of one wall cell meet the next.
  SplitMix64 rng(0x3A11u);
  int flecks = 0;
  while (flecks < kWallFlecks) {
    const bool onEdge = rng.below(3) == 0;
    const int x = static_cast<int>(onEdge ? rng.below(2) : rng.below(kTileSize));
    const int y = static_cast<int>(rng.below(kTileSize));
    const bool pair = rng.below(5) < 2;
    const bool across = rng.below(2) == 0;
    if (taken[at(x, y)]) continue;
    tile[at(x, y)] = colour::kFleck;
    taken[at(x, y)] = true;
    ++flecks;
    const int px = across ? (x + 1) % kTileSize : x;
    const int py = across ? y : (y + 1) % kTileSize;
    if (pair && flecks < kWallFlecks && !taken[at(px, py)]) {
      tile[at(px, py)] = colour::kFleck;
      taken[at(px, py)] = true;
      ++flecks;
    }
  }
  // The rest is the stone itself: dark, middle and light grey.
  std::vector<int> stone;
  for (int i = 0; i < kTilePixels; ++i) {
    if (!taken[i]) stone.push_back(i);
  }
  static constexpr Share kShares[] = {
      {colour::kSlate, 328}, {colour::kStone, 348}, {colour::kPebble, 287}};
  paintByRank(tile, clumpyNoise(0x5701Eu, 6), stone, kShares);
  return tile;
}

}  // namespace gravisk::assetgen
