// Checks that the pictures and the icon compiled into the program are exactly the files
// in assets/, and that the lookup by file name finds them and nothing else.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "asset_test_support.h"
#include "render/bitmap.h"
#include "render/embedded_assets.h"

namespace gravisk::test {
namespace {

const char* const kBuiltIn[] = {"dirt.bmp", "grass.bmp", "rock.bmp",   "wall.bmp",
                                "door.bmp", "hero.bmp",  "gravisk.ico"};

TEST(EmbeddedAssetsTest, EveryFileIsBuiltInByteForByte) {
  for (const char* name : kBuiltIn) {
    SCOPED_TRACE(name);
    const auto embedded = embeddedAsset(name);
    const std::vector<std::uint8_t> onDisk = readAssetFile(name);
    EXPECT_EQ(std::vector<std::uint8_t>(embedded.begin(), embedded.end()), onDisk);
  }
}

TEST(EmbeddedAssetsTest, OtherNamesFindNothing) {
  for (const char* name :
       {"", "dirt", "DIRT.BMP", "assets/dirt.bmp", "dirt.bmp ", "gravisk", "CMakeLists.txt"}) {
    EXPECT_TRUE(embeddedAsset(name).empty()) << '"' << name << '"';
  }
}

TEST(EmbeddedAssetsTest, BuiltInFilesDecode) {
  for (const char* name :
       {"dirt.bmp", "grass.bmp", "rock.bmp", "wall.bmp", "door.bmp", "hero.bmp"}) {
    EXPECT_NO_THROW(decodeBmp(embeddedAsset(name))) << name;
  }
  EXPECT_EQ(decodeIcon(embeddedAsset("gravisk.ico"), 32, 4).argb.size(), 1024u);
}

}  // namespace
}  // namespace gravisk::test
