// WebBrowserHost: an element that hosts the system's WebBrowser control as a child window of
// its element window, answers the control's site calls and receives its events.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>  // needs windows.h first
// clang-format on
#include <exdisp.h>
#include <mshtmhst.h>

#include <atomic>
#include <memory>

#include "ui/UiElement.h"

class BrowserSite;

// Threads: the element belongs to the UI thread like every element (built, attached, changed
// and destroyed there). The control, its window, its site and every site and event call
// belong to the control thread: the thread that calls CreateControl, which must have called
// OleInitialize. It may be the UI thread itself. SetVisible, SetEnabled and SetBounds called
// on another thread than the control's are handed to the control thread; DestroyControl acts
// only on the control thread.
//
// COM: the host is the control's event sink (IDispatch). Like the site, it answers AddRef and
// Release with 1; its lifetime is the element's.
class WebBrowserHost : public IDispatch, public UiElement {
 public:
  // bounds relative to the parent, as for any element. Builds the element only; the control
  // comes from CreateControl on the control thread.
  WebBrowserHost(const RECT* bounds, UiElement* parent, DWORD style, int id);
  ~WebBrowserHost() override;

  // 1 = control present (also when it already was). 0 = no control: the element stays empty.
  int CreateControl(HWND frameWindow, const RECT* position, DWORD style);
  // IWebBrowser2::Navigate when the control exists; url passed unchanged.
  void Navigate(const wchar_t* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                VARIANT* headers);
  // Closes the control, its window and its site; on the control thread only (elsewhere it
  // does nothing).
  void DestroyControl();

  void SetVisible(int visible) override;
  void SetEnabled(int enabled) override;
  RECT SetBounds(const RECT* bounds, int stretch) override;

  // Construction-time values the control thread uses for CreateControl: the parent's window
  // and the element's bounds in that window's client coordinates.
  HWND GetFrameWindow() const { return frameWindow; }
  DWORD GetStyle() const { return style; }
  RECT GetInitialPosition() const { return initialPosition; }

  bool HasControl() const { return browser != nullptr; }
  HWND GetControlWindow() const { return controlWindow; }
  BrowserSite* GetSite() const { return site.get(); }
  const IID& GetEventInterface() const { return eventInterface; }

  // IUnknown: IUnknown, IDispatch and the control's event interface give the host itself.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  // IDispatch: no type information or names; Invoke dispatches the control's events to the
  // hooks below and answers S_OK for every DISPID.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

  // Browser event hooks (DWebBrowserEvents2); all do nothing here.
  virtual void BeforeNavigate2(IDispatch* browserObject, VARIANT* url, VARIANT* flags,
                               VARIANT* targetFrame, VARIANT* postData, VARIANT* headers,
                               VARIANT_BOOL* cancel);
  virtual void ClientToHostWindow(long* width, long* height);
  virtual void CommandStateChange(long command, VARIANT_BOOL enable);
  virtual void DocumentComplete(IDispatch* browserObject, VARIANT* url);
  virtual void DownloadBegin();
  virtual void DownloadComplete();
  virtual void FileDownload(VARIANT_BOOL activeDocument, VARIANT_BOOL* cancel);
  virtual void NavigateComplete2(IDispatch* browserObject, VARIANT* url);
  virtual void NavigateError(IDispatch* browserObject, VARIANT* url, VARIANT* frame,
                             VARIANT* statusCode, VARIANT_BOOL* cancel);
  virtual void NewWindow2(IDispatch** browserObject, VARIANT_BOOL* cancel);
  virtual void OnFullScreen(VARIANT_BOOL fullScreen);
  virtual void OnMenuBar(VARIANT_BOOL menuBar);
  virtual void OnQuit();
  virtual void OnStatusBar(VARIANT_BOOL statusBar);
  virtual void OnTheaterMode(VARIANT_BOOL theaterMode);
  virtual void OnToolBar(VARIANT_BOOL toolBar);
  virtual void OnVisible(VARIANT_BOOL visible);
  virtual void PrivacyImpactedStateChange(VARIANT_BOOL impacted);
  virtual void ProgressChange(long progress, long progressMax);
  virtual void PropertyChange(BSTR property);
  virtual void StatusTextChange(BSTR text);
  virtual void TitleChange(BSTR title);
  virtual void WindowClosing(VARIANT_BOOL isChildWindow, VARIANT_BOOL* cancel);
  virtual void WindowSetHeight(long height);
  virtual void WindowSetLeft(long left);
  virtual void WindowSetResizable(VARIANT_BOOL resizable);
  virtual void WindowSetTop(long top);
  virtual void WindowSetWidth(long width);

  // Site operations: every site interface method arrives here; override to change it.
  // Document host
  virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                  IDispatch* object);
  virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info);
  virtual HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* object, IOleCommandTarget* target,
                         IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document);
  virtual HRESULT HideUI();
  virtual HRESULT UpdateUI();
  virtual HRESULT EnableModeless(BOOL enable);
  virtual HRESULT OnDocWindowActivate(BOOL activate);
  virtual HRESULT OnFrameWindowActivate(BOOL activate);
  virtual HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow);
  virtual HRESULT TranslateAccelerator(LPMSG msg, WORD id);         // frame
  virtual HRESULT TranslateAccelerator(MSG* msg, DWORD modifiers);  // control site
  virtual HRESULT TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command);  // doc host
  virtual HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD reserved);
  virtual HRESULT GetDropTarget(IDropTarget* target, IDropTarget** replacement);
  virtual HRESULT GetExternal(IDispatch** external);
  virtual HRESULT TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out);
  virtual HRESULT FilterDataObject(IDataObject* object, IDataObject** replacement);
  // Client site
  virtual HRESULT SaveObject();
  virtual HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker);
  virtual HRESULT GetContainer(IOleContainer** container);
  virtual HRESULT ShowObject();
  virtual HRESULT OnShowWindow(BOOL show);
  virtual HRESULT RequestNewObjectLayout();
  // In-place site (GetWindow and ContextSensitiveHelp also serve the frame)
  virtual HRESULT GetWindow(HWND* window);
  virtual HRESULT ContextSensitiveHelp(BOOL enterMode);
  virtual HRESULT CanInPlaceActivate();
  virtual HRESULT OnInPlaceActivate();
  virtual HRESULT OnUIActivate();
  virtual HRESULT GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                   LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo);
  virtual HRESULT Scroll(SIZE extent);
  virtual HRESULT OnUIDeactivate(BOOL undoable);
  virtual HRESULT OnInPlaceDeactivate();
  virtual HRESULT DiscardUndoState();
  virtual HRESULT DeactivateAndUndo();
  virtual HRESULT OnPosRectChange(LPCRECT position);
  // Control site
  virtual HRESULT OnControlInfoChanged();
  virtual HRESULT LockInPlaceActive(BOOL lock);
  virtual HRESULT GetExtendedControl(IDispatch** control);
  virtual HRESULT TransformCoords(POINTL* himetric, POINTF* container, DWORD flags);
  virtual HRESULT OnFocus(BOOL gotFocus);
  virtual HRESULT ShowPropertyFrame();
  // In-place frame
  virtual HRESULT GetBorder(LPRECT border);
  virtual HRESULT RequestBorderSpace(LPCBORDERWIDTHS widths);
  virtual HRESULT SetBorderSpace(LPCBORDERWIDTHS widths);
  virtual HRESULT SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name);
  virtual HRESULT InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths);
  virtual HRESULT SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject);
  virtual HRESULT RemoveMenus(HMENU shared);
  virtual HRESULT SetStatusText(LPCOLESTR text);
  // Container
  virtual HRESULT ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten,
                                   IMoniker** moniker);
  virtual HRESULT EnumObjects(DWORD flags, IEnumUnknown** objects);
  virtual HRESULT LockContainer(BOOL lock);

 protected:
  // Makes the site for (frameWindow, position) and keeps it; the first step of siting a
  // control. Replaces an earlier site.
  BrowserSite* CreateSite(HWND frameWindow, const RECT* position);
  bool OnControlThread() const;
  // From another thread: asks the control thread to run DestroyControl (and, with
  // endThreadLoop, to end its message loop). False when no control thread listens.
  bool RequestDestroyOnControlThread(bool endThreadLoop);

 private:
  friend class BrowserControlProxy;
  int MakeControl(HWND frameWindow, const RECT* position, DWORD style);
  void ApplyVisible(int visible);
  void ApplyEnabled(int enabled);
  void ApplyPosition(const RECT& position);

  std::unique_ptr<BrowserSite> site;
  IWebBrowser2* browser = nullptr;
  IConnectionPoint* eventConnection = nullptr;
  DWORD eventCookie = 0xFFFFFFFF;
  HWND controlWindow = nullptr;
  IID eventInterface{};
  // Set at construction on the UI thread, read-only afterwards.
  HWND frameWindow = nullptr;
  DWORD style = 0;
  RECT initialPosition{};
  // 0 until CreateControl runs.
  std::atomic<DWORD> controlThreadId{0};
  std::atomic<HWND> controlProxy{nullptr};
  // Control thread only.
  bool creatingControl = false;
  int pendingDestroy = 0;  // 1: destroy after CreateControl; 2: and end the thread's loop
};
