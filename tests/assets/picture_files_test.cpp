// Checks the committed tile pictures in assets/: their file headers, their colours and
// shares, the speckle of the textures, and the shapes drawn in the rock, door and hero.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "asset_test_support.h"

namespace gravisk::test {
namespace {

constexpr int kSize = Picture32::kSize;
const char* const kPictureFiles[] = {"dirt.bmp", "grass.bmp", "rock.bmp",
                                     "wall.bmp", "door.bmp",  "hero.bmp"};

// ---- File headers --------------------------------------------------------------------

TEST(PictureFileTest, EveryTileIsAPlain24Bit32x32BottomUpBitmap) {
  for (const char* name : kPictureFiles) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = readAssetFile(name);
    ASSERT_EQ(bytes.size(), 3126u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(read32At(bytes, 2), 3126u);   // file size
    EXPECT_EQ(read32At(bytes, 6), 0u);      // reserved
    EXPECT_EQ(read32At(bytes, 10), 54u);    // pixel offset
    EXPECT_EQ(read32At(bytes, 14), 40u);    // BITMAPINFOHEADER
    EXPECT_EQ(read32At(bytes, 18), 32u);    // width
    EXPECT_EQ(read32At(bytes, 22), 32u);    // height, positive: bottom-up
    EXPECT_EQ(read16At(bytes, 26), 1u);     // planes
    EXPECT_EQ(read16At(bytes, 28), 24u);    // bits per pixel
    EXPECT_EQ(read32At(bytes, 30), 0u);     // BI_RGB
    EXPECT_EQ(read32At(bytes, 34), 3072u);  // image size
    EXPECT_EQ(read32At(bytes, 38), 3780u);  // 96 dpi across
    EXPECT_EQ(read32At(bytes, 42), 3780u);  // and down
    EXPECT_EQ(read32At(bytes, 46), 0u);     // colours used
    EXPECT_EQ(read32At(bytes, 50), 0u);     // important colours
  }
}

// ---- Colours and shares --------------------------------------------------------------

struct Share {
  std::uint32_t rgb;
  double percent;
};

// Every colour of the picture is listed, and each takes its share of the 1,024 pixels
// to within one percentage point.
void expectShares(const std::string& name, const std::vector<Share>& shares) {
  SCOPED_TRACE(name);
  const auto counts = countColours(loadPicture(name));
  std::set<std::uint32_t> expected;
  for (const Share& share : shares) {
    expected.insert(share.rgb);
    const auto found = counts.find(share.rgb);
    const int count = found == counts.end() ? 0 : found->second;
    EXPECT_NEAR(100.0 * count / 1024, share.percent, 1.0) << std::hex << share.rgb;
  }
  for (const auto& [rgb, count] : counts) {
    EXPECT_TRUE(expected.count(rgb)) << "unexpected colour " << std::hex << rgb;
  }
}

TEST(PictureColoursTest, TexturesUseTheirColoursInTheirShares) {
  expectShares("dirt.bmp", {{rgb::kEarth, 36}, {rgb::kClay, 32}, {rgb::kLoam, 32}});
  expectShares("grass.bmp", {{rgb::kMeadow, 36}, {rgb::kLeaf, 33}, {rgb::kSprout, 31}});
  expectShares("wall.bmp", {{rgb::kStone, 34},
                            {rgb::kSlate, 32},
                            {rgb::kPebble, 28},
                            {rgb::kFleck, 6},
                            {rgb::kPit, 100.0 * 5 / 1024}});
  EXPECT_EQ(countColours(loadPicture("wall.bmp"))[rgb::kPit], 5);
}

void expectColoursWithin(const std::string& name, const std::set<std::uint32_t>& allowed) {
  SCOPED_TRACE(name);
  for (const auto& [rgb, count] : countColours(loadPicture(name))) {
    EXPECT_TRUE(allowed.count(rgb)) << "unexpected colour " << std::hex << rgb;
  }
}

TEST(PictureColoursTest, FiguresUseOnlyTheirPalettes) {
  const std::set<std::uint32_t> floor = {rgb::kEarth, rgb::kClay, rgb::kLoam};
  std::set<std::uint32_t> rock = floor;
  rock.insert(
      {rgb::kStone, rgb::kSlate, rgb::kPebble, rgb::kFleck, rgb::kPit, rgb::kGleam, rgb::kShine});
  expectColoursWithin("rock.bmp", rock);
  expectColoursWithin(
      "door.bmp", {rgb::kWood, rgb::kGrain, rgb::kKnobRing, rgb::kKnobMiddle, rgb::kStone,
                   rgb::kSlate, rgb::kPebble, rgb::kFleck, rgb::kPit, rgb::kGleam, rgb::kShine});
  std::set<std::uint32_t> hero = floor;
  hero.insert(
      {0xFFFF00, 0xF9CC00, 0xDD9900, 0xFF9C00, 0xF37700, 0xFFFFFF, 0x191919, 0x000000, 0x663300});
  expectColoursWithin("hero.bmp", hero);
}

// ---- The speckled textures -----------------------------------------------------------

// The largest patch of one colour, counting pixels joined side by side.
int largestClump(const Picture32& picture) {
  std::vector<bool> seen(kSize * kSize, false);
  int largest = 0;
  for (int start = 0; start < kSize * kSize; ++start) {
    if (seen[start]) continue;
    std::vector<int> stack = {start};
    seen[start] = true;
    int size = 0;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      ++size;
      const int x = i % kSize, y = i / kSize;
      const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto& [nx, ny] : next) {
        if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize) continue;
        const int j = ny * kSize + nx;
        if (!seen[j] && picture.pixels[j] == picture.pixels[i]) {
          seen[j] = true;
          stack.push_back(j);
        }
      }
    }
    largest = std::max(largest, size);
  }
  return largest;
}

class SpeckleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SpeckleTest, NoTwoRowsOrColumnsAreAlike) {
  const Picture32 picture = loadPicture(GetParam());
  for (int a = 0; a < kSize; ++a) {
    for (int b = a + 1; b < kSize; ++b) {
      bool sameRow = true, sameColumn = true;
      for (int i = 0; i < kSize; ++i) {
        sameRow = sameRow && pixelAt(picture, i, a) == pixelAt(picture, i, b);
        sameColumn = sameColumn && pixelAt(picture, a, i) == pixelAt(picture, b, i);
      }
      EXPECT_FALSE(sameRow) << "rows " << a << " and " << b;
      EXPECT_FALSE(sameColumn) << "columns " << a << " and " << b;
    }
  }
}

TEST_P(SpeckleTest, DoesNotRepeatWhenShifted) {
  // Shifted by any amount (wrapping around), a repeating or striped picture would match
  // itself almost everywhere; a speckle matches little more than by chance.
  const Picture32 picture = loadPicture(GetParam());
  for (int dy = 0; dy < kSize; ++dy) {
    for (int dx = 0; dx < kSize; ++dx) {
      if (dx == 0 && dy == 0) continue;
      int same = 0;
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          same += pixelAt(picture, x, y) == pixelAt(picture, (x + dx) % kSize, (y + dy) % kSize);
        }
      }
      EXPECT_LT(same, 1024 / 2) << "shift " << dx << "," << dy;
    }
  }
}

TEST_P(SpeckleTest, IsSmallClumpsEvenlySpread) {
  const Picture32 picture = loadPicture(GetParam());
  // Random speckle at these shares joins into chains of up to a few dozen pixels; a
  // stripe across the cell or a blotch would be larger.
  EXPECT_LE(largestClump(picture), 40);
  // Every 8 x 8 block holds a fair part of each of the three main colours, so there are
  // no patches of one colour.
  std::vector<std::pair<int, std::uint32_t>> byShare;
  for (const auto& [rgb, count] : countColours(picture)) byShare.push_back({count, rgb});
  std::sort(byShare.rbegin(), byShare.rend());
  for (int by = 0; by < kSize; by += 8) {
    for (int bx = 0; bx < kSize; bx += 8) {
      for (int n = 0; n < 3; ++n) {
        int count = 0;
        for (int y = by; y < by + 8; ++y) {
          for (int x = bx; x < bx + 8; ++x) count += pixelAt(picture, x, y) == byShare[n].second;
        }
        EXPECT_GE(count, 10) << "block " << bx << "," << by << " colour " << std::hex
                             << byShare[n].second;
        EXPECT_LE(count, 36) << "block " << bx << "," << by << " colour " << std::hex
                             << byShare[n].second;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Textures, SpeckleTest,
                         ::testing::Values("dirt.bmp", "grass.bmp", "wall.bmp"));

TEST(WallPictureTest, DarkFlecksCrowdTheLeftEdge) {
  const Picture32 wall = loadPicture("wall.bmp");
  int edge = 0, rest = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool dark = pixelAt(wall, x, y) == rgb::kFleck || pixelAt(wall, x, y) == rgb::kPit;
      (x < 2 ? edge : rest) += dark;
    }
  }
  // Per column, at least three times as many dark flecks on the edge as elsewhere.
  EXPECT_GT(edge / 2.0, 3 * rest / 30.0);
  EXPECT_GT(rest, 20);  // and still plenty scattered over the stone
}

// ---- The rock ------------------------------------------------------------------------

double distanceFromMiddle(int x, int y) {
  return std::hypot(x - 15.5, y - 15.5);
}

bool isFloorColour(std::uint32_t rgb) {
  return rgb == rgb::kEarth || rgb == rgb::kClay || rgb == rgb::kLoam;
}

TEST(RockPictureTest, IsARoundStoneLyingOnTheFloor) {
  const Picture32 rock = loadPicture("rock.bmp");
  const Picture32 dirt = loadPicture("dirt.bmp");
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double r = distanceFromMiddle(x, y);
      if (r > 16.5) {
        EXPECT_EQ(pixelAt(rock, x, y), pixelAt(dirt, x, y)) << x << "," << y;
      }
      if (r < 15.5) {
        EXPECT_FALSE(isFloorColour(pixelAt(rock, x, y))) << x << "," << y;
      }
    }
  }
  // As wide and as tall as the cell: stone in the middle of every edge.
  for (int i = 14; i <= 17; ++i) {
    EXPECT_FALSE(isFloorColour(pixelAt(rock, i, 0)));
    EXPECT_FALSE(isFloorColour(pixelAt(rock, i, 31)));
    EXPECT_FALSE(isFloorColour(pixelAt(rock, 0, i)));
    EXPECT_FALSE(isFloorColour(pixelAt(rock, 31, i)));
  }
}

TEST(RockPictureTest, LitFromTheUpperLeftWithCracks) {
  const Picture32 rock = loadPicture("rock.bmp");
  int upperLeft = 0, lowerHalf = 0, total = 0, cracksNearMiddle = 0, cracksAtBottom = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const std::uint32_t c = pixelAt(rock, x, y);
      if (c == rgb::kGleam || c == rgb::kShine) {
        ++total;
        upperLeft += x < 16 && y < 16;
        lowerHalf += y >= 16;
      }
      if (c == rgb::kPit) {
        cracksNearMiddle += distanceFromMiddle(x, y) < 3;
        cracksAtBottom += y >= 26;
      }
    }
  }
  EXPECT_GE(total, 10);
  EXPECT_GT(upperLeft, 2 * total / 3);
  EXPECT_GE(lowerHalf, 1);
  EXPECT_GE(cracksNearMiddle, 2);
  EXPECT_GE(cracksAtBottom, 2);
  // The lower right of the ball, turned away from the light, is darker than the upper left.
  int litGrey = 0, shadedGrey = 0;
  for (int y = 4; y < 28; ++y) {
    for (int x = 4; x < 28; ++x) {
      const int grey = static_cast<int>(pixelAt(rock, x, y) & 0xFF);
      if (x + y < 28) litGrey += grey;
      if (x + y > 34) shadedGrey += grey;
    }
  }
  EXPECT_GT(litGrey, shadedGrey);
}

// ---- The door ------------------------------------------------------------------------

TEST(DoorPictureTest, WoodenDoorFillsItsOpeningAndNothingElse) {
  const Picture32 door = loadPicture("door.bmp");
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const std::uint32_t c = pixelAt(door, x, y);
      const bool wood = c == rgb::kWood || c == rgb::kGrain;
      const bool knob = c == rgb::kKnobRing || c == rgb::kKnobMiddle;
      const bool inOpening = x >= 6 && x <= 25 && y >= 4;
      EXPECT_EQ(wood || knob, inOpening) << x << "," << y;
      if (knob) {
        EXPECT_TRUE(y >= 16 && y <= 20 && x >= 22 && x <= 25) << x << "," << y;
      }
    }
  }
  const auto counts = countColours(door);
  EXPECT_GE(counts.at(rgb::kKnobRing), 8);
  EXPECT_GE(counts.at(rgb::kKnobMiddle), 2);
  EXPECT_GT(counts.at(rgb::kWood), 2 * counts.at(rgb::kGrain));
}

TEST(DoorPictureTest, GrainRunsUpAndDown) {
  const Picture32 door = loadPicture("door.bmp");
  int vertical = 0, horizontal = 0;
  for (int y = 5; y < kSize - 1; ++y) {
    for (int x = 7; x < 24; ++x) {
      if (pixelAt(door, x, y) != rgb::kGrain) continue;
      vertical += pixelAt(door, x, y + 1) == rgb::kGrain;
      horizontal += pixelAt(door, x + 1, y) == rgb::kGrain;
    }
  }
  EXPECT_GT(vertical, 5 * horizontal);
  EXPECT_GT(vertical, 50);
}

TEST(DoorPictureTest, SurroundIsTheWallWithAFewLightSpecks) {
  const Picture32 door = loadPicture("door.bmp");
  const Picture32 wall = loadPicture("wall.bmp");
  int surround = 0, sameAsWall = 0;
  std::vector<std::pair<int, int>> pits;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (x >= 6 && x <= 25 && y >= 4) continue;
      ++surround;
      sameAsWall += pixelAt(door, x, y) == pixelAt(wall, x, y);
      if (pixelAt(door, x, y) == rgb::kPit) pits.push_back({x, y});
    }
  }
  EXPECT_EQ(surround, 464);
  EXPECT_GE(sameAsWall, surround * 9 / 10);
  const auto counts = countColours(door);
  EXPECT_EQ(counts.at(rgb::kGleam), 31);
  EXPECT_EQ(counts.at(rgb::kShine), 2);
  EXPECT_EQ(counts.at(rgb::kPit), 5);
  // Three deep flecks just above the door, two on the left edge.
  ASSERT_EQ(pits.size(), 5u);
  int aboveDoor = 0, leftEdge = 0;
  for (const auto& [x, y] : pits) {
    aboveDoor += y == 3 && x >= 6 && x <= 25;
    leftEdge += x == 0;
  }
  EXPECT_EQ(aboveDoor, 3);
  EXPECT_EQ(leftEdge, 2);
}

// ---- The hero ------------------------------------------------------------------------

TEST(HeroPictureTest, StandsOnTheFloor) {
  const Picture32 hero = loadPicture("hero.bmp");
  const Picture32 dirt = loadPicture("dirt.bmp");
  int sameAsDirt = 0;
  for (int i = 0; i < kSize * kSize; ++i) sameAsDirt += hero.pixels[i] == dirt.pixels[i];
  EXPECT_GE(sameAsDirt, 1024 * 2 / 5);
  // The corners around the figure are the floor itself.
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      for (const auto& [cx, cy] : {std::pair{x, y}, {31 - x, y}, {x, 31 - y}, {31 - x, 31 - y}}) {
        EXPECT_EQ(pixelAt(hero, cx, cy), pixelAt(dirt, cx, cy)) << cx << "," << cy;
      }
    }
  }
}

TEST(HeroPictureTest, IsASymmetricFigureFromHairToShoes) {
  const Picture32 hero = loadPicture("hero.bmp");
  const Picture32 dirt = loadPicture("dirt.bmp");
  auto inFigure = [&](int x, int y) { return pixelAt(hero, x, y) != pixelAt(dirt, x, y); };
  auto colourRows = [&](std::uint32_t rgb) {
    std::set<int> rows;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (pixelAt(hero, x, y) == rgb) rows.insert(y);
      }
    }
    return rows;
  };
  // Seen from the front, the figure's outline is nearly mirror symmetric; the speckle
  // underneath can make a shirt pixel match the floor, hence "nearly".
  int mirrored = 0, figure = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      figure += inFigure(x, y);
      mirrored += inFigure(x, y) && inFigure(31 - x, y);
    }
  }
  EXPECT_GE(mirrored, figure * 9 / 10);
  // The figure reaches from the top row to the bottom row.
  EXPECT_TRUE(inFigure(15, 0) && inFigure(16, 0));
  EXPECT_TRUE(inFigure(12, 31) && inFigure(19, 31));
  // Hair on top, shoes at the bottom, eyes in the face.
  EXPECT_EQ(*colourRows(0xFFFF00).begin(), 0);
  EXPECT_EQ(colourRows(0x000000), (std::set<int>{30, 31}));
  for (const std::uint32_t eye : {0xFFFFFFu, 0x191919u}) {
    const auto rows = colourRows(eye);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(*rows.begin(), 4);
    EXPECT_LE(*rows.rbegin(), 12);
  }
  const int browAndMouth = countColours(hero)[0x663300];
  EXPECT_GT(browAndMouth, 0);
  EXPECT_LT(browAndMouth, 30);
}

TEST(HeroPictureTest, HandsBesideTheBeltAndTwoLegs) {
  const Picture32 hero = loadPicture("hero.bmp");
  auto isSkin = [](std::uint32_t c) { return c == 0xFF9C00 || c == 0xF37700; };
  auto isYellow = [](std::uint32_t c) { return c == 0xFFFF00 || c == 0xF9CC00 || c == 0xDD9900; };
  int leftHand = 0, rightHand = 0;
  for (int y = 22; y <= 24; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!isSkin(pixelAt(hero, x, y))) continue;
      if (x < 9) ++leftHand;
      if (x > 22) ++rightHand;
    }
  }
  EXPECT_GE(leftHand, 4);
  EXPECT_GE(rightHand, 4);
  // Rows 25 to 29: two yellow legs with floor between them.
  for (int y = 25; y <= 29; ++y) {
    int runs = 0;
    for (int x = 0; x < kSize; ++x) {
      runs += isYellow(pixelAt(hero, x, y)) && (x == 0 || !isYellow(pixelAt(hero, x - 1, y)));
    }
    EXPECT_EQ(runs, 2) << "row " << y;
  }
}

}  // namespace
}  // namespace gravisk::test
