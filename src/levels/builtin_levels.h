// The three levels built into the game, eight rows of sixteen cell codes each:
// 0 floor, 1 grass, 2 rock, 3 wall, 4 the hero's start, 5 the door.
#pragma once

#include <array>
#include <string_view>

namespace gravisk {

inline constexpr int kBuiltInLevels = 3;

inline constexpr std::array<std::array<std::string_view, 8>, kBuiltInLevels> kLevelRows{{
    {"4020231111111111", "0202031111111111", "2020231111103333", "0202031111020202",
     "2020201111302020", "3333011111320202", "1111111111302020", "1111111111320205"},
    {"4200200230200225", "2222222220222220", "2200200200203200", "2203203200200200",
     "2222222222202222", "2200200200200222", "2200203203200222", "2222222222222222"},
    {"3303300020333333", "3320335300203303", "0020203333000203", "4230230333333323",
     "3033032200000000", "3333020033333333", "3333033333333333", "3333333333333333"},
}};

}  // namespace gravisk
