// Owner for one WinInet handle (internet, connection or request).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET value) : handle(value) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { reset(); }

  HINTERNET get() const { return handle; }
  explicit operator bool() const { return handle != nullptr; }
  void reset(HINTERNET value = nullptr) {
    HINTERNET old = std::exchange(handle, value);
    if (old) InternetCloseHandle(old);
  }

 private:
  HINTERNET handle = nullptr;
};
