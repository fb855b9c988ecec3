// The message loop and the window registry: pre-translation walk, dispatch, quit code and
// per-thread lookup, with real windows, posted messages and timers.
#include <doctest/doctest.h>

#include "tests/ui/UiCoreSupport.h"
#include "ui/MessageLoop.h"
#include "ui/WindowRegistry.h"

using uitest::TakeQuit;
using uitest::TestWindow;

namespace {

constexpr UINT ProbeMessage = WM_APP + 77;
int probeDispatched = 0;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == ProbeMessage) ++probeDispatched;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateProbe(HWND parent) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = "UiCoreProbe";
    RegisterClassA(&wc);
    registered = true;
  }
  return CreateWindowExA(0, "UiCoreProbe", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                         nullptr, nullptr, nullptr);
}

size_t CountSeen(const TestWindow& w, UINT msg, HWND target) {
  size_t n = 0;
  for (const MSG& m : w.preTranslated) n += (m.message == msg && m.hwnd == target) ? 1 : 0;
  return n;
}

bool timerFired = false;
void CALLBACK QuitOnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  timerFired = true;
  PostQuitMessage(7);
}

}  // namespace

TEST_CASE("pre-translation walks from the child up and stops at the first 1") {
  TestWindow outer(RECT{100, 100, 400, 300}, 0, L"UiCoreLoopOuter");
  TestWindow inner(RECT{10, 10, 200, 150}, 0, L"UiCoreLoopInner", 0, WS_CHILD, outer.GetHwnd());
  REQUIRE(inner.GetHwnd() != nullptr);
  HWND probe = CreateProbe(inner.GetHwnd());
  REQUIRE(probe != nullptr);
  struct Case {
    int innerAnswer, outerAnswer;
    size_t innerAsked, outerAsked;
    int dispatched;
  } cases[] = {
      {1, 1, 1, 0, 0},  // the innermost toolkit window consumes it
      {2, 1, 1, 1, 0},  // 2 is not "consumed": the walk goes on to the ancestor
      {0, 2, 1, 1, 1},  // nobody says 1: translated and dispatched
  };
  for (const Case& c : cases) {
    CAPTURE(c.innerAnswer);
    CAPTURE(c.outerAnswer);
    inner.preTranslateAnswer = c.innerAnswer;
    outer.preTranslateAnswer = c.outerAnswer;
    inner.preTranslated.clear();
    outer.preTranslated.clear();
    probeDispatched = 0;
    PostMessageA(probe, ProbeMessage, 0, 0);
    PostQuitMessage(7);
    RunMessageLoop();
    CHECK(TakeQuit() == 7);  // the loop posts a fresh quit with the code it received
    CHECK(CountSeen(inner, ProbeMessage, probe) == c.innerAsked);
    CHECK(CountSeen(outer, ProbeMessage, probe) == c.outerAsked);
    CHECK(probeDispatched == c.dispatched);
  }
  DestroyWindow(probe);
}

TEST_CASE("messages without a window are dispatched without any lookup") {
  TestWindow window(RECT{100, 100, 200, 200});
  timerFired = false;
  REQUIRE(SetTimer(nullptr, 0, 10, QuitOnTimer) != 0);
  RunMessageLoop();
  CHECK(timerFired);
  CHECK(TakeQuit() == 7);
  for (const MSG& m : window.preTranslated) CHECK(m.hwnd != nullptr);
}

TEST_CASE("the registry answers per thread and never for destroyed windows") {
  TestWindow mine(RECT{0, 0, 50, 50});
  struct Shared {
    HWND workerWindow = nullptr;
    bool workerFindsOwn = false;
    bool workerFindsMain = true;
    HWND mainWindow = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  } shared;
  shared.mainWindow = mine.GetHwnd();
  Shared* s = &shared;
  HANDLE worker = uitest::StartThread([s] {
    TestWindow theirs(RECT{60, 0, 110, 50});
    s->workerWindow = theirs.GetHwnd();
    s->workerFindsOwn = WindowRegistry::Find(theirs.GetHwnd()) == &theirs;
    s->workerFindsMain = WindowRegistry::Find(s->mainWindow) != nullptr;
    SetEvent(s->created);
    WaitForSingleObject(s->release, 5000);
  });
  REQUIRE(worker != nullptr);
  REQUIRE(WaitForSingleObject(shared.created, 5000) == WAIT_OBJECT_0);
  CHECK(shared.workerFindsOwn);
  CHECK_FALSE(shared.workerFindsMain);
  CHECK(IsWindow(shared.workerWindow));
  CHECK(WindowRegistry::Find(shared.workerWindow) == nullptr);  // another thread's window
  CHECK(WindowRegistry::Find(mine.GetHwnd()) == &mine);
  SetEvent(shared.release);
  CHECK(WaitForSingleObject(worker, 5000) == WAIT_OBJECT_0);
  CloseHandle(worker);
  CloseHandle(shared.created);
  CloseHandle(shared.release);

  HWND old = mine.GetHwnd();
  DestroyWindow(old);
  CHECK(WindowRegistry::Find(old) == nullptr);
  CHECK_FALSE(WindowRegistry::IsRegistered(old));
  WindowRegistry::Register(nullptr);  // ignored
}
