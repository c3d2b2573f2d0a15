// Moving between levels: winning, and the R, F1 and F2 keys. Each leaves the
// level counter one below the level wanted and reloads the form; the load then
// steps the counter on by one.
#pragma once

namespace gravisk {

class FormAccess;

// "You won!" in a modal box titled "Gravisk", then the next level.
void winner(FormAccess& form);
// R: the level on the board starts again.
void restartLevel(FormAccess& form);
// F1: the next level, level 1 after the last; no message.
void nextLevel(FormAccess& form);
// F2: the previous level, the last one before level 1.
void previousLevel(FormAccess& form);

}  // namespace gravisk
