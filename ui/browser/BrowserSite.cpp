// BrowserSite: fixed QueryInterface answers and forwarding of every site method to the host.
#include "ui/browser/BrowserSite.h"

#include "ui/browser/WebBrowserHost.h"

BrowserSite::BrowserSite(HWND frame, const RECT* initialPosition, WebBrowserHost* owner)
    : frameWindow(frame), position(initialPosition ? *initialPosition : RECT{}), host(owner) {}

STDMETHODIMP BrowserSite::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_FAIL;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) ||
      IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else if (IsEqualIID(riid, IID_IParseDisplayName) || IsEqualIID(riid, IID_IOleContainer)) {
    *out = static_cast<IOleContainer*>(this);
  } else if (IsEqualIID(riid, IID_IOleClientSite)) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceSite)) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleControlSite)) {
    *out = static_cast<IOleControlSite*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(riid, IID_IDocHostUIHandler)) {
    *out = static_cast<IDocHostUIHandler*>(this);
  } else {
    return E_NOINTERFACE;
  }
  return S_OK;
}

// Everything below hands the call to the host's operation of the same name.
STDMETHODIMP BrowserSite::GetWindow(HWND* window) { return host->GetWindow(window); }
STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL enterMode) {
  return host->ContextSensitiveHelp(enterMode);
}
STDMETHODIMP BrowserSite::GetBorder(LPRECT border) { return host->GetBorder(border); }
STDMETHODIMP BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS widths) {
  return host->RequestBorderSpace(widths);
}
STDMETHODIMP BrowserSite::SetBorderSpace(LPCBORDERWIDTHS widths) {
  return host->SetBorderSpace(widths);
}
STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) {
  return host->SetActiveObject(object, name);
}
STDMETHODIMP BrowserSite::InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) {
  return host->InsertMenus(shared, widths);
}
STDMETHODIMP BrowserSite::SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject) {
  return host->SetMenu(shared, oleMenu, activeObject);
}
STDMETHODIMP BrowserSite::RemoveMenus(HMENU shared) { return host->RemoveMenus(shared); }
STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR text) { return host->SetStatusText(text); }
STDMETHODIMP BrowserSite::EnableModeless(BOOL enable) { return host->EnableModeless(enable); }
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG msg, WORD id) {
  return host->TranslateAccelerator(msg, id);
}
STDMETHODIMP BrowserSite::ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                           IMoniker** moniker) {
  return host->ParseDisplayName(context, name, eaten, moniker);
}
STDMETHODIMP BrowserSite::EnumObjects(DWORD flags, IEnumUnknown** objects) {
  return host->EnumObjects(flags, objects);
}
STDMETHODIMP BrowserSite::LockContainer(BOOL lock) { return host->LockContainer(lock); }
STDMETHODIMP BrowserSite::SaveObject() { return host->SaveObject(); }
STDMETHODIMP BrowserSite::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) {
  return host->GetMoniker(assign, which, moniker);
}
STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
  return host->GetContainer(container);
}
STDMETHODIMP BrowserSite::ShowObject() { return host->ShowObject(); }
STDMETHODIMP BrowserSite::OnShowWindow(BOOL show) { return host->OnShowWindow(show); }
STDMETHODIMP BrowserSite::RequestNewObjectLayout() { return host->RequestNewObjectLayout(); }
STDMETHODIMP BrowserSite::CanInPlaceActivate() { return host->CanInPlaceActivate(); }
STDMETHODIMP BrowserSite::OnInPlaceActivate() { return host->OnInPlaceActivate(); }
STDMETHODIMP BrowserSite::OnUIActivate() { return host->OnUIActivate(); }
STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT positionOut, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO frameInfo) {
  return host->GetWindowContext(frame, document, positionOut, clip, frameInfo);
}
STDMETHODIMP BrowserSite::Scroll(SIZE extent) { return host->Scroll(extent); }
STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL undoable) { return host->OnUIDeactivate(undoable); }
STDMETHODIMP BrowserSite::OnInPlaceDeactivate() { return host->OnInPlaceDeactivate(); }
STDMETHODIMP BrowserSite::DiscardUndoState() { return host->DiscardUndoState(); }
STDMETHODIMP BrowserSite::DeactivateAndUndo() { return host->DeactivateAndUndo(); }
STDMETHODIMP BrowserSite::OnPosRectChange(LPCRECT rect) { return host->OnPosRectChange(rect); }
STDMETHODIMP BrowserSite::OnControlInfoChanged() { return host->OnControlInfoChanged(); }
STDMETHODIMP BrowserSite::LockInPlaceActive(BOOL lock) { return host->LockInPlaceActive(lock); }
STDMETHODIMP BrowserSite::GetExtendedControl(IDispatch** control) {
  return host->GetExtendedControl(control);
}
STDMETHODIMP BrowserSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
  return host->TransformCoords(himetric, container, flags);
}
STDMETHODIMP BrowserSite::TranslateAccelerator(MSG* msg, DWORD modifiers) {
  return host->TranslateAccelerator(msg, modifiers);
}
STDMETHODIMP BrowserSite::OnFocus(BOOL gotFocus) { return host->OnFocus(gotFocus); }
STDMETHODIMP BrowserSite::ShowPropertyFrame() { return host->ShowPropertyFrame(); }
STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) { return host->GetTypeInfoCount(count); }
STDMETHODIMP BrowserSite::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
  return host->GetTypeInfo(index, locale, info);
}
STDMETHODIMP BrowserSite::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                        DISPID* ids) {
  return host->GetIDsOfNames(riid, names, count, locale, ids);
}
STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                 DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                 UINT* argumentError) {
  return host->Invoke(id, riid, locale, flags, params, result, exception, argumentError);
}
STDMETHODIMP BrowserSite::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                          IDispatch* object) {
  return host->ShowContextMenu(id, point, commandTarget, object);
}
STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) { return host->GetHostInfo(info); }
STDMETHODIMP BrowserSite::ShowUI(DWORD id, IOleInPlaceActiveObject* object,
                                 IOleCommandTarget* target, IOleInPlaceFrame* frame,
                                 IOleInPlaceUIWindow* document) {
  return host->ShowUI(id, object, target, frame, document);
}
STDMETHODIMP BrowserSite::HideUI() { return host->HideUI(); }
STDMETHODIMP BrowserSite::UpdateUI() { return host->UpdateUI(); }
STDMETHODIMP BrowserSite::OnDocWindowActivate(BOOL activate) {
  return host->OnDocWindowActivate(activate);
}
STDMETHODIMP BrowserSite::OnFrameWindowActivate(BOOL activate) {
  return host->OnFrameWindowActivate(activate);
}
STDMETHODIMP BrowserSite::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                       BOOL isFrameWindow) {
  return host->ResizeBorder(border, window, isFrameWindow);
}
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) {
  return host->TranslateAccelerator(msg, group, command);
}
STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
  return host->GetOptionKeyPath(key, reserved);
}
STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget* target, IDropTarget** replacement) {
  return host->GetDropTarget(target, replacement);
}
STDMETHODIMP BrowserSite::GetExternal(IDispatch** external) { return host->GetExternal(external); }
STDMETHODIMP BrowserSite::TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) {
  return host->TranslateUrl(translate, in, out);
}
STDMETHODIMP BrowserSite::FilterDataObject(IDataObject* object, IDataObject** replacement) {
  return host->FilterDataObject(object, replacement);
}
