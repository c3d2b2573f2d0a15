// The X11 work SDL does not do for the game: the frame hints (a close box, no
// minimise or maximise box), the size of the frame the window manager adds, whether
// one framed the window, an X error handler that survives reloads, freeing the
// colormap SDL leaves behind, and the desktop's dpi.
#pragma once

#include <SDL_video.h>

namespace gravisk::sdl2 {

// Sets _MOTIF_WM_HINTS on the window: it may be moved and closed, and its frame
// has a border, a title and a window menu. Does nothing outside X11.
void setFrameHints(SDL_Window* window);

// Whether a window manager has taken the window into a frame of its own. Without
// one, SDL places a message box owned by the window far off the window's middle
// (it counts the window's position twice). True outside X11.
bool inWindowManagerFrame(SDL_Window* window);

// SDL wakes its event wait by sending an event to the newest window from a second
// X connection; when a key has just made the game destroy that window, the X
// server may see the destruction first and answer BadWindow, which by default
// ends the program. Installs an X error handler that lets exactly that error
// pass and ends the program with one line on stderr for any other. Call after
// SDL_Init; does nothing outside X11.
void tolerateStaleWakeups(const char* videoDriver);

// How far the window manager's frame reaches beyond the client area on each side.
struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// The frame the window manager will put around the (not yet mapped) window: asks
// for it with _NET_REQUEST_FRAME_EXTENTS and waits a moment for the answer in
// _NET_FRAME_EXTENTS. False when no window manager offers that, or outside X11.
bool requestFrameExtents(SDL_Window* window, FrameExtents& extents);

// Destroys the window and the colormap SDL 2.26 made for it (SDL_CreateWindow
// creates one per window and SDL_DestroyWindow leaves it in the X server and in
// Xlib: one colormap and 48 bytes more per reload).
void destroyWindowAndColormap(SDL_Window* window);

// The dpi the desktop asks programs to draw at: the Xft.dpi X resource, which
// GNOME, KDE and Xfce set from their scaling setting (a desktop that scales old
// X11 programs itself leaves it at 96). 96 without the resource, when it is not
// a number, and outside X11.
double desktopDpi(const char* videoDriver);

}  // namespace gravisk::sdl2
