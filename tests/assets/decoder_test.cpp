// Tests of the run-time decoders: decodeBmp on hand-made and damaged bitmaps, and
// decodeIcon on a hand-made icon and on the program icon in assets/.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <stdexcept>
#include <vector>

#include "asset_test_support.h"
#include "render/bitmap.h"

namespace gravisk::test {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A tile bitmap written out field by field; the stored (bottom-up) row r, column c has
// blue r, green c, red 0x80.
std::vector<std::uint8_t> handMadeTile() {
  std::vector<std::uint8_t> out = {'B', 'M'};
  put32(out, 3126);
  put32(out, 0);
  put32(out, 54);
  for (const std::uint32_t v : {40u, 32u, 32u}) put32(out, v);
  put16(out, 1);
  put16(out, 24);
  for (const std::uint32_t v : {0u, 3072u, 3780u, 3780u, 0u, 0u}) put32(out, v);
  for (int row = 0; row < 32; ++row) {
    for (int column = 0; column < 32; ++column) {
      out.push_back(static_cast<std::uint8_t>(row));
      out.push_back(static_cast<std::uint8_t>(column));
      out.push_back(0x80);
    }
  }
  return out;
}

TEST(DecodeBmpTest, TurnsStoredRowsTopSideUpAndReadsBlueGreenRed) {
  const Picture32 picture = decodeBmp(handMadeTile());
  EXPECT_EQ(picture.pixels[0], 0x80001Fu);            // top left: last stored row
  EXPECT_EQ(picture.pixels[31], 0x801F1Fu);           // top right
  EXPECT_EQ(picture.pixels[31 * 32], 0x800000u);      // bottom left: first stored row
  EXPECT_EQ(picture.pixels[31 * 32 + 5], 0x800500u);  // bottom row, sixth column
  EXPECT_EQ(picture.pixels[10 * 32 + 7], 0x800715u);  // row 10 from the top is stored row 21
}

TEST(DecodeBmpTest, RejectsAnythingButThisExactFormat) {
  struct Damage {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
  };
  const Damage damages[] = {
      {"signature", 0, 'X'},         {"file size", 2, 0x37},   {"pixel offset", 10, 0x3A},
      {"header size", 14, 12},       {"width", 18, 16},        {"height", 22, 64},
      {"top-down height", 25, 0xFF}, {"planes", 26, 2},        {"bit depth", 28, 32},
      {"compression", 30, 1},        {"image size", 34, 0x01}, {"palette", 46, 16},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::vector<std::uint8_t> bytes = handMadeTile();
    bytes[damage.offset] = damage.value;
    EXPECT_THROW(decodeBmp(bytes), std::runtime_error);
  }
  std::vector<std::uint8_t> bytes = handMadeTile();
  bytes.pop_back();
  EXPECT_THROW(decodeBmp(bytes), std::runtime_error);  // cut short
  bytes.push_back(0);
  bytes.push_back(0);
  EXPECT_THROW(decodeBmp(bytes), std::runtime_error);  // trailing bytes
  EXPECT_THROW(decodeBmp({}), std::runtime_error);
}

TEST(DecodeBmpTest, AcceptsAZeroImageSize) {
  // Uncompressed bitmaps may leave the image size at 0.
  std::vector<std::uint8_t> bytes = handMadeTile();
  bytes[34] = bytes[35] = 0;
  EXPECT_EQ(decodeBmp(bytes).pixels[0], 0x80001Fu);
}

// A one-image icon, size x size in 16 colours, around the given colour rows and mask
// rows (both bottom row first, padded to 4 bytes). Palette entry i is stored as the
// bytes (3i, 2i, i, 0): blue 3i, green 2i, red i.
std::vector<std::uint8_t> handMadeIcon(int size, const std::vector<std::uint8_t>& colourRows,
                                       const std::vector<std::uint8_t>& maskRows) {
  std::vector<std::uint8_t> image;
  put32(image, 40);
  put32(image, size);
  put32(image, 2 * size);  // twice the height: colour bitmap and mask
  put16(image, 1);
  put16(image, 4);
  for (int i = 0; i < 6; ++i) put32(image, 0);
  for (std::uint32_t i = 0; i < 16; ++i) put32(image, i * 0x010203u);
  image.insert(image.end(), colourRows.begin(), colourRows.end());
  image.insert(image.end(), maskRows.begin(), maskRows.end());
  std::vector<std::uint8_t> ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, 1);
  ico.insert(ico.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), 16, 0});
  put16(ico, 1);
  put16(ico, 4);
  put32(ico, static_cast<std::uint32_t>(image.size()));
  put32(ico, 22);
  ico.insert(ico.end(), image.begin(), image.end());
  return ico;
}

TEST(DecodeIconTest, ReadsNibblesRowsPaletteAndMaskInOrder) {
  // Colour rows, bottom first: bottom row indices 0xC, 0x3; top row 0x5, 0xA.
  // Mask: bottom-left and top-right see-through.
  const std::vector<std::uint8_t> ico =
      handMadeIcon(2, {0xC3, 0, 0, 0, 0x5A, 0, 0, 0}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
  const IconImage decoded = decodeIcon(ico, 2, 4);
  ASSERT_EQ(decoded.width, 2);
  ASSERT_EQ(decoded.height, 2);
  EXPECT_EQ(decoded.argb, (std::vector<std::uint32_t>{0xFF050A0Fu, 0u, 0u, 0xFF030609u}));
}

TEST(DecodeIconTest, RefusesDamagedIcons) {
  const std::vector<std::uint8_t> good =
      handMadeIcon(2, {0xC3, 0, 0, 0, 0x5A, 0, 0, 0}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
  EXPECT_THROW(decodeIcon(good, 2, 1), std::runtime_error);   // no 1-bit image
  EXPECT_THROW(decodeIcon(good, 2, 24), std::runtime_error);  // a depth it does not read
  std::vector<std::uint8_t> bytes = good;
  bytes.pop_back();
  EXPECT_THROW(decodeIcon(bytes, 2, 4), std::runtime_error);  // cut short
  bytes = good;
  bytes[2] = 2;  // a cursor, not an icon
  EXPECT_THROW(decodeIcon(bytes, 2, 4), std::runtime_error);
  bytes = good;
  bytes[22 + 8] = 2;  // header height no longer twice the directory's
  EXPECT_THROW(decodeIcon(bytes, 2, 4), std::runtime_error);
  bytes = good;
  bytes[22 + 16] = 1;  // compressed
  EXPECT_THROW(decodeIcon(bytes, 2, 4), std::runtime_error);
  bytes = good;
  bytes[22 + 32] = 4;  // a palette of 4 colours: index 0xC is outside it
  EXPECT_THROW(decodeIcon(bytes, 2, 4), std::runtime_error);
  // A directory entry pointing past the end of the file.
  const std::vector<std::uint8_t> big =
      handMadeIcon(8, std::vector<std::uint8_t>(32, 0), std::vector<std::uint8_t>(32, 0));
  bytes = big;
  bytes[18] = 0xF0;
  EXPECT_THROW(decodeIcon(bytes, 8, 4), std::runtime_error);
  EXPECT_NO_THROW(decodeIcon(big, 8, 4));
}

// ---- The program icon ----------------------------------------------------------------

TEST(ProgramIconTest, DirectoryListsThreeImages) {
  const std::vector<std::uint8_t> ico = readAssetFile("gravisk.ico");
  ASSERT_GE(ico.size(), 6u + 3 * 16);
  EXPECT_EQ(read16At(ico, 0), 0u);
  EXPECT_EQ(read16At(ico, 2), 1u);  // icon
  ASSERT_EQ(read16At(ico, 4), 3u);
  struct Entry {
    int size, colours, bits;
  };
  const Entry expected[] = {{32, 16, 4}, {32, 2, 1}, {16, 16, 4}};
  std::size_t end = 6 + 3 * 16;
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    const std::size_t e = 6 + 16 * n;
    EXPECT_EQ(ico[e], expected[n].size);
    EXPECT_EQ(ico[e + 1], expected[n].size);
    EXPECT_EQ(ico[e + 2], expected[n].colours);
    EXPECT_EQ(ico[e + 3], 0);
    EXPECT_EQ(read16At(ico, e + 4), 1u);
    EXPECT_EQ(read16At(ico, e + 6), static_cast<std::uint32_t>(expected[n].bits));
    // The images follow each other without gaps or overlaps, up to the end of the file.
    const std::size_t length = read32At(ico, e + 8);
    EXPECT_EQ(read32At(ico, e + 12), end);
    const std::size_t rowBytes = (expected[n].size * expected[n].bits + 31) / 32 * 4;
    const std::size_t maskBytes = (expected[n].size + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + 4 * (1u << expected[n].bits) +
                          (rowBytes + maskBytes) * static_cast<std::size_t>(expected[n].size));
    EXPECT_EQ(read32At(ico, end + 8), 2u * expected[n].size);  // header height: bitmap + mask
    end += length;
  }
  EXPECT_EQ(end, ico.size());
}

class ProgramIconImageTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(ProgramIconImageTest, ShowsAWindowWithAShadowOnNothing) {
  const auto [size, bits] = GetParam();
  const IconImage icon = decodeIcon(readAssetFile("gravisk.ico"), size, bits);
  ASSERT_EQ(icon.width, size);
  ASSERT_EQ(icon.height, size);
  ASSERT_EQ(icon.argb.size(), static_cast<std::size_t>(size * size));
  auto at = [&](int x, int y) { return icon.argb[y * size + x]; };
  for (const std::uint32_t corner :
       {at(0, 0), at(size - 1, 0), at(0, size - 1), at(size - 1, size - 1)}) {
    EXPECT_EQ(corner >> 24, 0u);
  }
  std::set<std::uint32_t> opaque;
  for (const std::uint32_t pixel : icon.argb) {
    EXPECT_TRUE(pixel >> 24 == 0 || pixel >> 24 == 0xFF);
    if (pixel >> 24) opaque.insert(pixel & 0xFFFFFF);
  }
  EXPECT_TRUE(opaque.count(0xFFFFFF));
  EXPECT_TRUE(opaque.count(0x000000));
  if (bits == 4) {
    EXPECT_EQ(opaque, (std::set<std::uint32_t>{0x000000, 0x808080, 0x00FFFF, 0xFFFFFF}));
  } else {
    EXPECT_EQ(opaque, (std::set<std::uint32_t>{0x000000, 0xFFFFFF}));
  }
  // The window leans: its left edge sits further right at the top than at the bottom.
  // And whatever is grey (the shadow) lies to the right of and below the white window.
  int topLeft = size, bottomLeft = size, topRow = size, bottomRow = -1;
  long whiteX = 0, whiteY = 0, whiteCount = 0, shadowX = 0, shadowY = 0, shadowCount = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t pixel = at(x, y);
      if (pixel == 0xFFFFFFFFu) whiteX += x, whiteY += y, ++whiteCount;
      if (pixel == 0xFF808080u) shadowX += x, shadowY += y, ++shadowCount;
      if (pixel == 0xFF000000u) {
        topRow = std::min(topRow, y);
        bottomRow = std::max(bottomRow, y);
      }
    }
  }
  for (int x = 0; x < size; ++x) {
    if (at(x, topRow) == 0xFF000000u) topLeft = std::min(topLeft, x);
    if (at(x, bottomRow) == 0xFF000000u) bottomLeft = std::min(bottomLeft, x);
  }
  EXPECT_GT(topLeft, bottomLeft);
  EXPECT_GT(whiteCount, size * size / 5);
  if (shadowCount > 0) {
    EXPECT_GT(shadowX * whiteCount, whiteX * shadowCount);
    EXPECT_GT(shadowY * whiteCount, whiteY * shadowCount);
  }
  if (bits == 4) {
    EXPECT_GT(shadowCount, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Images, ProgramIconImageTest,
                         ::testing::Values(std::pair{32, 4}, std::pair{32, 1}, std::pair{16, 4}));

TEST(ProgramIconTest, MissingImagesAndOtherFilesAreRefused) {
  const std::vector<std::uint8_t> ico = readAssetFile("gravisk.ico");
  EXPECT_THROW(decodeIcon(ico, 48, 4), std::runtime_error);
  EXPECT_THROW(decodeIcon(ico, 32, 8), std::runtime_error);
  EXPECT_THROW(decodeIcon(ico, 16, 1), std::runtime_error);
  EXPECT_THROW(decodeIcon(readAssetFile("dirt.bmp"), 32, 4), std::runtime_error);
  const std::vector<std::uint8_t> cut(ico.begin(), ico.begin() + 200);
  EXPECT_THROW(decodeIcon(cut, 32, 4), std::runtime_error);
}

}  // namespace
}  // namespace gravisk::test
