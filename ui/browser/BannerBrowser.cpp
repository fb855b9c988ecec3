// BannerBrowser: no scroll bars, and the banner thread that owns its control.
#include "ui/browser/BannerBrowser.h"

#include <new>

#include "app/Config.h"

BannerBrowser::BannerBrowser(const RECT* area, UiElement* parentElement, DWORD controlStyle,
                             int elementId)
    : WebBrowserHost(area, parentElement, controlStyle, elementId) {}

BannerBrowser::~BannerBrowser() { Stop(BannerStopTimeoutMs); }

HRESULT BannerBrowser::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
  return S_OK;
}

bool BannerBrowser::Start() {
  if (thread.valid()) return false;
  stopRequested = false;
  thread.reset(CreateThread(nullptr, 0, BannerThreadProc, this, 0, nullptr));
  return thread.valid();
}

bool BannerBrowser::Stop(DWORD timeoutMs) {
  if (!thread.valid()) return true;
  // Either the thread sees the flag after making its proxy, or this sees the proxy.
  stopRequested = true;
  RequestDestroyOnControlThread(true);
  HANDLE handle = thread.get();
  DWORD start = GetTickCount();
  for (;;) {
    DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return false;
    DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - waited, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) break;
    if (result != WAIT_OBJECT_0 + 1) return false;
    // Runs the messages other threads send to this one; posted ones stay queued.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  thread.reset();
  return true;
}

DWORD WINAPI BannerThreadProc(void* parameter) {
  auto* banner = static_cast<BannerBrowser*>(parameter);
  OleInitialize(nullptr);
  RECT position = banner->GetInitialPosition();
  if (banner->CreateControl(banner->GetFrameWindow(), &position, banner->GetStyle()) == 1 &&
      !banner->stopRequested) {
    banner->Navigate(BannerUrl, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) == 1) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  banner->DestroyControl();
  OleUninitialize();
  return 0;
}

BannerBrowser* StartBanner(UiElement* window) {
  RECT bounds = BannerBounds;
  auto* banner = new (std::nothrow) BannerBrowser(&bounds, window, BannerStyle, 0);
  if (banner) banner->Start();
  return banner;
}
