// loadshapes: builds the full 16 × 8 board on a freshly created window by
// adding elements 1 to 127 of every layer, each on its own cell.
#pragma once

#include "board/board.h"

namespace gravisk {

// For each cell 1 to 127: a shown floor, and hidden grass, rock and wall, each
// of the three brought to the front so that it covers the floor of its cell.
// Element 0 of every layer keeps what the window gave it.
void loadshapes(Board& board);

}  // namespace gravisk
