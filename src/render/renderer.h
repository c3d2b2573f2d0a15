// Draws the game window's client area into a pixel buffer from the board's
// elements, back to front, each visible picture scaled from 32 × 32 to one
// 25 × 25 cell. Every front end shows exactly these pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "game/window_definition.h"
#include "render/bitmap.h"

namespace gravisk {

// The toolkit's face colour where the board does not reach (0x00RRGGBB).
inline constexpr std::uint32_t kBackgroundColour = 0xF0F0F0;
inline constexpr int kTilePixels = 25;
inline constexpr int kPicturePixels = Picture32::kSize;

// The client area's pixels, 0x00RRGGBB, rows top to bottom.
struct Frame {
  static constexpr int kWidth = kClientWidth;
  static constexpr int kHeight = kClientHeight;
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kWidth * kHeight, 0);
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * kWidth + x]; }
};

// One picture as drawn on screen: 25 × 25 pixels.
using Tile = std::array<std::uint32_t, kTilePixels * kTilePixels>;
// One picture as stored: 32 × 32 pixels, rows top to bottom.
using PicturePixels = decltype(Picture32::pixels);

// Scales a 32 × 32 picture to 25 × 25, taking for each screen pixel the
// picture pixel under its centre.
Tile scaleToTile(const PicturePixels& picture);

// The file in assets/ that holds a picture, as the game embeds it ("hero.bmp").
std::string_view pictureFile(Picture picture);

// The six pictures built into the game, decoded.
std::array<PicturePixels, kPictureCount> builtInPictures();

class Renderer {
 public:
  // Uses the built-in pictures.
  Renderer();
  explicit Renderer(const std::array<PicturePixels, kPictureCount>& pictures);

  // Draws the whole client area.
  void render(const Board& board, Frame& frame) const;
  // Redraws the parts the board reports as changed, and forgets them; returns
  // those parts, clipped to the client area, for the front end to show.
  std::vector<PixelRect> update(Board& board, Frame& frame) const;
  // Draws only the given part of the client area.
  void renderRect(const Board& board, Frame& frame, PixelRect clip) const;

  const Tile& tile(Picture picture) const { return tiles_[static_cast<int>(picture)]; }

 private:
  std::array<Tile, kPictureCount> tiles_{};
};

}  // namespace gravisk
