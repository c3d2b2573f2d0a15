// Helpers shared by the asset tests: reading the committed files in assets/ and
// counting the colours of a decoded tile picture.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace gravisk::test {

inline std::vector<std::uint8_t> readAssetFile(const std::string& name) {
  const std::string path = std::string(GRAVISK_SOURCE_DIR) + "/assets/" + name;
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline Picture32 loadPicture(const std::string& name) {
  return decodeBmp(readAssetFile(name));
}

inline std::uint32_t pixelAt(const Picture32& picture, int x, int y) {
  return picture.pixels[y * Picture32::kSize + x];
}

inline std::map<std::uint32_t, int> countColours(const Picture32& picture) {
  std::map<std::uint32_t, int> counts;
  for (const std::uint32_t rgb : picture.pixels) ++counts[rgb];
  return counts;
}

inline std::uint32_t read32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
         static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
}

inline std::uint32_t read16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return bytes.at(offset) | bytes.at(offset + 1) << 8;
}

// The colours the pictures are made of.
namespace rgb {
inline constexpr std::uint32_t kEarth = 0x994400, kClay = 0xCC6600, kLoam = 0x793B00;
inline constexpr std::uint32_t kMeadow = 0x009900, kLeaf = 0x00CC00, kSprout = 0x00FF00;
inline constexpr std::uint32_t kStone = 0x6E6E6E, kSlate = 0x5D5D5D, kPebble = 0x7F7F7F;
inline constexpr std::uint32_t kFleck = 0x4C4C4C, kPit = 0x333333;
inline constexpr std::uint32_t kGleam = 0x999999, kShine = 0xBBBBBB;
inline constexpr std::uint32_t kWood = 0xFF8040, kGrain = 0x804000;
inline constexpr std::uint32_t kKnobRing = 0x00FF00, kKnobMiddle = 0x008000;
}  // namespace rgb

}  // namespace gravisk::test
