// The game on Win32: a fixed-size window whose client area is the renderer's
// frame, each pixel an n × n block on a screen of n × 96 dpi, the keys handed to
// Form1 as they come (a game pad's too, through Raw Input), MessageBoxW for the
// game's messages, and a new centred window at every reload. All of it lives in one
// Win32Game, reached from its windows through GWLP_USERDATA.
#include "win32/win32_game.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "game/window_definition.h"
#include "render/renderer.h"
#include "render/scaling.h"
#include "win32/open_box.h"
#include "win32/raw_pads.h"
#include "win32/resource_ids.h"
#include "win32/window_placement.h"

namespace gravisk::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"GraviskWindow";
// A fixed single border with the icon and the close box; no minimise or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = 0;

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Windows 10 (1607) tells each window its monitor's dpi. The game looks the calls up
// when it starts, so that it also runs on older Windows, unscaled there.
constexpr UINT kUsualDpi = 96;
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kWmGetDpiScaledSize = 0x02E4;
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct DpiCalls {
  GetDpiForWindowCall getDpiForWindow = nullptr;
  AdjustWindowRectExForDpiCall adjustWindowRectExForDpi = nullptr;
};

template <typename Call>
Call lookUp(HMODULE module, const char* name) {
  // Through void (*)(): GetProcAddress's FARPROC is another function type.
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

DpiCalls lookUpDpiCalls() {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return {};
  DpiCalls calls{lookUp<GetDpiForWindowCall>(user32, "GetDpiForWindow"),
                 lookUp<AdjustWindowRectExForDpiCall>(user32, "AdjustWindowRectExForDpi")};
  // Half of them is no use: the frame must be measured at the dpi the window has.
  if (!calls.getDpiForWindow || !calls.adjustWindowRectExForDpi) return {};
  return calls;
}

struct Win32Game final : FrontEnd {
  explicit Win32Game(HINSTANCE instance) : instance(instance), dpiCalls(lookUpDpiCalls()) {
    BITMAPINFOHEADER& header = pixelFormat.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biPlanes = 1;
    header.biBitCount = 32;  // 0x00RRGGBB in memory is a 32-bit DIB's blue, green, red
    header.biCompression = BI_RGB;
    setScale(1);
  }

  HINSTANCE instance;
  HWND window = nullptr;   // the game window; none between an unload and a show
  bool reloading = false;  // the window is being destroyed to be built anew
  bool inKeyDown = false;  // Form_KeyDown runs (and may show a message box)
  bool failed = false;     // a run-time error has ended the game
  std::string failure;     // ... and its report
  Renderer renderer;
  Frame frame;  // what the client area shows
  DpiCalls dpiCalls;
  int scale = 1;       // screen pixels per frame pixel, from the window's dpi
  int refitsLeft = 0;  // how often a size the window was given may still be put right
  std::vector<std::uint32_t> screen;  // the frame at that scale, as the client area shows it
  BITMAPINFO pixelFormat{};           // ... and its layout
  Form1 form{*this};
  // A window that is never shown and lives as long as the game: game pads report
  // to it, and it keeps the repeat of a held direction, across reloads.
  HWND padWindow = nullptr;
  RawPads pads;
  bool repeatScheduled = false;  // its timer runs

  void messageBox(std::string_view text, std::string_view title) override {
    // The box's own message loop repaints the window meanwhile: it must show the board
    // as it is now, so bring the frame up to date first.
    presentChanges();
    showBox(widen(text), widen(title), MB_OK);
  }

  // A box with one OK button. A pad's A or Start closes it too, and no pad button
  // reaches the game while it is open (nor does a key: keyDown() drops them).
  void showBox(const std::wstring& text, const std::wstring& title, UINT type) {
    pads.keys().boxOpened();
    scheduleRepeat();
    MessageBoxW(window, text.c_str(), title.c_str(), type | (window ? MB_APPLMODAL : MB_TASKMODAL));
    pads.keys().boxClosed();
  }

  void windowUnloaded() override {
    if (!window) return;
    reloading = true;  // so WM_DESTROY does not end the message loop
    DestroyWindow(window);
    reloading = false;
    window = nullptr;
  }

  void windowShown() override {
    renderer.update(form.board(), frame);  // a new board is drawn whole
    if (!window) createWindow();
    presentAll();
    InvalidateRect(window, nullptr, FALSE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
  }

  // A new window is made hidden at the usual size, centred in the work area, so that
  // it stands on the screen the work area belongs to; then it is asked for its dpi and
  // given the size that dpi asks for, centred again.
  void createWindow() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const ScreenRect area{work.left, work.top, work.right, work.bottom};
    const SIZE usual = outerSize(kUsualDpi);
    const ScreenPoint first = centredOrigin(area, usual.cx, usual.cy);
    window =
        CreateWindowExW(kWindowExStyle, kWindowClass, widen(kWindowTitle).c_str(), kWindowStyle,
                        first.x, first.y, usual.cx, usual.cy, nullptr, nullptr, instance, this);
    if (!window) throw std::runtime_error("cannot create the game window");
    const UINT dpi = windowDpi();
    setScale(scaleForDpi(dpi));
    // At 120 dpi the scale stays 1 but the frame is wider than at 96.
    const SIZE size = outerSize(dpi);
    if (size.cx == usual.cx && size.cy == usual.cy) return;
    const ScreenPoint origin = centredOrigin(area, size.cx, size.cy);
    refitsLeft = kRefits;  // WM_SIZE puts the client area right (sized())
    SetWindowPos(window, nullptr, origin.x, origin.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  UINT windowDpi() const {
    return dpiCalls.getDpiForWindow && window ? dpiCalls.getDpiForWindow(window) : kUsualDpi;
  }

  // The window's size with its frame and caption for a client area at the scale
  // `dpi` gives, the frame measured at that dpi.
  SIZE outerSize(UINT dpi) const {
    const int n = dpiCalls.getDpiForWindow ? scaleForDpi(dpi) : 1;
    RECT bounds{0, 0, kClientWidth * n, kClientHeight * n};
    if (dpiCalls.adjustWindowRectExForDpi) {
      dpiCalls.adjustWindowRectExForDpi(&bounds, kWindowStyle, FALSE, kWindowExStyle, dpi);
    } else {
      AdjustWindowRectEx(&bounds, kWindowStyle, FALSE, kWindowExStyle);
    }
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
  }

  void setScale(int n) {
    scale = dpiCalls.getDpiForWindow ? n : 1;
    screen.assign(static_cast<std::size_t>(Frame::kWidth) * scale * Frame::kHeight * scale, 0);
    pixelFormat.bmiHeader.biWidth = Frame::kWidth * scale;
    // negative: rows top to bottom, like the Frame
    pixelFormat.bmiHeader.biHeight = -Frame::kHeight * scale;
  }

  // The window has moved to a screen of another dpi: the new scale, in the place
  // Windows suggests.
  void dpiChanged(UINT dpi, const RECT& suggested) {
    setScale(scaleForDpi(dpi));
    presentAll();
    const SIZE size = outerSize(dpi);
    refitsLeft = kRefits;  // WM_SIZE puts the client area right (sized())
    SetWindowPos(window, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
  }

  // A window the game has just sized puts its client area right on each WM_SIZE
  // that follows: the one SetWindowPos sends at once, and under Wine the late ones a
  // window manager sends when it confirms an earlier size, which Wine then takes back.
  // A few times at most, so that it never fights a window manager that will not have it.
  static constexpr int kRefits = 10;
  void sized() {
    if (refitsLeft <= 0 || !window || IsIconic(window)) return;
    RECT client{};
    if (!GetClientRect(window, &client)) return;
    if (client.right == Frame::kWidth * scale && client.bottom == Frame::kHeight * scale) return;
    --refitsLeft;
    fitClientArea();
  }

  // Makes up for a frame measured at another dpi than the system then drew (Wine
  // draws every frame at the system's dpi): whatever is missing from or too much in
  // the client area is added to or taken from the window.
  void fitClientArea() {
    RECT client{};
    RECT outer{};
    if (!GetClientRect(window, &client) || !GetWindowRect(window, &outer)) return;
    const int dx = Frame::kWidth * scale - client.right;
    const int dy = Frame::kHeight * scale - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Puts a part of the frame into the scaled picture the client area shows.
  void present(const PixelRect& part) {
    presentScaled(frame, part, scale, screen.data(),
                  static_cast<std::size_t>(Frame::kWidth) * scale * sizeof(std::uint32_t));
  }
  void presentAll() { present({0, 0, Frame::kWidth, Frame::kHeight}); }

  // Redraws what the last key changed and has Windows repaint just those parts.
  void presentChanges() {
    if (!form.loaded()) return;
    for (const PixelRect& part : renderer.update(form.board(), frame)) {
      present(part);
      if (!window) continue;
      const PixelRect shown = scaledRect(part, scale);
      const RECT rect{shown.x, shown.y, shown.x + shown.w, shown.y + shown.h};
      InvalidateRect(window, &rect, FALSE);
    }
  }

  void paint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    // Pixel for pixel: the picture already has the client area's size.
    const int width = Frame::kWidth * scale;
    const int height = Frame::kHeight * scale;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, screen.data(), &pixelFormat,
                      DIB_RGB_COLORS);
    EndPaint(hwnd, &paint);
  }

  // Hands one key-down to the game. No exception leaves here: Windows' own frames
  // are below us. Returns false if the key replaced the window (a reload).
  bool keyDown(WPARAM virtualKey) {
    // A key that slips in while the game is busy (a message box is open) is dropped.
    if (failed || inKeyDown) return true;
    const HWND before = window;
    inKeyDown = true;
    try {
      const std::int16_t shift = shiftState(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                            GetKeyState(VK_MENU) < 0);
      form.Form_KeyDown(static_cast<std::int16_t>(virtualKey), shift);
      presentChanges();
    } catch (const RuntimeError& error) {
      fail(error.report());
    } catch (const std::exception& error) {
      fail(error.what());
    }
    inKeyDown = false;
    if (failed) PostQuitMessage(1);
    return window == before;
  }

  static std::uint64_t now() { return GetTickCount64(); }

  // Registers for the game pads' reports. Without them the game still plays with
  // the keyboard, so a refusal is only noted on stderr.
  void listenToPads() {
    padWindow =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (!padWindow || !pads.listen(padWindow)) {
      std::fprintf(stderr, "game pads are not read: Raw Input refused (error %lu)\n",
                   GetLastError());
      std::fflush(stderr);
    }
  }

  // A pad's report: its keys go to the game as the keyboard's do.
  void padInput(HRAWINPUT input, bool foreground) {
    for (const PadAction& action : pads.input(input, foreground, now())) {
      if (action.closeBox) pressOpenBoxOk();
      if (action.key != 0) keyDown(static_cast<WPARAM>(action.key));
    }
    scheduleRepeat();
  }

  // A held direction repeats on a timer that runs only while one is held.
  static constexpr UINT_PTR kRepeatTimer = 1;
  void scheduleRepeat() {
    const std::optional<std::uint64_t> next = pads.keys().nextRepeat();
    if (!next) {
      if (repeatScheduled) KillTimer(padWindow, kRepeatTimer);
      repeatScheduled = false;
      return;
    }
    const std::uint64_t time = now();
    const UINT delay = *next > time ? static_cast<UINT>(*next - time) : 0;
    repeatScheduled = SetTimer(padWindow, kRepeatTimer, delay, nullptr) != 0;
  }
  void repeatDue() {
    const std::int16_t key = pads.keys().repeat(now());
    if (key != 0) keyDown(static_cast<WPARAM>(key));
    scheduleRepeat();
  }

  void fail(const std::string& report) {
    failed = true;
    failure = report;
    std::fprintf(stderr, "%s\n", report.c_str());
    std::fflush(stderr);
  }
};

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* game = reinterpret_cast<Win32Game*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!game) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case kWmGetDpiScaledSize: {
      // Windows would scale the window by the ratio of the dpis; the game keeps
      // whole-pixel scales, so it names its own size for the new dpi.
      *reinterpret_cast<SIZE*>(lParam) = game->outerSize(LOWORD(wParam));
      return TRUE;
    }
    case kWmDpiChanged:
      if (hwnd == game->window) {
        game->dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      }
      return 0;
    case WM_SIZE:
      if (hwnd == game->window) game->sized();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers the whole client area, strips included
    case WM_PAINT:
      game->paint(hwnd);
      return 0;
    case WM_KEYDOWN:
      game->keyDown(wParam);
      return 0;
    case WM_SYSKEYDOWN:
      // F10 and keys held with Alt reach the game too. Windows still sees them (Alt+F4
      // closes, Alt+Space opens the window menu) unless the key reloaded the window,
      // or it is F10 alone, which would leave the arrows to the menu bar.
      if (!game->keyDown(wParam) || wParam == VK_F10) return 0;
      break;
    case WM_INPUT:
      if (hwnd == game->padWindow) {
        game->padInput(reinterpret_cast<HRAWINPUT>(lParam),
                       GET_RAWINPUT_CODE_WPARAM(wParam) == RIM_INPUT);
      }
      break;  // DefWindowProcW lets the input go
    case WM_INPUT_DEVICE_CHANGE:
      game->pads.deviceChanged(wParam, reinterpret_cast<HANDLE>(lParam));
      game->scheduleRepeat();
      return 0;
    case WM_TIMER:
      if (hwnd == game->padWindow && wParam == Win32Game::kRepeatTimer) {
        game->repeatDue();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (hwnd == game->window && !game->reloading) {
        game->window = nullptr;
        PostQuitMessage(0);  // the player closed the window
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_GRAVISK),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_GRAVISK), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass)) throw std::runtime_error("cannot register the window class");
}

}  // namespace

int runGame(const StartHooks& hooks) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  auto game = std::make_unique<Win32Game>(instance);
  try {
    registerWindowClass(instance);
    game->listenToPads();
    if (hooks.beforeShow) hooks.beforeShow(game->form);
    game->form.show();
    if (hooks.afterShow) hooks.afterShow(game->form);
  } catch (const RuntimeError& error) {
    game->fail(error.report());
  } catch (const std::exception& error) {
    game->fail(error.what());
  }

  int status = 0;
  if (!game->failed) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    status = static_cast<int>(message.wParam);
  }
  // Shown only now that WM_QUIT is out of the queue: it would close the box at once.
  if (game->failed) {
    game->showBox(widen(game->failure), widen(kAppTitle), MB_OK | MB_ICONERROR);
    status = 1;
  }
  if (game->window) {
    game->reloading = true;
    DestroyWindow(game->window);
  }
  if (game->padWindow) DestroyWindow(game->padWindow);
  return status;
}

}  // namespace gravisk::win32
