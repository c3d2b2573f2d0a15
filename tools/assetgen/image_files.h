// Writing the generator's pictures out as files: the 24-bit tile bitmaps the game
// embeds, and the raw bytes helpers the icon writer shares with them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "tile.h"

namespace gravisk::assetgen {

using Bytes = std::vector<std::uint8_t>;

// Little-endian field writers, as every Windows file header is stored.
void put16(Bytes& out, std::uint32_t value);
void put32(Bytes& out, std::uint32_t value);

// A 3,126-byte uncompressed 24-bit bitmap file of the tile: 54 header bytes, then the
// rows from the bottom up in blue-green-red order.
Bytes encodeBmp(const Tile& tile);

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace gravisk::assetgen
