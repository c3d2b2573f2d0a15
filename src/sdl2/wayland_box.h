// The message box on Wayland: a small window of the game's own, modal over the
// game window, with the text, a title and one OK button. SDL's own box there runs
// the zenity program, which many systems lack and which opens apart from the game.
#pragma once

#include <SDL_events.h>
#include <SDL_video.h>

#include <functional>
#include <string_view>

namespace gravisk::sdl2 {

// Shows the box over `owner` (null for none) and returns once the player has
// closed it: Return or Escape, Space or a click on OK (each pressing the button
// and acting as it comes up), or the box's close box.
// Meanwhile `redrawOwner` answers the owner's exposures, every event for no
// window goes to `closes` (true closes the box, as a game controller's A does),
// and every other event for the owner (keys, a close request) is dropped. False,
// with SDL_GetError() saying why, when the box cannot be shown.
bool showWaylandBox(SDL_Window* owner, std::string_view text, std::string_view title,
                    const std::function<void()>& redrawOwner,
                    const std::function<bool(const SDL_Event&)>& closes);

}  // namespace gravisk::sdl2
