// WebBrowserHost: the element, creation and teardown of the control on its thread, and the
// hand-over of element changes from other threads to that thread.
#include "ui/browser/WebBrowserHost.h"

#include <ocidl.h>

#include "ui/browser/BrowserSite.h"

namespace {

constexpr wchar_t ProxyClassName[] = L"BrowserControlProxy";
constexpr UINT ProxyVisibleMessage = WM_APP + 1;   // wParam: visible
constexpr UINT ProxyEnabledMessage = WM_APP + 2;   // wParam: enabled
constexpr UINT ProxyPositionMessage = WM_APP + 3;  // lParam: new RECT, freed by the receiver
constexpr UINT ProxyDestroyMessage = WM_APP + 4;   // wParam 1: end the thread's loop too

template <typename T>
void ReleaseAndNull(T*& pointer) {
  if (pointer) pointer->Release();
  pointer = nullptr;
}

bool IsZero(const IID& iid) { return IsEqualIID(iid, GUID_NULL) != FALSE; }

}  // namespace

// Receives, on the control thread, the changes other threads make to the element.
class BrowserControlProxy {
 public:
  static HWND Create(WebBrowserHost* host) {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = ProxyClassName;
      return RegisterClassW(&wc);
    }();
    if (!atom) return nullptr;
    HWND proxy = CreateWindowExW(0, ProxyClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (proxy) SetWindowLongPtrW(proxy, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    return proxy;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* host = reinterpret_cast<WebBrowserHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case ProxyVisibleMessage:
        if (host) host->ApplyVisible(static_cast<int>(wParam));
        return 0;
      case ProxyEnabledMessage:
        if (host) host->ApplyEnabled(static_cast<int>(wParam));
        return 0;
      case ProxyPositionMessage: {
        auto* position = reinterpret_cast<RECT*>(lParam);
        if (host && position) host->ApplyPosition(*position);
        delete position;
        return 0;
      }
      case ProxyDestroyMessage:
        if (host && host->creatingControl) {
          // Making the control may run this thread's messages; the request waits for the
          // end of CreateControl rather than pulling the control from under it.
          host->pendingDestroy = wParam == 1 ? 2 : 1;
          return 0;
        }
        // The proxy window itself goes with the control; nothing of it is used after this.
        if (host) host->DestroyControl();
        if (wParam == 1) PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
  }
};

WebBrowserHost::WebBrowserHost(const RECT* area, UiElement* parentElement, DWORD controlStyle,
                               int elementId)
    : UiElement(area, nullptr, parentElement, elementId, nullptr, nullptr, nullptr),
      frameWindow(parentElement ? parentElement->GetHwnd() : nullptr),
      style(controlStyle) {
  UiElement::GetBounds(&initialPosition);
}

WebBrowserHost::~WebBrowserHost() {
  // On another thread than the control's this does nothing: whoever runs that thread must
  // have ended the control first (BannerBrowser does).
  DestroyControl();
}

bool WebBrowserHost::OnControlThread() const {
  DWORD owner = controlThreadId.load();
  return owner == 0 || owner == GetCurrentThreadId();
}

BrowserSite* WebBrowserHost::CreateSite(HWND frame, const RECT* position) {
  site.reset(new BrowserSite(frame, position, this));
  return site.get();
}

bool WebBrowserHost::RequestDestroyOnControlThread(bool endThreadLoop) {
  HWND proxy = controlProxy.load();
  return proxy && PostMessageW(proxy, ProxyDestroyMessage, endThreadLoop ? 1 : 0, 0);
}

int WebBrowserHost::CreateControl(HWND frame, const RECT* position, DWORD controlStyle) {
  if (browser) return 1;
  controlThreadId = GetCurrentThreadId();
  // The proxy comes first, so changes posted while the control is being made wait for it.
  if (!controlProxy.load()) controlProxy = BrowserControlProxy::Create(this);
  creatingControl = true;
  int present = MakeControl(frame, position, controlStyle);
  creatingControl = false;
  if (int pending = pendingDestroy) {
    pendingDestroy = 0;
    DestroyControl();
    if (pending == 2) PostQuitMessage(0);
    return 0;
  }
  return present;
}

int WebBrowserHost::MakeControl(HWND frame, const RECT* position, DWORD controlStyle) {
  void* created = nullptr;
  HRESULT hr =
      CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IWebBrowser2, &created);
  if (FAILED(hr) || !created) {
    DestroyControl();
    return 0;
  }
  browser = static_cast<IWebBrowser2*>(created);
  IOleObject* object = nullptr;
  if (FAILED(browser->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) ||
      !object) {
    DestroyControl();
    return 0;
  }
  CreateSite(frame, position);
  IOleClientSite* clientSite = site.get();
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(object->SetClientSite(clientSite))) {
    object->Release();
    DestroyControl();
    return 0;
  }
  if (FAILED(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) ||
      !inPlace) {
    object->Release();
    DestroyControl();
    return 0;
  }
  auto addStyle = [this, controlStyle] {
    SetWindowLongA(controlWindow, GWL_STYLE,
                   GetWindowLongA(controlWindow, GWL_STYLE) | static_cast<LONG>(controlStyle) |
                       WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  };
  inPlace->GetWindow(&controlWindow);
  if (controlWindow) addStyle();
  object->DoVerb((controlStyle & WS_VISIBLE) ? OLEIVERB_SHOW : OLEIVERB_HIDE, nullptr, clientSite,
                 0, nullptr, nullptr);
  // Most controls make their window only when activated by DoVerb.
  if (!controlWindow && SUCCEEDED(inPlace->GetWindow(&controlWindow)) && controlWindow) {
    addStyle();
  }
  inPlace->Release();

  // Events: failures here leave the control working without them.
  IProvideClassInfo2* classInfo = nullptr;
  if (SUCCEEDED(
          object->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&classInfo))) &&
      classInfo) {
    if (FAILED(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventInterface))) {
      eventInterface = GUID_NULL;
    }
    classInfo->Release();
  }
  if (!IsZero(eventInterface)) {
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container))) &&
        container) {
      if (SUCCEEDED(container->FindConnectionPoint(eventInterface, &eventConnection)) &&
          eventConnection) {
        if (FAILED(eventConnection->Advise(static_cast<IDispatch*>(this), &eventCookie))) {
          ReleaseAndNull(eventConnection);
          eventCookie = 0xFFFFFFFF;
        }
      } else {
        eventConnection = nullptr;
      }
      container->Release();
    }
  }
  object->Release();
  return 1;
}

void WebBrowserHost::Navigate(const wchar_t* url, VARIANT* flags, VARIANT* targetFrame,
                              VARIANT* postData, VARIANT* headers) {
  if (!browser || !OnControlThread()) return;
  BSTR address = SysAllocString(url ? url : L"");
  browser->Navigate(address, flags, targetFrame, postData, headers);
  SysFreeString(address);
}

void WebBrowserHost::DestroyControl() {
  if (!OnControlThread()) return;
  if (HWND proxy = controlProxy.exchange(nullptr)) {
    SetWindowLongPtrW(proxy, GWLP_USERDATA, 0);
    DestroyWindow(proxy);
  }
  // The control is told to let go of the site and the sink before either goes away: it may
  // call them while it deactivates and closes.
  if (eventConnection) {
    eventConnection->Unadvise(eventCookie);
    ReleaseAndNull(eventConnection);
  }
  eventCookie = 0xFFFFFFFF;
  if (browser) {
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(
            browser->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) &&
        inPlace) {
      inPlace->InPlaceDeactivate();
      inPlace->Release();
    }
    IOleObject* object = nullptr;
    if (SUCCEEDED(browser->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) &&
        object) {
      object->Close(OLECLOSE_NOSAVE);
      object->SetClientSite(nullptr);
      object->Release();
    }
    ReleaseAndNull(browser);
  }
  if (controlWindow && IsWindow(controlWindow)) DestroyWindow(controlWindow);
  controlWindow = nullptr;
  site.reset();
  eventInterface = GUID_NULL;
  controlThreadId = 0;
}

void WebBrowserHost::ApplyVisible(int visibleValue) {
  if (!browser) return;
  IOleObject* object = nullptr;
  if (SUCCEEDED(browser->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) &&
      object) {
    object->DoVerb(visibleValue == 1 ? OLEIVERB_SHOW : OLEIVERB_HIDE, nullptr, site.get(), 0,
                   nullptr, nullptr);
    object->Release();
  }
}

void WebBrowserHost::ApplyEnabled(int enabledValue) {
  if (controlWindow) EnableWindow(controlWindow, enabledValue);
}

void WebBrowserHost::ApplyPosition(const RECT& position) {
  if (site) site->SetPosition(position);
  if (controlWindow) {
    MoveWindow(controlWindow, position.left, position.top, position.right - position.left,
               position.bottom - position.top, FALSE);
  }
}

void WebBrowserHost::SetVisible(int visibleValue) {
  if (OnControlThread()) {
    ApplyVisible(visibleValue);
  } else if (HWND proxy = controlProxy.load()) {
    PostMessageW(proxy, ProxyVisibleMessage, static_cast<WPARAM>(visibleValue), 0);
  }
  UiElement::SetVisible(visibleValue);
}

void WebBrowserHost::SetEnabled(int enabledValue) {
  if (OnControlThread()) {
    ApplyEnabled(enabledValue);
  } else if (HWND proxy = controlProxy.load()) {
    PostMessageW(proxy, ProxyEnabledMessage, static_cast<WPARAM>(enabledValue), 0);
  }
  UiElement::SetEnabled(enabledValue);
}

RECT WebBrowserHost::SetBounds(const RECT* newBounds, int stretchValue) {
  RECT old = UiElement::SetBounds(newBounds, stretchValue);
  if (!newBounds) return old;
  RECT position{};
  UiElement::GetBounds(&position);
  if (OnControlThread()) {
    ApplyPosition(position);
  } else if (HWND proxy = controlProxy.load()) {
    auto* message = new RECT(position);
    if (!PostMessageW(proxy, ProxyPositionMessage, 0, reinterpret_cast<LPARAM>(message))) {
      delete message;
    }
  }
  return old;
}
