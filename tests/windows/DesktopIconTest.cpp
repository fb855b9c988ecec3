// Desktop icon search across processes: a stand-in shell (fake_shell.exe) owns the list view;
// the locator reads it, the bubble goes beside the found icon and its timer hides it.
#include <doctest/doctest.h>
#include <objbase.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/Config.h"
#include "app/DebugLog.h"
#include "tests/support/TestSupport.h"
#include "windows/DesktopIconLocator.h"
#include "windows/WelcomeBubble.h"

namespace {

// Runs fake_shell.exe until destroyed. Its "Progman" window carries `title`.
class FakeShell {
 public:
  FakeShell(const std::string& shellTitle, const char* mode) : title(shellTitle) {
    static int serial = 0;
    std::string tag = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    std::string readyName = "tez_fake_shell_ready_" + tag;
    std::string quitName = "tez_fake_shell_quit_" + tag;
    ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    quit = CreateEventA(nullptr, TRUE, FALSE, quitName.c_str());
    std::string report = test::ScratchDir("shell_" + tag) + "\\report.txt";
    std::string command = "\"" + test::ProgramDir() + "\\fake_shell.exe\" \"" + title + "\" " +
                          mode + " " + readyName + " " + quitName + " \"" + report + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &process)) {
      return;
    }
    HANDLE waits[] = {ready, process.hProcess};
    if (WaitForMultipleObjects(2, waits, FALSE, 15000) != WAIT_OBJECT_0) return;
    std::string text;
    if (!test::ReadWholeFile(report, text)) return;
    started = std::sscanf(text.c_str(), "%ld %ld %ld %ld %ld %ld", &item.left, &item.top,
                          &item.right, &item.bottom, &origin.x, &origin.y) == 6;
  }
  ~FakeShell() {
    SetEvent(quit);
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
      }
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    CloseHandle(ready);
    CloseHandle(quit);
  }
  DesktopShellNames Names() const { return {"TezNoWorkerW", "Progman", title.c_str()}; }

  std::string title;
  bool started = false;
  RECT item = {};     // the "tOLMARo" item, list-view client coordinates
  POINT origin = {};  // the list view's top-left corner on the screen

 private:
  HANDLE ready = nullptr;
  HANDLE quit = nullptr;
  PROCESS_INFORMATION process = {};
};

// The support log in a scratch file; Text() closes it and reads what was written.
class LogFile {
 public:
  explicit LogFile(const std::string& name) : path(test::ScratchDir(name) + "\\debug.log") {
    test::WriteWholeFile(path, "");
    log = std::make_unique<DebugLog>();
    log->Open(path.c_str());
  }
  DebugLog& Log() { return *log; }
  std::string Text() {
    log.reset();
    std::string text;
    test::ReadWholeFile(path, text);
    return text;
  }

 private:
  std::string path;
  std::unique_ptr<DebugLog> log;
};

std::string UniqueTitle(const char* what) {
  return std::string("Program Manager ") + what + " " + std::to_string(GetCurrentProcessId());
}

// The download window's part in the bubble: answers ShowBubbleMessage through the tip.
class BubbleHost : public LayeredWindow {
 public:
  BubbleHost()
      : LayeredWindow(&Area, nullptr, L"BubbleHostTest", nullptr, 0, WS_POPUP, 0, 0, nullptr,
                      nullptr) {
    tip.SetToggleDesktop(false);
  }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == ShowBubbleMessage) {
      ++bubbleMessages;
      listView = reinterpret_cast<HWND>(wParam);
      tip.OnShowBubble(wParam, lParam);
    }
    return LayeredWindow::HandleMessage(msg, wParam, lParam);
  }

  static constexpr RECT Area = {-2000, -2000, -1900, -1900};
  DesktopIconTip tip;
  int bubbleMessages = 0;
  HWND listView = nullptr;
};

}  // namespace

TEST_CASE("the desktop lookup: what this Wine desktop already has") {
  // Wine's own explorer may or may not own a "Progman" window; the other cases use a
  // stand-in whose title is unique, so they do not depend on it.
  HWND progman = FindWindowA("Progman", nullptr);
  DWORD pid = 0;
  if (progman) GetWindowThreadProcessId(progman, &pid);
  std::string found = std::string("existing Progman window: ") + (progman ? "yes" : "none") +
                      ", process " + std::to_string(pid) +
                      ", a desktop list view: " + (FindDesktopListView() ? "yes" : "none");
  MESSAGE(found);
  CHECK(IsWow64() == false);  // a 64-bit program is never WOW64
}

TEST_CASE("the edition's icon is found in another process's list view, any letter case") {
  FakeShell shell(UniqueTitle("items"), "items");
  REQUIRE(shell.started);
  REQUIRE(!IsRectEmpty(&shell.item));
  DesktopShellNames names = shell.Names();

  LogFile log("icon_found");
  HWND listView = nullptr;
  RECT found = LocateDesktopIcon("TOLMARO", &listView, log.Log(), names);
  CHECK(listView != nullptr);
  CHECK(EqualRect(&found, &shell.item));
  // A 64-bit program reading a 64-bit shell uses the 48-byte record.
  CHECK(log.Text() == "IsWow64 = true\r\n");

  // The whole caption must match: "Tolmaro Classic" is not "Tolmaro Cl".
  LogFile partial("icon_partial");
  found = LocateDesktopIcon("Tolmaro Cl", &listView, partial.Log(), names);
  CHECK(IsRectEmpty(&found));
  CHECK(partial.Text() == "IsWow64 = true\r\nnot found x64 'Tolmaro Cl'\r\n");
}

TEST_CASE("the icon search shows the bubble beside the icon; the bubble timer hides it") {
  FakeShell shell(UniqueTitle("bubble"), "items");
  REQUIRE(shell.started);
  DesktopShellNames names = shell.Names();
  BubbleHost host;
  REQUIRE(host.GetHwnd());
  host.StartTimer(IconSearchTimerId, 100000);

  LogFile log("bubble");
  host.tip.OnIconSearchTimer(host, log.Log(), nullptr, &names);  // the edition's "Tolmaro"
  CHECK(host.StopTimer(IconSearchTimerId) == FALSE);             // the search stopped it
  CHECK(host.bubbleMessages == 1);
  CHECK(log.Text() == "IsWow64 = true\r\nsendmessage WM_APP+2\r\n");

  WelcomeBubble* bubble = host.tip.GetBubble();
  REQUIRE(bubble);
  HWND bubbleWindow = bubble->GetHwnd();
  REQUIRE(bubbleWindow);
  CHECK(IsWindowVisible(bubbleWindow) != FALSE);
  char className[32] = {};
  GetClassNameA(bubbleWindow, className, sizeof className);
  CHECK(std::string(className) == "ICO_TIPS");
  RECT r;
  GetWindowRect(bubbleWindow, &r);
  // The icon's right edge, 5 pixels below its top, on the screen: the stand-in's list view
  // is not at the screen origin, so its client coordinates are converted.
  CHECK(r.left == shell.item.right + shell.origin.x);
  CHECK(r.top == shell.item.top + 5 + shell.origin.y);
  CHECK(r.right - r.left == 209);
  CHECK(r.bottom - r.top == 46);
  REQUIRE(bubble->GetLabel());
  CHECK(std::wstring(bubble->GetLabel()->GetText()) ==
        L"HI，恭候您多时了！世界那么大，有您更精彩！戳我开启游戏之旅！");

  host.StartTimer(BubbleTimerId, 100000);
  host.tip.OnBubbleTimer(host);
  CHECK(host.StopTimer(BubbleTimerId) == FALSE);
  CHECK(IsWindowVisible(bubbleWindow) == FALSE);

  // A second search replaces the bubble; the first one's window goes with it.
  LogFile again("bubble_again");
  host.tip.OnIconSearchTimer(host, again.Log(), "tolmaro", &names);
  REQUIRE(host.tip.GetBubble());
  CHECK(host.tip.GetBubble()->GetHwnd() != bubbleWindow);
  CHECK(IsWindow(bubbleWindow) == FALSE);
}

TEST_CASE("showing the desktop leaves the thread's COM state as it found it") {
  // Pinned because an initialisation left open would change the UI thread's COM state for
  // whatever runs on it later.
  ToggleDesktop();
  HRESULT hr = CoInitialize(nullptr);
  CHECK(hr == S_OK);  // S_FALSE would mean COM was still initialised
  if (SUCCEEDED(hr)) CoUninitialize();
}

TEST_CASE("no bubble without the icon, without a list view, or without a shell") {
  struct Case {
    const char* mode;
    bool shell;
    const char* log;
  } cases[] = {
      {"empty", true, "IsWow64 = true\r\nnot found x64 'Tolmaro'\r\nIsRectEmpty() = true\r\n"},
      {"nolistview", true, "hwndSysListView32 = NULL\r\nIsRectEmpty() = true\r\n"},
      {"none", false, "hwndSysListView32 = NULL\r\nIsRectEmpty() = true\r\n"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.mode);
    std::unique_ptr<FakeShell> shell;
    DesktopShellNames names = {"TezNoWorkerW", "Progman", "TezNoSuchShell"};
    std::string title;
    if (c.shell) {
      shell = std::make_unique<FakeShell>(UniqueTitle(c.mode), c.mode);
      REQUIRE(shell->started);
      names = shell->Names();
    }
    BubbleHost host;
    LogFile log(std::string("nobubble_") + c.mode);
    host.tip.OnIconSearchTimer(host, log.Log(), nullptr, &names);
    CHECK(host.bubbleMessages == 0);
    CHECK(host.tip.GetBubble() == nullptr);
    CHECK(log.Text() == c.log);
    host.tip.OnBubbleTimer(host);  // nothing to hide
  }
}

TEST_CASE("the search starts at the first \"WorkerW\" window and walks the windows after it") {
  // The stand-in shell's "Progman" window is found from a worker window that lies before it
  // (this test's own window), not through the fallback lookup by title.
  FakeShell shell(UniqueTitle("worker"), "items");
  REQUIRE(shell.started);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "TezWorkerWTest";
  RegisterClassA(&wc);
  HWND worker = CreateWindowExA(WS_EX_TOPMOST, "TezWorkerWTest", "", WS_POPUP, -3000, -3000, 10, 10,
                                nullptr, nullptr, nullptr, nullptr);
  REQUIRE(worker);
  DesktopShellNames names = {"TezWorkerWTest", "TezNoProgman", "TezNoSuchShell"};
  LogFile log("worker");
  HWND listView = nullptr;
  RECT found = LocateDesktopIcon("tolmaro", &listView, log.Log(), names);
  CHECK(EqualRect(&found, &shell.item));
  DestroyWindow(worker);
}
