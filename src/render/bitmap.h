// Decoders for the picture files built into the game: the 32 x 32 tile bitmaps and the
// images inside the program icon (which the Linux front end uses as its window icon).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace gravisk {

// A tile picture: 32 x 32 colours as 0x00RRGGBB, rows from top to bottom.
struct Picture32 {
  static constexpr int kSize = 32;
  std::array<std::uint32_t, kSize * kSize> pixels;
};

// Decodes a tile bitmap: an uncompressed 24-bit, 32 x 32, bottom-up Windows bitmap
// without palette, exactly as the game ships them. Throws std::runtime_error for any
// other kind of file or a damaged header.
Picture32 decodeBmp(std::span<const std::uint8_t> bytes);

// One image of an icon: width x height pixels as 0xAARRGGBB, rows top to bottom;
// alpha is 0 where the icon is see-through and 0xFF elsewhere.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// Picks the size x size image with the given colour depth (1, 4 or 8 bits per pixel)
// out of an .ico file and decodes it: palette colours from its colour bitmap, made
// see-through by its mask. Throws std::runtime_error if there is no such image or the
// file is damaged.
IconImage decodeIcon(std::span<const std::uint8_t> ico, int size, int bitsPerPixel);

}  // namespace gravisk
