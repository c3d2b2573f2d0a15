// The thread that wakes the game when a controller has something to say. It waits,
// with no time-out, on the pads' device files, on /dev/input for pads plugged in
// and on the virtual pad's file, and then posts one SDL event: the event loop reads
// the pads only then. While the message box is open the game's thread is inside
// the box, so this thread reads the pads itself.
#pragma once

#include <SDL_stdinc.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sdl2/pad_input.h"

namespace gravisk::sdl2 {

class PadWatch {
 public:
  struct Calls {
    std::function<void(const PadLine&)> setVirtualPad;  // a line of the virtual pad's file
    std::function<void()> readPadsInBox;                // the box is open: read and act
    std::function<void()> boxConnectionEvents;          // the box closer's X connection spoke
  };

  // Posts SDL events of type `wakeEvent`; reads the virtual pad's lines from
  // `virtualPadFd` (-1 for none), which it then owns.
  PadWatch(Uint32 wakeEvent, int virtualPadFd, Calls calls);
  ~PadWatch();
  PadWatch(const PadWatch&) = delete;
  PadWatch& operator=(const PadWatch&) = delete;

  // The game's thread opened the controller whose device file is `path`.
  void watchDevice(const std::string& path);
  // The game's thread reads the pads for a wake-up event: before and after.
  void beginRead();
  void endRead();
  // The box opens: from now until boxClosed() returns this thread reads the pads
  // (once at once, dropping what came before), and calls boxConnectionEvents when
  // `boxConnectionFd` (-1 for none) is readable.
  void boxOpened(int boxConnectionFd);
  void boxClosed();

 private:
  void run();
  void poke();
  void wake(bool waitForRead);
  void readVirtualPad();
  void takeLines(const char* bytes, std::size_t count);

  const Uint32 wakeEvent_;
  Calls calls_;
  int virtualPadFd_;
  int pokeFd_ = -1;     // an eventfd: the game's thread has news for this one
  int inotifyFd_ = -1;  // /dev/input
  std::string line_;    // the virtual pad's line so far
  bool skippingLine_ = false;
  std::vector<int> deviceFds_;  // this thread's own

  std::mutex devicesMutex_;
  std::vector<std::string> newDevices_;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool wakePosted_ = false;
  std::uint64_t readsBegun_ = 0;
  std::uint64_t readsDone_ = 0;
  bool boxOpen_ = false;
  bool boxNew_ = false;  // opened, and not yet read once
  int boxFd_ = -1;
  bool pollingBoxFd_ = false;

  std::thread thread_;  // last: starts once everything above is set
};

}  // namespace gravisk::sdl2
