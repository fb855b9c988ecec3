// Error window under Wine: the texts and buttons of each failure kind, the button messages
// to a plain owner window, and a real mouse drag on the box image.
#include <doctest/doctest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Config.h"
#include "windows/ErrorWindow.h"

namespace {

constexpr RECT OwnerRect = {200, 150, 800, 500};

struct SeenMessage {
  UINT message;
  bool errorWindowVisible;  // the error window's state when the message arrived
};
std::vector<SeenMessage> seen;
HWND watchedErrorWindow = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == RetryMessage || msg == AcknowledgeMessage) {
    seen.push_back({msg, IsWindowVisible(watchedErrorWindow) != FALSE});
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Records the caption presses that start the system's move loop instead of entering it: that
// loop waits for a real button release, which sent messages never give.
class ErrorWindowProbe : public ErrorWindow {
 public:
  using ErrorWindow::ErrorWindow;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
      ++captionPresses;
      if (interceptDrag) return 0;
    }
    return ErrorWindow::HandleMessage(msg, wParam, lParam);
  }

  bool interceptDrag = true;
  int captionPresses = 0;
};

// A plain (non-toolkit) window standing in for the download window.
struct Fixture {
  Fixture() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "ErrorOwnerTest";
    RegisterClassA(&wc);
    owner = CreateWindowExA(0, "ErrorOwnerTest", "owner", WS_POPUP, OwnerRect.left, OwnerRect.top,
                            OwnerRect.right - OwnerRect.left, OwnerRect.bottom - OwnerRect.top,
                            nullptr, nullptr, nullptr, nullptr);
    ShowWindow(owner, SW_SHOWNOACTIVATE);
    RECT client = {0, 0, 600, 350};
    window = new ErrorWindowProbe(&client, owner);
    elements = window->CreateElements();
    hwnd = window->GetHwnd();
    watchedErrorWindow = hwnd;
    seen.clear();
  }
  ~Fixture() {
    delete window;
    DestroyWindow(owner);
    Pump();
  }
  void Click(int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
  }

  HWND owner = nullptr;
  ErrorWindowProbe* window = nullptr;
  ErrorWindowElements elements;
  HWND hwnd = nullptr;
};

constexpr POINT OkPoint = {425 + 40, 205 + 16};
constexpr POINT RetryPoint = {330 + 40, 205 + 16};
constexpr POINT BoxPoint = {80 + 60, 60 + 15};  // the box's header, away from labels and buttons

int LineCount(const wchar_t* text) {
  int lines = 1;
  for (const wchar_t* p = text; *p; ++p) lines += *p == L'\n';
  return lines;
}

}  // namespace

TEST_CASE("the error window is built hidden over its owner with a disabled, empty set of labels") {
  Fixture f;
  REQUIRE(f.hwnd != nullptr);
  char className[64] = {};
  GetClassNameA(f.hwnd, className, sizeof className);
  CHECK(std::string(className) == "ERROR_WINDOW");
  CHECK(GetClassLongA(f.hwnd, GCL_STYLE) == 11);
  CHECK((GetWindowLongA(f.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0);
  CHECK(GetWindow(f.hwnd, GW_OWNER) == f.owner);
  CHECK(IsWindowVisible(f.hwnd) == FALSE);
  RECT r;
  GetWindowRect(f.hwnd, &r);
  CHECK(EqualRect(&r, &OwnerRect));

  REQUIRE(f.elements.background);
  REQUIRE(f.elements.okButton);
  REQUIRE(f.elements.retryButton);
  RECT box;
  f.elements.background->GetBounds(&box);
  CHECK(box.left == 80);
  CHECK(box.top == 60);
  CHECK(box.right - box.left == 440);
  CHECK(box.bottom - box.top == 184);
  CHECK(f.elements.okButton->GetId() == 1002);
  CHECK(f.elements.retryButton->GetId() == 1003);
  struct Label {
    TextElement* element;
    Gdiplus::ARGB colour;
  } labels[] = {{f.elements.title, 0xFEFF0000},
                {f.elements.subtitle, 0xFEE6E6E6},
                {f.elements.reasons, 0xFEB4B4B4}};
  for (const Label& label : labels) {
    REQUIRE(label.element);
    CHECK(label.element->IsEnabled() == 0);
    CHECK(label.element->GetText() == nullptr);
    Gdiplus::Color colour;
    static_cast<const Gdiplus::SolidBrush*>(label.element->GetBrush())->GetColor(&colour);
    CHECK(colour.GetValue() == label.colour);
  }
}

TEST_CASE("each failure kind shows its texts and buttons; the buttons answer the owner") {
  struct Case {
    int kind;
    const wchar_t* title;
    int reasons;
    bool retry;
  } cases[] = {
      {DownloadFailureKind, L"下载失败：", 3, true},
      {InstallFailureKind, L"安装失败：", 3, false},
      {LobbyStartFailureKind, L"启动大厅失败：", 2, true},
      {7, L"启动大厅失败：", 2, true},
  };
  for (const Case& c : cases) {
    CAPTURE(c.kind);
    Fixture f;
    ShowFailureOn(*f.window, f.elements, c.kind);
    CHECK(IsWindowVisible(f.hwnd) != FALSE);
    REQUIRE(f.elements.title->GetText());
    CHECK(std::wstring(f.elements.title->GetText()) == c.title);
    std::wstring subtitle = f.elements.subtitle->GetText();
    CHECK(subtitle.find(c.title[0] == L'下'   ? L"下载失败的主要原因："
                        : c.title[0] == L'安' ? L"安装失败的主要原因："
                                              : L"启动大厅失败的主要原因：") != std::wstring::npos);
    CHECK(LineCount(f.elements.reasons->GetText()) == c.reasons);
    CHECK(std::wstring(f.elements.reasons->GetText()).rfind(L"1.", 0) == 0);
    CHECK(f.elements.retryButton->IsVisible() == (c.retry ? 1 : 0));
    CHECK(f.elements.okButton->IsVisible() == 1);

    // Download again: only when offered; the owner hears it while the box is still up.
    f.Click(RetryPoint.x, RetryPoint.y);
    if (c.retry) {
      REQUIRE(seen.size() == 1);
      CHECK(seen[0].message == RetryMessage);
      CHECK(seen[0].errorWindowVisible);
      CHECK(IsWindowVisible(f.hwnd) == FALSE);
      ShowFailureOn(*f.window, f.elements, c.kind);
      seen.clear();
    } else {
      // The hidden button's place is part of the box image, which drags the window.
      CHECK(seen.empty());
      CHECK(f.window->captionPresses == 1);
      CHECK(IsWindowVisible(f.hwnd) != FALSE);
    }
    f.Click(OkPoint.x, OkPoint.y);
    REQUIRE(seen.size() == 1);
    CHECK(seen[0].message == AcknowledgeMessage);
    CHECK(seen[0].errorWindowVisible);
    CHECK(IsWindowVisible(f.hwnd) == FALSE);
  }
}

namespace {

// The per-pixel canvas as WM_PRINT hands it out: premultiplied 0xAARRGGBB, rows top-down.
std::vector<uint32_t> Capture(HWND hwnd) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 600;
  info.bmiHeader.biHeight = -350;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> out;
  if (dc && bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    out.assign(p, p + 600 * 350);
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return out;
}

// Pixels of the area matching pred.
template <typename Pred>
int Count(const std::vector<uint32_t>& pixels, RECT area, Pred pred) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) n += pred(pixels[y * 600 + x]) ? 1 : 0;
  }
  return n;
}

bool Reddish(uint32_t p) {
  int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r > 120 && g < r / 2 && b < r / 2;
}

}  // namespace

TEST_CASE("only the box is drawn: a red title, and no download-again button when hidden") {
  Fixture f;
  ShowFailureOn(*f.window, f.elements, DownloadFailureKind);
  std::vector<uint32_t> download = Capture(f.hwnd);
  ShowFailureOn(*f.window, f.elements, InstallFailureKind);
  std::vector<uint32_t> install = Capture(f.hwnd);
  REQUIRE(download.size() == 600u * 350u);
  REQUIRE(install.size() == download.size());

  auto transparent = [](uint32_t p) { return (p >> 24) == 0; };
  RECT outside = {0, 0, 600, 55};  // above the box: no background image of its own
  CHECK(Count(download, outside, transparent) == 600 * 55);
  RECT box = {84, 64, 516, 240};  // inside its rounded corners
  CHECK(Count(download, box, transparent) == 0);
  RECT title = {102, 100, 300, 122};
  CHECK(Count(download, title, Reddish) > 20);

  RECT retry = {330, 205, 419, 237};
  RECT ok = {425, 205, 514, 237};
  auto same = [&](RECT area) {
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x)
        differing += download[y * 600 + x] != install[y * 600 + x];
    }
    return differing;
  };
  CHECK(same(ok) == 0);
  CHECK(same(retry) > 100);
}

DWORD WINAPI ReportInstallFailure(void* parameter) {
  auto* f = static_cast<Fixture*>(parameter);
  ShowFailureOn(*f->window, f->elements, InstallFailureKind);
  return 0;
}

TEST_CASE("a failure reported from another thread is shown on the window's own thread") {
  Fixture f;
  HANDLE worker = CreateThread(nullptr, 0, ReportInstallFailure, &f, 0, nullptr);
  REQUIRE(worker);
  CHECK(WaitForSingleObject(worker, 5000) == WAIT_OBJECT_0);
  CloseHandle(worker);
  // Nothing changed off the UI thread; the posted task does it inside the message loop.
  CHECK(f.elements.title->GetText() == nullptr);
  CHECK(IsWindowVisible(f.hwnd) == FALSE);
  DWORD start = GetTickCount();
  while (IsWindowVisible(f.hwnd) == FALSE && GetTickCount() - start < 2000) {
    Pump();
    Sleep(5);
  }
  CHECK(IsWindowVisible(f.hwnd) != FALSE);
  REQUIRE(f.elements.title->GetText());
  CHECK(std::wstring(f.elements.title->GetText()) == L"安装失败：");
  CHECK(f.elements.retryButton->IsVisible() == 0);
}

TEST_CASE("a press on the box image or a disabled label drags; it sends nothing, the box stays") {
  Fixture f;
  ShowFailureOn(*f.window, f.elements, DownloadFailureKind);
  f.Click(BoxPoint.x, BoxPoint.y);
  f.Click(120, 160);
  CHECK(f.window->captionPresses == 2);
  // Outside the box image nothing drags.
  f.Click(20, 20);
  CHECK(f.window->captionPresses == 2);
  CHECK(seen.empty());
  CHECK(IsWindowVisible(f.hwnd) != FALSE);
}

namespace {

void MouseInput(DWORD flags, POINT at = {}) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &input, sizeof(input));
}

void MoveMouse(POINT at) { MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at); }

struct DragScript {
  POINT from;
  POINT to;
};

// Runs while the UI thread sits in the system's move loop: moves the pointer and lets go.
// The button is always released, so the loop always ends.
DWORD WINAPI DragThread(void* parameter) {
  auto* script = static_cast<DragScript*>(parameter);
  Sleep(200);
  for (int step = 1; step <= 4; ++step) {
    MoveMouse({script->from.x + (script->to.x - script->from.x) * step / 4,
               script->from.y + (script->to.y - script->from.y) * step / 4});
    Sleep(60);
  }
  MouseInput(MOUSEEVENTF_LEFTUP);
  return 0;
}

}  // namespace

TEST_CASE("a left-button drag on the box image moves the error window") {
  Fixture f;
  f.window->interceptDrag = false;
  ShowFailureOn(*f.window, f.elements, DownloadFailureKind);
  Pump();
  RECT before;
  GetWindowRect(f.hwnd, &before);
  DragScript script = {{before.left + BoxPoint.x, before.top + BoxPoint.y}, {}};
  script.to = {script.from.x + 40, script.from.y + 30};
  // The press goes where the system has the pointer: wait until the pointer is there and
  // the window is the one under it.
  MoveMouse(script.from);
  DWORD waited = GetTickCount();
  POINT at = {};
  while (GetTickCount() - waited < 3000) {
    Pump();
    GetCursorPos(&at);
    if (std::abs(at.x - script.from.x) <= 1 && std::abs(at.y - script.from.y) <= 1 &&
        WindowFromPoint(at) == f.hwnd) {
      break;
    }
    Sleep(10);
  }
  REQUIRE(WindowFromPoint(at) == f.hwnd);
  Sleep(50);
  Pump();
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  HANDLE mover = CreateThread(nullptr, 0, DragThread, &script, 0, nullptr);
  REQUIRE(mover);
  DWORD began = GetTickCount();
  while (WaitForSingleObject(mover, 0) == WAIT_TIMEOUT && GetTickCount() - began < 5000) {
    MsgWaitForMultipleObjects(1, &mover, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  CHECK(WaitForSingleObject(mover, 2000) == WAIT_OBJECT_0);
  CloseHandle(mover);
  Pump();
  RECT after;
  GetWindowRect(f.hwnd, &after);
  // The pointer's travel; the input's scaling to absolute units may round it by a pixel.
  CHECK(f.window->captionPresses == 1);
  CHECK(std::abs(after.left - before.left - 40) <= 1);
  CHECK(std::abs(after.top - before.top - 30) <= 1);
  CHECK(seen.empty());
}
