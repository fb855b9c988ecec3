// WindowSubclass: window-procedure takeover through a window property.
#include "ui/WindowSubclass.h"

namespace {

// The object, and the procedure to fall back to should the object go away while the
// takeover could not be undone.
constexpr char ObjectProperty[] = "WindowSubclass.Object";
constexpr char PreviousProperty[] = "WindowSubclass.Previous";

LONG_PTR GetProcedure(HWND window, bool unicode) {
  return unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                 : GetWindowLongPtrA(window, GWLP_WNDPROC);
}

LONG_PTR SetProcedure(HWND window, bool unicode, LONG_PTR value) {
  SetLastError(0);
  return unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                 : SetWindowLongPtrA(window, GWLP_WNDPROC, value);
}

LRESULT CallProcedure(WNDPROC procedure, bool unicode, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  return unicode ? CallWindowProcW(procedure, window, message, wParam, lParam)
                 : CallWindowProcA(procedure, window, message, wParam, lParam);
}

}  // namespace

WindowSubclass::~WindowSubclass() {
  if (window && !Detach()) {
    // Another procedure sits on top of ours and will keep calling it: leave it the previous
    // procedure to forward to, without the object that is going away.
    RemovePropA(window, ObjectProperty);
  }
}

int WindowSubclass::Attach(HWND newWindow, SubclassProcedure newProcedure, void* newContext) {
  if (!newWindow || !newProcedure || !newContext) return 0;
  void* current = GetPropA(newWindow, ObjectProperty);
  if (current && current != this) return 0;
  if (window && Detach() != 1) return 0;

  bool isUnicode = IsWindowUnicode(newWindow) != FALSE;
  LONG_PTR previous = GetProcedure(newWindow, isUnicode);
  if (previous == 0) return 0;
  if (!SetPropA(newWindow, ObjectProperty, this)) return 0;
  SetPropA(newWindow, PreviousProperty, reinterpret_cast<HANDLE>(previous));
  // Members first: the window may receive a message as soon as the procedure is swapped.
  window = newWindow;
  previousProcedure = reinterpret_cast<WNDPROC>(previous);
  procedure = newProcedure;
  context = newContext;
  unicode = isUnicode;
  if (SetProcedure(newWindow, isUnicode, reinterpret_cast<LONG_PTR>(&Procedure)) == 0 &&
      GetLastError() != 0) {
    RemovePropA(newWindow, ObjectProperty);
    RemovePropA(newWindow, PreviousProperty);
    window = nullptr;
    previousProcedure = nullptr;
    procedure = nullptr;
    context = nullptr;
    return 0;
  }
  return 1;
}

int WindowSubclass::Detach() {
  if (!window || !previousProcedure) return 0;
  if (GetProcedure(window, unicode) != reinterpret_cast<LONG_PTR>(&Procedure)) return 0;
  if (SetProcedure(window, unicode, reinterpret_cast<LONG_PTR>(previousProcedure)) == 0) return 0;
  RemovePropA(window, ObjectProperty);
  RemovePropA(window, PreviousProperty);
  window = nullptr;
  previousProcedure = nullptr;
  procedure = nullptr;
  context = nullptr;
  return 1;
}

LRESULT WindowSubclass::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!window || !previousProcedure) return 0;
  return CallProcedure(previousProcedure, unicode, window, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
  auto* self = static_cast<WindowSubclass*>(GetPropA(hwnd, ObjectProperty));
  if (!self) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, PreviousProperty));
    bool isUnicode = IsWindowUnicode(hwnd) != FALSE;
    if (message == WM_NCDESTROY) RemovePropA(hwnd, PreviousProperty);
    if (previous) return CallProcedure(previous, isUnicode, hwnd, message, wParam, lParam);
    return isUnicode ? DefWindowProcW(hwnd, message, wParam, lParam)
                     : DefWindowProcA(hwnd, message, wParam, lParam);
  }
  LRESULT result = self->procedure(self->context, message, wParam, lParam);
  // The object may have been destroyed inside the message; look it up again.
  self = static_cast<WindowSubclass*>(GetPropA(hwnd, ObjectProperty));
  if (message == WM_NCDESTROY && self) {
    // The window is gone after this message: drop the binding so a later Detach does not
    // touch a handle that may be reused.
    RemovePropA(hwnd, ObjectProperty);
    RemovePropA(hwnd, PreviousProperty);
    self->window = nullptr;
    self->previousProcedure = nullptr;
    self->procedure = nullptr;
    self->context = nullptr;
  }
  return result;
}
