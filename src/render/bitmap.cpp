// Decoding the tile bitmaps and the icon images. Both are Windows formats: little-endian
// headers, rows stored from the bottom up, each row padded to a multiple of four bytes.
#include "render/bitmap.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace gravisk {

namespace {

void require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("picture file: ") + what);
}

// Little-endian reads, checked against the end of the data.
std::uint32_t read16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  require(offset + 2 <= bytes.size(), "cut short");
  return static_cast<std::uint32_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return read16(bytes, offset) | read16(bytes, offset + 2) << 16;
}

std::int32_t readSigned32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(read32(bytes, offset));
}

std::uint32_t rgbAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  // Stored blue, green, red.
  return static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[offset + 1]) << 8 | bytes[offset];
}

// Bytes in one stored row: each row is padded to a whole number of 32-bit words.
std::size_t rowBytes(int width, int bitsPerPixel) {
  return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB

}  // namespace

Picture32 decodeBmp(std::span<const std::uint8_t> bytes) {
  constexpr int kSize = Picture32::kSize;
  const std::size_t rowSize = rowBytes(kSize, 24);
  const std::size_t pixelBytes = rowSize * kSize;
  const std::size_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + pixelBytes;
  require(bytes.size() == fileBytes, "a tile bitmap is 3126 bytes long");
  require(bytes[0] == 'B' && bytes[1] == 'M', "not a bitmap file");
  require(read32(bytes, 2) == fileBytes, "the header gives the wrong file size");
  require(read32(bytes, 10) == kFileHeaderBytes + kInfoHeaderBytes,
          "the pixels do not follow the header");
  require(read32(bytes, 14) == kInfoHeaderBytes, "not a BITMAPINFOHEADER bitmap");
  require(readSigned32(bytes, 18) == kSize && readSigned32(bytes, 22) == kSize,
          "not a 32 x 32 bottom-up bitmap");
  require(read16(bytes, 26) == 1, "more than one colour plane");
  require(read16(bytes, 28) == 24, "not 24 bits per pixel");
  require(read32(bytes, 30) == kUncompressed, "compressed bitmap");
  const std::uint32_t imageSize = read32(bytes, 34);
  require(imageSize == pixelBytes || imageSize == 0, "wrong pixel data size");
  require(read32(bytes, 46) == 0, "a 24-bit tile has no palette");

  Picture32 picture{};
  const auto pixels = bytes.subspan(kFileHeaderBytes + kInfoHeaderBytes);
  for (int y = 0; y < kSize; ++y) {
    const std::size_t row = static_cast<std::size_t>(kSize - 1 - y) * rowSize;
    for (int x = 0; x < kSize; ++x) picture.pixels[y * kSize + x] = rgbAt(pixels, row + 3 * x);
  }
  return picture;
}

IconImage decodeIcon(std::span<const std::uint8_t> ico, int size, int bitsPerPixel) {
  require(bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8,
          "only 1, 4 and 8 bits per pixel icon images are read");
  require(read16(ico, 0) == 0 && read16(ico, 2) == 1, "not an icon file");
  const std::uint32_t count = read16(ico, 4);
  constexpr std::size_t kDirectoryBytes = 6;
  constexpr std::size_t kEntryBytes = 16;
  require(kDirectoryBytes + count * kEntryBytes <= ico.size(), "icon directory cut short");

  for (std::uint32_t n = 0; n < count; ++n) {
    const std::size_t entry = kDirectoryBytes + n * kEntryBytes;
    const int width = ico[entry] == 0 ? 256 : ico[entry];
    const int height = ico[entry + 1] == 0 ? 256 : ico[entry + 1];
    if (width != size || height != size) continue;
    const std::size_t length = read32(ico, entry + 8);
    const std::size_t offset = read32(ico, entry + 12);
    require(offset <= ico.size() && length <= ico.size() - offset, "icon image out of the file");
    const auto image = ico.subspan(offset, length);
    // Images stored as PNG, or with another header, are not this one.
    if (length < kInfoHeaderBytes || read32(image, 0) != kInfoHeaderBytes) continue;
    if (static_cast<int>(read16(image, 14)) != bitsPerPixel) continue;

    require(readSigned32(image, 4) == size && readSigned32(image, 8) == 2 * size,
            "icon image header does not match its directory entry");
    require(read16(image, 12) == 1, "icon image with more than one plane");
    require(read32(image, 16) == kUncompressed, "compressed icon image");
    const std::uint32_t maxColours = 1u << bitsPerPixel;
    const std::uint32_t colours = read32(image, 32) == 0 ? maxColours : read32(image, 32);
    require(colours <= maxColours, "icon palette too large");
    const std::size_t xorRow = rowBytes(size, bitsPerPixel);
    const std::size_t andRow = rowBytes(size, 1);
    const std::size_t palette = kInfoHeaderBytes;
    const std::size_t colourBits = palette + 4 * colours;
    const std::size_t maskBits = colourBits + xorRow * size;
    require(maskBits + andRow * size <= image.size(), "icon image cut short");

    IconImage decoded{size, size, std::vector<std::uint32_t>(size * size, 0)};
    for (int y = 0; y < size; ++y) {
      const std::size_t stored = static_cast<std::size_t>(size - 1 - y);
      for (int x = 0; x < size; ++x) {
        const bool clear = (image[maskBits + stored * andRow + x / 8] >> (7 - x % 8)) & 1;
        if (clear) continue;  // stays 0: no colour, alpha 0
        const int bit = x * bitsPerPixel;
        const std::uint8_t byte = image[colourBits + stored * xorRow + bit / 8];
        const std::uint32_t index = (byte >> (8 - bitsPerPixel - bit % 8)) & (maxColours - 1);
        require(index < colours, "icon pixel outside its palette");
        decoded.argb[y * size + x] = 0xFF000000u | rgbAt(image, palette + 4 * index);
      }
    }
    return decoded;
  }
  throw std::runtime_error("picture file: the icon has no " + std::to_string(size) + " x " +
                           std::to_string(size) + " image with " + std::to_string(bitsPerPixel) +
                           " bits per pixel");
}

}  // namespace gravisk
