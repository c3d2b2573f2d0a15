// The headless front end: starts the game without a window, plays the key
// codes given on the command line through Form_KeyDown, answers every message
// box at once, and writes the client area as a binary PPM; with --say it prints
// what a screen reader is told at the start and after each key. Tests compare the
// real windows with its pictures and the page's words with its sentences.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "base/runtime_error.h"
#include "game/form.h"
#include "game/narration.h"
#include "render/renderer.h"

namespace {

struct HeadlessFrontEnd : gravisk::FrontEnd {
  void messageBox(std::string_view text, std::string_view title) override {
    std::cout << "message \"" << text << "\" \"" << title << "\"\n";
    ++boxes;
  }
  void windowUnloaded() override {}
  void windowShown() override {}
  int boxes = 0;  // shown so far
};

// A key as a decimal virtual-key code or one of the game's key names.
bool parseKey(std::string_view word, std::int16_t& key) {
  static constexpr std::pair<std::string_view, std::int16_t> kNames[] = {
      {"Left", gravisk::kKeyLeft}, {"Up", gravisk::kKeyUp},       {"Right", gravisk::kKeyRight},
      {"Down", gravisk::kKeyDown}, {"R", gravisk::kKeyR},         {"F1", gravisk::kKeyF1},
      {"F2", gravisk::kKeyF2},     {"Space", gravisk::kKeySpace}, {"P", gravisk::kKeyP},
      {"H", gravisk::kKeyH}};
  // The digits as the browser names their keys: Digit1 to Digit8.
  if (word.size() == 6 && word.starts_with("Digit") && word[5] >= '1' && word[5] <= '8') {
    key = static_cast<std::int16_t>(gravisk::kKeyDigit1 + (word[5] - '1'));
    return true;
  }
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
  bool say = false;
  std::vector<std::int16_t> keys;
  std::vector<std::string_view> names;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      outPath = argv[++i];
    } else if (arg == "--say") {
      say = true;
    } else if (std::int16_t key = 0; parseKey(arg, key)) {
      keys.push_back(key);
      names.push_back(arg);
    } else {
      std::cerr << "usage: gravisk_headless [--out picture.ppm] [--say] [key ...]\n"
                   "  key: a virtual-key code, or Left, Up, Right, Down, R, F1, F2,\n"
                   "       Space, P, H, Digit1 to Digit8\n"
                   "  --say: a line \"say KEY: sentence\" for the start and each key; for a\n"
                   "         key that wins, the level announced once the box has closed\n";
      return 2;
    }
  }
  HeadlessFrontEnd frontEnd;
  gravisk::Form1 form(frontEnd);
  try {
    form.show();
    if (say) std::cout << "say start: " << levelSentence(viewOf(form)) << '\n';
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (!say) {
        form.Form_KeyDown(keys[i], 0);
        continue;
      }
      const gravisk::BoardView before = viewOf(form);
      const int boxes = frontEnd.boxes;
      form.Form_KeyDown(keys[i], 0);
      const gravisk::BoardView after = viewOf(form);
      std::cout << "say " << names[i] << ": "
                << (frontEnd.boxes != boxes ? levelSentence(after)
                                            : narrate(before, keys[i], after))
                << '\n';
    }
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
