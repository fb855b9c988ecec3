// Runs the download window commands that end their process, so a test can check the exit
// code and what was left behind.
//   window_probe tray-close          tray menu command 40004
//   window_probe close               a close request (WM_CLOSE)
//   window_probe lobby <root>        install button in the Installed phase, lobby below root
// Exit code 3 means the process outlived the command.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/Config.h"
#include "app/Configuration.h"
#include "app/Text.h"
#include "windows/DownloadWindow.h"
#include "windows/WindowServices.h"

namespace {

std::wstring chosen;

bool ChooseFixed(wchar_t* buffer, size_t capacity) {
  return CopyBounded(buffer, capacity, chosen.c_str());
}
bool PlentyFree(const char*, uint64_t* bytes) {
  *bytes = 1ull << 40;
  return true;
}
void Quiet(const wchar_t*) {}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string mode = argv[1];
  SetConfigurationReporter(Quiet);
  Services().showWithoutActivation = true;
  Services().freeBytes = PlentyFree;
  Services().chooseFolder = ChooseFixed;
  DownloadWindow window;
  HWND hwnd = window.GetHwnd();
  if (mode == "tray-close") {
    window.trayIcon.Add();
    SendMessageW(hwnd, WM_COMMAND, TrayCloseCommand, 0);
  } else if (mode == "close") {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
  } else if (mode == "lobby" && argc >= 3) {
    chosen = FromAnsi(argv[2]);
    ElementEvent click{0, 0, ButtonClicked};
    window.OnNotify(&click, window.folderButton);
    InstallPhase.store(Installed);
    window.OnNotify(&click, window.installButton);
  } else {
    return 2;
  }
  return 3;
}
