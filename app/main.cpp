// Entry point: crash handler, single-instance rule, the download window and its message loop.
#include <windows.h>

#include "app/Config.h"
#include "app/CrashHandler.h"
#include "ui/MessageLoop.h"
#include "windows/DownloadWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallCrashHandler();  // start-up goes on without it; crashes then leave no dump
  // The mutex stays open until the process ends: it is what tells a second copy to step back.
  SetLastError(ERROR_SUCCESS);
  CreateMutexA(nullptr, FALSE, SingleInstanceMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    PostMessageA(HWND_BROADCAST, ActivateMessage, 0, 0);
    return 0;
  }
  // Most exits end the process from inside the window; the end of the message loop is the
  // only one that returns here and runs the window's teardown.
  DownloadWindow window;
  RunMessageLoop();
  return 0;
}
