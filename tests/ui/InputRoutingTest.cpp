// Input routing in a real window: hover, capture, drag regions, focus, deferred deletion,
// closing, class registration and the window binding, driven with SendMessage/PostMessage.
#include <doctest/doctest.h>

#include <algorithm>

#include "tests/ui/UiCoreSupport.h"
#include "ui/WindowRegistry.h"

using uitest::Log;
using uitest::LogContaining;
using uitest::LogWith;
using uitest::PumpFor;
using uitest::PumpUntil;
using uitest::RecordingElement;
using uitest::TakeQuit;
using uitest::TestWindow;

namespace {

const RECT WindowRect{100, 100, 500, 400};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

struct Fixture {
  Fixture() : window(WindowRect) {
    hwnd = window.GetHwnd();
    a = new RecordingElement("a", RECT{10, 10, 60, 60}, &window);
    b = new RecordingElement("b", RECT{100, 10, 150, 60}, &window);
    PumpFor(20);
    Log().clear();
  }
  ~Fixture() { TakeQuit(); }
  TestWindow window;
  HWND hwnd;
  RecordingElement* a;
  RecordingElement* b;
};

}  // namespace

TEST_CASE("the window binds on WM_NCCREATE and registers on its thread") {
  Fixture f;
  REQUIRE(f.hwnd != nullptr);
  CHECK(GetWindowLongPtrA(f.hwnd, 0) == reinterpret_cast<LONG_PTR>(&f.window));
  CHECK(WindowRegistry::Find(f.hwnd) == &f.window);
  RECT r;
  f.window.GetBounds(&r);
  CHECK(r.left == 0);
  CHECK(r.right == 400);
  CHECK(r.bottom == 300);
  CHECK(f.window.IsVisible() == 1);
}

TEST_CASE("hover change calls leave then enter; moves go to the capture element") {
  Fixture f;
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  CHECK(f.window.GetHoverElement() == f.a);
  // The capture element starts as the window itself, so the move goes to the window.
  CHECK(Log() == std::vector<std::string>{"a:enter", "window:move"});
  Log().clear();
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(120, 20));
  CHECK(Log() == std::vector<std::string>{"a:leave", "b:enter", "window:move"});
  CHECK(f.window.GetHoverElement() == f.b);

  // Pressing a, moving off it and releasing over b delivers the release to a.
  Log().clear();
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  SendMessageA(f.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
  CHECK(f.window.GetCaptureElement() == f.a);
  CHECK(GetCapture() == f.hwnd);
  SendMessageA(f.hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(120, 20));
  SendMessageA(f.hwnd, WM_LBUTTONUP, 0, At(120, 20));
  // The move before the press still goes to the window (the first capture element).
  // (Focus is checked elsewhere: SetFocus on an inactive window calls OnSetFocus twice.)
  auto aLog = LogWith("a:");
  aLog.erase(std::remove(aLog.begin(), aLog.end(), "a:setfocus"), aLog.end());
  CHECK(aLog == std::vector<std::string>{"a:enter", "a:ldown", "a:leave", "a:move", "a:lup"});
  CHECK(LogWith("b:") == std::vector<std::string>{"b:leave", "b:enter"});
  CHECK(f.window.GetCaptureElement() == nullptr);
  CHECK(GetCapture() == nullptr);
  // With no capture element the hover element gets the moves.
  Log().clear();
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(121, 21));
  CHECK(Log() == std::vector<std::string>{"b:move"});
}

TEST_CASE("a release before any press goes to the window and clears the capture element") {
  Fixture f;
  SendMessageA(f.hwnd, WM_LBUTTONUP, 0, At(20, 20));
  CHECK(Log() == std::vector<std::string>{"window:lup"});
  CHECK(f.window.GetCaptureElement() == nullptr);
}

TEST_CASE("a left press in a drag region moves the window; a right press there is ordinary") {
  Fixture f;
  f.window.dragElement = f.a;
  f.window.dragRect = RECT{10, 10, 60, 30};
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  Log().clear();
  CHECK(SendMessageA(f.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20)) == 0);
  CHECK(f.window.captionPresses == 1);
  CHECK(Log().empty());
  CHECK(f.window.GetCaptureElement() == &f.window);
  CHECK(f.window.GetFocusElement() == &f.window);

  // Outside the returned rectangle the press is ordinary.
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 40));
  SendMessageA(f.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 40));
  CHECK(f.window.captionPresses == 1);
  CHECK(f.window.GetCaptureElement() == f.a);
  SendMessageA(f.hwnd, WM_LBUTTONUP, 0, At(20, 40));

  Log().clear();
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  SendMessageA(f.hwnd, WM_RBUTTONDOWN, MK_RBUTTON, At(20, 20));
  CHECK(f.window.captionPresses == 1);
  CHECK(LogWith("a:") == std::vector<std::string>{"a:move", "a:rdown"});
  CHECK(f.window.GetCaptureElement() == f.a);
  SendMessageA(f.hwnd, WM_RBUTTONUP, 0, At(20, 20));
}

TEST_CASE("hiding the hovered element clears hover silently; the posted move finds the next") {
  Fixture f;
  // under lies below over, in the same place; the real cursor is put there.
  auto* under = new RecordingElement("under", RECT{200, 100, 300, 200}, &f.window);
  auto* over = new RecordingElement("over", RECT{200, 100, 300, 200}, &f.window);
  REQUIRE(SetCursorPos(WindowRect.left + 250, WindowRect.top + 150));
  PumpFor(50);
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(250, 150));
  REQUIRE(f.window.GetHoverElement() == over);
  Log().clear();
  over->SetVisible(0);
  CHECK(f.window.GetHoverElement() == nullptr);
  CHECK(LogWith("over:").empty());
  CHECK(PumpUntil([&] { return f.window.GetHoverElement() == under; }));
  CHECK(LogWith("under:enter").size() == 1);
  CHECK(LogWith("over:").empty());
}

TEST_CASE("DeleteLater keeps elements alive until WM_NULL and serves requests in order") {
  Fixture f;
  auto* c = new RecordingElement("c", RECT{200, 200, 210, 210}, &f.window);
  auto* parent = new RecordingElement("p", RECT{300, 200, 350, 250}, &f.window);
  auto* queuedChild = new RecordingElement("q", RECT{0, 0, 10, 10}, parent);
  f.b->DeleteLater();
  c->DeleteLater();
  f.a->DeleteLater();
  queuedChild->DeleteLater();
  CHECK(f.window.GetChildren().size() == 4);
  CHECK(LogWith("").empty());
  // Regression: an element queued for deletion and then destroyed with its parent was
  // deleted a second time when the queue was served.
  delete parent;
  CHECK(Log() == std::vector<std::string>{"p:destroyed", "q:destroyed"});
  Log().clear();
  CHECK(PumpUntil([&] { return f.window.GetChildren().empty(); }));
  CHECK(LogContaining(":destroyed") ==
        std::vector<std::string>{"b:destroyed", "c:destroyed", "a:destroyed"});
}

TEST_CASE("WM_CLOSE is refused when disabled or when OnCloseRequest says no") {
  Fixture f;
  TakeQuit();
  f.window.SetEnabled(0);
  CHECK(SendMessageA(f.hwnd, WM_CLOSE, 0, 0) == 0);
  CHECK(IsWindow(f.hwnd));
  CHECK(TakeQuit() == -1);
  f.window.SetEnabled(1);
  f.window.closeAnswer = 0;
  CHECK(SendMessageA(f.hwnd, WM_CLOSE, 0, 0) == 0);
  CHECK(IsWindow(f.hwnd));
  CHECK(TakeQuit() == -1);

  f.window.closeAnswer = 1;
  SendMessageA(f.hwnd, WM_CLOSE, 0, 0);
  CHECK(!IsWindow(f.hwnd));
  CHECK(TakeQuit() == 0);
  // The object forgets its destroyed window (and the registry forgets the object), so no
  // later call reaches a window that might get the same handle value.
  CHECK(f.window.GetHwnd() == nullptr);
  CHECK(f.a->GetHwnd() == nullptr);
  CHECK(WindowRegistry::Find(f.hwnd) == nullptr);
  CHECK(!WindowRegistry::IsRegistered(f.hwnd));
}

TEST_CASE("focus: SetFocusElement answers OnSetFocus, and 0 leaves no focus element") {
  Fixture f;
  CHECK(f.a->RequestFocus() == 1);
  CHECK(f.a->HasFocus() == 1);
  CHECK(f.a->GetFocusElement() == f.a);
  f.b->setFocusAnswer = 0;
  Log().clear();
  CHECK(f.b->RequestFocus() == 0);
  CHECK(Log() == std::vector<std::string>{"a:killfocus", "b:setfocus"});
  CHECK(f.window.GetFocusElement() == nullptr);
  CHECK(f.b->HasFocus() == 0);
  // Focus follows a press; hiding the focus element drops it without OnKillFocus.
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  SendMessageA(f.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
  SendMessageA(f.hwnd, WM_LBUTTONUP, 0, At(20, 20));
  CHECK(f.window.GetFocusElement() == f.a);
  Log().clear();
  f.a->SetVisible(0);
  CHECK(f.window.GetFocusElement() == nullptr);
  CHECK(LogWith("a:killfocus").empty());
}

TEST_CASE("two windows of one class keep the first registration's class style") {
  TestWindow first(RECT{0, 0, 50, 50}, 0, L"UiCoreSharedClass", CS_DBLCLKS);
  TestWindow second(RECT{60, 0, 110, 50}, 0, L"UiCoreSharedClass", CS_HREDRAW);
  REQUIRE(first.GetHwnd() != nullptr);
  REQUIRE(second.GetHwnd() != nullptr);
  CHECK(GetClassLongPtrA(second.GetHwnd(), GCL_STYLE) == CS_DBLCLKS);
}

TEST_CASE("timers arrive as OnTimer until stopped") {
  Fixture f;
  REQUIRE(f.window.StartTimer(42, 10) != 0);
  CHECK(PumpUntil([&] { return f.window.timers.size() >= 2; }));
  CHECK(f.window.timers[0] == 42);
  f.window.StopTimer(42);
  PumpFor(20);
  size_t count = f.window.timers.size();
  PumpFor(60);
  CHECK(f.window.timers.size() == count);
}

TEST_CASE("tasks from another thread run on the window's thread in order") {
  Fixture f;
  DWORD uiThread = GetCurrentThreadId();
  struct Shared {
    LayeredWindow* window;
    std::vector<DWORD> threads;
    std::vector<int> order;
    bool sentDone = false;
  } shared{&f.window, {}, {}, false};
  Shared* s = &shared;
  HANDLE worker = uitest::StartThread([s] {
    for (int i = 0; i < 3; ++i) {
      s->window->PostTask([s, i] {
        s->threads.push_back(GetCurrentThreadId());
        s->order.push_back(i);
      });
    }
    s->window->SendTask([s] {
      s->threads.push_back(GetCurrentThreadId());
      s->sentDone = true;
    });
  });
  REQUIRE(worker != nullptr);
  CHECK(PumpUntil([&] { return shared.sentDone && shared.order.size() == 3; }));
  CHECK(WaitForSingleObject(worker, 2000) == WAIT_OBJECT_0);
  CloseHandle(worker);
  CHECK(shared.order == std::vector<int>{0, 1, 2});
  for (DWORD t : shared.threads) CHECK(t == uiThread);
  // A window that no longer exists takes no task.
  DestroyWindow(f.hwnd);
  CHECK(!f.window.PostTask([] {}));
}

TEST_CASE("cursor, wheel and leave messages go to the hover element") {
  Fixture f;
  HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  f.a->SetCursor(hand);
  SendMessageA(f.hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  CHECK(SendMessageA(f.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == 0);
  CHECK(GetCursor() == hand);
  CHECK(f.b->OnSetCursor() == 0);  // no cursor of its own: the class cursor stays in charge

  f.a->SetNotifyParent(1, 0);
  SendMessageA(f.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
               MAKELPARAM(WindowRect.left + 120, WindowRect.top + 20));
  REQUIRE(!f.window.events.empty());
  CHECK(f.window.events.back().code == WheelTurned);
  // The wheel's screen point comes back as a posted client-area move, which finds b.
  MSG posted;
  REQUIRE(PeekMessageA(&posted, f.hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
  CHECK(LOWORD(posted.lParam) == 120);
  CHECK(HIWORD(posted.lParam) == 20);

  Log().clear();
  SendMessageA(f.hwnd, WM_MOUSELEAVE, 0, 0);
  CHECK(Log() == std::vector<std::string>{"a:leave"});
  CHECK(f.window.GetHoverElement() == nullptr);
}

TEST_CASE("CenterWindow centres the client size on the given area, rounding toward zero") {
  Fixture f;
  struct Case {
    RECT area;
    LONG x, y;
  } cases[] = {{RECT{0, 0, 800, 600}, 200, 150},
               {RECT{100, 50, 501, 351}, 100, 50},
               {RECT{0, 0, 399, 299}, 0, 0},  // (399 - 400) / 2 rounds to 0
               {RECT{-100, -100, 0, 0}, -250, -200}};
  for (const Case& c : cases) {
    f.window.CenterWindow(&c.area);
    RECT r;
    GetWindowRect(f.hwnd, &r);
    CAPTURE(c.area.left);
    CHECK(r.left == c.x);
    CHECK(r.top == c.y);
  }
}
