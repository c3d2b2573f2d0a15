// Game pads through Raw Input: the registration for joysticks and game pads, each
// pad's HID description kept from its first report to its removal, its reports read
// with the HID parser and handed, as changes of the standard layout, to PadKeys.
// Windows sends nothing while no pad is connected, so this costs nothing then.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "game/pad.h"
#include "win32/pad_reports.h"

namespace gravisk::win32 {

class RawPads {
 public:
  // Asks for the reports of every joystick and game pad, and their arrivals and
  // removals, as WM_INPUT and WM_INPUT_DEVICE_CHANGE to `window`, whichever window
  // of the program is in front. False if Windows refused.
  bool listen(HWND window);

  // WM_INPUT: what the report's changes ask of the game. A report that comes while
  // another program is in front lets the pad's buttons and stick go.
  std::vector<PadAction> input(HRAWINPUT input, bool foreground, std::uint64_t nowMs);
  // WM_INPUT_DEVICE_CHANGE: a pad that is gone no longer holds a direction.
  void deviceChanged(WPARAM change, HANDLE device);

  PadKeys& keys() { return keys_; }

 private:
  struct Pad {
    HANDLE device = nullptr;
    int id = 0;  // the pad's number for PadKeys
    PadLayout layout = PadLayout::PlayStation;
    std::vector<unsigned char> preparsed;  // the HID parser's description of it
    PadFields fields;
    bool hasHat = false;
    bool hasX = false;
    bool hasY = false;
    PadState state;
  };

  Pad* padFor(HANDLE device);
  HidReading read(const Pad& pad, unsigned char* report, ULONG size) const;

  PadKeys keys_;
  std::vector<Pad> pads_;
  int nextId_ = 1;
  std::vector<unsigned char> buffer_;  // the last WM_INPUT's data
};

}  // namespace gravisk::win32
