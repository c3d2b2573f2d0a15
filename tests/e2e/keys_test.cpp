// The SDL key to virtual-key mapping of the Linux front end, on the layouts
// players use: US, French, Dvorak, Russian; with Shift, Caps Lock and the rest.
// Also SDL's controller buttons and axes as the game's, and the virtual pad's lines.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/pad.h"
#include "sdl2/keys.h"
#include "sdl2/pad_input.h"

namespace {

using gravisk::sdl2::shiftState;
using gravisk::sdl2::virtualKey;

SDL_Keysym key(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  return SDL_Keysym{scancode, sym, mod, 0};
}

TEST(SdlKeys, GameKeysOnAUsKeyboard) {
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_LEFT, SDLK_LEFT)), 37);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_UP, SDLK_UP)), 38);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_RIGHT, SDLK_RIGHT)), 39);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_DOWN, SDLK_DOWN)), 40);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, SDLK_r)), 82);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_F1, SDLK_F1)), 112);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_F2, SDLK_F2)), 113);
}

TEST(SdlKeys, OtherKeysGetTheirWindowsCodes) {
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_A, SDLK_a)), 'A');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_Z, SDLK_z)), 'Z');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_0, SDLK_0)), '0');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_9, SDLK_9)), '9');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_F3, SDLK_F3)), 114);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_F12, SDLK_F12)), 123);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)), 27);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_SPACE, SDLK_SPACE)), 32);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_RETURN, SDLK_RETURN)), 13);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER)), 13);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT)), 16);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_RCTRL, SDLK_RCTRL)), 17);
}

TEST(SdlKeys, TheKeypadFollowsNumLockAsOnWindows) {
  // Digit keys from 0 to 9, then the decimal point.
  const SDL_Scancode keypad[] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1,     SDL_SCANCODE_KP_2,
                                 SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4,     SDL_SCANCODE_KP_5,
                                 SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,     SDL_SCANCODE_KP_8,
                                 SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_PERIOD};
  const SDL_Keycode syms[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,     SDLK_KP_5,
                              SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9, SDLK_KP_PERIOD};
  // Num Lock on: VK_NUMPAD0 to VK_NUMPAD9, VK_DECIMAL.
  const int on[] = {96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 110};
  // Num Lock off: Insert, End, Down, Page Down, Left, Clear, Right, Home, Up,
  // Page Up, Delete.
  const int off[] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33, 46};
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(virtualKey(key(keypad[i], syms[i], KMOD_NUM)), on[i]);
    EXPECT_EQ(virtualKey(key(keypad[i], syms[i], KMOD_NUM | KMOD_CAPS)), on[i]);
    EXPECT_EQ(virtualKey(key(keypad[i], syms[i])), off[i]);
    // Shift with Num Lock on gives the printed keys, as on Windows.
    EXPECT_EQ(virtualKey(key(keypad[i], syms[i], KMOD_NUM | KMOD_RSHIFT)), off[i]);
  }
  // A layout with a decimal comma on the keypad.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_KP_PERIOD, SDLK_KP_COMMA, KMOD_NUM)), 110);
}

TEST(SdlKeys, KeysWithoutAnObviousCodeAreDropped) {
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_MINUS, SDLK_MINUS)), 0);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE)), 0);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY)), 0);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN)), 0);
  // German ü sits where US keyboards have '[': no letter of the game's.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_LEFTBRACKET, 0xFC)), 0);
}

TEST(SdlKeys, LettersFollowTheLabelOnLatinLayouts) {
  // French AZERTY: A and Q swap places, M sits right of L.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_Q, SDLK_a)), 'A');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_A, SDLK_q)), 'Q');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_SEMICOLON, SDLK_m)), 'M');
  // Dvorak: R is where US keyboards have O; the US R place types P; the US Q
  // place types a quote, which stays a quote rather than turning into Q.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_O, SDLK_r)), 82);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, SDLK_p)), 'P');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_Q, SDLK_QUOTE)), 0);
}

TEST(SdlKeys, LettersFollowThePlaceOnOtherScripts) {
  // Russian: the R key types к, the F key а; Greek: the R key types ρ.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, 0x043A)), 82);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_F, 0x0430)), 'F');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, 0x03C1)), 82);
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, SDLK_UNKNOWN)), 82);
  // French top row: the keys type & é " ... unshifted and still are digits.
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_1, SDLK_AMPERSAND)), '1');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_2, 0xE9)), '2');
  EXPECT_EQ(virtualKey(key(SDL_SCANCODE_0, 0xE0)), '0');
}

TEST(SdlKeys, ModifiersNeverChangeTheKey) {
  const int mods[] = {KMOD_NONE,  KMOD_LSHIFT, KMOD_CAPS, KMOD_LSHIFT | KMOD_CAPS,
                      KMOD_RCTRL, KMOD_LALT,   KMOD_NUM,  KMOD_MODE};
  for (int mod : mods) {
    EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, SDLK_r, static_cast<Uint16>(mod))), 82)
        << "mod " << mod;
    EXPECT_EQ(virtualKey(key(SDL_SCANCODE_R, 0x043A, static_cast<Uint16>(mod))), 82)
        << "mod " << mod;
    EXPECT_EQ(virtualKey(key(SDL_SCANCODE_LEFT, SDLK_LEFT, static_cast<Uint16>(mod))), 37)
        << "mod " << mod;
  }
}

TEST(SdlKeys, ShiftStateIsShiftCtrlAlt) {
  EXPECT_EQ(shiftState(KMOD_NONE), 0);
  EXPECT_EQ(shiftState(KMOD_LSHIFT), 1);
  EXPECT_EQ(shiftState(KMOD_RSHIFT), 1);
  EXPECT_EQ(shiftState(KMOD_LCTRL), 2);
  EXPECT_EQ(shiftState(KMOD_RALT), 4);
  EXPECT_EQ(shiftState(KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT), 7);
  // Locks and the GUI key are no part of it.
  EXPECT_EQ(shiftState(KMOD_CAPS | KMOD_NUM | KMOD_LGUI | KMOD_MODE), 0);
}

// What each of SDL's controller buttons sends once it has gone through the core,
// by the controller table: the D-pad the arrows, Y and Back R, the right shoulder
// F1, the left one F2; A and Start only close the box; the rest nothing.
std::int16_t keyOfSdlButton(int sdlButton) {
  const std::optional<gravisk::PadButton> button = gravisk::sdl2::padButton(sdlButton);
  if (!button) return 0;
  gravisk::PadKeys keys;
  return keys.button(0, *button, true, 0).key;
}

bool closesTheBox(int sdlButton) {
  const std::optional<gravisk::PadButton> button = gravisk::sdl2::padButton(sdlButton);
  if (!button) return false;
  gravisk::PadKeys keys;
  keys.boxOpened();
  return keys.button(0, *button, true, 0).closeBox;
}

TEST(SdlPads, ButtonsSendTheTablesKeys) {
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT), 37);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_DPAD_UP), 38);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 39);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), 40);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_Y), 82);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_BACK), 82);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), 112);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), 113);
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    const bool closes = button == SDL_CONTROLLER_BUTTON_A || button == SDL_CONTROLLER_BUTTON_START;
    EXPECT_EQ(closesTheBox(button), closes)
        << SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
  }
  for (const int button :
       {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
        SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_LEFTSTICK,
        SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_MISC1,
        SDL_CONTROLLER_BUTTON_PADDLE1, SDL_CONTROLLER_BUTTON_TOUCHPAD}) {
    EXPECT_EQ(keyOfSdlButton(button), 0) << button;
  }
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_INVALID), 0);
  EXPECT_EQ(keyOfSdlButton(SDL_CONTROLLER_BUTTON_MAX), 0);
}

TEST(SdlPads, OnlyTheLeftStickMoves) {
  EXPECT_EQ(gravisk::sdl2::padAxis(SDL_CONTROLLER_AXIS_LEFTX), gravisk::PadAxis::LeftX);
  EXPECT_EQ(gravisk::sdl2::padAxis(SDL_CONTROLLER_AXIS_LEFTY), gravisk::PadAxis::LeftY);
  for (const int axis :
       {SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT,
        SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_CONTROLLER_AXIS_INVALID, SDL_CONTROLLER_AXIS_MAX}) {
    EXPECT_FALSE(gravisk::sdl2::padAxis(axis)) << axis;
  }
}

using gravisk::sdl2::PadLine;
using gravisk::sdl2::parsePadLine;

TEST(SdlPads, VirtualPadLines) {
  using Kind = PadLine::Kind;
  EXPECT_EQ(parsePadLine("press a"), (PadLine{Kind::Press, SDL_CONTROLLER_BUTTON_A, 0}));
  EXPECT_EQ(parsePadLine("release dpright"),
            (PadLine{Kind::Release, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0}));
  EXPECT_EQ(parsePadLine("  press\tleftshoulder \r"),
            (PadLine{Kind::Press, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0}));
  EXPECT_EQ(parsePadLine("axis leftx -32768"),
            (PadLine{Kind::Axis, SDL_CONTROLLER_AXIS_LEFTX, -32768}));
  EXPECT_EQ(parsePadLine("axis lefty 32767"),
            (PadLine{Kind::Axis, SDL_CONTROLLER_AXIS_LEFTY, 32767}));
  EXPECT_EQ(parsePadLine("axis lefty 0"), (PadLine{Kind::Axis, SDL_CONTROLLER_AXIS_LEFTY, 0}));
  for (const char* name : {"a", "b", "x", "y", "back", "start", "leftshoulder", "rightshoulder",
                           "dpup", "dpdown", "dpleft", "dpright"}) {
    const std::optional<PadLine> line = parsePadLine(std::string("press ") + name);
    ASSERT_TRUE(line) << name;
    EXPECT_STREQ(
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(line->control)),
        name);
  }
}

TEST(SdlPads, MalformedLinesAreNothing) {
  const std::string withNul("press a\0b", 9);
  const std::string lines[] = {"",
                               " ",
                               "press",
                               "press a b",
                               "press nosuch",
                               "push a",
                               "PRESS a",
                               "press A",
                               "release",
                               "axis leftx",
                               "axis leftx 32768",
                               "axis leftx -32769",
                               "axis leftx 1e3",
                               "axis leftx 12abc",
                               "axis leftx +5",
                               "axis leftx 0x10",
                               "axis a 100",
                               "press leftx",
                               "axis leftx 1 2",
                               "axis leftx 99999999999999999999",
                               "a press",
                               withNul,
                               std::string(300, 'a'),
                               "press \xff\xfe"};
  for (const std::string& line : lines) {
    EXPECT_FALSE(parsePadLine(line)) << "'" << line << "'";
  }
  // Any bytes at all: never a crash, and whatever is taken is a real control.
  std::mt19937 random(22);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::string words[] = {"press ", "release ", "axis ", "a", "leftx ", "-", "3", " "};
  for (int i = 0; i < 20000; ++i) {
    std::string line;
    const int length = byte(random) % 24;
    for (int j = 0; j < length; ++j) {
      if (byte(random) < 128) {
        line += words[byte(random) % 8];
      } else {
        line += static_cast<char>(byte(random));
      }
    }
    if (const std::optional<PadLine> taken = parsePadLine(line)) {
      if (taken->kind == PadLine::Kind::Axis) {
        EXPECT_TRUE(taken->control >= 0 && taken->control < SDL_CONTROLLER_AXIS_MAX) << line;
        EXPECT_TRUE(taken->value >= -32768 && taken->value <= 32767) << line;
      } else {
        EXPECT_TRUE(taken->control >= 0 && taken->control < SDL_CONTROLLER_BUTTON_MAX) << line;
      }
    }
  }
}

}  // namespace
