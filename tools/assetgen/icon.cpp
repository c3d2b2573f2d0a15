// The program icon: a plain white window with a cyan title bar, leaning back in
// perspective with its shadow at the lower right. Three images in one .ico file: 32 x 32
// in the 16 standard colours, 32 x 32 in black and white, and 16 x 16 in 16 colours.
#include "icon.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "image_files.h"

namespace gravisk::assetgen {

namespace {

// ' ' is see-through, 'K' the black outline, 'W' the white window, 'C' the cyan title
// bar and 'S' the grey shadow.
// clang-format off
constexpr std::string_view kIcon32[32] = {
    "                                ",
    "                                ",
    "                                ",
    "         KKKKKKKKKKKKKKKKKKK    ",
    "         KCCCCCCCCCCCCCCCCCK    ",
    "        KCCCCCCCCCCCCCCCCCCK    ",
    "        KCCCCCCCCCCCCCCCCCCKSSS ",
    "        KCCCCCCCCCCCCCCCCCCKSSS ",
    "        KCCCCCCCCCCCCCCCCCCKSSS ",
    "       KKKKKKKKKKKKKKKKKKKKKSSS ",
    "       KWWWWWWWWWWWWWWWWWWKKSSS ",
    "       KWWWWWWWWWWWWWWWWWWKSSSS ",
    "       KWWWWWWWWWWWWWWWWWWKSSSS ",
    "      KWWWWWWWWWWWWWWWWWWWKSSS  ",
    "      KWWWWWWWWWWWWWWWWWWWKSSS  ",
    "      KWWWWWWWWWWWWWWWWWWWKSSS  ",
    "     KWWWWWWWWWWWWWWWWWWWWKSSS  ",
    "     KWWWWWWWWWWWWWWWWWWWWKSSS  ",
    "     KWWWWWWWWWWWWWWWWWWWKKSSS  ",
    "     KWWWWWWWWWWWWWWWWWWWKSSSS  ",
    "    KWWWWWWWWWWWWWWWWWWWWKSSSS  ",
    "    KWWWWWWWWWWWWWWWWWWWWKSSS   ",
    "    KWWWWWWWWWWWWWWWWWWWWKSSS   ",
    "    KWWWWWWWWWWWWWWWWWWWWKSSS   ",
    "   KWWWWWWWWWWWWWWWWWWWWWKSSS   ",
    "   KKKKKKKKKKKKKKKKKKKKKKKSSS   ",
    "       SSSSSSSSSSSSSSSSSSSSSS   ",
    "      SSSSSSSSSSSSSSSSSSSSSSS   ",
    "      SSSSSSSSSSSSSSSSSSSSSSS   ",
    "                                ",
    "                                ",
    "                                ",
};
// clang-format on

// clang-format off
constexpr std::string_view kIcon16[16] = {
    "                ",
    "    KKKKKKKKKK  ",
    "    KCCCCCCCCK  ",
    "   KCCCCCCCCCKSS",
    "   KKKKKKKKKKKSS",
    "   KWWWWWWWWWKSS",
    "   KWWWWWWWWWKSS",
    "  KWWWWWWWWWKKSS",
    "  KWWWWWWWWWKSSS",
    "  KWWWWWWWWWKSS ",
    "  KWWWWWWWWWKSS ",
    " KWWWWWWWWWWKSS ",
    " KKKKKKKKKKKKSS ",
    "   SSSSSSSSSSSS ",
    "   SSSSSSSSSSSS ",
    "                ",
};
// clang-format on

// The 16 standard colours of the VGA palette, in their usual order, as 0x00RRGGBB.
constexpr std::array<std::uint32_t, 16> kVgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr std::array<std::uint32_t, 2> kMonoPalette = {0x000000, 0xFFFFFF};

struct IconPicture {
  int size = 0;
  int bitsPerPixel = 0;
  std::vector<std::uint8_t> index;  // palette index per pixel, rows top to bottom
  std::vector<bool> clear;          // true where the background shows through
};

IconPicture colourPicture(std::span<const std::string_view> rows) {
  const int size = static_cast<int>(rows.size());
  IconPicture picture{size, 4, std::vector<std::uint8_t>(size * size, 0),
                      std::vector<bool>(size * size, false)};
  for (int y = 0; y < size; ++y) {
    if (static_cast<int>(rows[y].size()) != size) throw std::invalid_argument("bad icon row");
    for (int x = 0; x < size; ++x) {
      const int i = y * size + x;
      switch (rows[y][x]) {
        case ' ':
          picture.clear[i] = true;
          break;
        case 'K':
          picture.index[i] = 0;
          break;
        case 'S':
          picture.index[i] = 8;
          break;
        case 'C':
          picture.index[i] = 14;
          break;
        case 'W':
          picture.index[i] = 15;
          break;
        default:
          throw std::invalid_argument("bad icon map character");
      }
    }
  }
  return picture;
}

// The black-and-white image follows the same map: the title bar turns black, as on a
// monochrome screen, and the shadow becomes a checkerboard of black and see-through.
IconPicture monoPicture(std::span<const std::string_view> rows) {
  const IconPicture colour = colourPicture(rows);
  const int size = colour.size;
  IconPicture picture{size, 1, std::vector<std::uint8_t>(size * size, 0), colour.clear};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int i = y * size + x;
      if (rows[y][x] == 'W') picture.index[i] = 1;
      if (rows[y][x] == 'S' && (x + y) % 2 == 1) picture.clear[i] = true;
    }
  }
  return picture;
}

int rowBytes(int width, int bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// One image as it is stored in an .ico: BITMAPINFOHEADER of double height, palette,
// colour (XOR) bitmap and transparency (AND) mask, both bottom-up.
Bytes encodeImage(const IconPicture& picture) {
  const int size = picture.size;
  const int bpp = picture.bitsPerPixel;
  const int xorRow = rowBytes(size, bpp);
  const int andRow = rowBytes(size, 1);
  Bytes out;
  put32(out, 40);
  put32(out, size);
  put32(out, 2 * size);  // the colour bitmap and the mask stacked
  put16(out, 1);
  put16(out, bpp);
  put32(out, 0);
  put32(out, (xorRow + andRow) * size);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  const auto palette = bpp == 4 ? std::span<const std::uint32_t>(kVgaPalette)
                                : std::span<const std::uint32_t>(kMonoPalette);
  for (const std::uint32_t rgb : palette) put32(out, rgb);  // stored as B, G, R, 0
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(xorRow, 0);
    for (int x = 0; x < size; ++x) {
      const int i = y * size + x;
      const int bit = x * bpp;
      const int index = picture.clear[i] ? 0 : picture.index[i];
      row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bpp - bit % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(andRow, 0);
    for (int x = 0; x < size; ++x) {
      if (picture.clear[y * size + x]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

Bytes encodeIcon() {
  const IconPicture pictures[] = {colourPicture(kIcon32), monoPicture(kIcon32),
                                  colourPicture(kIcon16)};
  constexpr int kCount = 3;
  Bytes out;
  put16(out, 0);  // reserved
  put16(out, 1);  // an icon, not a cursor
  put16(out, kCount);
  std::vector<Bytes> images;
  for (const IconPicture& picture : pictures) images.push_back(encodeImage(picture));
  std::uint32_t offset = 6 + 16 * kCount;
  for (int n = 0; n < kCount; ++n) {
    out.push_back(static_cast<std::uint8_t>(pictures[n].size));
    out.push_back(static_cast<std::uint8_t>(pictures[n].size));
    out.push_back(static_cast<std::uint8_t>(1 << pictures[n].bitsPerPixel));  // colours
    out.push_back(0);
    put16(out, 1);  // planes
    put16(out, pictures[n].bitsPerPixel);
    put32(out, static_cast<std::uint32_t>(images[n].size()));
    put32(out, offset);
    offset += static_cast<std::uint32_t>(images[n].size());
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace gravisk::assetgen
