// Shared set-up of the pipeline tests: servers, install folders in the Wine prefix, and a
// bounded run of the worker on its own thread.
#pragma once

#include <windows.h>

#include <string>

#include "install/InstallWorker.h"
#include "tests/install/RecordingHost.h"

namespace pipeline {

constexpr char NginxFixture[] = "pipeline_nginx";
constexpr char FaultFixture[] = "pipeline_fault";
constexpr int32_t TestChannelId = 200064;

std::string NginxHost();
std::string NginxLog();       // nginx's access log: one line per request
std::string ServedArchive();  // the archive nginx serves
std::string DemoLobby();      // the built demo lobby.exe

// C:\tez-pipeline\<name>\ made empty; sets InstallRoot to it and returns the install folder
// below it (ending in "\").
std::wstring PrepareInstallRoot(const char* name);
// DownloadHost, DownloadPath and ChannelId as the program would have them.
void UseDownload(const std::string& host, const char* path = "/tez_lobby.zip");

// The worker on its own thread. A worker still running at destruction (a failing test) is
// terminated; the current folder the worker changed is restored.
class WorkerThread {
 public:
  WorkerThread(RecordingHost& host, const InstallWorkerSettings& settings);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  bool Wait(DWORD timeoutMs);  // true once the worker has ended
  int32_t Attempts() const { return attempts; }

 private:
  static DWORD WINAPI Main(LPVOID parameter);

  RecordingHost& host;
  InstallWorkerSettings settings;
  int32_t attempts = 0;
  wchar_t savedFolder[MAX_PATH] = {};
  HANDLE thread = nullptr;
};

struct WorkerRun {
  bool ended = false;
  int32_t attempts = 0;
};
// Runs the worker and waits up to timeoutMs.
WorkerRun RunWorker(RecordingHost& host, const InstallWorkerSettings& settings,
                    DWORD timeoutMs = 60000);
InstallWorkerSettings TestSettings(int32_t attemptLimit = 20);

// The nginx log lines that contain needle.
std::string LogLinesWith(const std::string& needle);

}  // namespace pipeline
