// SDL's controller buttons and axes turned into the game's, and the virtual pad's
// lines read word by word; names are SDL's own (SDL_GameControllerGetButtonFromString).
#include "sdl2/pad_input.h"

#include <charconv>
#include <string>
#include <vector>

namespace gravisk::sdl2 {
namespace {

// The words of a line, split at spaces and tabs.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> result;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find_first_of(" \t\r", start);
    if (end == std::string_view::npos) end = line.size();
    result.push_back(line.substr(start, end - start));
    at = end;
  }
  return result;
}

// A name is plain lower-case letters and digits, as all of SDL's are; anything
// else (a NUL byte above all, which would cut the C string short) is no name.
bool plainName(std::string_view name) {
  if (name.empty() || name.size() > 32) return false;
  for (const char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

std::optional<PadButton> padButton(int sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return PadButton::RightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::DpadRight;
    default:
      return std::nullopt;
  }
}

std::optional<PadAxis> padAxis(int sdlAxis) {
  if (sdlAxis == SDL_CONTROLLER_AXIS_LEFTX) return PadAxis::LeftX;
  if (sdlAxis == SDL_CONTROLLER_AXIS_LEFTY) return PadAxis::LeftY;
  return std::nullopt;
}

std::optional<PadLine> parsePadLine(std::string_view line) {
  const std::vector<std::string_view> w = words(line);
  if (w.size() < 2 || !plainName(w[1])) return std::nullopt;
  const std::string name(w[1]);
  if ((w[0] == "press" || w[0] == "release") && w.size() == 2) {
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) return std::nullopt;
    return PadLine{w[0] == "press" ? PadLine::Kind::Press : PadLine::Kind::Release, button, 0};
  }
  if (w[0] == "axis" && w.size() == 3) {
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
    if (axis == SDL_CONTROLLER_AXIS_INVALID) return std::nullopt;
    int value = 0;
    const char* end = w[2].data() + w[2].size();
    const auto [stop, error] = std::from_chars(w[2].data(), end, value);
    if (error != std::errc() || stop != end || value < -32768 || value > 32767) {
      return std::nullopt;
    }
    return PadLine{PadLine::Kind::Axis, axis, value};
  }
  return std::nullopt;
}

}  // namespace gravisk::sdl2
