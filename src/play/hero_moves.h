// The hero's moves on the arrow keys: walk onto an empty cell, dig grass away,
// push a single rock one cell on, or win by stepping onto the door.
#pragma once

namespace gravisk {

class Form1;

enum class Direction { Left, Up, Right, Down };

// One move in `direction`. A move that is not possible changes nothing. When the
// door is on the target cell the hero stays put and winner() runs as the move's
// very last action (the board is a new one afterwards).
void moveHero(Form1& form, Direction direction);

}  // namespace gravisk
