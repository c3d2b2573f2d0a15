// Closing SDL's X11 message box from outside its own event loop: the box is found
// among the top-level windows by its title and by the process that made it (this
// one or its child), and sent WM_DELETE_WINDOW over a connection of our own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct xcb_connection_t;

namespace gravisk::sdl2 {

class BoxCloser {
 public:
  // Connects to the X display and listens for new top-level windows; without a
  // display it does nothing.
  explicit BoxCloser(std::string_view title);
  ~BoxCloser();
  BoxCloser(const BoxCloser&) = delete;
  BoxCloser& operator=(const BoxCloser&) = delete;

  // The connection's descriptor, readable when X events wait; -1 without one.
  int fd() const;
  // Closes this process's box titled `title` now, or as soon as it is on screen.
  void close();
  // Takes the X events that wait, and closes a box asked for that has just appeared.
  void events();

 private:
  bool closeNow();

  std::string title_;
  xcb_connection_t* connection_ = nullptr;
  std::uint32_t root_ = 0;
  std::uint32_t netWmName_ = 0;
  std::uint32_t utf8String_ = 0;
  std::uint32_t wmProtocols_ = 0;
  std::uint32_t wmDeleteWindow_ = 0;
  bool wanted_ = false;  // asked to close before the box was there
};

}  // namespace gravisk::sdl2
