// The SDL2 front end's game controllers. SDL is told not to poll them; the
// wake-up thread posts an event when one changes and the event loop then reads
// them (SDL_GameControllerUpdate), so an untouched pad costs nothing. Their
// buttons and stick go through the core's PadKeys, as on every platform.
#include "sdl2/pads.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace gravisk::sdl2 {

Pads::~Pads() {
  watch.reset();
  for (SDL_GameController* pad : controllers) SDL_GameControllerClose(pad);
  if (virtualPad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(virtualPad);
    SDL_JoystickClose(virtualPad);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
  }
  if (wakeEvent != 0) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Pads::start() {
  // Left to itself SDL reads every pad about 870 times a second once one is
  // there, and looks for new ones every 3 s: the event loop reads them only when
  // the wake-up thread says that something changed.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  // Pads are read through their evdev files, which speak only when something
  // changes; SDL's HIDAPI drivers read raw reports, which many pads send all the
  // time, stick at rest or not.
  SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
  // SDL then finds new pads by watching /dev/input itself, as the wake-up thread
  // does, rather than from udev's messages, which nothing would wake the game for.
  setenv("SDL_JOYSTICK_DISABLE_UDEV", "1", 0);
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::cerr << "gravisk: no game controllers: " << SDL_GetError() << '\n';
    return;
  }
  const Uint32 type = SDL_RegisterEvents(1);
  if (type == static_cast<Uint32>(-1)) {
    std::cerr << "gravisk: no game controllers: " << SDL_GetError() << '\n';
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    return;
  }
  wakeEvent = type;
  const int virtualPadFd = openVirtualPad();
  watch = std::make_unique<PadWatch>(
      wakeEvent, virtualPadFd,
      PadWatch::Calls{[this](const PadLine& line) { setVirtualPad(line); },
                      [this] { readPadsInBox(); },
                      [this] {
                        if (closer) closer->events();
                      }});
}

int Pads::openVirtualPad() {
  const char* path = std::getenv("GRAVISK_VIRTUAL_PAD");
  if (!path || !*path) return -1;
  // A FIFO is held open for writing too: a writer that comes and goes is then no
  // end of it, and opening it does not wait for one.
  struct stat info {};
  const bool fifo = stat(path, &info) == 0 && S_ISFIFO(info.st_mode);
  const int fd = open(path, (fifo ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    std::cerr << "gravisk: GRAVISK_VIRTUAL_PAD: cannot open " << path << ": "
              << std::strerror(errno) << '\n';
    return -1;
  }
  // A game controller with every button and axis of the standard layout; SDL
  // maps button n to SDL_GameControllerButton n and axis n likewise.
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "Gravisk virtual pad";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  virtualPad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (!virtualPad) {
    std::cerr << "gravisk: GRAVISK_VIRTUAL_PAD: no virtual pad: " << SDL_GetError() << '\n';
    close(fd);
    return -1;
  }
  return fd;
}

void Pads::setVirtualPad(const PadLine& line) {
  // SDL takes its joystick lock in these; the change shows at the next read.
  if (line.kind == PadLine::Kind::Axis) {
    SDL_JoystickSetVirtualAxis(virtualPad, line.control, static_cast<Sint16>(line.value));
  } else {
    SDL_JoystickSetVirtualButton(virtualPad, line.control, line.kind == PadLine::Kind::Press);
  }
}

PadAction Pads::act(const SDL_Event& event) {
  const std::uint64_t now = SDL_GetTicks64();
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
      if (!pad) break;
      if (std::find(controllers.begin(), controllers.end(), pad) != controllers.end()) {
        SDL_GameControllerClose(pad);  // open already: SDL counts each open
        break;
      }
      controllers.push_back(pad);
      const char* path = SDL_GameControllerPath(pad);
      if (path && watch) watch->watchDevice(path);
      break;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      padKeys.padRemoved(event.cdevice.which);
      const auto gone = std::find_if(controllers.begin(), controllers.end(), [&](auto* pad) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == event.cdevice.which;
      });
      if (gone != controllers.end()) {
        SDL_GameControllerClose(*gone);
        controllers.erase(gone);
      }
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (const std::optional<PadButton> button = padButton(event.cbutton.button)) {
        return padKeys.button(event.cbutton.which, *button, event.type == SDL_CONTROLLERBUTTONDOWN,
                              now);
      }
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (const std::optional<PadAxis> axis = padAxis(event.caxis.axis)) {
        return padKeys.axis(event.caxis.which, *axis, event.caxis.value, now);
      }
      break;
    default:
      break;
  }
  return {};
}

bool Pads::handle(const SDL_Event& event, std::vector<std::int16_t>& keys) {
  if (wakeEvent != 0 && event.type == wakeEvent) {
    watch->beginRead();
    SDL_GameControllerUpdate();
    watch->endRead();
    return true;
  }
  if (event.type < SDL_CONTROLLERAXISMOTION || event.type > SDL_CONTROLLERDEVICEREMOVED) {
    return false;
  }
  const PadAction action = act(event);
  if (action.key != 0) keys.push_back(action.key);
  return true;
}

// On the wake-up thread, while the game's thread waits in the box: the pads'
// events are taken here, so none of them reaches the game after the box.
void Pads::readPadsInBox() {
  SDL_GameControllerUpdate();
  SDL_Event events[16];
  int count = 0;
  while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                                 SDL_CONTROLLERDEVICEREMOVED)) > 0) {
    for (int i = 0; i < count; ++i) {
      if (act(events[i]).closeBox && closer) closer->close();
    }
  }
}

bool Pads::closesBox(const SDL_Event& event) {
  if (wakeEvent != 0 && event.type == wakeEvent) {
    std::vector<std::int16_t> keys;  // none while the box is open
    handle(event, keys);             // the pads' changes come as the next events
    return false;
  }
  if (event.type < SDL_CONTROLLERAXISMOTION || event.type > SDL_CONTROLLERDEVICEREMOVED) {
    return false;
  }
  return act(event).closeBox;
}

void Pads::boxOpened(std::string_view title) {
  padKeys.boxOpened();
  if (!watch) return;
  closer = std::make_unique<BoxCloser>(title);
  watch->boxOpened(closer->fd());
}

void Pads::boxClosed() {
  if (watch) {
    watch->boxClosed();
    closer.reset();
  }
  padKeys.boxClosed();
}

}  // namespace gravisk::sdl2
