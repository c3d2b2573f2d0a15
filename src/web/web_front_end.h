// The browser front end: the one struct that holds the game, the client area's
// pixels as the page's canvas wants them, the boxes the page shows, and the board as
// the page's screen-reader grid names it. The page (shell.html) calls in on a key, a
// game controller's change, on OK and on the close box; nothing runs between.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/form.h"
#include "game/narration.h"
#include "game/pad.h"
#include "game/start_hooks.h"
#include "render/renderer.h"

namespace gravisk::web {

struct WebFrontEnd final : FrontEnd {
  explicit WebFrontEnd(StartHooks startHooks);
  WebFrontEnd(const WebFrontEnd&) = delete;
  WebFrontEnd& operator=(const WebFrontEnd&) = delete;

  // Shows the game: creates the window and loads the first level.
  void start();
  // One keydown of the page with its Windows key code and shift state.
  void key(int keyCode, int shift);
  // The player closed the box on top (OK, Enter, Space or Escape).
  void boxClosed();
  // The player clicked the window's close box: the game ends.
  void close();

  // Game controllers (web_pad.cpp), fed in by the page's poll with its clock in
  // ms: button `index` of the standard layout went down or up, the left stick's
  // `axis` (0 across, 1 down) moved to `value` (-32768 to 32767), the pad went
  // away, the held direction's repeat fell due.
  void padButton(int pad, int index, bool down, double nowMs);
  void padAxis(int pad, int axis, int value, double nowMs);
  void padRemoved(int pad);
  void padRepeat(double nowMs);
  // Sends the key a pad asked for as a keydown does, or closes the box as OK does.
  void padAct(PadAction action);
  // Has the page wake the game when the held direction repeats next, or not at all.
  void armPadRepeat();
  PadKeys pads;

  // A browser cannot wait inside messageBox() for OK, so the box is only put up
  // here. Whatever the core does to the window while a box is up (the reload
  // after a win) is held back and shown once the last box has closed.
  void messageBox(std::string_view text, std::string_view title) override;
  void windowUnloaded() override;
  void windowShown() override;

  struct Box {
    std::string text;
    std::string title;
    bool endsGame = false;  // the report of a run-time error
  };

  // Runs `work`; a run-time error or any other failure out of it is reported.
  template <typename Work>
  void reportingFailures(Work work);
  // Reports a run-time error in a box and on the console; the game ends at OK.
  void fail(const std::string& line);
  void showTopBox();
  // Copies part of the frame into `rgba` and has the page paint it.
  void paint(PixelRect rect);
  // The window as the core last left it, put on the page.
  void showHeldWindow();
  // Brings the page's words up to the board (nameBoard) and gives it `sentence` for
  // the screen reader to say (nothing when empty).
  void narrate(const std::string& sentence);
  // Names the game by its level and the grid's cells by what they show, when they
  // changed since the page was last told.
  void nameBoard();

  StartHooks hooks;
  Renderer renderer;
  Frame frame;
  std::vector<std::uint8_t> rgba;  // the canvas's bytes: R, G, B, A per pixel
  std::deque<Box> boxes;           // the front one is on screen
  bool windowOnPage = false;       // the page shows the game window
  bool windowHeld = false;         // a window created under a box waits for OK
  bool ended = false;
  std::optional<BoardView> named;  // the board as the page last named it
  Form1 form{*this};
};

}  // namespace gravisk::web
