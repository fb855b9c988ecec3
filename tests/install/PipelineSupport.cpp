// Shared set-up of the pipeline tests.
#include "tests/install/PipelineSupport.h"

#include <sstream>

#include "app/Config.h"
#include "app/Text.h"
#include "tests/servers/TestServers.h"
#include "tests/support/TestSupport.h"

namespace pipeline {

namespace {

std::string statsHost;

}  // namespace

std::string NginxHost() { return test::ServerHost(NginxFixture); }
std::string NginxLog() { return test::ServerDir(NginxFixture) + "\\access.log"; }
std::string ServedArchive() { return test::ServerDir(NginxFixture) + "\\www\\tez_lobby.zip"; }
std::string DemoLobby() { return test::BinaryPath("demo\\lobby.exe"); }

std::wstring PrepareInstallRoot(const char* name) {
  CreateDirectoryA("C:\\tez-pipeline", nullptr);
  std::string root = std::string("C:\\tez-pipeline\\") + name;
  test::RemoveTree(root);
  CreateDirectoryA(root.c_str(), nullptr);
  std::wstring wideRoot = FromAnsi(root.c_str()) + L"\\";
  CopyBounded(InstallRoot, InstallRootSize, wideRoot.c_str());
  return wideRoot + L"Tolmaro\\";
}

void UseDownload(const std::string& host, const char* path) {
  CopyBounded(DownloadHost, HostTextSize, host.c_str());
  CopyBounded(DownloadPath, DownloadPathSize, path);
  ChannelId = TestChannelId;
  InstallPhase.store(Downloading);
}

InstallWorkerSettings TestSettings(int32_t attemptLimit) {
  statsHost = NginxHost();
  InstallWorkerSettings settings;
  settings.attemptLimit = attemptLimit;
  settings.statsHost = statsHost.c_str();
  return settings;
}

WorkerThread::WorkerThread(RecordingHost& hostValue, const InstallWorkerSettings& settingsValue)
    : host(hostValue), settings(settingsValue) {
  GetCurrentDirectoryW(MAX_PATH, savedFolder);
  thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
}

WorkerThread::~WorkerThread() {
  if (thread) {
    if (!Wait(0)) {
      // Only a failing test gets here; the stuck worker must not outlive its host.
      TerminateThread(thread, 1);
      WaitForSingleObject(thread, 5000);
    }
    CloseHandle(thread);
  }
  SetCurrentDirectoryW(savedFolder);
}

bool WorkerThread::Wait(DWORD timeoutMs) {
  return thread && WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI WorkerThread::Main(LPVOID parameter) {
  auto* self = static_cast<WorkerThread*>(parameter);
  InstallWorker worker(self->host, self->settings);
  worker.Run();
  self->attempts = worker.Attempts();
  return 0;
}

WorkerRun RunWorker(RecordingHost& host, const InstallWorkerSettings& settings, DWORD timeoutMs) {
  WorkerThread thread(host, settings);
  WorkerRun run;
  run.ended = thread.Wait(timeoutMs);
  run.attempts = thread.Attempts();
  return run;
}

std::string LogLinesWith(const std::string& needle) {
  std::string text;
  test::ReadWholeFile(NginxLog(), text);
  std::istringstream lines(text);
  std::string line;
  std::string found;
  while (std::getline(lines, line)) {
    if (line.find(needle) != std::string::npos) found += line + "\n";
  }
  return found;
}

}  // namespace pipeline
