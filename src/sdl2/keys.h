// Turns SDL key events into the Windows virtual-key codes and shift state the
// game's Form_KeyDown expects. Letters follow the key's label where it is a
// Latin letter and the key's place on the keyboard where it is not.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace gravisk::sdl2 {

// The virtual-key code for a key, or 0 for a key that has no obvious one (the
// caller drops those).
std::int16_t virtualKey(const SDL_Keysym& keysym);

// The shift state of a key event: 1 Shift, 2 Ctrl, 4 Alt, added together.
std::int16_t shiftState(Uint16 mod);

}  // namespace gravisk::sdl2
