// Entry point: crash handler, single-instance rule, the download window and its message loop.
#include <windows.h>

#include "app/Config.h"
#include "app/CrashHandler.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallCrashHandler();
  CreateMutexA(nullptr, FALSE, SingleInstanceMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(ActivateMessageName), 0, 0);
    return 0;
  }
  return 0;
}
