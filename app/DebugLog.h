// The optional support log: written only when "__lobby_dl_debug.log" already exists.
#pragma once

#include <windows.h>

#include <cstdarg>

#include "app/Handle.h"

class DebugLog {
 public:
  static constexpr size_t BufferSize = 4096;

  DebugLog() = default;
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;

  // Opens the file in the current folder if it exists; each run writes from offset 0.
  void Open(const char* path = "__lobby_dl_debug.log");
  bool IsOpen() const { return file.valid(); }

  // One printf-style line ending in "\r\n". Text beyond the 4096-byte buffer is cut off.
  void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void WriteV(const char* format, va_list args);

 private:
  FileHandle file;
};
