// WinInet client for the installer archive: one connection to the download host, GET
// requests with redirects, and a download into a local file that resumes by date and size.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "net/InternetHandle.h"

class HttpDownloader {
 public:
  // DownloadToFile results.
  static constexpr int DownloadComplete = 0;  // body read to the end
  static constexpr int AlreadyComplete = 1;   // file held every byte with the server's date
  static constexpr int RequestFailed = -1;    // first request, Last-Modified or Content-Length
  static constexpr int ReadFailed = -2;       // body read failed or ended early
  static constexpr int FileFailed = -3;       // file open or write failed
  static constexpr int Stopped = -4;          // the stop request was 1

  // OnProgress states.
  static constexpr int32_t ProgressNoBody = 0;
  static constexpr int32_t ProgressBlockWritten = 1;

  static constexpr DWORD TimeoutMs = 5000;  // connect, send and receive
  static constexpr DWORD BlockSize = 4096;
  static constexpr int RedirectLimit = 10;  // hops followed one after another

  HttpDownloader();
  virtual ~HttpDownloader();
  HttpDownloader(const HttpDownloader&) = delete;
  HttpDownloader& operator=(const HttpDownloader&) = delete;

  // hostText is "host" or "host:port" (port 80 without a number); null only closes the
  // handles. Returns 1 on success, 0 on failure.
  [[nodiscard]] int Connect(const char* hostText, const char* userName, const char* password,
                            int32_t contextValue);
  // GET objectPath with optional extra header text; follows 301/302 by reconnecting.
  // Returns 1 for status 200 or 206, else 0.
  [[nodiscard]] int SendGet(const char* objectPath, const char* headerText);
  // Content-Length / Last-Modified of the current reply; 1 when read, else 0 (out untouched
  // on failure).
  [[nodiscard]] int QueryContentLength(uint64_t* size);
  [[nodiscard]] int QueryLastModified(SYSTEMTIME* time);
  // 1..12 for a three-letter English month name at the start of text (any case), else 0.
  static int MonthFromName(const char* text);
  // Downloads objectPath into fileName (relative to the current folder); resumeFlag 1 allows
  // continuing a partial file that carries the server's date. Returns 0, 1 or -1..-4 above.
  [[nodiscard]] int DownloadToFile(const char* objectPath, const char* fileName, int resumeFlag);

  // Any thread may ask a running DownloadToFile to end (-4); Connect clears the request.
  void SetStopRequest(int32_t value) { stopRequest.store(value, std::memory_order_relaxed); }
  int32_t StopRequest() const { return stopRequest.load(std::memory_order_relaxed); }

  int32_t ContextValue() const { return contextValue; }
  uint32_t ElapsedMs() const { return elapsedMs; }
  uint64_t BytesReceived() const { return bytesReceived; }

  // Called on the downloading thread once per written block (state 1) and once when a call
  // ends without reading a body (state 0). The base does nothing.
  virtual void OnProgress(HANDLE file, int32_t state, uint32_t elapsedMsValue,
                          uint64_t bytesReceivedValue, uint64_t total, uint64_t done,
                          int32_t context);

 private:
  void CloseAll();
  int SendGetHop(const char* objectPath, const char* headerText, int hops);

  InternetHandle internet;
  InternetHandle connection;
  InternetHandle request;
  std::atomic<int32_t> stopRequest{0};
  int32_t contextValue = 0;
  uint32_t elapsedMs = 1;
  uint64_t bytesReceived = 0;
};
