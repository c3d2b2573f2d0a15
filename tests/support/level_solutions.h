// The keys that win each built-in level, read from level_solutions.txt beside
// this file, the one place the tests keep them.
#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "game/form.h"

namespace gravisk::testing {

// Level n's line of the solutions file as key codes; empty if it has none or
// names a key that is not an arrow.
inline std::vector<std::int16_t> levelSolution(int n) {
  static const std::map<std::string, std::int16_t> kCodes{
      {"Left", kKeyLeft}, {"Up", kKeyUp}, {"Right", kKeyRight}, {"Down", kKeyDown}};
  std::ifstream file(GRAVISK_LEVEL_SOLUTIONS);
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream words(line);
    int level = 0;
    if (line.starts_with('#') || !(words >> level) || level != n) continue;
    std::vector<std::int16_t> keys;
    for (std::string name; words >> name;) {
      const auto code = kCodes.find(name);
      if (code == kCodes.end()) return {};  // only arrows solve a level
      keys.push_back(code->second);
    }
    return keys;
  }
  return {};
}

}  // namespace gravisk::testing
