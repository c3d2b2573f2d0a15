// What the game asks of the platform it runs on. Each front end (SDL2, Win32,
// and the recording one in the tests) implements these three calls.
#pragma once

#include <string_view>

namespace gravisk {

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Shows `text` in a modal box titled `title` with one OK button; returns once the player
  // has closed it. No key reaches the game meanwhile.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;
  // The window and all its elements are gone (the first half of a reload).
  virtual void windowUnloaded() = 0;
  // The window has been created and loaded: put it on screen, centred, with the keyboard focus.
  virtual void windowShown() = 0;
};

}  // namespace gravisk
