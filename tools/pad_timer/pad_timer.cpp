// gravisk_pad_timer: times D-pad presses on the game's virtual controller until the
// game window shows the move. It writes the press and the release to the pad's
// FIFO and reads the cell right of the hero's start from the X server until it
// changes; the hero walks right and back. Prints the median, least and most in ms.
// usage: gravisk_pad_timer FIFO [PRESSES]   (the game at level 1's start, scale 1,
// started with GRAVISK_VIRTUAL_PAD=FIFO, its window the only one called "Gravisk V2.0")
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The top-level window titled `title`, or 0.
Window findWindow(Display* display, const char* title) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (std::strcmp(name, title) == 0) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

// The pixels of the cell right of level 1's start (25 x 25 at 25, 0).
std::string cell(Display* display, Window window) {
  XImage* image = XGetImage(display, window, 25, 0, 25, 25, AllPlanes, ZPixmap);
  if (!image) return {};
  std::string bytes(image->data, static_cast<std::size_t>(image->bytes_per_line) * image->height);
  XDestroyImage(image);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gravisk_pad_timer FIFO [PRESSES]\n");
    return 2;
  }
  const int presses = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  Display* display = XOpenDisplay(nullptr);
  const Window window = display ? findWindow(display, "Gravisk V2.0") : 0;
  const int pad = open(argv[1], O_WRONLY | O_CLOEXEC);
  if (!window || pad < 0) {
    std::fprintf(stderr, "gravisk_pad_timer: no game window or no pad at %s\n", argv[1]);
    return 1;
  }
  std::vector<double> times;
  std::string before = cell(display, window);
  for (int i = 0; i < presses; ++i) {
    const std::string lines =
        i % 2 == 0 ? "press dpright\nrelease dpright\n" : "press dpleft\nrelease dpleft\n";
    const auto start = std::chrono::steady_clock::now();
    if (write(pad, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) return 1;
    std::string now;
    double ms = 0;
    do {
      now = cell(display, window);
      ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
               .count();
    } while (now == before && ms < 2000);
    if (now == before) {
      std::fprintf(stderr, "gravisk_pad_timer: the window did not change in 2 s\n");
      return 1;
    }
    times.push_back(ms);
    before = now;
  }
  std::sort(times.begin(), times.end());
  std::printf("%.2f %.2f %.2f\n", times[times.size() / 2], times.front(), times.back());
  return 0;
}
