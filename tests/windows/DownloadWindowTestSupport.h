// Shared pieces of the download window tests: a window built with replaced system calls,
// bounded message pumping, clicks and the worker's cleanup.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "windows/DownloadWindow.h"

namespace wintest {

// What the replaced system calls answer and record.
struct FakeSystem {
  UINT driveType = DRIVE_FIXED;
  uint64_t freeBytes = 1ull << 40;
  bool freeQueryFails = false;
  std::wstring chosenFolder;  // empty: the dialog is cancelled
  int messageBoxes = 0;
  std::wstring lastMessage;
};
FakeSystem& Fake();

// Resets the process-wide values a window changes, installs the fakes and builds a window
// shown without activation.
std::unique_ptr<DownloadWindow> MakeWindow(UINT driveType = DRIVE_FIXED);
// Pauses a running worker, waits for it to park at its pause point and ends it, so the
// window can be destroyed under it.
void EndWorker(DownloadWindow& window);

void PumpFor(DWORD ms);
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    PumpFor(10);
  }
  return true;
}

// A ButtonClicked event from `button`, as the toolkit raises it.
void Click(UiElement& window, UiElement* button);
// A real left click at window client coordinates, through the window's messages.
void MouseClick(DownloadWindow& window, int x, int y);

std::wstring Text(TextElement* label);
RECT Bounds(UiElement* element);
std::string Narrow(const std::wstring& text);
uint64_t FileSizeOf(const std::wstring& path);

}  // namespace wintest
