// The game controllers of the SDL2 front end: SDL's controller subsystem without
// its polling, the pads open now, the core's PadKeys they feed, the thread that
// wakes the event loop when a pad changes, and the virtual pad of the tests
// (GRAVISK_VIRTUAL_PAD). Part of SdlFrontEnd; the event loop hands it its events.
#pragma once

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "game/pad.h"
#include "sdl2/box_closer.h"
#include "sdl2/pad_watch.h"

namespace gravisk::sdl2 {

struct Pads {
  Pads() = default;
  ~Pads();
  Pads(const Pads&) = delete;
  Pads& operator=(const Pads&) = delete;

  // Starts SDL's controller subsystem, the wake-up thread and, when
  // GRAVISK_VIRTUAL_PAD names a file or FIFO, the virtual pad that reads it. Should
  // any of it fail, the game plays on with the keyboard (one line on stderr).
  void start();
  // Takes an event that belongs to the pads: true if it was one; the key codes it
  // sends are appended to `keys`.
  bool handle(const SDL_Event& event, std::vector<std::int16_t>& keys);
  // The held direction's repeat: when it falls due (none while nothing is held),
  // and its key code once due (else 0).
  std::optional<std::uint64_t> nextRepeat() const { return padKeys.nextRepeat(); }
  std::int16_t repeat(std::uint64_t nowMs) { return padKeys.repeat(nowMs); }
  // Around the message box, which runs a loop of its own: meanwhile the wake-up
  // thread reads the pads, and A or Start closes the box.
  void boxOpened(std::string_view title);
  // The same for a box whose loop is the game's own (on Wayland): it hands every
  // event to closesBox(), which reads the pads and says whether A or Start closed it.
  void ownBoxOpened() { padKeys.boxOpened(); }
  bool closesBox(const SDL_Event& event);
  void boxClosed();

  PadKeys padKeys;
  std::vector<SDL_GameController*> controllers;
  Uint32 wakeEvent = 0;  // 0 until start() succeeds
  SDL_Joystick* virtualPad = nullptr;
  std::unique_ptr<PadWatch> watch;
  std::unique_ptr<BoxCloser> closer;  // while the box is open

 private:
  PadAction act(const SDL_Event& event);
  void readPadsInBox();
  void setVirtualPad(const PadLine& line);
  int openVirtualPad();
};

}  // namespace gravisk::sdl2
