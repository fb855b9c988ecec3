// Shared pieces of the net tests: fixture names and a downloader that records progress.
#pragma once

#include <string>
#include <vector>

#include "net/HttpDownloader.h"
#include "tests/servers/TestServers.h"
#include "tests/support/TestSupport.h"

constexpr char FaultFixture[] = "net_fault";
constexpr char NginxFixture[] = "net_nginx";

// The fault server's default Last-Modified, Wed, 21 Oct 2015 07:28:00 GMT.
constexpr SYSTEMTIME FaultServerDate = {2015, 10, 0, 21, 7, 28, 0, 0};

inline bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

// A file with the given content and last-write time.
inline bool MakeFile(const std::string& path, const std::string& content, const SYSTEMTIME& time) {
  return test::WriteWholeFile(path, content) && test::SetLastWriteTime(path, time);
}

struct ProgressCall {
  int32_t state;
  uint32_t elapsedMs;
  uint64_t received;
  uint64_t total;
  uint64_t done;
  int32_t context;
  SYSTEMTIME stamp;  // the file's last-write time as OnProgress sees it
};

// Records every OnProgress call; can raise the stop request after a number of blocks.
class RecordingDownloader : public HttpDownloader {
 public:
  std::vector<ProgressCall> calls;
  int stopAfterBlocks = -1;

  void OnProgress(HANDLE file, int32_t state, uint32_t elapsedMsValue, uint64_t bytesReceivedValue,
                  uint64_t total, uint64_t done, int32_t context) override {
    CHECK(file != nullptr);
    CHECK(file != INVALID_HANDLE_VALUE);
    FILETIME lastWrite = {};
    SYSTEMTIME stamp = {};
    if (GetFileTime(file, nullptr, nullptr, &lastWrite)) FileTimeToSystemTime(&lastWrite, &stamp);
    calls.push_back({state, elapsedMsValue, bytesReceivedValue, total, done, context, stamp});
    if (state == 1 && static_cast<int>(calls.size()) == stopAfterBlocks) SetStopRequest(1);
  }
};
