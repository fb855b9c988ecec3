// WindowSubclass: sends every message of a window through a procedure bound to an object
// before the window's own procedure, and gives the old procedure back on Detach.
#pragma once

#include <windows.h>

// Runs first for every message of the window. It decides what the window answers; it passes
// a message on with WindowSubclass::CallPrevious.
using SubclassProcedure = LRESULT (*)(void* context, UINT message, WPARAM wParam, LPARAM lParam);

// The object is found from the window through a window property, so the binding works the
// same on 32-bit and 64-bit builds and needs no generated code. One WindowSubclass at a time
// per window. Use it on the thread that owns the window.
class WindowSubclass {
 public:
  WindowSubclass() = default;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  virtual ~WindowSubclass();

  // 1 = the window's messages now reach procedure(context, ...) first. 0 for a null argument,
  // a window already taken over by another WindowSubclass, or a failed takeover.
  [[nodiscard]] int Attach(HWND window, SubclassProcedure procedure, void* context);
  // 1 = the previous procedure is installed again. 0 when nothing is attached, or when
  // another procedure has been installed over ours since (restoring ours' predecessor then
  // would cut that one out); the takeover is kept in that case.
  int Detach();

  // Hands a message unchanged to the procedure that was installed before and returns its
  // answer; 0 when nothing is attached.
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const;

  HWND GetWindow() const { return window; }
  WNDPROC GetPreviousProcedure() const { return previousProcedure; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HWND window = nullptr;
  WNDPROC previousProcedure = nullptr;
  SubclassProcedure procedure = nullptr;
  void* context = nullptr;
  // A Unicode window keeps Unicode messages: the W forms are used for it throughout, so
  // texts pass the takeover unconverted.
  bool unicode = false;
};
