// The SDL keysym to virtual-key table. Letters and digits come from the key's
// symbol when the layout gives a Latin letter or a digit there, else from the
// physical key, so R restarts on a Cyrillic or Greek layout as well.
#include "sdl2/keys.h"

namespace gravisk::sdl2 {
namespace {

struct KeyPair {
  SDL_Keycode sym;
  std::int16_t vk;
};

// Keys whose symbol names them whatever the layout.
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9},           {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},    {SDLK_LSHIFT, 16},       {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},       {SDLK_RCTRL, 17},        {SDLK_LALT, 18},
    {SDLK_RALT, 18},        {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},      {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},    {SDLK_END, 35},          {SDLK_HOME, 36},
    {SDLK_LEFT, 37},        {SDLK_UP, 38},           {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},        {SDLK_PRINTSCREEN, 44},  {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},      {SDLK_LGUI, 91},         {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93}, {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},   {SDLK_KP_DIVIDE, 111},   {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
};

// The keypad's digit keys and its decimal point, from 0 to 9 and then the point,
// with what Windows calls them: with Num Lock on the digit codes (and the decimal
// point), with it off the codes of the keys printed beneath the digits (Insert,
// End, Down, Page Down, Left, Clear, Right, Home, Up, Page Up, Delete).
struct KeypadKey {
  SDL_Scancode scancode;
  std::int16_t numLockOn;
  std::int16_t numLockOff;
};

constexpr KeypadKey kKeypad[] = {
    {SDL_SCANCODE_KP_0, 96, 45},  {SDL_SCANCODE_KP_1, 97, 35},       {SDL_SCANCODE_KP_2, 98, 40},
    {SDL_SCANCODE_KP_3, 99, 34},  {SDL_SCANCODE_KP_4, 100, 37},      {SDL_SCANCODE_KP_5, 101, 12},
    {SDL_SCANCODE_KP_6, 102, 39}, {SDL_SCANCODE_KP_7, 103, 36},      {SDL_SCANCODE_KP_8, 104, 38},
    {SDL_SCANCODE_KP_9, 105, 33}, {SDL_SCANCODE_KP_PERIOD, 110, 46},
};

bool isLatinLetter(SDL_Keycode sym) {
  return sym >= SDLK_a && sym <= SDLK_z;
}
bool isDigit(SDL_Keycode sym) {
  return sym >= SDLK_0 && sym <= SDLK_9;
}

// The letter or digit printed on the key at this place of a US keyboard, for a
// key whose symbol is no Latin letter or digit. A letter key counts only when it
// types a letter of another script (or nothing SDL can name): a layout that puts
// punctuation there (Dvorak's quote on the Q key) means that punctuation. The top
// row always counts, as on Windows, whatever symbols it types unshifted.
std::int16_t physicalLetterOrDigit(SDL_Scancode scancode, SDL_Keycode sym) {
  const bool otherScript = sym == SDLK_UNKNOWN || (sym >= 0x80 && !(sym & SDLK_SCANCODE_MASK));
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && otherScript) {
    return static_cast<std::int16_t>('A' + (scancode - SDL_SCANCODE_A));
  }
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return static_cast<std::int16_t>('1' + (scancode - SDL_SCANCODE_1));
  }
  if (scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

}  // namespace

std::int16_t virtualKey(const SDL_Keysym& keysym) {
  // The keypad is known by its place: layouts differ only in the decimal point
  // (a comma on many), which Windows calls the same either way.
  for (const KeypadKey& key : kKeypad) {
    if (key.scancode == keysym.scancode) {
      // Shift turns a Num Lock keypad back into arrows while it is held.
      const bool digits = (keysym.mod & KMOD_NUM) && !(keysym.mod & KMOD_SHIFT);
      return digits ? key.numLockOn : key.numLockOff;
    }
  }
  const SDL_Keycode sym = keysym.sym;
  for (const KeyPair& key : kNamedKeys) {
    if (key.sym == sym) return key.vk;
  }
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return static_cast<std::int16_t>(112 + (sym - SDLK_F1));
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return static_cast<std::int16_t>(124 + (sym - SDLK_F13));
  // SDL reports letters in lower case whatever Shift and Caps Lock say.
  if (isLatinLetter(sym)) return static_cast<std::int16_t>('A' + (sym - SDLK_a));
  if (isDigit(sym)) return static_cast<std::int16_t>(sym);
  // A letter or digit key that types something else in this layout (Cyrillic,
  // Greek, the symbols on the top row of a French keyboard): the game still
  // knows it by its place.
  return physicalLetterOrDigit(keysym.scancode, sym);
}

std::int16_t shiftState(Uint16 mod) {
  std::int16_t state = 0;
  if (mod & KMOD_SHIFT) state |= 1;
  if (mod & KMOD_CTRL) state |= 2;
  if (mod & KMOD_ALT) state |= 4;
  return state;
}

}  // namespace gravisk::sdl2
