// The contact sheet: an enlarged view of the six tile pictures, at full size and at
// the 25 x 25 size the game shows them, plus a small patch of board to check the seams.
#pragma once

#include <filesystem>

namespace gravisk::assetgen {

// Writes the sheet as a binary PPM (ImageMagick's convert turns it into a PNG).
void writeContactSheet(const std::filesystem::path& path);

}  // namespace gravisk::assetgen
