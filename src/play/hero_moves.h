// The hero's moves on the arrow keys: walk onto an empty cell, dig grass away,
// push a single rock one cell on, or win by stepping onto the door.
#pragma once

namespace gravisk {

class FormAccess;

enum class Direction { Left, Up, Right, Down };

// One move in `direction`. A move that is not possible changes nothing. When the
// door is on the target cell the hero stays put and the move ends with winner(),
// which leaves a new board on the form.
void moveHero(FormAccess& form, Direction direction);

}  // namespace gravisk
