// WebBrowserHost: its own IUnknown and IDispatch, the event dispatch of Invoke, and the
// fixed answers of the site operations.
#include <exdispid.h>

#include "ui/browser/BrowserSite.h"
#include "ui/browser/WebBrowserHost.h"

namespace {

// Event arguments arrive last first: argument i of n is rgvarg[n - 1 - i]. Null when the
// event carries fewer arguments than expected.
VARIANT* Argument(DISPPARAMS* params, UINT index, UINT expected) {
  if (!params || !params->rgvarg || params->cArgs < expected || index >= params->cArgs) {
    return nullptr;
  }
  return &params->rgvarg[params->cArgs - 1 - index];
}

// The variant an argument stands for: the referenced one for VT_BYREF | VT_VARIANT.
VARIANT* VariantOf(VARIANT* v) {
  if (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) return V_VARIANTREF(v);
  return v;
}

long LongOf(VARIANT* v) {
  v = VariantOf(v);
  if (!v) return 0;
  if (V_VT(v) == VT_I4) return V_I4(v);
  if (V_VT(v) == (VT_BYREF | VT_I4) && V_I4REF(v)) return *V_I4REF(v);
  return 0;
}

VARIANT_BOOL BoolOf(VARIANT* v) {
  v = VariantOf(v);
  if (!v) return VARIANT_FALSE;
  if (V_VT(v) == VT_BOOL) return V_BOOL(v);
  if (V_VT(v) == (VT_BYREF | VT_BOOL) && V_BOOLREF(v)) return *V_BOOLREF(v);
  return VARIANT_FALSE;
}

BSTR StringOf(VARIANT* v) {
  v = VariantOf(v);
  return v && V_VT(v) == VT_BSTR ? V_BSTR(v) : nullptr;
}

IDispatch* DispatchOf(VARIANT* v) {
  v = VariantOf(v);
  return v && V_VT(v) == VT_DISPATCH ? V_DISPATCH(v) : nullptr;
}

// The cancel flags and the NewWindow2 object slot: the pointers the variants hold.
VARIANT_BOOL* BoolRefOf(VARIANT* v) {
  return v && V_VT(v) == (VT_BYREF | VT_BOOL) ? V_BOOLREF(v) : nullptr;
}
IDispatch** DispatchRefOf(VARIANT* v) {
  return v && V_VT(v) == (VT_BYREF | VT_DISPATCH) ? V_DISPATCHREF(v) : nullptr;
}
long* LongRefOf(VARIANT* v) { return v && V_VT(v) == (VT_BYREF | VT_I4) ? V_I4REF(v) : nullptr; }

}  // namespace

STDMETHODIMP WebBrowserHost::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_FAIL;
  *out = nullptr;
  // The event interface counts only once it has been read from a control.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      (!IsEqualIID(eventInterface, GUID_NULL) && IsEqualIID(riid, eventInterface))) {
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP WebBrowserHost::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP WebBrowserHost::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP WebBrowserHost::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP WebBrowserHost::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*,
                                    EXCEPINFO*, UINT*) {
  // An event whose arguments do not have the expected count is not dispatched.
  auto a = [p](UINT index, UINT count) { return Argument(p, index, count); };
  auto has = [p](UINT count) { return p && p->rgvarg && p->cArgs >= count; };
  switch (member) {
    case DISPID_STATUSTEXTCHANGE:
      if (has(1)) StatusTextChange(StringOf(a(0, 1)));
      break;
    case DISPID_DOWNLOADCOMPLETE:
      DownloadComplete();
      break;
    case DISPID_COMMANDSTATECHANGE:
      if (has(2)) CommandStateChange(LongOf(a(0, 2)), BoolOf(a(1, 2)));
      break;
    case DISPID_DOWNLOADBEGIN:
      DownloadBegin();
      break;
    case DISPID_PROGRESSCHANGE:
      if (has(2)) ProgressChange(LongOf(a(0, 2)), LongOf(a(1, 2)));
      break;
    case DISPID_PROPERTYCHANGE:
      if (has(1)) PropertyChange(StringOf(a(0, 1)));
      break;
    case DISPID_TITLECHANGE:
      if (has(1)) TitleChange(StringOf(a(0, 1)));
      break;
    case DISPID_BEFORENAVIGATE2:
      if (has(7)) {
        BeforeNavigate2(DispatchOf(a(0, 7)), VariantOf(a(1, 7)), VariantOf(a(2, 7)),
                        VariantOf(a(3, 7)), VariantOf(a(4, 7)), VariantOf(a(5, 7)),
                        BoolRefOf(a(6, 7)));
      }
      break;
    case DISPID_NEWWINDOW2:
      if (has(2)) NewWindow2(DispatchRefOf(a(0, 2)), BoolRefOf(a(1, 2)));
      break;
    case DISPID_NAVIGATECOMPLETE2:
      if (has(2)) NavigateComplete2(DispatchOf(a(0, 2)), VariantOf(a(1, 2)));
      break;
    case DISPID_ONQUIT:
      OnQuit();
      break;
    case DISPID_ONVISIBLE:
      if (has(1)) OnVisible(BoolOf(a(0, 1)));
      break;
    case DISPID_ONTOOLBAR:
      if (has(1)) OnToolBar(BoolOf(a(0, 1)));
      break;
    case DISPID_ONMENUBAR:
      if (has(1)) OnMenuBar(BoolOf(a(0, 1)));
      break;
    case DISPID_ONSTATUSBAR:
      if (has(1)) OnStatusBar(BoolOf(a(0, 1)));
      break;
    case DISPID_ONFULLSCREEN:
      if (has(1)) OnFullScreen(BoolOf(a(0, 1)));
      break;
    case DISPID_DOCUMENTCOMPLETE:
      if (has(2)) DocumentComplete(DispatchOf(a(0, 2)), VariantOf(a(1, 2)));
      break;
    case DISPID_ONTHEATERMODE:
      if (has(1)) OnTheaterMode(BoolOf(a(0, 1)));
      break;
    case DISPID_WINDOWSETRESIZABLE:
      if (has(1)) WindowSetResizable(BoolOf(a(0, 1)));
      break;
    case DISPID_WINDOWCLOSING:
      if (has(2)) WindowClosing(BoolOf(a(0, 2)), BoolRefOf(a(1, 2)));
      break;
    case DISPID_WINDOWSETLEFT:
      if (has(1)) WindowSetLeft(LongOf(a(0, 1)));
      break;
    case DISPID_WINDOWSETTOP:
      if (has(1)) WindowSetTop(LongOf(a(0, 1)));
      break;
    case DISPID_WINDOWSETWIDTH:
      if (has(1)) WindowSetWidth(LongOf(a(0, 1)));
      break;
    case DISPID_WINDOWSETHEIGHT:
      if (has(1)) WindowSetHeight(LongOf(a(0, 1)));
      break;
    case DISPID_CLIENTTOHOSTWINDOW:
      if (has(2)) ClientToHostWindow(LongRefOf(a(0, 2)), LongRefOf(a(1, 2)));
      break;
    case DISPID_FILEDOWNLOAD:
      // Older controls send only the cancel flag.
      if (has(2)) {
        FileDownload(BoolOf(a(0, 2)), BoolRefOf(a(1, 2)));
      } else if (has(1)) {
        FileDownload(VARIANT_TRUE, BoolRefOf(a(0, 1)));
      }
      break;
    case DISPID_NAVIGATEERROR:
      if (has(5)) {
        NavigateError(DispatchOf(a(0, 5)), VariantOf(a(1, 5)), VariantOf(a(2, 5)),
                      VariantOf(a(3, 5)), BoolRefOf(a(4, 5)));
      }
      break;
    case DISPID_PRIVACYIMPACTEDSTATECHANGE:
      if (has(1)) PrivacyImpactedStateChange(BoolOf(a(0, 1)));
      break;
    default:
      break;
  }
  return S_OK;
}

// Event hooks: the host ignores every event.
void WebBrowserHost::BeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                     VARIANT_BOOL*) {}
void WebBrowserHost::ClientToHostWindow(long*, long*) {}
void WebBrowserHost::CommandStateChange(long, VARIANT_BOOL) {}
void WebBrowserHost::DocumentComplete(IDispatch*, VARIANT*) {}
void WebBrowserHost::DownloadBegin() {}
void WebBrowserHost::DownloadComplete() {}
void WebBrowserHost::FileDownload(VARIANT_BOOL, VARIANT_BOOL*) {}
void WebBrowserHost::NavigateComplete2(IDispatch*, VARIANT*) {}
void WebBrowserHost::NavigateError(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) {}
void WebBrowserHost::NewWindow2(IDispatch**, VARIANT_BOOL*) {}
void WebBrowserHost::OnFullScreen(VARIANT_BOOL) {}
void WebBrowserHost::OnMenuBar(VARIANT_BOOL) {}
void WebBrowserHost::OnQuit() {}
void WebBrowserHost::OnStatusBar(VARIANT_BOOL) {}
void WebBrowserHost::OnTheaterMode(VARIANT_BOOL) {}
void WebBrowserHost::OnToolBar(VARIANT_BOOL) {}
void WebBrowserHost::OnVisible(VARIANT_BOOL) {}
void WebBrowserHost::PrivacyImpactedStateChange(VARIANT_BOOL) {}
void WebBrowserHost::ProgressChange(long, long) {}
void WebBrowserHost::PropertyChange(BSTR) {}
void WebBrowserHost::StatusTextChange(BSTR) {}
void WebBrowserHost::TitleChange(BSTR) {}
void WebBrowserHost::WindowClosing(VARIANT_BOOL, VARIANT_BOOL*) {}
void WebBrowserHost::WindowSetHeight(long) {}
void WebBrowserHost::WindowSetLeft(long) {}
void WebBrowserHost::WindowSetResizable(VARIANT_BOOL) {}
void WebBrowserHost::WindowSetTop(long) {}
void WebBrowserHost::WindowSetWidth(long) {}

// Document host. S_FALSE: the control shows its own context menu.
HRESULT WebBrowserHost::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }
HRESULT WebBrowserHost::GetHostInfo(DOCHOSTUIINFO*) { return S_OK; }
HRESULT WebBrowserHost::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                               IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
  return S_OK;
}
HRESULT WebBrowserHost::HideUI() { return S_OK; }
HRESULT WebBrowserHost::UpdateUI() { return S_OK; }
HRESULT WebBrowserHost::EnableModeless(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::TranslateAccelerator(LPMSG, WORD) { return E_NOTIMPL; }
HRESULT WebBrowserHost::TranslateAccelerator(MSG*, DWORD) { return E_NOTIMPL; }
HRESULT WebBrowserHost::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_OK; }
HRESULT WebBrowserHost::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }
HRESULT WebBrowserHost::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }
HRESULT WebBrowserHost::GetExternal(IDispatch** external) {
  // The page's external object is the host, whose GetIDsOfNames fails.
  if (external) *external = static_cast<IDispatch*>(this);
  return S_OK;
}
HRESULT WebBrowserHost::TranslateUrl(DWORD, LPWSTR, LPWSTR*) { return E_NOTIMPL; }
HRESULT WebBrowserHost::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }

// Client site.
HRESULT WebBrowserHost::SaveObject() { return E_NOTIMPL; }
HRESULT WebBrowserHost::GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
HRESULT WebBrowserHost::GetContainer(IOleContainer** container) {
  if (!site || !container) return E_NOTIMPL;
  *container = static_cast<IOleContainer*>(site.get());
  return S_OK;
}
HRESULT WebBrowserHost::ShowObject() { return S_OK; }
HRESULT WebBrowserHost::OnShowWindow(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::RequestNewObjectLayout() { return E_NOTIMPL; }

// In-place site.
HRESULT WebBrowserHost::GetWindow(HWND* window) {
  if (!site || !window) return E_FAIL;
  *window = site->GetFrameWindow();
  return S_OK;
}
HRESULT WebBrowserHost::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::CanInPlaceActivate() { return S_OK; }
HRESULT WebBrowserHost::OnInPlaceActivate() { return S_OK; }
HRESULT WebBrowserHost::OnUIActivate() { return S_OK; }
HRESULT WebBrowserHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                         LPRECT position, LPRECT clip,
                                         LPOLEINPLACEFRAMEINFO frameInfo) {
  if (!site) return E_FAIL;
  if (FAILED(site->QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame)))) {
    return E_FAIL;
  }
  if (document) *document = nullptr;
  if (position) *position = site->GetPosition();
  if (clip) GetClientRect(site->GetFrameWindow(), clip);
  if (frameInfo) {
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = site->GetFrameWindow();
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
  }
  return S_OK;
}
HRESULT WebBrowserHost::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnUIDeactivate(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnInPlaceDeactivate() { return E_NOTIMPL; }
HRESULT WebBrowserHost::DiscardUndoState() { return E_NOTIMPL; }
HRESULT WebBrowserHost::DeactivateAndUndo() { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }

// Control site.
HRESULT WebBrowserHost::OnControlInfoChanged() { return E_NOTIMPL; }
HRESULT WebBrowserHost::LockInPlaceActive(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::GetExtendedControl(IDispatch**) { return E_NOTIMPL; }
HRESULT WebBrowserHost::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
HRESULT WebBrowserHost::OnFocus(BOOL) { return E_NOTIMPL; }
HRESULT WebBrowserHost::ShowPropertyFrame() { return E_NOTIMPL; }

// In-place frame.
HRESULT WebBrowserHost::GetBorder(LPRECT) { return E_NOTIMPL; }
HRESULT WebBrowserHost::RequestBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
HRESULT WebBrowserHost::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
HRESULT WebBrowserHost::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return E_NOTIMPL; }
HRESULT WebBrowserHost::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
HRESULT WebBrowserHost::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
HRESULT WebBrowserHost::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT WebBrowserHost::SetStatusText(LPCOLESTR) { return E_NOTIMPL; }

// Container.
HRESULT WebBrowserHost::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) {
  return E_NOTIMPL;
}
HRESULT WebBrowserHost::EnumObjects(DWORD, IEnumUnknown**) { return E_NOTIMPL; }
HRESULT WebBrowserHost::LockContainer(BOOL) { return E_NOTIMPL; }
