// Shared pieces of the download window tests.
#include "tests/windows/DownloadWindowTestSupport.h"

#include "app/Config.h"
#include "app/Configuration.h"
#include "app/Text.h"
#include "windows/WindowServices.h"

namespace wintest {

FakeSystem& Fake() {
  static FakeSystem fake;
  return fake;
}

namespace {

UINT FakeDriveType(const char*) { return Fake().driveType; }

bool FakeFreeBytes(const char*, uint64_t* bytes) {
  if (Fake().freeQueryFails) return false;
  *bytes = Fake().freeBytes;
  return true;
}

bool FakeChooseFolder(wchar_t* buffer, size_t capacity) {
  if (Fake().chosenFolder.empty()) return false;
  return CopyBounded(buffer, capacity, Fake().chosenFolder.c_str());
}

void FakeMessageBox(const wchar_t* text) {
  ++Fake().messageBoxes;
  Fake().lastMessage = text;
}

void QuietReporter(const wchar_t*) {}

}  // namespace

std::unique_ptr<DownloadWindow> MakeWindow(UINT driveType) {
  Fake() = FakeSystem{};
  Fake().driveType = driveType;
  WindowServices& services = Services();
  services.driveType = FakeDriveType;
  services.freeBytes = FakeFreeBytes;
  services.chooseFolder = FakeChooseFolder;
  services.messageBox = FakeMessageBox;
  services.showWithoutActivation = true;
  SetConfigurationReporter(QuietReporter);
  InstallPhase.store(Idle);
  TipIndex = 0;
  auto window = std::make_unique<DownloadWindow>();
  PumpFor(50);
  return window;
}

void EndWorker(DownloadWindow& window) {
  HANDLE thread = window.WorkerThread();
  if (!thread || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) return;
  window.InstallHostPart().Gate().Pause();
  // Parked once the counters stop moving: the worker then waits at its pause point.
  uint64_t last = window.ReadCounters().done;
  DWORD stableSince = GetTickCount();
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 8000 && GetTickCount() - stableSince < 700) {
    PumpFor(20);
    uint64_t now = window.ReadCounters().done;
    if (now != last) {
      last = now;
      stableSince = GetTickCount();
    }
  }
  TerminateThread(thread, 0);
  WaitForSingleObject(thread, 2000);
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  } while (GetTickCount() - start < ms);
}

void Click(UiElement& window, UiElement* button) {
  ElementEvent click{0, 0, ButtonClicked};
  window.OnNotify(&click, button);
}

void MouseClick(DownloadWindow& window, int x, int y) {
  HWND hwnd = window.GetHwnd();
  LPARAM at = MAKELPARAM(x, y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

std::wstring Text(TextElement* label) {
  const wchar_t* text = label->GetText();
  return text ? text : L"";
}

RECT Bounds(UiElement* element) {
  RECT r{};
  element->GetBounds(&r);
  return r;
}

std::string Narrow(const std::wstring& text) { return ToUtf8(text.c_str()); }

uint64_t FileSizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace wintest
