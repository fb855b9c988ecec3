// Owners for kernel handles.
#pragma once

#include <windows.h>

#include <utility>

// Owns a HANDLE whose "no handle" value is Invalid (INVALID_HANDLE_VALUE for files, null
// for most other kernel objects).
template <intptr_t InvalidValue>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE value) : handle(value) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~ScopedHandle() { reset(); }

  HANDLE get() const { return handle; }
  bool valid() const { return handle != Invalid() && handle != nullptr; }
  HANDLE release() { return std::exchange(handle, Invalid()); }
  void reset(HANDLE value = Invalid()) {
    HANDLE old = std::exchange(handle, value);
    if (old != Invalid() && old != nullptr) CloseHandle(old);
  }

 private:
  static HANDLE Invalid() { return reinterpret_cast<HANDLE>(InvalidValue); }
  HANDLE handle = Invalid();
};

using FileHandle = ScopedHandle<-1>;   // CreateFile: INVALID_HANDLE_VALUE
using KernelHandle = ScopedHandle<0>;  // threads, events, mutexes, processes: null
