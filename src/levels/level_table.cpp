// Reading and writing the level table, and stepping the level counter.
#include "levels/level_table.h"

#include <limits>

#include "base/runtime_error.h"
#include "levels/builtin_levels.h"

namespace gravisk {

int LevelTable::slot(int level, int row) {
  if (level < 0 || level > kLastLevel) {
    throw SubscriptOutOfRange("leveldata level " + std::to_string(level));
  }
  if (row < 0 || row > kLastRow) throw SubscriptOutOfRange("leveldata row " + std::to_string(row));
  return level * (kLastRow + 1) + row;
}

const std::string& LevelTable::get(int level, int row) const {
  return entries_[slot(level, row)];
}

void LevelTable::set(int level, int row, std::string value) {
  entries_[slot(level, row)] = std::move(value);
}

std::int16_t levelValue(const GameVariables& vars) {
  return vars.level.value_or(0);
}

void addToLevel(GameVariables& vars, int delta) {
  const int sum = levelValue(vars) + delta;
  if (sum < std::numeric_limits<std::int16_t>::min() ||
      sum > std::numeric_limits<std::int16_t>::max()) {
    throw Overflow("level " + std::to_string(sum));
  }
  vars.level = static_cast<std::int16_t>(sum);
}

void setvariables(GameVariables& vars) {
  vars.maxlevel = kBuiltInLevels;
  addToLevel(vars, 1);
  if (*vars.level > vars.maxlevel) vars.level = 1;
  for (int n = 0; n < kBuiltInLevels; ++n) {
    for (int row = 0; row < 8; ++row) {
      vars.leveldata.set(n + 1, row, std::string(kLevelRows[n][row]));
    }
  }
}

}  // namespace gravisk
