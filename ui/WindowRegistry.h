// WindowRegistry: maps each thread's live toolkit windows from handle to object, for the
// message loop's pre-translation walk.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>

class LayeredWindow;

class WindowRegistry {
 public:
  // Stores window under its GetHwnd() for the calling thread; a null window is ignored.
  static void Register(LayeredWindow* window);
  // The calling thread's live window for hwnd, or null. A destroyed window is never
  // returned: its entry goes when the window is destroyed (Forget), so a new window that
  // receives a recycled handle value is never matched with the old object.
  static LayeredWindow* Find(HWND hwnd);
  // Drops the calling thread's entry for hwnd if it still points at window. Called by the
  // window procedure on WM_NCDESTROY, which runs on the registering thread.
  static void Forget(HWND hwnd, const LayeredWindow* window);

  // Whether the calling thread has an entry for hwnd, live or not (for diagnostics).
  static bool IsRegistered(HWND hwnd);

  static WindowRegistry& Instance();

 private:
  WindowRegistry() = default;

  // Windows are registered and looked up by the thread that owns them; the lock only keeps
  // the outer map consistent when two threads register at once.
  std::mutex lock;
  std::map<DWORD, std::map<HWND, LayeredWindow*>> windows;
};
