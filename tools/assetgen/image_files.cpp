// The 24-bit tile bitmap writer and the little-endian byte helpers.
#include "image_files.h"

#include <fstream>
#include <stdexcept>

namespace gravisk::assetgen {

void put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

Bytes encodeBmp(const Tile& tile) {
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  constexpr std::uint32_t kRowBytes = kTileSize * 3;  // 96: already a multiple of four
  constexpr std::uint32_t kPixelBytes = kRowBytes * kTileSize;
  constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch
  Bytes out;
  out.reserve(kHeaderBytes + kPixelBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  put32(out, kHeaderBytes + kPixelBytes);
  put32(out, 0);  // two reserved words
  put32(out, kHeaderBytes);
  // BITMAPINFOHEADER: positive height, so the rows are stored from the bottom up.
  put32(out, 40);
  put32(out, kTileSize);
  put32(out, kTileSize);
  put16(out, 1);   // planes
  put16(out, 24);  // bits per pixel
  put32(out, 0);   // BI_RGB, no compression
  put32(out, kPixelBytes);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, 0);  // colours used: none, there is no palette
  put32(out, 0);  // important colours
  for (int y = kTileSize - 1; y >= 0; --y) {
    for (int x = 0; x < kTileSize; ++x) {
      const std::uint32_t rgb = tile[at(x, y)];
      out.push_back(static_cast<std::uint8_t>(rgb));
      out.push_back(static_cast<std::uint8_t>(rgb >> 8));
      out.push_back(static_cast<std::uint8_t>(rgb >> 16));
    }
  }
  return out;
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace gravisk::assetgen
