// The install worker: one thread that carries an install from download to its ending.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/Config.h"
#include "install/Statistics.h"

class InstallHost;

// Download attempts before the download failure: DownloadRetryLimit (install/AttemptLimit.cpp).
// Only the acceptance tests' build of the program links a lower bound of its own in place of
// that file, so the failure shows in seconds; the shipped program never does.
extern const int32_t DownloadAttemptLimit;

struct InstallWorkerSettings {
  int32_t attemptLimit = DownloadAttemptLimit;
  const char* statsHost = StatsHost;  // host[:port] of the statistics endpoint
};

class InstallWorker {
 public:
  explicit InstallWorker(InstallHost& host, const InstallWorkerSettings& settings = {});
  InstallWorker(const InstallWorker&) = delete;
  InstallWorker& operator=(const InstallWorker&) = delete;

  // Runs every step on the calling thread. Returns when the worker is done; the ending with
  // an installed lobby (unpack result 512 and lobby.exe present) ends the process instead.
  void Run();

  // Attempts made by the last Run (DownloadToFile calls).
  int32_t Attempts() const { return attempts; }

 private:
  bool Download();
  int Unpack(const std::wstring& archivePath, DWORD& archiveSize, DWORD& rootAttributes,
             int& rootCreation);
  void WaitBeforeUnpacking();
  void Report(ReportType type, const std::string& encodedResult);

  InstallHost& host;
  InstallWorkerSettings settings;
  int32_t attempts = 0;
};

// Thread entry: parameter is the InstallHost; runs InstallWorker with the program's settings.
DWORD WINAPI InstallWorkerThread(LPVOID parameter);

// "%.02fM/%.02fM" of the full 64-bit byte counts (5 GiB shows 5120.00M).
std::wstring FinalSizeText(uint64_t done, uint64_t total);

// True for unpack results that mean the archive file itself is damaged (not the disk's or
// the target folder's fault): such an archive is deleted so the next run downloads it afresh.
bool IsDamagedArchiveResult(int result);
