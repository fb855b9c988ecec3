// The worker's UI changes reach the window's thread as posted messages, in order, each with
// its own copy of the text.
#include <windows.h>

#include <string>
#include <vector>

#include "app/Config.h"
#include "app/Text.h"
#include "install/PauseGate.h"
#include "install/PostedInstallHost.h"
#include "net/HttpDownloader.h"
#include "tests/support/Doctest.h"

namespace {

class WindowSide : public PostedInstallHost, public InstallUiSink {
 public:
  WindowSide()
      : window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr)),
        uiThread(GetCurrentThreadId()) {}
  ~WindowSide() override { DestroyWindow(window); }

  // Worker side: only the posted operations are used here.
  HttpDownloader& Downloader() override { return downloader; }
  ProgressCounts ReadProgress() override { return {}; }
  void ClearReceived() override {}
  std::wstring InstallFolder() override { return L""; }
  HWND WindowHandle() override { return window; }
  PauseGate& Gate() override { return gate; }

  // UI side.
  void ApplyLabelText(InstallLabel label, const std::wstring& text) override {
    Record("text " + std::to_string(static_cast<int>(label)) + " " + ToUtf8(text.c_str()));
  }
  void ApplyHideRunner() override { Record("runner hidden"); }
  void ApplyStartTimer(UINT_PTR id, UINT periodMs) override {
    Record("timer+ " + std::to_string(id) + " " + std::to_string(periodMs));
  }
  void ApplyStopTimer(UINT_PTR id) override { Record("timer- " + std::to_string(id)); }
  void ApplyShowFailure(int kind) override { Record("failure " + std::to_string(kind)); }

  void Record(const std::string& line) {
    applied.push_back(line);
    if (GetCurrentThreadId() != uiThread) offThread = true;
  }

  HttpDownloader downloader;
  PauseGate gate;
  HWND window;
  DWORD uiThread;
  std::vector<std::string> applied;
  bool offThread = false;
};

DWORD WINAPI WorkerSide(LPVOID parameter) {
  auto* host = static_cast<WindowSide*>(parameter);
  std::wstring text = L"12.50M/80.25M";
  host->StartTimer(AnimationTimerId, AnimationTimerPeriodMs);
  host->SetLabelText(InstallLabel::Size, text);
  text.assign(L"overwritten by the worker");  // the posted copy must not change
  host->SetLabelText(InstallLabel::Caption, L"正在启动");
  host->StopTimer(ProgressTimerId);
  host->HideRunner();
  host->ShowFailure(1);
  return 0;
}

}  // namespace

TEST_CASE("Posted UI changes are applied on the UI thread in the order the worker made them") {
  WindowSide side;
  REQUIRE(side.window);
  HANDLE worker = CreateThread(nullptr, 0, WorkerSide, &side, 0, nullptr);
  REQUIRE(worker);
  REQUIRE(WaitForSingleObject(worker, 10000) == WAIT_OBJECT_0);
  CloseHandle(worker);
  CHECK(side.applied.empty());  // nothing happens until the UI thread dispatches

  MSG message;
  DWORD start = GetTickCount();
  while (side.applied.size() < 6 && GetTickCount() - start < 5000) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(10);
      continue;
    }
    if (!DispatchInstallHandOver(message.message, message.wParam, message.lParam, side)) {
      DispatchMessageW(&message);
    }
  }
  std::vector<std::string> expected = {"timer+ 112 50", "text 0 12.50M/80.25M", "text 2 正在启动",
                                       "timer- 99",     "runner hidden",        "failure 1"};
  CHECK(side.applied == expected);
  CHECK_FALSE(side.offThread);
}

TEST_CASE("Other messages, and a stray message with the hand-over number, are left alone") {
  struct NullSink : InstallUiSink {
    void ApplyLabelText(InstallLabel, const std::wstring&) override { called = true; }
    void ApplyHideRunner() override { called = true; }
    void ApplyStartTimer(UINT_PTR, UINT) override { called = true; }
    void ApplyStopTimer(UINT_PTR) override { called = true; }
    void ApplyShowFailure(int) override { called = true; }
    bool called = false;
  } sink;
  CHECK_FALSE(DispatchInstallHandOver(WM_TIMER, 0, 0, sink));
  CHECK_FALSE(DispatchInstallHandOver(InstallHandOverMessage, 0, 12345, sink));
  CHECK_FALSE(sink.called);
}
