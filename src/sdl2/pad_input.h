// What a game controller says, in the core's terms: SDL's controller buttons and
// axes as the PadButton and PadAxis the game knows, and the lines the virtual
// pad reads from GRAVISK_VIRTUAL_PAD ("press a", "release dpup", "axis leftx -32768").
#pragma once

#include <SDL_gamecontroller.h>

#include <optional>
#include <string_view>

#include "game/pad.h"

namespace gravisk::sdl2 {

// The game's button for one of SDL's, or none for a button the game has no use for.
std::optional<PadButton> padButton(int sdlButton);
// The game's axis for one of SDL's: the left stick only.
std::optional<PadAxis> padAxis(int sdlAxis);

// One line for the virtual pad: a button (SDL_GameControllerButton) pressed or let
// go, or an axis (SDL_GameControllerAxis) moved to a value.
struct PadLine {
  enum class Kind { Press, Release, Axis };
  Kind kind = Kind::Press;
  int control = 0;
  int value = 0;  // the axis's value, -32768 to 32767
  bool operator==(const PadLine&) const = default;
};

// The line's meaning, or none for anything else: another word, a name SDL does not
// know, a value out of range, extra words, a byte that is not text.
std::optional<PadLine> parsePadLine(std::string_view line);

}  // namespace gravisk::sdl2
