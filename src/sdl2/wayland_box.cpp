// The game's own message box on Wayland: its layout, its drawing with SDL's
// renderer and SDL's 8 x 8 test font, and its modal event loop.
#include "sdl2/wayland_box.h"

#include <SDL_events.h>
#include <SDL_hints.h>
#include <SDL_render.h>
#include <SDL_test_font.h>

#include <algorithm>
#include <string>
#include <vector>

namespace gravisk::sdl2 {
namespace {

// The box in logical pixels: the text's lines centred above the button.
constexpr int kMargin = 24;
constexpr int kTop = 20;
constexpr int kGap = 20;
constexpr int kBottom = 12;
constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 24;
constexpr int kLeastWidth = 160;

struct BoxLayout {
  std::vector<std::string> lines;
  int width = 0;
  int height = 0;
  SDL_Rect button{};
};

// Characters of a UTF-8 line: bytes that do not continue one.
int characters(const std::string& line) {
  return static_cast<int>(
      std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

BoxLayout layOut(std::string_view text) {
  BoxLayout box;
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = text.find('\n', from);
    box.lines.emplace_back(text.substr(from, end == std::string_view::npos ? end : end - from));
    if (end == std::string_view::npos) break;
    from = end + 1;
  }
  int widest = 0;
  for (const std::string& line : box.lines) widest = std::max(widest, characters(line));
  const int textHeight = static_cast<int>(box.lines.size()) * FONT_LINE_HEIGHT - 2;
  box.width = std::max(kLeastWidth, widest * FONT_CHARACTER_SIZE + 2 * kMargin);
  box.height = kTop + textHeight + kGap + kButtonHeight + kBottom;
  box.button = {(box.width - kButtonWidth) / 2, box.height - kBottom - kButtonHeight, kButtonWidth,
                kButtonHeight};
  return box;
}

// Draws the box; `pressed`: the OK button held down (Space, or the mouse on it).
void draw(SDL_Renderer* renderer, const BoxLayout& box, bool pressed) {
  // The drawable is n times the window at the output's scale n: every logical
  // pixel an n x n block.
  int width = 0;
  int height = 0;
  SDL_GetRendererOutputSize(renderer, &width, &height);
  const float scale = static_cast<float>(std::max(1, width / box.width));
  SDL_RenderSetScale(renderer, scale, scale);

  SDL_SetRenderDrawColor(renderer, 0xF0, 0xF0, 0xF0, 0xFF);
  SDL_RenderClear(renderer);
  SDL_SetRenderDrawColor(renderer, 0x00, 0x00, 0x00, 0xFF);
  int y = kTop;
  for (const std::string& line : box.lines) {
    const int x = (box.width - characters(line) * FONT_CHARACTER_SIZE) / 2;
    SDLTest_DrawString(renderer, x, y, line.c_str());
    y += FONT_LINE_HEIGHT;
  }
  // OK, the default button: white with a double outline, black while pressed.
  const SDL_Rect& b = box.button;
  const Uint8 face = pressed ? 0x00 : 0xFF;
  SDL_SetRenderDrawColor(renderer, face, face, face, 0xFF);
  SDL_RenderFillRect(renderer, &b);
  SDL_SetRenderDrawColor(renderer, 0x00, 0x00, 0x00, 0xFF);
  SDL_RenderDrawRect(renderer, &b);
  const SDL_Rect inner{b.x + 1, b.y + 1, b.w - 2, b.h - 2};
  SDL_RenderDrawRect(renderer, &inner);
  const Uint8 ink = 0xFF - face;
  SDL_SetRenderDrawColor(renderer, ink, ink, ink, 0xFF);
  SDLTest_DrawString(renderer, b.x + (b.w - 2 * FONT_CHARACTER_SIZE) / 2,
                     b.y + (b.h - FONT_CHARACTER_SIZE) / 2, "OK");
  SDL_RenderPresent(renderer);
}

bool inside(const SDL_Rect& rect, int x, int y) {
  const SDL_Point point{x, y};
  return SDL_PointInRect(&point, &rect);
}

}  // namespace

bool showWaylandBox(SDL_Window* owner, std::string_view text, std::string_view title,
                    const std::function<void()>& redrawOwner,
                    const std::function<bool(const SDL_Event&)>& closes) {
  const BoxLayout box = layOut(text);
  const std::string caption(title);
  SDL_Window* window = SDL_CreateWindow(
      caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, box.width, box.height,
      SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window) return false;
  // The GL ES renderer the game window's surface uses too.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengles2");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) {
    SDL_DestroyWindow(window);
    return false;
  }
  SDL_ShowWindow(window);
  // A window with a parent, and one that cannot be resized, floats above the
  // others; the compositor keeps a child over its parent.
  SDL_SetWindowMinimumSize(window, box.width, box.height);
  SDL_SetWindowMaximumSize(window, box.width, box.height);
  if (owner) SDL_SetWindowModalFor(window, owner);
  bool pressed = false;
  draw(renderer, box, pressed);

  const Uint32 boxId = SDL_GetWindowID(window);
  const Uint32 ownerId = owner ? SDL_GetWindowID(owner) : 0;
  bool open = true;
  SDL_Event event;
  while (open && SDL_WaitEvent(&event)) {
    const bool wasPressed = pressed;
    bool exposed = false;
    switch (event.type) {
      case SDL_WINDOWEVENT:
        if (event.window.windowID == boxId) {
          if (event.window.event == SDL_WINDOWEVENT_CLOSE) open = false;
          if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
              event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            exposed = true;
          }
        } else if (ownerId != 0 && event.window.windowID == ownerId &&
                   event.window.event == SDL_WINDOWEVENT_EXPOSED) {
          redrawOwner();
        }
        break;
      // As on a button that has the focus: Return and Escape act at once, Space
      // presses the button and acts when it comes up.
      case SDL_KEYDOWN:
        if (event.key.windowID != boxId) break;
        switch (event.key.keysym.sym) {
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
          case SDLK_ESCAPE:
            open = false;
            break;
          case SDLK_SPACE:
            pressed = true;
            break;
          default:
            break;
        }
        break;
      case SDL_KEYUP:
        if (event.key.windowID == boxId && event.key.keysym.sym == SDLK_SPACE && pressed) {
          open = false;
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.windowID == boxId && event.button.button == SDL_BUTTON_LEFT) {
          pressed = inside(box.button, event.button.x, event.button.y);
        }
        break;
      case SDL_MOUSEBUTTONUP:
        if (event.button.windowID == boxId && event.button.button == SDL_BUTTON_LEFT) {
          open = !(pressed && inside(box.button, event.button.x, event.button.y));
          pressed = false;
        }
        break;
      default:
        if (closes(event)) open = false;
        break;
    }
    if (open && (exposed || pressed != wasPressed)) draw(renderer, box, pressed);
  }
  // The font's textures belong to this renderer.
  SDLTest_CleanupTextDrawing();
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  return true;
}

}  // namespace gravisk::sdl2
