// The install worker: connect, download with retries, unpack, then one of three endings.
#include "install/InstallWorker.h"

#include <windows.h>
// shlobj.h needs the types windows.h declares.
#include <shlobj.h>

#include <cstdio>

#include "app/Handle.h"
#include "app/Text.h"
#include "install/ArchiveResult.h"
#include "install/ExtractArchive.h"
#include "install/InstallHost.h"
#include "install/InstallResultText.h"
#include "install/LobbyLaunch.h"
#include "install/PauseGate.h"
#include "install/Shortcut.h"
#include "install/StallRule.h"
#include "install/UrlEncode.h"
#include "net/HttpDownloader.h"

namespace {

constexpr wchar_t FinishedPercentText[] = L"100%";
constexpr wchar_t StartingCaption[] = L"正在启动";
constexpr int DownloadFailureKind = 0;
constexpr int InstallFailureKind = 1;
// While the window applies a pause, the phase may read Paused a moment before the gate
// closes; the worker looks again after this long.
constexpr DWORD PhaseRecheckMs = 10;

}  // namespace

std::wstring FinalSizeText(uint64_t done, uint64_t total) {
  wchar_t text[64];
  swprintf(text, sizeof text / sizeof text[0], L"%.02fM/%.02fM",
           static_cast<double>(done) / 1048576.0, static_cast<double>(total) / 1048576.0);
  return text;
}

bool IsDamagedArchiveResult(int result) {
  switch (result) {
    case ArchiveSuccessResult:
    case OutputCreateFailedResult:  // the disk's fault: a file in use or write-protected
    case OutputWriteFailedResult:   // the disk's fault: full or failing
    case TargetUnavailableResult:   // the install root's fault
    case TargetNotFolderResult:
      return false;
    default:
      return true;
  }
}

InstallWorker::InstallWorker(InstallHost& hostValue, const InstallWorkerSettings& settingsValue)
    : host(hostValue), settings(settingsValue) {}

void InstallWorker::Run() {
  attempts = 0;
  // A worker created paused does nothing until it is continued.
  host.Gate().WaitWhilePaused();
  host.StartTimer(AnimationTimerId, AnimationTimerPeriodMs);
  // A failed connect shows up as failed attempts.
  (void)host.Downloader().Connect(DownloadHost, nullptr, nullptr, 0);

  std::wstring folder = host.InstallFolder();
  std::wstring archivePath = folder + FromAnsi(EditionInfo.installerFileName);
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  SetCurrentDirectoryW(folder.c_str());

  if (!Download()) {
    host.ShowFailure(DownloadFailureKind);  // no report for a download that never finished
    return;
  }

  WaitBeforeUnpacking();
  host.StopTimer(AnimationTimerId);
  host.StopTimer(ProgressTimerId);
  ProgressCounts progress = host.ReadProgress();
  host.SetLabelText(InstallLabel::Size, FinalSizeText(progress.done, progress.total));
  host.SetLabelText(InstallLabel::Percent, FinishedPercentText);
  host.SetLabelText(InstallLabel::Caption, StartingCaption);

  DWORD archiveSize = 0;
  DWORD rootAttributes = 0;
  int rootCreation = 0;
  int result = Unpack(archivePath, archiveSize, rootAttributes, rootCreation);
  std::wstring text =
      InstallResultText(folder, result, rootAttributes, rootCreation, GetLastError(), archiveSize);
  std::string encoded = UrlEncodeUtf8(text.c_str());

  if (result == ArchiveSuccessResult) {
    CreateDesktopShortcut(host);
    // The report goes out before the phase and the activation that launch the lobby: the
    // launch ends the process, and a report still on its way would be lost with it.
    Report(ReportType::Success, encoded);
    InstallPhase.store(Installed);
    PostMessageA(host.WindowHandle(), RegisterWindowMessageA(ActivateMessageName), 0, 0);
    host.HideRunner();
    host.StartTimer(BubbleTimerId, BubbleTimerPeriodMs);
    return;
  }
  if (result == OutputCreateFailedResult) LaunchInstalledLobby(folder.c_str());
  // Kept, a damaged archive that carries the server's date would count as complete on
  // every later run and fail the same unpack forever.
  if (IsDamagedArchiveResult(result)) DeleteFileW(archivePath.c_str());
  Report(ReportType::Failure, encoded);
  host.ShowFailure(InstallFailureKind);
}

bool InstallWorker::Download() {
  StallRule stall;
  for (;;) {
    host.Gate().WaitWhilePaused();
    if (attempts >= settings.attemptLimit) return false;
    uint64_t before = host.ReadProgress().received;
    int result = host.Downloader().DownloadToFile(DownloadPath, EditionInfo.installerFileName, 1);
    ++attempts;
    if (result >= 0) return true;
    if (stall.AfterFailedAttempt(before, host.ReadProgress().received)) host.ClearReceived();
  }
}

void InstallWorker::WaitBeforeUnpacking() {
  // The last safe point of the run: once the phase reads Installing the install button
  // ignores pause, so a pause that arrives now is honoured before the phase moves on.
  for (;;) {
    host.Gate().WaitWhilePaused();
    int32_t phase = InstallPhase.load();
    if (phase == Paused) {
      Sleep(PhaseRecheckMs);
      continue;
    }
    if (InstallPhase.compare_exchange_strong(phase, Installing)) return;
  }
}

int InstallWorker::Unpack(const std::wstring& archivePath, DWORD& archiveSize,
                          DWORD& rootAttributes, int& rootCreation) {
  std::string archive = ToAnsi(archivePath.c_str());
  std::string root = ToAnsi(InstallRoot);
  int result = ExtractArchive(archive.c_str(), nullptr, root.c_str());
  if (result == ArchiveSuccessResult) return result;

  FileHandle file(
      CreateFileA(archive.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file.valid()) archiveSize = GetFileSize(file.get(), nullptr);
  file.reset();
  rootAttributes = GetFileAttributesW(InstallRoot);
  rootCreation = SHCreateDirectoryExW(nullptr, InstallRoot, nullptr);
  if (rootCreation == ERROR_SUCCESS || GetLastError() == ERROR_ALREADY_EXISTS) {
    result = ExtractArchive(archive.c_str(), nullptr, root.c_str());
  }
  return result;
}

void InstallWorker::Report(ReportType type, const std::string& encodedResult) {
  std::wstring url = BuildStatisticsUrl(settings.statsHost, type, encodedResult, ChannelId);
  SendStatistics(url.c_str());
}

DWORD WINAPI InstallWorkerThread(LPVOID parameter) {
  InstallWorker worker(*static_cast<InstallHost*>(parameter));
  worker.Run();
  return 0;
}
