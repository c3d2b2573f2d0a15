// The contact sheet writer: draws the tiles enlarged onto one canvas and saves it as a
// PPM. Only for looking at the pictures; nothing in the game reads it.
#include "sheet.h"

#include <cstdint>
#include <string>
#include <vector>

#include "image_files.h"
#include "tile.h"

namespace gravisk::assetgen {

namespace {

struct Canvas {
  int width;
  int height;
  std::vector<std::uint32_t> pixels;

  Canvas(int w, int h) : width(w), height(h), pixels(w * h, 0x202020) {}

  // Draws `tile` shrunk or kept at `shown` pixels a side, each shown pixel `zoom` wide.
  // The game scales with nearest neighbours; `centred` picks the sample in the middle
  // of each shown pixel instead of at its top-left corner.
  void draw(const Tile& tile, int left, int top, int shown, int zoom, bool centred) {
    for (int y = 0; y < shown * zoom; ++y) {
      for (int x = 0; x < shown * zoom; ++x) {
        const int sx = x / zoom;
        const int sy = y / zoom;
        const int tx = centred ? (2 * sx + 1) * kTileSize / (2 * shown) : sx * kTileSize / shown;
        const int ty = centred ? (2 * sy + 1) * kTileSize / (2 * shown) : sy * kTileSize / shown;
        pixels[(top + y) * width + left + x] = tile[at(tx, ty)];
      }
    }
  }
};

}  // namespace

void writeContactSheet(const std::filesystem::path& path) {
  const Tile dirt = makeDirt();
  const Tile wall = makeWall();
  const Tile grass = makeGrass();
  const Tile tiles[] = {dirt, grass, wall, makeRock(dirt), makeDoor(wall), makeHero(dirt)};
  constexpr int kGap = 16;
  Canvas canvas(6 * 256 + 7 * kGap, 4 * kGap + 256 + 100 + 384);
  // Top: each picture eight times enlarged.
  for (int n = 0; n < 6; ++n) canvas.draw(tiles[n], kGap + n * (256 + kGap), kGap, 32, 8, false);
  // Middle: each at the in-game 25 x 25, four times enlarged, sampled both ways.
  const int middle = 2 * kGap + 256;
  for (int n = 0; n < 6; ++n) {
    canvas.draw(tiles[n], kGap + n * (100 + 4), middle, 25, 4, false);
    canvas.draw(tiles[n], 6 * 104 + 2 * kGap + n * (100 + 4), middle, 25, 4, true);
  }
  // Bottom: a patch of board, at full size and at the in-game size (sampled in the middle
  // of each shown pixel, as the game's renderer does), to see the seams.
  enum { D, G, W, R, O, H };
  const int board[3][4] = {{W, W, O, W}, {D, H, D, R}, {G, D, D, W}};
  const int bottom = 3 * kGap + 256 + 100;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 4; ++col) {
      const Tile& tile = tiles[board[row][col]];
      canvas.draw(tile, kGap + col * 128, bottom + row * 128, 32, 4, false);
      canvas.draw(tile, 2 * kGap + 512 + col * 100, bottom + row * 100, 25, 4, true);
    }
  }
  const std::string header =
      "P6\n" + std::to_string(canvas.width) + " " + std::to_string(canvas.height) + "\n255\n";
  Bytes out(header.begin(), header.end());
  for (const std::uint32_t rgb : canvas.pixels) {
    out.push_back(static_cast<std::uint8_t>(rgb >> 16));
    out.push_back(static_cast<std::uint8_t>(rgb >> 8));
    out.push_back(static_cast<std::uint8_t>(rgb));
  }
  writeFile(path, out);
}

}  // namespace gravisk::assetgen
