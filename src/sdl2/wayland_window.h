// What the game window needs on Wayland that X11 does not: the window's app id
// (which the desktop matches with the desktop entry, for the icon), drawing
// through SDL's GL ES window surface at the output's scale, and a fixed size.
#pragma once

#include <SDL_video.h>

namespace gravisk::sdl2 {

// The desktop entry's name without ".desktop": the app id a Wayland desktop
// looks the window's icon and name up by.
inline constexpr const char* kAppId = "io.github.gravisk.Gravisk";

// Whether SDL runs on its Wayland driver.
bool onWayland(const char* videoDriver);

// Before SDL_Init: the app id for SDL's Wayland windows, unless the player
// named one (SDL_VIDEO_WAYLAND_WMCLASS). X11's WM_CLASS stays as it was.
void nameWaylandApp();

// After SDL_Init, before the first window surface: how SDL backs it. On X11 it
// is plain memory sent to the server; SDL's Wayland driver has no such surface,
// and backs it with a GL ES texture instead (Mesa's software rasteriser where
// there is no GPU), shown at the output's scale without blending.
void chooseWindowSurface(const char* videoDriver);

// After SDL_Init on Wayland: keeps SDL's GL library (EGL, Mesa) loaded for the
// whole game. SDL unloads it with the last GL window, which every reload of the
// game window is, and would load and set it up again for the next one.
void keepGlLoaded(const char* videoDriver);

// The flags of the game window. On Wayland its size is in the output's logical
// pixels and its drawable in device pixels: SDL's GL ES window surface then
// shows each logical pixel as a crisp n x n block at the output's whole-number
// scale n (nearest neighbour), where the compositor would blur a window drawn
// at scale 1.
Uint32 windowFlags(const char* videoDriver);

// Keeps the window at its size: SDL 2.26 tells a Wayland compositor nothing of a
// window that cannot be resized, and a tiling one (sway) would fit it into a
// tile. A window whose least and largest sizes agree floats there at its size.
void fixWaylandSize(SDL_Window* window);

}  // namespace gravisk::sdl2
