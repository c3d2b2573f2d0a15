// The front end without a platform that the unit tests, soak tests, benchmarks
// and the fuzzer play the game through: it answers every message box at once,
// counts what the game asked of it and, unless told not to, records it in order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/front_end.h"

namespace gravisk::testing {

class StubFrontEnd : public FrontEnd {
 public:
  struct Box {
    std::string text;
    std::string title;
  };
  enum class Records { Kept, None };

  // Records::None keeps only the counts: the heap then stays as it is on every
  // call, for the heap soak and the benchmarks.
  explicit StubFrontEnd(Records records = Records::Kept) : keep_(records == Records::Kept) {}

  void messageBox(std::string_view text, std::string_view title) override {
    ++boxCount;
    if (keep_) boxes.push_back({std::string(text), std::string(title)});
    if (onMessageBox) onMessageBox();
  }
  void windowUnloaded() override {
    ++unloadCount;
    if (keep_) events.push_back("unloaded");
    if (onUnloaded) onUnloaded();
  }
  void windowShown() override {
    ++showCount;
    if (keep_) events.push_back("shown");
    if (onShown) onShown();
  }

  int boxCount = 0;
  int unloadCount = 0;
  int showCount = 0;
  std::vector<Box> boxes;              // every box, in order
  std::vector<std::string> events;     // "unloaded" and "shown", in order
  std::function<void()> onMessageBox;  // runs while the box is "open"
  std::function<void()> onUnloaded;    // runs between the two halves of a reload
  std::function<void()> onShown;       // runs as the window goes on screen

 private:
  bool keep_;
};

}  // namespace gravisk::testing
