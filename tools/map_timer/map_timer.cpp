// gravisk_map_timer: starts a program and prints how long it took until its
// first top-level window was mapped on the X server, in milliseconds, with the
// program's process id. The program is left running for further measurement.
// usage: gravisk_map_timer program [args...]   prints "<pid> <ms>"
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gravisk_map_timer program [args...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "gravisk_map_timer: cannot open the display\n");
    return 1;
  }
  // Every window mapped as a child of the root, that is every top-level window
  // when no window manager reparents it, arrives here as a MapNotify.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[1], argv + 1);
    _exit(127);
  }
  for (;;) {
    // Waits for X events, but notices a program that ends without a window.
    while (XPending(display) == 0) {
      if (waitpid(child, nullptr, WNOHANG) == child) {
        std::fprintf(stderr, "gravisk_map_timer: %s ended without a window\n", argv[1]);
        return 1;
      }
      pollfd connection{ConnectionNumber(display), POLLIN, 0};
      poll(&connection, 1, 10);
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify) break;
  }
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  std::printf("%d %.1f\n", static_cast<int>(child), elapsed.count());
  XCloseDisplay(display);
  return 0;
}
