// loadlevel: decodes the current level's eight rows onto a freshly built
// board, setting which grass, rock and wall shows in each cell and where the
// hero and the door stand.
#pragma once

#include <string>

#include "board/board.h"
#include "levels/level_table.h"

namespace gravisk {

// Scans column by column, top to bottom within a column. Throws TypeMismatch
// at a cell whose character is not a digit or is missing, and
// SubscriptOutOfRange for a counter outside 0 to 100; the cells scanned before
// the fault keep what they were given.
void loadlevel(GameVariables& vars, Board& board);

// A cell's character read as a number, as every cell test reads it: "0" to
// "9" are their digits; anything else, the empty string included, is a type
// mismatch.
double cellNumber(const std::string& cellchar);

}  // namespace gravisk
