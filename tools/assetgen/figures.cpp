// The figures drawn over the textures: the rock lying on the floor, the door set in
// the wall and the hero standing on the floor. Each is a hand-drawn character map, one
// character per pixel, painted over the floor's or the wall's own pixels.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "speckle.h"
#include "tile.h"

namespace gravisk::assetgen {

Tile paintMap(std::span<const std::string_view> rows, const Legend& legend, const Tile& under) {
  if (rows.size() != kTileSize) throw std::invalid_argument("a map needs 32 rows");
  Tile tile = under;
  for (int y = 0; y < kTileSize; ++y) {
    const std::string_view row = rows[y];
    if (row.size() != kTileSize) {
      throw std::invalid_argument("map row " + std::to_string(y) + " is not 32 wide");
    }
    for (int x = 0; x < kTileSize; ++x) {
      if (legend.keep.find(row[x]) != std::string_view::npos) continue;
      const auto found = legend.colours.find(row[x]);
      if (found == legend.colours.end()) {
        throw std::invalid_argument(std::string("no colour for map character '") + row[x] + "'");
      }
      tile[at(x, y)] = found->second;
    }
  }
  return tile;
}

namespace {

// The rock: a round stone as wide and as tall as the cell. 's' is stone speckle,
// '+' and '*' are highlights where the light falls from the upper left, ':' and '#'
// are cracks; '.' outside the circle is the floor the rock lies on.
// clang-format off
constexpr std::string_view kRockMap[kTileSize] = {
    "............ssssssss............",
    ".........ssssssssssssss.........",
    ".......ssssssssssssssssss.......",
    "......sssss++++sssssssssss......",
    ".....sss+++**+ss+ssssssssss.....",
    "....sss++**+sssss+ssssssssss....",
    "...sss++**sssssssssssssssssss...",
    "..sss++sssssssssssssssssssssss..",
    "..sss+ssss++ssssssssssssssssss..",
    ".sss+sssss+ssssssssssssssssssss.",
    ".sss+sss+ssssssssssssss:sssssss.",
    ".sss+sssssssssssssssss:ssssssss.",
    "ssssssssssssssssssss::ssssssssss",
    "sssssssssssssssssss:ssssss+sssss",
    "ssssssssssssssss#::sssssssssssss",
    "sssssssssssssss##sssssssssssssss",
    "ssssssssssssss#::sssssssssssssss",
    "ssssssssssssss:sssssssssssssssss",
    "sssssssssssss:ssssssssssssssssss",
    "sssssssssssss:ssssssssssssssssss",
    ".sssssssssss:ssssssssssssssssss.",
    ".ssssssssss:ssssssssss+ssssssss.",
    ".ssssssssssssssssssss+sssssssss.",
    "..ssssssssssssssssss:sssssssss..",
    "..ssssss++ssssssssss:sssssssss..",
    "...ssssssssssssssss:sssssssss...",
    "....sssssssssssssss:ssssssss....",
    ".....sssssssssssss#ssssssss.....",
    "......ssssssssssss#sssssss......",
    ".......sssssssssss#ssssss.......",
    ".........ssssssss#sssss.........",
    "............sssss#ss............",
};
// clang-format on

Tile makeRockStone(const std::vector<int>& stonePixels) {
  // Stone speckle shaded as a ball lit from the upper left: the noise is tilted so the
  // darker greys gather towards the lower right and the rim.
  NoiseField field = clumpyNoise(0x0C4Bu, 3);
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      const int dx = 2 * x - 31;
      const int dy = 2 * y - 31;
      const int rim = (dx * dx + dy * dy) / 8;  // 0 in the middle, 128 at the edge
      field[at(x, y)] -= 1200 * (dx + dy) + 500 * rim;
    }
  }
  const int n = static_cast<int>(stonePixels.size());
  const int fleck = n * 8 / 100;
  const int slate = n * 30 / 100;
  const int stone = n * 35 / 100;
  const Share shares[] = {{colour::kFleck, fleck},
                          {colour::kSlate, slate},
                          {colour::kStone, stone},
                          {colour::kPebble, n - fleck - slate - stone}};
  Tile tile{};
  paintByRank(tile, field, stonePixels, shares);
  return tile;
}

// The door: '.' is the wall around it, 'o' and 'b' the orange wood and its dark grain,
// 'G' and 'g' the green knob's ring and middle, '+' and '*' light specks on the stone.
// The wall's deepest flecks in row 3 and on the left edge show through the '.'.
// clang-format off
constexpr std::string_view kDoorMap[kTileSize] = {
    "..++.......................+....",
    "......*......+..............+...",
    ".....+..................++......",
    "............++...............+..",
    "......bbbbbbbbbbbbbbbbbbbb......",
    "......boooooboooooobooooob......",
    ".++...boooooboooooobooboob......",
    "......boobooboooooobooboob..+...",
    "......boobooboobooobooboob...+..",
    "....+.boobooboobooobooboob......",
    "......boobooboobooobooboob......",
    "......boobooboobooobooboob......",
    "......boobooboobooobooooob....+.",
    "......boooooboobooobooobob......",
    "...+..boboooboobooobooobob......",
    "..+...boboooboooooobooobob......",
    "......bobooobooooooboooGGb.++...",
    "......boboooboooboobooGggG......",
    "......boooooboooboobooGggG.....*",
    ".+....boooboboooboobooGggG......",
    "......booobobooobooboooGGb......",
    "......boooboboooooobooooob...+..",
    "....++boooboboboooobooooob......",
    "......boooboboboooobobooob......",
    "......boooboboboooobobooob......",
    "......boooboboboooobobooob.++...",
    "......boooboboboooobobooob......",
    "..+...boooooboboooobobooob......",
    "...+..boooooboboooobobooob......",
    "......boooooboboooobobooob....+.",
    "......boooooboooooobooooob+.....",
    "......boooooboooooobooooob......",
};
// clang-format on

// The hero, seen from the front: 'Y', 'y', 'd' three yellows for the hair, arms, belt and
// legs; 'O' and 'o' the skin; 'W' and 'k' the eyes; 'b' eyebrows and mouth; 's' the shirt;
// 'K' the shoes; '.' the floor the hero stands on.
// clang-format off
constexpr std::string_view kHeroMap[kTileSize] = {
    "...........dyYYyYYyYd...........",
    ".........dyYYYYYYYYYYyd.........",
    "........dyYYYyYYYYyYYYyd........",
    "........dYYyYYYyyYYYyYYd........",
    "........dyyOOOOOOOOOOyyd........",
    "........dObbbbOOOObbbbOd........",
    "........oOWWWWOOOOWWWWOo........",
    "........oOWkkWOOOOWkkWOo........",
    "........oOWkkWOooOWkkWOo........",
    ".........ObOOOOooOOOObO.........",
    ".........OObbbbbbbbbbOO.........",
    ".........OOOOOOOOOOOOOO.........",
    "..........ooOOOOOOOOoo..........",
    "........YYYYYYooooYYYYYY........",
    "......YssssssYYYYYYssssssY......",
    ".....YssYssssssYYssssssYssY.....",
    ".....YssYssssssssssssssYssY.....",
    ".....YssYssssssYYssssssYssY.....",
    ".....YssYssssssssssssssYssY.....",
    ".....YssYssssssYYssssssYssY.....",
    ".....YssYssssssssssssssYssY.....",
    ".....YYYYssssssYYssssssYYYY.....",
    ".....oOOoyyyyyyYYyyyyyyoOOo.....",
    ".....OOOOddddddyyddddddOOOO.....",
    "......oo..yYYyd..yYYyd..oo......",
    "..........yYYyd..yYYyd..........",
    "..........yYYyd..yYYyd..........",
    "..........yYYyd..yYYyd..........",
    "..........yYYyd..yYYyd..........",
    "..........yYYyd..yYYyd..........",
    ".........KKKKKK..KKKKKK.........",
    "........KKKKKKK..KKKKKKK........",
};
// clang-format on

}  // namespace

Tile makeRock(const Tile& dirt) {
  std::vector<int> stonePixels;
  for (int i = 0; i < kTilePixels; ++i) {
    if (kRockMap[i / kTileSize][i % kTileSize] == 's') stonePixels.push_back(i);
  }
  const Tile stone = makeRockStone(stonePixels);
  Tile under = dirt;
  for (const int i : stonePixels) under[i] = stone[i];
  // The 's' pixels were stone-speckled in `under` just above, so they keep it like '.'.
  const Legend legend{.colours = {{'+', colour::kGleam},
                                  {'*', colour::kShine},
                                  {':', colour::kFleck},
                                  {'#', colour::kPit}},
                      .keep = ".s"};
  return paintMap(kRockMap, legend, under);
}

Tile makeDoor(const Tile& wall) {
  const Legend legend{.colours = {{'o', 0xFF8040},
                                  {'b', 0x804000},
                                  {'G', 0x00FF00},
                                  {'g', 0x008000},
                                  {'+', colour::kGleam},
                                  {'*', colour::kShine}}};
  return paintMap(kDoorMap, legend, wall);
}

Tile makeHero(const Tile& dirt) {
  const Legend legend{.colours = {{'Y', 0xFFFF00},
                                  {'y', 0xF9CC00},
                                  {'d', 0xDD9900},
                                  {'O', 0xFF9C00},
                                  {'o', 0xF37700},
                                  {'W', 0xFFFFFF},
                                  {'k', 0x191919},
                                  {'b', 0x663300},
                                  {'s', colour::kClay},
                                  {'K', 0x000000}}};
  return paintMap(kHeroMap, legend, dirt);
}

}  // namespace gravisk::assetgen
