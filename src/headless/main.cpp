// The headless front end: starts the game without a window, plays the key
// codes given on the command line through Form_KeyDown, answers every message
// box at once, and writes the client area as a binary PPM. Tests compare the
// real windows with its pictures.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "base/runtime_error.h"
#include "game/form.h"
#include "render/renderer.h"

namespace {

struct HeadlessFrontEnd : gravisk::FrontEnd {
  void messageBox(std::string_view text, std::string_view title) override {
    std::cout << "message \"" << text << "\" \"" << title << "\"\n";
  }
  void windowUnloaded() override {}
  void windowShown() override {}
};

// A key as a decimal virtual-key code or one of the game's key names.
bool parseKey(std::string_view word, std::int16_t& key) {
  static constexpr std::pair<std::string_view, std::int16_t> kNames[] = {
      {"Left", gravisk::kKeyLeft}, {"Up", gravisk::kKeyUp}, {"Right", gravisk::kKeyRight},
      {"Down", gravisk::kKeyDown}, {"R", gravisk::kKeyR},   {"F1", gravisk::kKeyF1},
      {"F2", gravisk::kKeyF2}};
  for (auto [name, code] : kNames) {
    if (word == name) {
      key = code;
      return true;
    }
  }
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), key);
  return error == std::errc() && end == word.data() + word.size();
}

bool writePpm(const std::string& path, const gravisk::Frame& frame) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << gravisk::Frame::kWidth << ' ' << gravisk::Frame::kHeight << "\n255\n";
  for (std::uint32_t p : frame.pixels) {
    const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                         static_cast<char>(p)};
    out.write(rgb, 3);
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::string outPath;
  std::vector<std::int16_t> keys;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      outPath = argv[++i];
    } else if (std::int16_t key = 0; parseKey(arg, key)) {
      keys.push_back(key);
    } else {
      std::cerr << "usage: gravisk_headless [--out picture.ppm] [key ...]\n"
                   "  key: a virtual-key code, or Left, Up, Right, Down, R, F1, F2\n";
      return 2;
    }
  }
  HeadlessFrontEnd frontEnd;
  gravisk::Form1 form(frontEnd);
  try {
    form.show();
    for (std::int16_t key : keys) form.Form_KeyDown(key, 0);
  } catch (const gravisk::RuntimeError& e) {
    std::cerr << e.report() << '\n';
    return 1;
  }
  const gravisk::Board& board = form.board();
  std::cout << "level " << *form.variables().level << " hero "
            << board.left(board.hero()) / gravisk::kTile << ','
            << board.top(board.hero()) / gravisk::kTile << '\n';
  if (!outPath.empty()) {
    gravisk::Frame frame;
    gravisk::Renderer().render(board, frame);
    if (!writePpm(outPath, frame)) {
      std::cerr << "cannot write " << outPath << '\n';
      return 1;
    }
  }
  return 0;
}
