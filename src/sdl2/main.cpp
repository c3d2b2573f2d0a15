// gravisk: the game on Linux, in an SDL2 window. It takes no arguments and
// reads no files; every start begins at level 1.
#include "sdl2/run.h"

int main(int, char**) {
  return gravisk::sdl2::runGame();
}
