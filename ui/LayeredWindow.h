// LayeredWindow: a top-level Win32 window that is itself the root element of the tree drawn
// into it; routes mouse, focus and timer messages to elements and paints through a canvas.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "ui/Canvas.h"
#include "ui/UiElement.h"

// Doorbell for tasks handed over from other threads (PostTask); private to the toolkit.
constexpr UINT ToolkitTaskMessage = WM_APP + 0x231;

LRESULT CALLBACK LayeredWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

class LayeredWindow : public UiElement {
 public:
  // Rect form: position and size as CreateWindowExA takes them (screen coordinates for a
  // pop-up); the skin is stretched to the size.
  LayeredWindow(const RECT* bounds, const wchar_t* imageName, const wchar_t* className, HWND owner,
                DWORD exStyle, DWORD style, UINT classStyle, int id, const wchar_t* resourceType,
                HMODULE module);
  // Point form: the window takes the size of its image.
  LayeredWindow(int x, int y, const wchar_t* imageName, const wchar_t* className, HWND owner,
                DWORD exStyle, DWORD style, UINT classStyle, int id, const wchar_t* resourceType,
                HMODULE module);
  ~LayeredWindow() override;

  void SetVisible(int visible) override;
  void SetEnabled(int enabled) override;
  int IsVisible() override;
  int IsEnabled() override;
  // With bounds: moves the window, makes a new canvas of the new size and sets the element
  // bounds to (0, 0, width, height). Null: a query.
  RECT SetBounds(const RECT* bounds, int stretch) override;

  // Overrides hand every message they do not consume to LayeredWindow::HandleMessage: the
  // toolkit's own ToolkitMessage and ToolkitTaskMessage are served there.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);  // 53
  virtual int PreTranslateMessage(MSG* msg);                              // 54
  // 1 with out filled (client coordinates) when a left press on `pressed` inside out drags
  // the window.
  virtual int IsDragRegion(RECT* out, UiElement* pressed);  // 55
  virtual int OnCloseRequest();                             // 56
  virtual void OnTimer(UINT_PTR id);                        // 57

  UINT_PTR StartTimer(UINT_PTR id, UINT ms);
  BOOL StopTimer(UINT_PTR id);
  // Centres on area, or on the owner window, or on the work area when there is no owner.
  void CenterWindow(const RECT* area);

  // Hand-over from other threads (see the threading rule in UiElement.h).
  // PostTask queues `task` to run on the window's thread inside its message loop and returns
  // at once; false (task dropped) when the window does not exist. Tasks run in the order
  // posted; tasks still queued when the window is destroyed are dropped unrun.
  // For fast-changing values (progress, speed) keep the latest value in one slot and let a
  // timer read it instead of posting a task per change.
  bool PostTask(std::function<void()> task);
  // SendTask runs `task` on the window's thread and waits for it (a direct call when already
  // there). Never call it from a thread the UI thread is waiting for: that deadlocks.
  bool SendTask(const std::function<void()>& task);
  bool IsUiThread() const { return GetCurrentThreadId() == uiThreadId; }

  HDC GetCanvas() const { return canvas.Dc(); }
  UiElement* GetHoverElement() const { return hoverElement; }
  UiElement* GetCaptureElement() const { return captureElement; }

 protected:
  Canvas canvas;  // the window-sized surface the tree is drawn into
  int trackingMouse = 0;
  std::deque<UiElement*> deleteQueue;
  UiElement* focusElement;
  UiElement* captureElement;
  UiElement* hoverElement;

 private:
  friend LRESULT CALLBACK LayeredWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

  void CreateHostWindow(const wchar_t* className, HWND owner, DWORD exStyle, DWORD style,
                        UINT classStyle);
  void OnWindowDestroyed();
  LRESULT OnToolkitMessage(WPARAM command, UiElement* element, bool* handled);
  void OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
  bool OnButtonPress(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnButtonRelease(UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintMessage(UINT msg, WPARAM wParam);
  void RunPostedTasks();
  void PostMouseMoveAtCursor();

  DWORD uiThreadId;
  // The handle as other threads may read it for PostTask and SendTask; null once destroyed.
  std::atomic<HWND> taskWindow{nullptr};
  std::mutex taskLock;  // guards postedTasks only; taken by posting threads and the UI thread
  std::deque<std::function<void()>> postedTasks;
};
