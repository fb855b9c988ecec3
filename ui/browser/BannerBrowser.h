// BannerBrowser: the download window's banner, a WebBrowserHost without scroll bars whose
// control lives on a thread of its own, the banner thread.
#pragma once

#include <windows.h>

#include <atomic>

#include "app/Handle.h"
#include "ui/browser/WebBrowserHost.h"

// Client rectangle of the banner in the download window (595 x 174 pixels).
constexpr RECT BannerBounds = {2, 37, 597, 211};
constexpr DWORD BannerStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// How long the UI thread waits for the banner thread to close the control at teardown.
constexpr DWORD BannerStopTimeoutMs = 5000;

class BannerBrowser : public WebBrowserHost {
 public:
  BannerBrowser(const RECT* bounds, UiElement* parent, DWORD style, int id);
  // Stops the banner thread first (see Stop).
  ~BannerBrowser() override;

  // Asks the document for no scroll bars.
  HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;

  // Starts the banner thread, which makes the control, navigates to BannerUrl and pumps the
  // control's messages. False (the element stays empty) when the thread cannot start or is
  // already running. UI thread.
  bool Start();
  // Asks the banner thread to close the control and end, and waits for it up to timeoutMs
  // while still answering messages sent to this thread (the control's window is a child of
  // the UI thread's window, so its destruction talks to that thread). True once no thread
  // runs. UI thread.
  bool Stop(DWORD timeoutMs);
  bool IsRunning() const { return thread.valid(); }
  // True when no banner thread runs any more (it ends at once when the control cannot be
  // made). UI thread.
  bool HasThreadEnded() const {
    return !thread.valid() || WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
  }
  // 0 when no thread was started or it has been stopped.
  DWORD GetThreadId() const { return thread.valid() ? ::GetThreadId(thread.get()) : 0; }

 private:
  friend DWORD WINAPI BannerThreadProc(void* parameter);
  KernelHandle thread;
  std::atomic<bool> stopRequested{false};
};

// The banner thread's procedure; parameter is the BannerBrowser. Returns 0 once the control
// is closed (at Stop, or at once when the control cannot be made).
DWORD WINAPI BannerThreadProc(void* parameter);

// Builds the banner element under `window` (at BannerBounds, on the calling UI thread, so it
// joins the tree there) and starts its thread. The window owns the element. Null only when
// the element cannot be allocated.
BannerBrowser* StartBanner(UiElement* window);
