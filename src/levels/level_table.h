// The level table and the level counter: the game variables that live in the
// form for the whole run, and setvariables, which steps the counter at every
// load and fills the table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace gravisk {

// Level numbers 0 to 100 by rows 0 to 8. Only levels 1 to 3, rows 0 to 7 are
// ever written; every other entry reads as the empty string.
class LevelTable {
 public:
  static constexpr int kLastLevel = 100;
  static constexpr int kLastRow = 8;

  // Throws SubscriptOutOfRange outside the bounds; the level is checked first.
  const std::string& get(int level, int row) const;
  void set(int level, int row, std::string value);

 private:
  static int slot(int level, int row);
  std::array<std::string, (kLastLevel + 1) * (kLastRow + 1)> entries_;
};

// The four variables the form keeps across reloads.
struct GameVariables {
  LevelTable leveldata;
  std::string cellchar;               // the character level loading decodes
  std::optional<std::int16_t> level;  // empty until the first load
  std::int16_t maxlevel = 0;
};

// Sets maxlevel to 3, adds one to the counter (empty counts as 0), wraps it
// from above maxlevel to 1, and writes the built-in levels into the table.
void setvariables(GameVariables& vars);

// The counter as a number: an empty counter counts as 0.
std::int16_t levelValue(const GameVariables& vars);

// Adds `delta` to the counter in 16-bit arithmetic; throws Overflow on wrap.
void addToLevel(GameVariables& vars, int delta);

}  // namespace gravisk
