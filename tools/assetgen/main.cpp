// gravisk_assetgen: writes the game's six tile pictures and its icon into a folder
// ("gravisk_assetgen <outdir>"), or a contact sheet to look at them
// ("gravisk_assetgen --sheet <out.ppm>"). The output is the same on every run.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "icon.h"
#include "image_files.h"
#include "sheet.h"
#include "tile.h"

namespace {

void writeAssets(const std::filesystem::path& folder) {
  using namespace gravisk::assetgen;
  std::filesystem::create_directories(folder);
  const Tile dirt = makeDirt();
  const Tile wall = makeWall();
  writeFile(folder / "dirt.bmp", encodeBmp(dirt));
  writeFile(folder / "grass.bmp", encodeBmp(makeGrass()));
  writeFile(folder / "wall.bmp", encodeBmp(wall));
  writeFile(folder / "rock.bmp", encodeBmp(makeRock(dirt)));
  writeFile(folder / "door.bmp", encodeBmp(makeDoor(wall)));
  writeFile(folder / "hero.bmp", encodeBmp(makeHero(dirt)));
  writeFile(folder / "gravisk.ico", encodeIcon());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 2 && std::string_view(argv[1]) != "--sheet") {
      writeAssets(argv[1]);
      return 0;
    }
    if (argc == 3 && std::string_view(argv[1]) == "--sheet") {
      gravisk::assetgen::writeContactSheet(argv[2]);
      return 0;
    }
    std::cerr << "usage: gravisk_assetgen <outdir>\n"
                 "       gravisk_assetgen --sheet <out.ppm>\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "gravisk_assetgen: " << e.what() << "\n";
    return 1;
  }
}
