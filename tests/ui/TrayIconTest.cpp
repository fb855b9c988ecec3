// TrayIcon and WindowSubclass against real windows, menus and the shell's notification area.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "app/Config.h"
#include "app/Text.h"
#include "ui/LayeredWindow.h"
#include "ui/TrayIcon.h"
#include "ui/WindowSubclass.h"

namespace {

constexpr UINT ProbeMessage = WM_APP + 77;
constexpr UINT CloseCommandId = 40004;
constexpr LRESULT TrayAnswer = 0x5A;

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
// Messages that reached the owner's own procedure, in order.
std::vector<Seen> seen;

bool Recorded(UINT message) {
  return message == ProbeMessage || message == TrayCallbackMessage ||
         message == TaskbarCreatedMessage || message == WM_COMMAND || message == WM_INITMENUPOPUP;
}

LRESULT Answer(UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({message, wParam, lParam});
  return message == ProbeMessage ? static_cast<LRESULT>(wParam * 3 + lParam) : TrayAnswer;
}

// Activations of any owner window; recorded as they happen, so another program that takes
// the foreground later (tests run side by side on one display) cannot hide them.
int activations;

LRESULT CALLBACK OwnerProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ++activations;
  if (Recorded(message)) return Answer(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK OwnerProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Recorded(message)) return Answer(message, wParam, lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A hidden top-level window with a recording procedure, Unicode or ANSI.
struct Owner {
  explicit Owner(bool unicode = true) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (unicode) {
      static ATOM atom = [instance] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProcW;
        wc.hInstance = instance;
        wc.lpszClassName = L"TrayTestOwnerW";
        return RegisterClassW(&wc);
      }();
      REQUIRE(atom != 0);
      hwnd = CreateWindowExW(0, L"TrayTestOwnerW", L"owner", WS_POPUP, 40, 40, 200, 120, nullptr,
                             nullptr, instance, nullptr);
    } else {
      static ATOM atom = [instance] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProcA;
        wc.hInstance = instance;
        wc.lpszClassName = "TrayTestOwnerA";
        return RegisterClassA(&wc);
      }();
      REQUIRE(atom != 0);
      hwnd = CreateWindowExA(0, "TrayTestOwnerA", "owner", WS_POPUP, 40, 40, 200, 120, nullptr,
                             nullptr, instance, nullptr);
    }
    REQUIRE(hwnd != nullptr);
    seen.clear();
    activations = 0;
  }
  ~Owner() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  HWND hwnd = nullptr;
};

struct Menu {
  Menu() : handle(CreatePopupMenu()) {
    REQUIRE(handle != nullptr);
    REQUIRE(AppendMenuW(handle, MF_STRING, CloseCommandId, L"关闭"));
  }
  ~Menu() { DestroyMenu(handle); }
  HMENU handle;
};

// Whether the shell has an icon for (hWnd, uID): NIM_MODIFY fails for an unknown icon.
bool IconPresent(const NOTIFYICONDATAA* data) {
  if (!data) return false;
  NOTIFYICONDATAA probe = *data;
  probe.uFlags = NIF_TIP;
  return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

HICON AppIcon() { return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)); }

// A tray icon prepared the way the download window prepares its own.
struct PreparedTray {
  explicit PreparedTray(bool unicode = true, const char* tip = "tip") : owner(unicode) {
    REQUIRE(tray.Create(owner.hwnd, AppIcon(), menu.handle, tip, 1, WM_LBUTTONUP, WM_RBUTTONUP));
  }
  LRESULT Callback(LPARAM mouseMessage) {
    return SendMessageW(owner.hwnd, TrayCallbackMessage, reinterpret_cast<WPARAM>(menu.handle),
                        mouseMessage);
  }
  Owner owner;
  Menu menu;
  TrayIcon tray;
};

size_t CountSeen(UINT message) {
  size_t count = 0;
  for (const Seen& s : seen) count += s.message == message;
  return count;
}

void PumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

TEST_CASE("the tray messages are registered from their names") {
  CHECK(TrayCallbackMessage == RegisterWindowMessageA(TrayMessageName));
  CHECK(TaskbarCreatedMessage == RegisterWindowMessageA("TaskbarCreated"));
  CHECK(TrayCallbackMessage >= 0xC000);
  CHECK(TrayCallbackMessage != TaskbarCreatedMessage);
}

TEST_CASE("Create prepares the icon data and the notification area shows nothing until Add") {
  PreparedTray t;
  const NOTIFYICONDATAA* data = t.tray.GetIconData();
  REQUIRE(data != nullptr);
  CHECK(data->cbSize == TrayIconDataSize);
  CHECK(data->hWnd == t.owner.hwnd);
  CHECK(data->uID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(t.menu.handle)));
  CHECK(data->uFlags == 0x17u);
  CHECK(data->uCallbackMessage == TrayCallbackMessage);
  CHECK(data->hIcon == AppIcon());
  CHECK(std::string(data->szTip) == "tip");
  CHECK(data->szInfo[0] == '\0');
  CHECK(data->szInfoTitle[0] == '\0');
  CHECK(t.tray.IsShown() == 0);
  CHECK_FALSE(IconPresent(data));

  SUBCASE("Add shows it, Remove takes it away, a second Remove answers FALSE") {
    CHECK(t.tray.Add() == TRUE);
    CHECK(t.tray.IsShown() == 1);
    CHECK(IconPresent(data));
    CHECK(t.tray.Remove() == TRUE);
    CHECK(t.tray.IsShown() == 0);
    CHECK_FALSE(IconPresent(data));
    CHECK(t.tray.Remove() == FALSE);
    CHECK(t.tray.IsShown() == 0);
  }
  SUBCASE("Create on a prepared icon changes nothing") {
    Menu other;
    CHECK(t.tray.Create(t.owner.hwnd, nullptr, other.handle, "other", 0, 0, 0));
    CHECK(t.tray.GetIconData() == data);
    CHECK(data->uID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(t.menu.handle)));
    CHECK(std::string(data->szTip) == "tip");
  }
  SUBCASE("a second tray icon cannot take over the same window") {
    TrayIcon second;
    CHECK_FALSE(
        second.Create(t.owner.hwnd, AppIcon(), t.menu.handle, "x", 1, WM_LBUTTONUP, WM_RBUTTONUP));
    CHECK(second.GetIconData() == nullptr);
    CHECK(second.GetOwner() == nullptr);
    // The first one still works.
    CHECK(t.Callback(WM_LBUTTONUP) == TrayAnswer);
    CHECK(IsWindowVisible(t.owner.hwnd));
  }
  SUBCASE("Create without an owner does nothing") {
    TrayIcon empty;
    CHECK(empty.Create(nullptr, AppIcon(), t.menu.handle, "x", 1, WM_LBUTTONUP, WM_RBUTTONUP));
    CHECK(empty.GetIconData() == nullptr);
    CHECK(empty.Add() == FALSE);
  }
}

TEST_CASE("the tip is cut at 127 bytes on a character boundary") {
  const std::string zhong = ToAnsi(L"中");
  const bool doubleByte = GetACP() == 936;
  if (doubleByte) REQUIRE(zhong.size() == 2);
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  struct Case {
    std::string text;
    std::string expected;
    bool whole;
  };
  std::vector<Case> cases = {
      {std::string(126, 'a'), std::string(126, 'a'), true},
      {std::string(127, 'a'), std::string(127, 'a'), true},
      {std::string(128, 'a'), std::string(127, 'a'), false},
      {std::string(300, 'b'), std::string(127, 'b'), false},
      {"", "", true},
  };
  if (doubleByte) {
    // 128 bytes of double-byte characters: the 64th does not fit whole and is left out.
    cases.push_back({repeat(zhong, 64), repeat(zhong, 63), false});
    // Odd start: 1 + 63 * 2 = 127 bytes fit exactly.
    cases.push_back({"a" + repeat(zhong, 64), "a" + repeat(zhong, 63), false});
    cases.push_back({repeat(zhong, 63) + "a", repeat(zhong, 63) + "a", true});
    cases.push_back({repeat(zhong, 63) + "ab", repeat(zhong, 63) + "a", false});
    // A lead byte at the very end has no character to go with it.
    cases.push_back({"ab\xd6", "ab", false});
  }
  for (const Case& c : cases) {
    CAPTURE(c.text.size());
    char field[128];
    memset(field, 'z', sizeof field);
    CHECK(CopyTipBounded(field, sizeof field, c.text.c_str()) == c.whole);
    CHECK(std::string(field) == c.expected);
  }

  // The same cut reaches the icon data.
  std::string longTip = doubleByte ? "a" + repeat(zhong, 70) : std::string(200, 'c');
  PreparedTray t(true, longTip.c_str());
  const NOTIFYICONDATAA* data = t.tray.GetIconData();
  CHECK(strlen(data->szTip) == 127);
  CHECK(std::string(data->szTip) == longTip.substr(0, 127));
}

TEST_CASE("releasing the left button on the icon restores the window and removes the icon") {
  PreparedTray t;
  REQUIRE(t.tray.Add() == TRUE);
  REQUIRE_FALSE(IsWindowVisible(t.owner.hwnd));
  CHECK(t.Callback(WM_LBUTTONUP) == TrayAnswer);
  CHECK(IsWindowVisible(t.owner.hwnd));
  CHECK(activations >= 1);
  CHECK(t.tray.IsShown() == 0);
  CHECK_FALSE(IconPresent(t.tray.GetIconData()));
  // The owner's own procedure saw the callback too, unchanged.
  REQUIRE(CountSeen(TrayCallbackMessage) == 1);
  CHECK(seen[0].wParam == reinterpret_cast<WPARAM>(t.menu.handle));
  CHECK(seen[0].lParam == WM_LBUTTONUP);
}

TEST_CASE("other mouse messages on the icon, and callbacks for another icon, do nothing") {
  PreparedTray t;
  REQUIRE(t.tray.Add() == TRUE);
  for (UINT mouse : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                     WM_RBUTTONDBLCLK, WM_MBUTTONUP}) {
    CAPTURE(mouse);
    CHECK(t.Callback(mouse) == TrayAnswer);
  }
  Menu other;
  SendMessageW(t.owner.hwnd, TrayCallbackMessage, reinterpret_cast<WPARAM>(other.handle),
               WM_LBUTTONUP);
  CHECK_FALSE(IsWindowVisible(t.owner.hwnd));
  CHECK(t.tray.IsShown() == 1);
  CHECK(IconPresent(t.tray.GetIconData()));
  CHECK(CountSeen(TrayCallbackMessage) == 7);
  CHECK(CountSeen(WM_INITMENUPOPUP) == 0);
}

namespace {
enum class MenuAction { Dismiss, ChooseFirst };
MenuAction menuAction;
int menuTicks;

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR, DWORD) {
  ++menuTicks;
  if (menuTicks == 1 && menuAction == MenuAction::ChooseFirst) {
    // The menu's own loop reads the thread's keyboard messages, as if the user pressed them.
    HWND target = GetFocus() ? GetFocus() : GetForegroundWindow();
    PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
  } else if (menuTicks == 1 || menuTicks > 20) {
    EndMenu();
  }
}
}  // namespace

TEST_CASE("releasing the right button opens the menu with the owner in front") {
  // The icon is not added here: the shell takes seconds to delete one under Wine, and the
  // callback does not depend on it.
  PreparedTray t;
  menuTicks = 0;

  SUBCASE("dismissing the menu delivers no command") {
    menuAction = MenuAction::Dismiss;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, DriveMenu);
    CHECK(t.Callback(WM_RBUTTONUP) == TrayAnswer);
    KillTimer(nullptr, timer);
    PumpFor(200);
    CHECK(CountSeen(WM_INITMENUPOPUP) == 1);
    for (const Seen& s : seen) {
      if (s.message == WM_INITMENUPOPUP) CHECK(s.wParam == reinterpret_cast<WPARAM>(t.menu.handle));
    }
    CHECK(activations >= 1);
    CHECK(CountSeen(WM_COMMAND) == 0);
  }
  SUBCASE("choosing the item delivers its command to the owner") {
    menuAction = MenuAction::ChooseFirst;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, DriveMenu);
    t.Callback(WM_RBUTTONUP);
    KillTimer(nullptr, timer);
    PumpFor(200);
    CHECK(CountSeen(WM_INITMENUPOPUP) == 1);
    REQUIRE(CountSeen(WM_COMMAND) == 1);
    for (const Seen& s : seen) {
      if (s.message == WM_COMMAND) CHECK(LOWORD(s.wParam) == CloseCommandId);
    }
  }
  SUBCASE("the command sent as the menu sends it reaches the owner") {
    CHECK(SendMessageW(t.owner.hwnd, WM_COMMAND, CloseCommandId, 0) == TrayAnswer);
    REQUIRE(CountSeen(WM_COMMAND) == 1);
    CHECK(seen.back().wParam == CloseCommandId);
    CHECK(seen.back().lParam == 0);
  }
  CHECK(t.tray.IsShown() == 0);
}

TEST_CASE("a re-created taskbar gets the icon back only while it is shown") {
  PreparedTray t;
  const NOTIFYICONDATAA* data = t.tray.GetIconData();

  SUBCASE("shown: added again") {
    REQUIRE(t.tray.Add() == TRUE);
    // What a taskbar restart does: the shell forgets every icon.
    NOTIFYICONDATAA copy = *data;
    REQUIRE(Shell_NotifyIconA(NIM_DELETE, &copy));
    REQUIRE_FALSE(IconPresent(data));
    CHECK(SendMessageW(t.owner.hwnd, TaskbarCreatedMessage, 0, 0) == TrayAnswer);
    CHECK(IconPresent(data));
    CHECK(t.tray.IsShown() == 1);
  }
  SUBCASE("not shown: nothing added") {
    CHECK(SendMessageW(t.owner.hwnd, TaskbarCreatedMessage, 0, 0) == TrayAnswer);
    CHECK_FALSE(IconPresent(data));
    CHECK(t.tray.IsShown() == 0);
  }
  CHECK(CountSeen(TaskbarCreatedMessage) == 1);
}

TEST_CASE("every message reaches the previous procedure unchanged and its answer comes back") {
  for (bool unicode : {true, false}) {
    CAPTURE(unicode);
    PreparedTray t(unicode);
    const WPARAM w = 0x1234;
    const LPARAM l = 0x55;
    CHECK(SendMessageW(t.owner.hwnd, ProbeMessage, w, l) == static_cast<LRESULT>(w * 3 + l));
    REQUIRE(seen.size() == 1);
    CHECK(seen[0].message == ProbeMessage);
    CHECK(seen[0].wParam == w);
    CHECK(seen[0].lParam == l);
    // Texts keep their characters: a Unicode window's text does not pass through ANSI.
    // (An ANSI window keeps its text in the ANSI code page, so it gets a plain one.)
    const wchar_t* text = unicode ? L"关闭 \u0e01 \u0105" : L"owner text";
    REQUIRE(SetWindowTextW(t.owner.hwnd, text));
    wchar_t back[64] = {};
    GetWindowTextW(t.owner.hwnd, back, 64);
    CHECK(std::wstring(back) == text);
  }
}

TEST_CASE("Destroy removes the icon and gives the owner its previous procedure back") {
  PreparedTray t;
  auto original = reinterpret_cast<LONG_PTR>(&OwnerProcW);
  CHECK(GetWindowLongPtrW(t.owner.hwnd, GWLP_WNDPROC) != original);
  REQUIRE(t.tray.Add() == TRUE);
  NOTIFYICONDATAA copy = *t.tray.GetIconData();
  t.tray.Destroy();
  CHECK(GetWindowLongPtrW(t.owner.hwnd, GWLP_WNDPROC) == original);
  CHECK(t.tray.GetIconData() == nullptr);
  CHECK(t.tray.IsShown() == 0);
  CHECK_FALSE(IconPresent(&copy));
  // The owner works on without the tray icon, and tray callbacks no longer restore it.
  SendMessageW(t.owner.hwnd, TrayCallbackMessage, reinterpret_cast<WPARAM>(t.menu.handle),
               WM_LBUTTONUP);
  CHECK_FALSE(IsWindowVisible(t.owner.hwnd));
  CHECK(SendMessageW(t.owner.hwnd, ProbeMessage, 2, 1) == 7);
  // A second preparation works again after Destroy.
  CHECK(t.tray.Create(t.owner.hwnd, AppIcon(), t.menu.handle, "again", 1, WM_LBUTTONUP,
                      WM_RBUTTONUP));
  CHECK(t.tray.GetIconData() != nullptr);
}

namespace {
int counted;
LRESULT CountingProcedure(void* context, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ProbeMessage) ++counted;
  return static_cast<WindowSubclass*>(context)->CallPrevious(message, wParam, lParam);
}
WNDPROC outerPrevious;
LRESULT CALLBACK OuterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(outerPrevious, hwnd, message, wParam, lParam);
}
}  // namespace

TEST_CASE("WindowSubclass refuses what would break the window's procedure chain") {
  Owner owner;
  counted = 0;
  auto original = reinterpret_cast<LONG_PTR>(&OwnerProcW);

  SUBCASE("null arguments and a second object on the same window") {
    WindowSubclass first;
    WindowSubclass second;
    CHECK(first.Attach(nullptr, CountingProcedure, &first) == 0);
    CHECK(first.Attach(owner.hwnd, nullptr, &first) == 0);
    CHECK(first.Attach(owner.hwnd, CountingProcedure, nullptr) == 0);
    CHECK(first.Detach() == 0);
    REQUIRE(first.Attach(owner.hwnd, CountingProcedure, &first) == 1);
    CHECK(second.Attach(owner.hwnd, CountingProcedure, &second) == 0);
    CHECK(SendMessageW(owner.hwnd, ProbeMessage, 1, 1) == 4);
    CHECK(counted == 1);
    // Attaching again to the same window by the same object keeps one takeover.
    REQUIRE(first.Attach(owner.hwnd, CountingProcedure, &first) == 1);
    CHECK(SendMessageW(owner.hwnd, ProbeMessage, 1, 1) == 4);
    CHECK(counted == 2);
    CHECK(first.Detach() == 1);
    CHECK(GetWindowLongPtrW(owner.hwnd, GWLP_WNDPROC) == original);
    CHECK(first.Detach() == 0);
  }
  SUBCASE("a procedure installed on top is not cut out") {
    auto* inner = new WindowSubclass;
    REQUIRE(inner->Attach(owner.hwnd, CountingProcedure, inner) == 1);
    outerPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    CHECK(inner->Detach() == 0);
    CHECK(GetWindowLongPtrW(owner.hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OuterProc));
    delete inner;
    // The chain still ends in the owner's own procedure; the deleted object is skipped.
    CHECK(SendMessageW(owner.hwnd, ProbeMessage, 5, 0) == 15);
    CHECK(counted == 0);
  }
  SUBCASE("a window destroyed while taken over") {
    WindowSubclass sub;
    REQUIRE(sub.Attach(owner.hwnd, CountingProcedure, &sub) == 1);
    DestroyWindow(owner.hwnd);
    CHECK(sub.GetWindow() == nullptr);
    CHECK(sub.Detach() == 0);
  }
}

TEST_CASE("on a toolkit window the tray icon restores it and the window keeps its messages") {
  RECT screen{30, 30, 330, 230};
  LayeredWindow window(&screen, nullptr, L"TrayTestToolkitWindow", nullptr, 0, WS_POPUP, 0, 0,
                       nullptr, nullptr);
  REQUIRE(window.GetHwnd() != nullptr);
  Menu menu;
  TrayIcon tray;
  REQUIRE(
      tray.Create(window.GetHwnd(), AppIcon(), menu.handle, "tip", 1, WM_LBUTTONUP, WM_RBUTTONUP));
  // A task handed over from another thread still reaches the window through the takeover.
  bool ran = false;
  std::thread poster([&] { window.PostTask([&] { ran = true; }); });
  poster.join();
  PumpFor(100);
  CHECK(ran);
  CHECK_FALSE(IsWindowVisible(window.GetHwnd()));
  SendMessageW(window.GetHwnd(), TrayCallbackMessage, reinterpret_cast<WPARAM>(menu.handle),
               WM_LBUTTONUP);
  CHECK(IsWindowVisible(window.GetHwnd()));
  tray.Destroy();
  CHECK(GetWindowLongPtrA(window.GetHwnd(), GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&LayeredWindowProc));
}
