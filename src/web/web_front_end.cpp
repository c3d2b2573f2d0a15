// The browser front end's window, pixels, boxes and run-time error reports. The
// page itself (the window's frame, the canvas, the dialog) lives in shell.html as
// the object graviskPage; the calls below are its half of the conversation.
#include "web/web_front_end.h"

#include <emscripten/emscripten.h>

#include <exception>
#include <utility>

#include "base/runtime_error.h"
#include "game/window_definition.h"
#include "render/bitmap.h"
#include "render/embedded_assets.h"

namespace gravisk::web {
namespace {

// clang-format off
EM_JS(void, pageShowWindow, (), { graviskPage.showWindow(); });
EM_JS(void, pageRemoveWindow, (), { graviskPage.removeWindow(); });
EM_JS(void, pagePaint, (const std::uint8_t* rgba, int x, int y, int w, int h), {
  graviskPage.paint(HEAPU8, rgba, x, y, w, h);
});
EM_JS(void, pageShowBox, (const char* text, const char* title), {
  graviskPage.showBox(UTF8ToString(text), UTF8ToString(title));
});
EM_JS(void, pageReportError, (const char* line), { console.error(UTF8ToString(line)); });
EM_JS(void, pageGameEnded, (), { graviskPage.gameEnded(); });
EM_JS(void, pageSetIcon, (const std::uint8_t* rgba, int w, int h), {
  graviskPage.setIcon(HEAPU8, rgba, w, h);
});
EM_JS(void, pageSay, (const char* sentence), { graviskPage.say(UTF8ToString(sentence)); });
EM_JS(void, pageNameGame, (const char* name), { graviskPage.nameGame(UTF8ToString(name)); });
EM_JS(void, pageNameCells, (const char* names), { graviskPage.nameCells(UTF8ToString(names)); });
// clang-format on

// The 16 × 16 image of the program icon for the title bar and the page's icon,
// as canvas bytes; empty when it cannot be read (the window goes without).
std::vector<std::uint8_t> iconBytes() {
  try {
    const IconImage icon = decodeIcon(embeddedAsset("gravisk.ico"), 16, 4);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(icon.argb.size() * 4);
    for (std::uint32_t p : icon.argb) {
      bytes.insert(bytes.end(),
                   {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                    static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
    }
    return bytes;
  } catch (const std::exception& e) {
    pageReportError((std::string("gravisk: no window icon: ") + e.what()).c_str());
    return {};
  }
}

}  // namespace

WebFrontEnd::WebFrontEnd(StartHooks startHooks)
    : hooks(std::move(startHooks)), rgba(Frame::kWidth * Frame::kHeight * 4, 0xFF) {
  const std::vector<std::uint8_t> icon = iconBytes();
  if (!icon.empty()) pageSetIcon(icon.data(), 16, 16);
}

void WebFrontEnd::start() {
  reportingFailures([&] {
    if (hooks.beforeShow) hooks.beforeShow(form);
    form.show();
    if (hooks.afterShow) hooks.afterShow(form);
    if (form.loaded() && boxes.empty()) narrate(levelSentence(viewOf(form)));
  });
}

void WebFrontEnd::key(int keyCode, int shift) {
  // While a box is up the keys belong to it; after the end, to nobody.
  if (ended || !boxes.empty()) return;
  reportingFailures([&] {
    if (!form.loaded()) return;
    const BoardView before = viewOf(form);
    form.Form_KeyDown(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
    // A win's box speaks for itself; the next level is announced when it closes.
    if (!boxes.empty() || !form.loaded()) return;
    for (const PixelRect& rect : renderer.update(form.board(), frame)) paint(rect);
    narrate(gravisk::narrate(before, static_cast<std::int16_t>(keyCode), viewOf(form)));
  });
}

void WebFrontEnd::boxClosed() {
  if (boxes.empty()) return;
  const bool endsGame = boxes.front().endsGame;
  boxes.pop_front();
  if (endsGame) {
    ended = true;
    boxes.clear();
    if (windowOnPage) pageRemoveWindow();
    windowOnPage = false;
    pageGameEnded();
    return;
  }
  if (!boxes.empty()) {
    showTopBox();
    return;
  }
  pads.boxClosed();
  if (windowHeld) {
    windowHeld = false;
    if (windowOnPage) pageRemoveWindow();
    showHeldWindow();
    reportingFailures([&] { narrate(levelSentence(viewOf(form))); });
  }
}

void WebFrontEnd::close() {
  if (ended) return;
  ended = true;
  boxes.clear();
  form.unload();
  pageGameEnded();
}

void WebFrontEnd::messageBox(std::string_view text, std::string_view title) {
  boxes.push_back({std::string(text), std::string(title), false});
  if (boxes.size() == 1) showTopBox();
}

void WebFrontEnd::windowUnloaded() {
  // Under a box the old window stays in sight until OK; the new one replaces it then.
  if (!boxes.empty()) return;
  if (windowOnPage) pageRemoveWindow();
  windowOnPage = false;
}

void WebFrontEnd::windowShown() {
  renderer.update(form.board(), frame);  // a new board is drawn whole
  if (!boxes.empty()) {
    windowHeld = true;
    return;
  }
  showHeldWindow();
}

template <typename Work>
void WebFrontEnd::reportingFailures(Work work) {
  try {
    work();
  } catch (const RuntimeError& e) {
    fail(e.report());
  } catch (const std::exception& e) {
    fail(e.what());
  }
}

void WebFrontEnd::fail(const std::string& line) {
  pageReportError(("gravisk: " + line).c_str());
  boxes.push_back({line, std::string(kAppTitle), true});
  if (boxes.size() == 1) showTopBox();
}

void WebFrontEnd::showTopBox() {
  pads.boxOpened();
  armPadRepeat();
  pageShowBox(boxes.front().text.c_str(), boxes.front().title.c_str());
}

void WebFrontEnd::paint(PixelRect rect) {
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    for (int x = rect.x; x < rect.x + rect.w; ++x) {
      const std::uint32_t p = frame.at(x, y);
      std::uint8_t* to = &rgba[(static_cast<std::size_t>(y) * Frame::kWidth + x) * 4];
      to[0] = static_cast<std::uint8_t>(p >> 16);
      to[1] = static_cast<std::uint8_t>(p >> 8);
      to[2] = static_cast<std::uint8_t>(p);
    }
  }
  pagePaint(rgba.data(), rect.x, rect.y, rect.w, rect.h);
}

void WebFrontEnd::showHeldWindow() {
  // Named before it is on the page, the new board reaches a screen reader as one change.
  nameBoard();
  pageShowWindow();
  windowOnPage = true;
  paint({0, 0, Frame::kWidth, Frame::kHeight});
}

void WebFrontEnd::narrate(const std::string& sentence) {
  nameBoard();
  if (!sentence.empty()) pageSay(sentence.c_str());
}

void WebFrontEnd::nameBoard() {
  const BoardView now = viewOf(form);
  if (!named || named->level != now.level || named->levels != now.levels) {
    pageNameGame(gameName(now).c_str());
  }
  if (!named || *named != now) {
    // All 128 names in one call; the page renames the cells whose name changed.
    std::string names;
    for (int i = 0; i < kCells; ++i) (names += i ? " " : "") += cellName(now, i);
    pageNameCells(names.c_str());
  }
  named = now;
}

}  // namespace gravisk::web

// The page's calls into the game; `game` is what gravisk_start returned.
extern "C" {
EMSCRIPTEN_KEEPALIVE void gravisk_key(gravisk::web::WebFrontEnd* game, int keyCode, int shift) {
  game->key(keyCode, shift);
}
EMSCRIPTEN_KEEPALIVE void gravisk_box_closed(gravisk::web::WebFrontEnd* game) {
  game->boxClosed();
}
EMSCRIPTEN_KEEPALIVE void gravisk_close(gravisk::web::WebFrontEnd* game) {
  game->close();
}
}
