// Unbuffered line log for support; off unless its file was created beforehand.
#include "app/DebugLog.h"

#include <cstdarg>
#include <cstdio>

void DebugLog::Open(const char* path) {
  file.reset(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

void DebugLog::Write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteV(format, args);
  va_end(args);
}

void DebugLog::WriteV(const char* format, va_list args) {
  if (!file.valid()) return;
  char buffer[BufferSize];
  int length = vsnprintf(buffer, sizeof buffer, format, args);
  if (length < 0) return;
  // vsnprintf reports the length it wanted; what was kept is at most the buffer less its zero.
  DWORD bytes = static_cast<DWORD>(length) < sizeof buffer ? static_cast<DWORD>(length)
                                                           : static_cast<DWORD>(sizeof buffer - 1);
  DWORD written = 0;
  WriteFile(file.get(), buffer, bytes, &written, nullptr);
  WriteFile(file.get(), "\r\n", 2, &written, nullptr);
}
