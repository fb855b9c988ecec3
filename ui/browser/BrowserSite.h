// BrowserSite: the OLE container site of one browser control; each of its seven interfaces
// forwards every call to the owning WebBrowserHost's operation of the same name.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>  // needs windows.h first
// clang-format on
#include <mshtmhst.h>
#include <ocidl.h>

class WebBrowserHost;

// IUnknown rules: QueryInterface answers the seven interfaces (and their bases) with fixed
// pointers, E_NOINTERFACE with a null out pointer for anything else, E_FAIL for a null out
// pointer; AddRef and Release answer 1: the host owns the site and deletes it.
// Used only on the thread that owns the control.
class BrowserSite final : public IOleInPlaceFrame,
                          public IOleContainer,
                          public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleControlSite,
                          public IDispatch,
                          public IDocHostUIHandler {
 public:
  BrowserSite(HWND frameWindow, const RECT* position, WebBrowserHost* host);
  BrowserSite(const BrowserSite&) = delete;
  BrowserSite& operator=(const BrowserSite&) = delete;
  virtual ~BrowserSite() = default;

  HWND GetFrameWindow() const { return frameWindow; }
  const RECT& GetPosition() const { return position; }
  void SetPosition(const RECT& value) { position = value; }

  // IUnknown (shared by all seven interfaces)
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  // IOleWindow (IOleInPlaceFrame and IOleInPlaceSite)
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
  // IOleInPlaceUIWindow, IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT border) override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
  STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  STDMETHODIMP SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject) override;
  STDMETHODIMP RemoveMenus(HMENU shared) override;
  STDMETHODIMP SetStatusText(LPCOLESTR text) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;  // also IDocHostUIHandler
  STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;
  // IParseDisplayName, IOleContainer
  STDMETHODIMP ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                IMoniker** moniker) override;
  STDMETHODIMP EnumObjects(DWORD flags, IEnumUnknown** objects) override;
  STDMETHODIMP LockContainer(BOOL lock) override;
  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL show) override;
  STDMETHODIMP RequestNewObjectLayout() override;
  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE extent) override;
  STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;
  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override;
  STDMETHODIMP LockInPlaceActive(BOOL lock) override;
  STDMETHODIMP GetExtendedControl(IDispatch** control) override;
  STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
  STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
  STDMETHODIMP OnFocus(BOOL gotFocus) override;
  STDMETHODIMP ShowPropertyFrame() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                               IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* object, IOleCommandTarget* target,
                      IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

 private:
  HWND frameWindow;
  RECT position;
  WebBrowserHost* host;
};
