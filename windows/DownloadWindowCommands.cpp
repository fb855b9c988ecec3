// DownloadWindow's commands: the install button by phase, the folder choice, hide and
// minimise, the tray's close command, activation by a second copy, the error window's answers
// and the lobby launch.
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include "app/Config.h"
#include "app/Text.h"
#include "install/InstallWorker.h"
#include "windows/DownloadWindow.h"
#include "windows/WindowServices.h"

int DownloadWindow::OnNotify(const ElementEvent* event, UiElement* source) {
  if (!event || !source || event->code != ButtonClicked) return 0;
  switch (source->GetId()) {
    case InstallCommand:
      PressInstallButton();
      break;
    case HideCommand:
      trayIcon.Add();
      ShowWindow(hwnd, SW_HIDE);
      break;
    case MinimizeCommand:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case FolderCommand:
      ChooseFolder();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT DownloadWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (DispatchInstallHandOver(msg, wParam, lParam, *this)) return 0;
  if (msg == WM_COMMAND && wParam == TrayCloseCommand) {
    trayIcon.Remove();
    OnCloseRequest();
  } else if (msg == ActivateMessage && ActivateMessage != 0) {
    OnActivate();
  } else if (msg == RetryMessage) {
    InstallPhase = Downloading;
    installCaption->SetText(PauseCaption);
    installHost.Gate().Resume();
    StartWorker();
  } else if (msg == AcknowledgeMessage) {
    InstallPhase = Paused;
    installCaption->SetText(ContinueCaption);
    // Paused before the thread exists: the new worker waits at its first step.
    installHost.Gate().Pause();
    StartWorker();
  } else if (msg == ShowBubbleMessage) {
    OnShowBubble(wParam, lParam);
  }
  return LayeredWindow::HandleMessage(msg, wParam, lParam);
}

void DownloadWindow::PressInstallButton() {
  PauseGate& gate = installHost.Gate();
  switch (InstallPhase.load()) {
    case Idle:
      LayeredWindow::StartTimer(ProgressTimerId, ProgressTimerPeriodMs);
      InstallPhase = Downloading;
      installCaption->SetText(PauseCaption);
      gate.Resume();
      StartWorker();
      folderButton->SetEnabled(0);
      runner->SetVisible(1);
      break;
    case Downloading:
      LayeredWindow::StopTimer(ProgressTimerId);
      InstallPhase = Paused;
      installCaption->SetText(ContinueCaption);
      speedLabel->SetText(PausedSpeedText);
      gate.Pause();
      LayeredWindow::StopTimer(AnimationTimerId);
      break;
    case Paused:
      LayeredWindow::StartTimer(ProgressTimerId, ProgressTimerPeriodMs);
      InstallPhase = Downloading;
      installCaption->SetText(PauseCaption);
      gate.Resume();
      LayeredWindow::StartTimer(AnimationTimerId, AnimationTimerPeriodMs);
      break;
    case Installed:
      LayeredWindow::StopTimer(TipTimerId);
      LaunchLobby();
      OnCloseRequest();
      break;
    default:  // Installing: the worker is busy unpacking
      break;
  }
}

void DownloadWindow::StartWorker() {
  HANDLE thread = CreateThread(nullptr, 0, InstallWorkerThread,
                               static_cast<InstallHost*>(&installHost), 0, nullptr);
  if (!thread) WriteLog("CreateThread [%lu]", GetLastError());
  // A previous worker has ended by now (it ended with a failure); its handle goes.
  workerThread.reset(thread);
}

void DownloadWindow::OnActivate() {
  WriteLoginMarker();
  trayIcon.Remove();
  ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  ElementEvent click{0, 0, ButtonClicked};
  OnNotify(&click, installButton);
}

void DownloadWindow::ChooseFolder() {
  wchar_t buffer[FolderBufferSize] = {};
  if (!Services().chooseFolder(buffer, FolderBufferSize)) return;
  if (buffer[0] == L'\0') return;
  if (FreeMegabytes(buffer) < FolderMinimumMegabytes) {
    Services().messageBox(L"硬盘空间不足，请检查后再重试。");
    return;
  }
  // A drive root already ends in "\"; the display name is appended below either form.
  std::wstring root = buffer;
  if (root.back() != L'\\') root += L'\\';
  if (!SetInstallDirectory(root)) WriteLog("install folder too long");
}

void DownloadWindow::LaunchLobby() {
  if (!HasAdminMembership()) return;
  char path[LobbyPathSize] = {};
  std::string lobby = ToAnsi(InstallFolder().c_str()) + "lobby.exe";
  if (!CopyBounded(path, sizeof path, lobby.c_str())) {
    WriteLog("lobby path too long");
    return;
  }
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.lpVerb = "runas";
  info.lpFile = path;
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info)) {
    DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) {
      WriteLog("ShellExecuteEx dwError Do nothing!");
    } else {
      WriteLog("ShellExecuteEx [%lu]", error);
    }
  }
}
