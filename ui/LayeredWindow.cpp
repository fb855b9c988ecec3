// LayeredWindow: class registration, window creation and binding, message routing to
// elements (hover, capture, focus, drag region, timers, toolkit sub-commands) and the
// hand-over of tasks from other threads. Painting: LayeredWindowPaint.cpp.
#include "ui/LayeredWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "app/Config.h"
#include "ui/WindowRegistry.h"

LRESULT CALLBACK LayeredWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  LayeredWindow* window = nullptr;
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    window = static_cast<LayeredWindow*>(create->lpCreateParams);
    if (window) {
      window->hwnd = hwnd;
      SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(window));
    }
  } else {
    window = reinterpret_cast<LayeredWindow*>(GetWindowLongPtrA(hwnd, 0));
  }
  // Messages before the binding (WM_GETMINMAXINFO comes before WM_NCCREATE) and after it
  // was cleared go to the default procedure.
  if (!window) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, 0, 0);
    LRESULT result = window->HandleMessage(msg, wParam, lParam);
    window->OnWindowDestroyed();
    return result;
  }
  return window->HandleMessage(msg, wParam, lParam);
}

LayeredWindow::LayeredWindow(const RECT* initialBounds, const wchar_t* imageName,
                             const wchar_t* className, HWND owner, DWORD exStyle, DWORD style,
                             UINT classStyle, int windowId, const wchar_t* resourceType,
                             HMODULE module)
    : UiElement(initialBounds, imageName, nullptr, windowId, nullptr, resourceType, module),
      focusElement(this),
      captureElement(this),
      hoverElement(this),
      uiThreadId(GetCurrentThreadId()) {
  CreateHostWindow(className, owner, exStyle, style, classStyle);
}

LayeredWindow::LayeredWindow(int x, int y, const wchar_t* imageName, const wchar_t* className,
                             HWND owner, DWORD exStyle, DWORD style, UINT classStyle, int windowId,
                             const wchar_t* resourceType, HMODULE module)
    : UiElement(x, y, imageName, nullptr, windowId, nullptr, resourceType, module),
      focusElement(this),
      captureElement(this),
      hoverElement(this),
      uiThreadId(GetCurrentThreadId()) {
  CreateHostWindow(className, owner, exStyle, style, classStyle);
}

void LayeredWindow::CreateHostWindow(const wchar_t* className, HWND owner, DWORD exStyle,
                                     DWORD style, UINT classStyle) {
  char name[256] = {};
  // A name that does not fit (or none) makes no window rather than a truncated class.
  if (!className ||
      WideCharToMultiByte(CP_ACP, 0, className, -1, name, sizeof(name), nullptr, nullptr) == 0) {
    return;
  }
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = LayeredWindowProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);  // the object pointer, on 32- and 64-bit alike
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = name;
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

  HWND created = CreateWindowExA(exStyle, name, nullptr, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 bounds.left, bounds.top, bounds.right - bounds.left,
                                 bounds.bottom - bounds.top, owner, nullptr, nullptr, this);
  // The window procedure stored the handle at WM_NCCREATE; a class of the same name that is
  // not ours never binds, and such a window is not kept.
  if (!created || created != hwnd) {
    if (created) DestroyWindow(created);
    hwnd = nullptr;
    return;
  }
  WindowRegistry::Register(this);
  taskWindow = hwnd;
  RECT initial = bounds;
  SetBounds(&initial, IsStretched());
  visible = (style & WS_VISIBLE) ? 1 : 0;
  ShowWindow(hwnd, visible);
  if (visible == 1) Invalidate(nullptr, FALSE);
}

LayeredWindow::~LayeredWindow() {
  while (!deleteQueue.empty()) {
    UiElement* e = deleteQueue.front();
    deleteQueue.pop_front();
    delete e;
  }
  canvas.Reset();
  if (hwnd) DestroyWindow(hwnd);  // clears hwnd through OnWindowDestroyed
}

void LayeredWindow::OnWindowDestroyed() {
  taskWindow = nullptr;
  WindowRegistry::Forget(hwnd, this);
  // No element may keep a handle value the system can hand to another window.
  SetSubtreeHwnd(nullptr);
  trackingMouse = 0;
  std::lock_guard<std::mutex> guard(taskLock);
  postedTasks.clear();
}

void LayeredWindow::SetVisible(int value) {
  visible = value;
  ShowWindow(hwnd, value);
  if (value == 1) Invalidate(nullptr, FALSE);
}

void LayeredWindow::SetEnabled(int value) {
  enabled = value;
  EnableWindow(hwnd, value);
}

int LayeredWindow::IsVisible() { return (IsWindowVisible(hwnd) ? 1 : 0) & visible; }
int LayeredWindow::IsEnabled() { return (IsWindowEnabled(hwnd) ? 1 : 0) & enabled; }

int LayeredWindow::PreTranslateMessage(MSG*) { return 0; }
int LayeredWindow::IsDragRegion(RECT*, UiElement*) { return 0; }
int LayeredWindow::OnCloseRequest() { return 1; }
void LayeredWindow::OnTimer(UINT_PTR) {}

UINT_PTR LayeredWindow::StartTimer(UINT_PTR timerId, UINT ms) {
  return SetTimer(hwnd, timerId, ms, nullptr);
}

BOOL LayeredWindow::StopTimer(UINT_PTR timerId) { return KillTimer(hwnd, timerId); }

void LayeredWindow::CenterWindow(const RECT* area) {
  if (!hwnd) return;
  RECT a;
  if (area) {
    a = *area;
  } else if (HWND owner = ::GetParent(hwnd)) {
    GetWindowRect(owner, &a);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &a, 0);
  }
  RECT client;
  GetClientRect(hwnd, &client);
  int x = a.left + (a.right - a.left - client.right) / 2;
  int y = a.top + (a.bottom - a.top - client.bottom) / 2;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool LayeredWindow::PostTask(std::function<void()> task) {
  HWND target = taskWindow;
  if (!task || !target) return false;
  {
    std::lock_guard<std::mutex> guard(taskLock);
    postedTasks.push_back(std::move(task));
  }
  // One doorbell per task; a doorbell that finds the queue already emptied does nothing.
  if (PostMessageA(target, ToolkitTaskMessage, 0, 0)) return true;
  std::lock_guard<std::mutex> guard(taskLock);
  postedTasks.pop_back();
  return false;
}

bool LayeredWindow::SendTask(const std::function<void()>& task) {
  HWND target = taskWindow;
  if (!task || !target) return false;
  if (IsUiThread()) {
    task();
    return true;
  }
  return SendMessageA(target, ToolkitTaskMessage, 1, reinterpret_cast<LPARAM>(&task)) == 1;
}

void LayeredWindow::RunPostedTasks() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> guard(taskLock);
      if (postedTasks.empty()) return;
      task = std::move(postedTasks.front());
      postedTasks.pop_front();
    }
    task();
    if (!hwnd) return;  // the task destroyed the window
  }
}

void LayeredWindow::PostMouseMoveAtCursor() {
  POINT pt;
  if (!GetCursorPos(&pt)) return;
  ScreenToClient(hwnd, &pt);
  PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

LRESULT LayeredWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NULL:
      while (!deleteQueue.empty()) {
        UiElement* e = deleteQueue.front();
        deleteQueue.pop_front();
        if (!e) continue;
        delete e;
        if (e == this) return 0;
      }
      break;
    case WM_SETFOCUS:
      if (focusElement) focusElement->OnSetFocus();
      break;
    case WM_KILLFOCUS:
      if (focusElement) focusElement->OnKillFocus();
      break;
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
      PaintMessage(msg, wParam);
      break;
    case WM_CLOSE:
      if (IsEnabled() != 1 || OnCloseRequest() != 1) return 0;
      PostQuitMessage(0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (hoverElement && hoverElement->OnSetCursor() == 1) return 0;
      break;
    case WM_TIMER:
      OnTimer(wParam);
      break;
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      if (!OnButtonPress(msg, wParam, lParam)) return 0;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnButtonRelease(msg, wParam, lParam);
      break;
    case WM_MOUSEWHEEL: {
      if (hoverElement) hoverElement->OnMouseWheel(wParam, lParam);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // screen coordinates
      ScreenToClient(hwnd, &pt);
      PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
      break;
    }
    case WM_MOUSEHOVER:
      trackingMouse = 0;
      if (hoverElement) hoverElement->OnMouseHover(wParam, lParam);
      break;
    case WM_MOUSELEAVE:
      trackingMouse = 0;
      if (hoverElement) {
        hoverElement->OnMouseLeave(wParam, lParam);
        hoverElement = nullptr;
      }
      break;
    case ToolkitMessage:
      if (lParam != 0) {
        bool handled = false;
        LRESULT result = OnToolkitMessage(wParam, reinterpret_cast<UiElement*>(lParam), &handled);
        if (handled) return result;
      }
      break;
    case ToolkitTaskMessage:
      if (wParam == 1 && lParam != 0) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
      }
      RunPostedTasks();
      return 0;
    default:
      break;
  }
  if (focusElement) {
    LRESULT result = 0;
    if (focusElement->OnWindowMessage(msg, wParam, lParam, &result) == 1) return result;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT LayeredWindow::OnToolkitMessage(WPARAM command, UiElement* e, bool* handled) {
  *handled = true;
  switch (command) {
    case ToolkitCommand::ForgetElement: {
      auto refersTo = [e](UiElement* reference) {
        return reference && (reference == e || e->Contains(reference) == 1);
      };
      if (refersTo(captureElement)) {
        captureElement = nullptr;
        ReleaseCapture();
      }
      if (refersTo(focusElement)) focusElement = nullptr;
      if (refersTo(hoverElement)) hoverElement = nullptr;
      PostMouseMoveAtCursor();
      return 0;
    }
    case ToolkitCommand::SetFocusElement: {
      if (focusElement != e) {
        if (focusElement) focusElement->OnKillFocus();
        focusElement = e;
      }
      int result = e->OnSetFocus();
      if (result == 0) focusElement = nullptr;
      return result;
    }
    case ToolkitCommand::GetFocusElement:
      return reinterpret_cast<LRESULT>(focusElement);
    case ToolkitCommand::DeleteElementLater:
      deleteQueue.push_back(e);
      PostMessageA(hwnd, WM_NULL, 0, 0);
      break;  // on to the common ending
    case ToolkitCommand::ElementDestroyed:
      deleteQueue.erase(std::remove(deleteQueue.begin(), deleteQueue.end(), e), deleteQueue.end());
      return 0;
    default:
      break;
  }
  *handled = false;
  return 0;
}

void LayeredWindow::OnMouseMoveMessage(WPARAM wParam, LPARAM lParam) {
  int x = LOWORD(lParam);
  int y = HIWORD(lParam);
  UiElement* target = HitTest(x, y);
  if (target != hoverElement) {
    if (hoverElement) hoverElement->OnMouseLeave(wParam, lParam);
    if (target) target->OnMouseEnter(wParam, lParam);
    hoverElement = target;
  }
  if (captureElement) {
    captureElement->OnMouseMove(wParam, lParam);
  } else if (hoverElement) {
    hoverElement->OnMouseMove(wParam, lParam);
  }
  if (trackingMouse == 0) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd;
    track.dwHoverTime = 500;
    TrackMouseEvent(&track);
    trackingMouse = 1;
  }
}

// Returns false when the press started a window drag (the message is then answered 0).
bool LayeredWindow::OnButtonPress(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hoverElement) return true;
  if (msg == WM_LBUTTONDOWN) {
    RECT region;
    POINT pt{LOWORD(lParam), HIWORD(lParam)};
    if (IsDragRegion(&region, hoverElement) == 1 && PtInRect(&region, pt)) {
      SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
      return false;
    }
  }
  SetCapture(hwnd);
  captureElement = hoverElement;
  switch (msg) {
    case WM_LBUTTONDOWN:
      captureElement->OnLButtonDown(wParam, lParam);
      break;
    case WM_LBUTTONDBLCLK:
      captureElement->OnLButtonDblClk(wParam, lParam);
      break;
    case WM_RBUTTONDOWN:
      captureElement->OnRButtonDown(wParam, lParam);
      break;
    case WM_RBUTTONDBLCLK:
      captureElement->OnRButtonDblClk(wParam, lParam);
      break;
    case WM_MBUTTONDOWN:
      captureElement->OnMButtonDown(wParam, lParam);
      break;
    case WM_MBUTTONDBLCLK:
      captureElement->OnMButtonDblClk(wParam, lParam);
      break;
    default:
      break;
  }
  if (focusElement != hoverElement) {
    if (focusElement) focusElement->OnKillFocus();
    focusElement = hoverElement;
    if (focusElement) focusElement->OnSetFocus();
  }
  return true;
}

void LayeredWindow::OnButtonRelease(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!captureElement) return;
  ReleaseCapture();
  // ReleaseCapture sends WM_CAPTURECHANGED, whose handling may have cleared the reference.
  UiElement* pressed = captureElement;
  if (!pressed) return;
  switch (msg) {
    case WM_LBUTTONUP:
      pressed->OnLButtonUp(wParam, lParam);
      break;
    case WM_RBUTTONUP:
      pressed->OnRButtonUp(wParam, lParam);
      break;
    case WM_MBUTTONUP:
      pressed->OnMButtonUp(wParam, lParam);
      break;
    default:
      break;
  }
  captureElement = nullptr;
}
