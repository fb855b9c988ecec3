// DownloadWindow: the program's skinned 600 x 350 window; also the download engine the
// install worker drives, and the UI side of the worker's hand-over.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "app/DebugLog.h"
#include "app/Handle.h"
#include "install/PauseGate.h"
#include "install/PostedInstallHost.h"
#include "net/HttpDownloader.h"
#include "ui/ButtonElement.h"
#include "ui/LayeredWindow.h"
#include "ui/TextElement.h"
#include "ui/TrayIcon.h"
#include "windows/ErrorWindow.h"
#include "windows/ProgressDisplay.h"
#include "windows/WelcomeBubble.h"

class DownloadWindow;

// Registered from ActivateMessageName when the program loads.
extern const UINT ActivateMessage;

// Command ids of the window's buttons.
constexpr int InstallCommand = 901;
constexpr int HideCommand = 902;
constexpr int MinimizeCommand = 903;
constexpr int FolderCommand = 905;
constexpr WPARAM TrayCloseCommand = 40004;

constexpr wchar_t PathPrefix[] = L"安装路径：";
constexpr size_t PathPrefixLength = 5;
constexpr wchar_t PauseCaption[] = L"暂停安装";
constexpr wchar_t ContinueCaption[] = L"继续安装";
constexpr wchar_t PausedSpeedText[] = L"当前下载速度：0K/S";
constexpr uint64_t FolderMinimumMegabytes = 55;
constexpr size_t FolderBufferSize = 260;
constexpr size_t LobbyPathSize = 512;

// The worker's side of the window: reads the counters, hands UI changes over as posted
// messages and owns the pause gate of every worker the window starts.
class WindowInstallHost : public PostedInstallHost {
 public:
  explicit WindowInstallHost(DownloadWindow& owner) : window(owner) {}
  HttpDownloader& Downloader() override;
  ProgressCounts ReadProgress() override;
  void ClearReceived() override;
  std::wstring InstallFolder() override;
  HWND WindowHandle() override;
  PauseGate& Gate() override { return gate; }

 private:
  DownloadWindow& window;
  PauseGate gate;
};

class DownloadWindow : public LayeredWindow, public HttpDownloader, public InstallUiSink {
 public:
  DownloadWindow();
  ~DownloadWindow() override;

  int OnNotify(const ElementEvent* event, UiElement* source) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int IsDragRegion(RECT* out, UiElement* pressed) override;
  int OnCloseRequest() override;
  void OnTimer(UINT_PTR timer) override;
  void OnProgress(HANDLE file, int32_t state, uint32_t elapsedMsValue, uint64_t bytesReceivedValue,
                  uint64_t total, uint64_t done, int32_t context) override;

  // InstallUiSink: the worker's changes, on the UI thread.
  void ApplyLabelText(InstallLabel label, const std::wstring& text) override;
  void ApplyHideRunner() override;
  void ApplyStartTimer(UINT_PTR timer, UINT periodMs) override;
  void ApplyStopTimer(UINT_PTR timer) override;
  void ApplyShowFailure(int kind) override;

  // Shows the error window for a failure kind. UI thread.
  void ShowFailure(int kind);
  void WriteLog(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // The install folder: the path label's text after its prefix, ending in "\".
  std::wstring InstallFolder();
  // Latest counters as OnProgress stored them.
  DownloadProgress ReadCounters() const;
  void ClearReceived() { received.store(0); }
  WindowInstallHost& InstallHostPart() { return installHost; }
  HANDLE WorkerThread() const { return workerThread.get(); }

  // Element pointers; the element tree owns them.
  TextElement* versionLabel = nullptr;
  UiElement* titleImage = nullptr;
  UiElement* runner = nullptr;
  UiElement* progressFill = nullptr;
  TextElement* pathLabel = nullptr;
  TextElement* sizeLabel = nullptr;
  TextElement* speedLabel = nullptr;
  TextElement* percentLabel = nullptr;
  TextElement* tipLabel = nullptr;
  ButtonElement* installButton = nullptr;
  TextElement* installCaption = nullptr;
  ButtonElement* folderButton = nullptr;
  UiElement* hideButton = nullptr;
  UiElement* minimizeButton = nullptr;
  TrayIcon trayIcon;
  // The error window (hidden until a failure) and the elements this window fills in it.
  std::unique_ptr<ErrorWindow> errorWindow;
  ErrorWindowElements errorElements;
  DesktopIconTip iconTip;  // the welcome bubble beside the new desktop icon

 private:
  void BuildElements();
  void BuildLabels();
  // Sets InstallRoot to `root` (ending in "\") and the path label to the install directory
  // below it; false (nothing changed) when the path does not fit.
  bool SetInstallDirectory(const std::wstring& root);
  // The error window, welcome bubble and marker file (DownloadWindowPeers.cpp).
  void CreateErrorWindow();
  void WriteLoginMarker();
  void OnShowBubble(WPARAM wParam, LPARAM lParam);
  void OnIconSearchTimer();
  void OnBubbleTimer();
  void PressInstallButton();
  void ChooseFolder();
  void LaunchLobby();
  void OnActivate();
  // Starts a new install worker thread; its gate decides whether it runs at once.
  void StartWorker();
  void RefreshProgress();

  KernelHandle workerThread;
  WindowInstallHost installHost{*this};
  // Written by the worker's OnProgress, read by the progress timer.
  std::atomic<uint64_t> done{0};
  std::atomic<uint64_t> total{1};
  std::atomic<uint32_t> elapsedMs{1};
  std::atomic<uint64_t> received{0};
  std::mutex folderLock;
  std::wstring installFolder;  // copy of the path label's directory for the worker thread
  DebugLog log;
};
