// The SDL2 front end: the one struct that holds the game, its window, the
// pictures it shows, its game controllers and the event loop that feeds it keys.
// Every reload of the game window destroys the SDL window and creates a new one.
// On a dense screen the window shows each frame pixel as a scale × scale block.
#pragma once

#include <SDL_events.h>
#include <SDL_surface.h>
#include <SDL_video.h>

#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "game/form.h"
#include "render/bitmap.h"
#include "render/renderer.h"
#include "sdl2/pads.h"
#include "sdl2/x11_hints.h"

namespace gravisk::sdl2 {

// SDL could not create or draw the game window; what() says why.
class WindowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SdlFrontEnd final : FrontEnd {
  SdlFrontEnd();
  ~SdlFrontEnd() override;
  SdlFrontEnd(const SdlFrontEnd&) = delete;
  SdlFrontEnd& operator=(const SdlFrontEnd&) = delete;

  // Shows the game: asks the desktop for its dpi, starts reading game controllers,
  // creates the window and loads the first level.
  void start();
  // Plays until the player closes the window and returns the exit status. Run-time
  // errors and WindowError travel out of both to the caller.
  int loop();

  void messageBox(std::string_view text, std::string_view title) override;
  void windowUnloaded() override;
  void windowShown() override;

  // One key for the game, from the keyboard or a pad, and the redraw it makes.
  void keyDown(std::int16_t code, std::int16_t shift);

  // Copies the parts of the frame to the window surface, scaled, and puts them on screen.
  void present(const PixelRect* rects, int count);
  void presentAll();
  // The window's client area in screen pixels.
  int windowWidth() const { return Frame::kWidth * scale; }
  int windowHeight() const { return Frame::kHeight * scale; }

  Renderer renderer;
  Frame frame;
  int scale = 1;                       // screen pixels per frame pixel, from the desktop's dpi
  std::vector<std::uint32_t> scratch;  // the scaled frame, for a surface of another format
  IconImage iconImage;                 // the pixels the icon surface points into
  SDL_Surface* iconSurface = nullptr;
  SDL_Window* window = nullptr;            // null between the two halves of a reload
  Uint32 windowId = 0;                     // events for any other window are stale
  std::optional<FrameExtents> knownFrame;  // the window manager's frame, once it has said
  Pads pads;
  Form1 form{*this};
};

}  // namespace gravisk::sdl2
