// The pads' wake-up thread: one poll() with no time-out over its own read-only
// descriptors (the pads' evdev files, read and thrown away so that each change
// wakes it once; an inotify watch on /dev/input; the virtual pad's file), and the
// hand-over of the pads to it while the game's thread is inside the message box.
#include "sdl2/pad_watch.h"

#include <SDL_events.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace gravisk::sdl2 {
namespace {

constexpr std::size_t kLongestLine = 256;  // longer lines are malformed anyway

// Reads everything `fd` holds now; false once it has nothing more to give (end of
// file, or the device is gone).
bool drain(int fd) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) continue;
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

}  // namespace

PadWatch::PadWatch(Uint32 wakeEvent, int virtualPadFd, Calls calls)
    : wakeEvent_(wakeEvent), calls_(std::move(calls)), virtualPadFd_(virtualPadFd) {
  pokeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  inotifyFd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  // A pad plugged in shows as a new file; udev then sets who may open it.
  if (inotifyFd_ >= 0 && inotify_add_watch(inotifyFd_, "/dev/input",
                                           IN_CREATE | IN_ATTRIB | IN_DELETE | IN_MOVED_TO) < 0) {
    close(inotifyFd_);
    inotifyFd_ = -1;
  }
  thread_ = std::thread([this] { run(); });
}

PadWatch::~PadWatch() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  poke();
  thread_.join();
  for (const int fd : deviceFds_) close(fd);
  if (virtualPadFd_ >= 0) close(virtualPadFd_);
  if (inotifyFd_ >= 0) close(inotifyFd_);
  if (pokeFd_ >= 0) close(pokeFd_);
}

void PadWatch::poke() {
  const std::uint64_t one = 1;
  if (pokeFd_ >= 0) (void)!write(pokeFd_, &one, sizeof one);
}

void PadWatch::watchDevice(const std::string& path) {
  {
    std::lock_guard lock(devicesMutex_);
    newDevices_.push_back(path);
  }
  poke();
}

void PadWatch::beginRead() {
  std::lock_guard lock(mutex_);
  wakePosted_ = false;
  ++readsBegun_;
}

void PadWatch::endRead() {
  {
    std::lock_guard lock(mutex_);
    readsDone_ = readsBegun_;
  }
  changed_.notify_all();
}

void PadWatch::boxOpened(int boxConnectionFd) {
  {
    std::lock_guard lock(mutex_);
    boxOpen_ = true;
    boxNew_ = true;
    boxFd_ = boxConnectionFd;
  }
  changed_.notify_all();
  poke();
}

void PadWatch::boxClosed() {
  std::unique_lock lock(mutex_);
  boxOpen_ = false;
  boxNew_ = false;
  boxFd_ = -1;
  poke();
  // The caller closes the connection next: this thread must not be polling it.
  changed_.wait(lock, [this] { return !pollingBoxFd_; });
}

// Something on a pad changed: the game's thread is asked to read the pads, or,
// with the box open, this one reads them. A line of the virtual pad waits until
// a read that began after it is over, so that a press and its release on the
// next line are both seen.
void PadWatch::wake(bool waitForRead) {
  std::unique_lock lock(mutex_);
  if (stop_) return;
  if (boxOpen_) {
    calls_.readPadsInBox();
    return;
  }
  const std::uint64_t target = readsBegun_ + 1;
  if (!wakePosted_) {
    SDL_Event event{};
    event.type = wakeEvent_;
    wakePosted_ = SDL_PushEvent(&event) == 1;
  }
  if (!waitForRead) return;
  changed_.wait(lock, [&] { return readsDone_ >= target || boxOpen_ || stop_; });
  if (boxOpen_ && !stop_) calls_.readPadsInBox();
}

void PadWatch::takeLines(const char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const char c = bytes[i];
    if (c != '\n') {
      if (line_.size() >= kLongestLine) skippingLine_ = true;
      if (!skippingLine_) line_.push_back(c);
      continue;
    }
    if (!skippingLine_) {
      if (const std::optional<PadLine> line = parsePadLine(line_)) {
        calls_.setVirtualPad(*line);
        wake(true);
      }
    }
    line_.clear();
    skippingLine_ = false;
  }
}

void PadWatch::readVirtualPad() {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(virtualPadFd_, buffer, sizeof buffer);
    if (got > 0) {
      takeLines(buffer, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    // The end of a file (a FIFO, held open for writing too, has none): its last
    // line counts without a newline, and then there is nothing more to read.
    takeLines("\n", 1);
    close(virtualPadFd_);
    virtualPadFd_ = -1;
    return;
  }
}

void PadWatch::run() {
  for (;;) {
    {
      std::lock_guard lock(devicesMutex_);
      for (const std::string& path : newDevices_) {
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) deviceFds_.push_back(fd);
      }
      newDevices_.clear();
    }
    std::vector<pollfd> fds;
    fds.push_back({pokeFd_, POLLIN, 0});
    fds.push_back({inotifyFd_, POLLIN, 0});
    fds.push_back({virtualPadFd_, POLLIN, 0});
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      fds.push_back({boxFd_, POLLIN, 0});
      pollingBoxFd_ = boxFd_ >= 0;
    }
    for (const int fd : deviceFds_) fds.push_back({fd, POLLIN, 0});

    const int ready = poll(fds.data(), fds.size(), -1);
    bool boxFdReady = false;
    bool readBox = false;
    {
      std::lock_guard lock(mutex_);
      pollingBoxFd_ = false;
      boxFdReady = ready > 0 && boxOpen_ && fds[3].fd == boxFd_ && fds[3].revents != 0;
      readBox = boxOpen_ && boxNew_;
      boxNew_ = false;
    }
    changed_.notify_all();
    if (ready < 0) continue;  // a signal

    if (fds[0].revents) drain(pokeFd_);
    if (readBox) wake(false);
    if (boxFdReady) {
      std::lock_guard lock(mutex_);
      if (boxOpen_) calls_.boxConnectionEvents();
    }
    bool changed = false;
    if (fds[1].revents) {
      drain(inotifyFd_);
      changed = true;
    }
    std::vector<int> gone;
    for (std::size_t i = 4; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      changed = true;
      if ((fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) || !drain(fds[i].fd)) {
        gone.push_back(fds[i].fd);
      }
    }
    for (const int fd : gone) {
      close(fd);
      deviceFds_.erase(std::find(deviceFds_.begin(), deviceFds_.end(), fd));
    }
    if (changed) wake(false);
    if (fds[2].revents) readVirtualPad();
  }
}

}  // namespace gravisk::sdl2
