// Browser host COM plumbing (site identities and answers, event dispatch, window context)
// and the banner on its own thread under a real toolkit window.
#include <doctest/doctest.h>
#include <exdispid.h>
#include <windows.h>

#include <cstring>
#include <ios>
#include <string>
#include <vector>

#include "app/Config.h"
#include "app/Handle.h"
#include "app/Text.h"
#include "tests/support/TestSupport.h"
#include "ui/LayeredWindow.h"
#include "ui/browser/BannerBrowser.h"
#include "ui/browser/BrowserSite.h"
#include "ui/browser/WebBrowserHost.h"

#define CHECK_HR(expr, expected)                                        \
  do {                                                                  \
    HRESULT hr_ = (expr);                                               \
    INFO(#expr " = 0x" << std::hex << static_cast<unsigned long>(hr_)); \
    CHECK(hr_ == (expected));                                           \
  } while (0)

namespace {

// A plain top-level window standing in for the element window, with a root element on it.
struct Frame {
  Frame() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"BrowserTestFrame";
      return RegisterClassW(&wc);
    }();
    REQUIRE(atom != 0);
    hwnd = CreateWindowExW(0, L"BrowserTestFrame", L"frame", WS_POPUP, 0, 0, 600, 350, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(hwnd != nullptr);
    RECT r{0, 0, 600, 350};
    root = new UiElement(&r, nullptr, nullptr, 0, hwnd, nullptr, nullptr);
  }
  ~Frame() {
    delete root;
    DestroyWindow(hwnd);
  }
  HWND hwnd = nullptr;
  UiElement* root = nullptr;
};

// A host whose site exists without a control, and whose hooks record what reaches them.
class ProbeHost : public WebBrowserHost {
 public:
  ProbeHost(const RECT* r, UiElement* parentElement) : WebBrowserHost(r, parentElement, 0, 5) {}
  BrowserSite* MakeSite() {
    RECT position = GetInitialPosition();
    return CreateSite(GetFrameWindow(), &position);
  }
  HRESULT ShowContextMenu(DWORD menu, POINT* point, IUnknown* target, IDispatch* object) override {
    lastContextMenuId = menu;
    return overrideContextMenu ? E_ABORT
                               : WebBrowserHost::ShowContextMenu(menu, point, target, object);
  }
  void StatusTextChange(BSTR text) override { calls.push_back(L"status:" + std::wstring(text)); }
  void ProgressChange(long progress, long progressMax) override {
    calls.push_back(L"progress:" + std::to_wstring(progress) + L"/" + std::to_wstring(progressMax));
  }
  void BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT* headers,
                       VARIANT_BOOL* cancel) override {
    calls.push_back(L"before:" + std::wstring(V_BSTR(url)) + L"|" + V_BSTR(headers));
    beforeCancel = cancel;
  }
  std::vector<std::wstring> calls;
  VARIANT_BOOL* beforeCancel = nullptr;
  DWORD lastContextMenuId = 0;
  bool overrideContextMenu = false;
};

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_CASE("site QueryInterface: fixed pointers, E_NOINTERFACE with a null pointer, E_FAIL") {
  Frame frame;
  RECT r = Rect(2, 37, 597, 211);
  auto* host = new ProbeHost(&r, frame.root);
  BrowserSite* site = host->MakeSite();
  REQUIRE(site != nullptr);

  struct Case {
    const IID* iid;
    void* expected;
  };
  void* frameInterface = static_cast<IOleInPlaceFrame*>(site);
  const Case cases[] = {
      {&IID_IUnknown, frameInterface},
      {&IID_IOleWindow, frameInterface},
      {&IID_IOleInPlaceUIWindow, frameInterface},
      {&IID_IOleInPlaceFrame, frameInterface},
      {&IID_IParseDisplayName, static_cast<IOleContainer*>(site)},
      {&IID_IOleContainer, static_cast<IOleContainer*>(site)},
      {&IID_IOleClientSite, static_cast<IOleClientSite*>(site)},
      {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(site)},
      {&IID_IOleControlSite, static_cast<IOleControlSite*>(site)},
      {&IID_IDispatch, static_cast<IDispatch*>(site)},
      {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(site)},
  };
  for (const Case& c : cases) {
    void* out = nullptr;
    CHECK_HR(site->QueryInterface(*c.iid, &out), S_OK);
    CHECK(out == c.expected);
    // Every interface answers with the same object behind it.
    void* again = nullptr;
    CHECK_HR(static_cast<IUnknown*>(out)->QueryInterface(IID_IUnknown, &again), S_OK);
    CHECK(again == frameInterface);
    CHECK(static_cast<IUnknown*>(out)->AddRef() == 1);
    CHECK(static_cast<IUnknown*>(out)->Release() == 1);
  }
  for (const IID* other : {&IID_IStream, &IID_IOleObject, &IID_IWebBrowser2, &GUID_NULL,
                           &IID_IOleInPlaceActiveObject}) {
    void* out = reinterpret_cast<void*>(0x1234);
    CHECK_HR(site->QueryInterface(*other, &out), E_NOINTERFACE);
    CHECK(out == nullptr);
  }
  CHECK_HR(site->QueryInterface(IID_IUnknown, nullptr), E_FAIL);
  // The released site is still there: the host owns it.
  CHECK(site->Release() == 1);
  CHECK(site->GetFrameWindow() == frame.hwnd);
}

TEST_CASE("host IUnknown: IUnknown and IDispatch are the host, anything else is refused") {
  Frame frame;
  RECT r = Rect(0, 0, 10, 10);
  auto* host = new WebBrowserHost(&r, frame.root, 0, 1);
  IDispatch* self = host;
  for (const IID* iid : {&IID_IUnknown, &IID_IDispatch}) {
    void* out = nullptr;
    CHECK_HR(host->QueryInterface(*iid, &out), S_OK);
    CHECK(out == self);
  }
  // No event interface has been read from a control: the zero IID is not it.
  for (const IID* iid : {&GUID_NULL, &IID_IOleClientSite, &DIID_DWebBrowserEvents2}) {
    void* out = reinterpret_cast<void*>(0x1234);
    CHECK_HR(host->QueryInterface(*iid, &out), E_NOINTERFACE);
    CHECK(out == nullptr);
  }
  CHECK_HR(host->QueryInterface(IID_IDispatch, nullptr), E_FAIL);
  CHECK(host->AddRef() == 1);
  CHECK(host->Release() == 1);
  UINT count = 7;
  CHECK_HR(host->GetTypeInfoCount(&count), E_NOTIMPL);
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"anything");
  CHECK_HR(host->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_NOTIMPL);
}

TEST_CASE("every site method reaches the host and answers as the site table says") {
  Frame frame;
  RECT r = Rect(2, 37, 597, 211);
  auto* host = new ProbeHost(&r, frame.root);
  BrowserSite* site = host->MakeSite();
  IOleClientSite* client = site;
  IOleInPlaceSite* inPlace = site;
  IOleInPlaceFrame* inPlaceFrame = site;
  IOleControlSite* control = site;
  IOleContainer* container = site;
  IDocHostUIHandler* docHost = site;
  MSG msg{};
  SIZE extent{1, 1};

  // Document host
  POINT point{3, 4};
  CHECK_HR(docHost->ShowContextMenu(2, &point, nullptr, nullptr), S_FALSE);
  CHECK(host->lastContextMenuId == 2);
  host->overrideContextMenu = true;
  CHECK_HR(docHost->ShowContextMenu(3, &point, nullptr, nullptr), E_ABORT);
  CHECK_HR(docHost->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
  CHECK_HR(docHost->HideUI(), S_OK);
  CHECK_HR(docHost->UpdateUI(), S_OK);
  CHECK_HR(docHost->EnableModeless(TRUE), E_NOTIMPL);
  CHECK_HR(docHost->OnDocWindowActivate(TRUE), E_NOTIMPL);
  CHECK_HR(docHost->OnFrameWindowActivate(TRUE), E_NOTIMPL);
  CHECK_HR(docHost->ResizeBorder(&r, nullptr, TRUE), E_NOTIMPL);
  CHECK_HR(docHost->TranslateAccelerator(&msg, nullptr, 0), S_OK);
  CHECK_HR(docHost->GetOptionKeyPath(nullptr, 0), E_NOTIMPL);
  CHECK_HR(docHost->GetDropTarget(nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(docHost->TranslateUrl(0, nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(docHost->FilterDataObject(nullptr, nullptr), E_NOTIMPL);
  IDispatch* external = nullptr;
  CHECK_HR(docHost->GetExternal(&external), S_OK);
  CHECK(external == static_cast<IDispatch*>(host));
  CHECK_HR(docHost->GetExternal(nullptr), S_OK);

  // Client site
  CHECK_HR(client->SaveObject(), E_NOTIMPL);
  CHECK_HR(client->GetMoniker(0, 0, nullptr), E_NOTIMPL);
  CHECK_HR(client->ShowObject(), S_OK);
  CHECK_HR(client->OnShowWindow(TRUE), E_NOTIMPL);
  CHECK_HR(client->RequestNewObjectLayout(), E_NOTIMPL);
  IOleContainer* gotContainer = nullptr;
  CHECK_HR(client->GetContainer(&gotContainer), S_OK);
  CHECK(gotContainer == container);
  CHECK_HR(client->GetContainer(nullptr), E_NOTIMPL);

  // In-place site and the window of both site and frame
  HWND window = nullptr;
  CHECK_HR(inPlace->GetWindow(&window), S_OK);
  CHECK(window == frame.hwnd);
  window = nullptr;
  CHECK_HR(inPlaceFrame->GetWindow(&window), S_OK);
  CHECK(window == frame.hwnd);
  CHECK_HR(inPlace->GetWindow(nullptr), E_FAIL);
  CHECK_HR(inPlace->ContextSensitiveHelp(TRUE), E_NOTIMPL);
  CHECK_HR(inPlace->CanInPlaceActivate(), S_OK);
  CHECK_HR(inPlace->OnInPlaceActivate(), S_OK);
  CHECK_HR(inPlace->OnUIActivate(), S_OK);
  CHECK_HR(inPlace->Scroll(extent), E_NOTIMPL);
  CHECK_HR(inPlace->OnUIDeactivate(FALSE), E_NOTIMPL);
  CHECK_HR(inPlace->OnInPlaceDeactivate(), E_NOTIMPL);
  CHECK_HR(inPlace->DiscardUndoState(), E_NOTIMPL);
  CHECK_HR(inPlace->DeactivateAndUndo(), E_NOTIMPL);
  CHECK_HR(inPlace->OnPosRectChange(&r), E_NOTIMPL);

  // Control site, frame and container: not implemented
  CHECK_HR(control->OnControlInfoChanged(), E_NOTIMPL);
  CHECK_HR(control->LockInPlaceActive(TRUE), E_NOTIMPL);
  CHECK_HR(control->GetExtendedControl(nullptr), E_NOTIMPL);
  CHECK_HR(control->TransformCoords(nullptr, nullptr, 0), E_NOTIMPL);
  CHECK_HR(control->TranslateAccelerator(&msg, 0), E_NOTIMPL);
  CHECK_HR(control->OnFocus(TRUE), E_NOTIMPL);
  CHECK_HR(control->ShowPropertyFrame(), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->GetBorder(&r), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->RequestBorderSpace(nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->SetBorderSpace(nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->SetActiveObject(nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->InsertMenus(nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->SetMenu(nullptr, nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->RemoveMenus(nullptr), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->SetStatusText(L"x"), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->EnableModeless(TRUE), E_NOTIMPL);
  CHECK_HR(inPlaceFrame->TranslateAccelerator(&msg, 0), E_NOTIMPL);
  CHECK_HR(container->ParseDisplayName(nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
  CHECK_HR(container->EnumObjects(0, nullptr), E_NOTIMPL);
  CHECK_HR(container->LockContainer(TRUE), E_NOTIMPL);

  // The site's own IDispatch is the host's.
  IDispatch* siteDispatch = site;
  UINT count = 0;
  CHECK_HR(siteDispatch->GetTypeInfoCount(&count), E_NOTIMPL);
  CHECK_HR(siteDispatch->Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, nullptr,
                                nullptr, nullptr, nullptr),
           S_OK);
}

TEST_CASE("GetWindowContext gives the frame, no document, the position and the frame's client") {
  Frame frame;
  RECT r = Rect(2, 37, 597, 211);
  auto* host = new ProbeHost(&r, frame.root);
  IOleInPlaceFrame* frameOut = reinterpret_cast<IOleInPlaceFrame*>(0x1);
  IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(0x1);
  RECT position{};
  RECT clip{};
  CHECK_HR(host->GetWindowContext(&frameOut, &document, &position, &clip, nullptr), E_FAIL);

  BrowserSite* site = host->MakeSite();
  OLEINPLACEFRAMEINFO info;
  memset(&info, 0x5A, sizeof info);
  info.cb = sizeof info;
  CHECK_HR(static_cast<IOleInPlaceSite*>(site)->GetWindowContext(&frameOut, &document, &position,
                                                                 &clip, &info),
           S_OK);
  CHECK(frameOut == static_cast<IOleInPlaceFrame*>(site));
  CHECK(document == nullptr);
  CHECK(SameRect(position, Rect(2, 37, 597, 211)));
  RECT client{};
  GetClientRect(frame.hwnd, &client);
  CHECK(SameRect(clip, client));
  CHECK(SameRect(clip, Rect(0, 0, 600, 350)));
  CHECK(info.cb == sizeof info);
  CHECK(info.fMDIApp == FALSE);
  CHECK(info.hwndFrame == frame.hwnd);
  CHECK(info.haccel == nullptr);
  CHECK(info.cAccelEntries == 0);
  // Optional outs may be left out; the frame out may not.
  CHECK_HR(host->GetWindowContext(&frameOut, nullptr, nullptr, nullptr, nullptr), S_OK);
  CHECK_HR(host->GetWindowContext(nullptr, nullptr, nullptr, nullptr, nullptr), E_FAIL);
  // A moved element moves the position the control is given.
  RECT moved = Rect(10, 20, 110, 70);
  host->SetBounds(&moved, 1);
  CHECK_HR(host->GetWindowContext(&frameOut, nullptr, &position, nullptr, nullptr), S_OK);
  CHECK(SameRect(position, moved));
}

TEST_CASE("Invoke dispatches events with their arguments and answers S_OK for any DISPID") {
  Frame frame;
  RECT r = Rect(0, 0, 10, 10);
  auto* host = new ProbeHost(&r, frame.root);

  for (DISPID unknown : {0, 1, 999, -1, 103, 261, 269}) {
    CAPTURE(unknown);
    CHECK_HR(
        host->Invoke(unknown, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
        S_OK);
  }
  CHECK(host->calls.empty());

  // Arguments arrive last first.
  VARIANT progress[2];
  VariantInit(&progress[0]);
  VariantInit(&progress[1]);
  V_VT(&progress[0]) = VT_I4;
  V_I4(&progress[0]) = 100;  // progressMax
  V_VT(&progress[1]) = VT_I4;
  V_I4(&progress[1]) = 30;  // progress
  DISPPARAMS params{progress, nullptr, 2, 0};
  CHECK_HR(host->Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                        nullptr, nullptr),
           S_OK);

  VARIANT status;
  VariantInit(&status);
  V_VT(&status) = VT_BSTR;
  V_BSTR(&status) = SysAllocString(L"loading");
  DISPPARAMS one{&status, nullptr, 1, 0};
  CHECK_HR(host->Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr,
                        nullptr, nullptr),
           S_OK);
  // Too few arguments: the hook is not called, the answer is still S_OK.
  CHECK_HR(host->Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr,
                        nullptr),
           S_OK);
  VariantClear(&status);

  // BeforeNavigate2: URL and headers by reference to the variants, cancel as its pointer.
  VARIANT url, empty, headers, args[7];
  VariantInit(&url);
  VariantInit(&empty);
  VariantInit(&headers);
  V_VT(&url) = VT_BSTR;
  V_BSTR(&url) = SysAllocString(L"http://banner/");
  V_VT(&headers) = VT_BSTR;
  V_BSTR(&headers) = SysAllocString(L"h: 1");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  auto byRef = [](VARIANT& slot, VARIANT* target) {
    VariantInit(&slot);
    V_VT(&slot) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&slot) = target;
  };
  VariantInit(&args[6]);
  V_VT(&args[6]) = VT_DISPATCH;
  V_DISPATCH(&args[6]) = nullptr;
  byRef(args[5], &url);
  byRef(args[4], &empty);
  byRef(args[3], &empty);
  byRef(args[2], &empty);
  byRef(args[1], &headers);
  VariantInit(&args[0]);
  V_VT(&args[0]) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&args[0]) = &cancel;
  DISPPARAMS seven{args, nullptr, 7, 0};
  CHECK_HR(host->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &seven, nullptr,
                        nullptr, nullptr),
           S_OK);
  CHECK(host->beforeCancel == &cancel);
  CHECK(cancel == VARIANT_FALSE);
  VariantClear(&url);
  VariantClear(&headers);

  const std::vector<std::wstring> expected = {L"progress:30/100", L"status:loading",
                                              L"before:http://banner/|h: 1"};
  CHECK(host->calls == expected);
}

TEST_CASE("GetHostInfo: the host leaves the structure alone, the banner turns scroll bars off") {
  Frame frame;
  RECT r = Rect(2, 37, 597, 211);
  auto* plain = new ProbeHost(&r, frame.root);
  IDocHostUIHandler* plainSite = plain->MakeSite();
  auto* banner = new BannerBrowser(&r, frame.root, BannerStyle, 0);
  for (DWORD flags : {0ul, 0x40000ul, 0x8ul}) {
    CAPTURE(flags);
    DOCHOSTUIINFO info;
    memset(&info, 0x33, sizeof info);
    info.cbSize = sizeof info;
    info.dwFlags = flags;
    DOCHOSTUIINFO before = info;
    CHECK_HR(plainSite->GetHostInfo(&info), S_OK);
    CHECK(memcmp(&info, &before, sizeof info) == 0);
    CHECK_HR(banner->GetHostInfo(&info), S_OK);
    CHECK(info.dwFlags == (flags | DOCHOSTUIFLAG_SCROLL_NO));
    CHECK(info.dwDoubleClick == before.dwDoubleClick);
    CHECK(info.pchHostCss == before.pchHostCss);
  }
  CHECK_HR(banner->GetHostInfo(nullptr), S_OK);
}

namespace {

struct WindowsOfProcess {
  HWND exclude;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM param) {
  auto* w = reinterpret_cast<WindowsOfProcess*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId() && hwnd != w->exclude && IsWindowVisible(hwnd)) {
    w->found.push_back(hwnd);
  }
  return TRUE;
}

// Visible top-level windows of this process other than `exclude`: a dialog would be one.
std::vector<HWND> OtherVisibleWindows(HWND exclude) {
  WindowsOfProcess w{exclude, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&w));
  return w.found;
}

BOOL CALLBACK CollectForeignChildren(HWND hwnd, LPARAM param) {
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId() &&
      GetParent(hwnd) == reinterpret_cast<std::vector<HWND>*>(param)->front()) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  }
  return TRUE;
}

// Direct children of `window` that another thread created: the banner control's window.
std::vector<HWND> ForeignChildren(HWND window) {
  std::vector<HWND> found{window};
  EnumChildWindows(window, CollectForeignChildren, reinterpret_cast<LPARAM>(&found));
  found.erase(found.begin());
  return found;
}

RECT ClientRectIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

bool PumpUntilMoved(HWND child, HWND parent, const RECT& expected) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 3000) {
    Pump(20);
    if (SameRect(ClientRectIn(child, parent), expected)) return true;
  }
  return false;
}

LayeredWindow* MakeDownloadWindow() {
  RECT screen{60, 60, 660, 410};
  auto* window = new LayeredWindow(&screen, nullptr, L"BannerTestWindow", nullptr, 0,
                                   WS_POPUP | WS_VISIBLE, 0, 0, nullptr, nullptr);
  REQUIRE(window->GetHwnd() != nullptr);
  return window;
}

}  // namespace

TEST_CASE("the banner joins the window's tree on the UI thread and its control never blocks") {
  CopyBounded(BannerUrl, BannerUrlSize, L"about:blank");
  LayeredWindow* window = MakeDownloadWindow();
  HWND windowHandle = window->GetHwnd();
  BannerBrowser* banner = StartBanner(window);
  REQUIRE(banner != nullptr);
  CHECK(banner->IsRunning());
  CHECK(window->GetChildren().back() == banner);
  CHECK(banner->GetParentElement() == window);
  CHECK(banner->GetHwnd() == windowHandle);
  RECT bounds{};
  banner->GetBounds(&bounds);
  CHECK(SameRect(bounds, Rect(2, 37, 597, 211)));
  CHECK(SameRect(banner->GetInitialPosition(), Rect(2, 37, 597, 211)));
  CHECK(banner->GetFrameWindow() == windowHandle);
  CHECK(banner->GetStyle() == 0x56000000u);

  // Either the control appears as a child window of the download window, made by the banner
  // thread, or (no browser engine, as under Wine without one) the thread ends and the element
  // stays empty. Neither may take long or show anything else.
  DWORD start = GetTickCount();
  std::vector<HWND> control;
  while (GetTickCount() - start < 8000) {
    Pump(20);
    control = ForeignChildren(windowHandle);
    if (!control.empty() || banner->HasThreadEnded()) break;
  }
  Pump(300);
  control = ForeignChildren(windowHandle);
  CHECK((!control.empty() || banner->HasThreadEnded()));
  CHECK(OtherVisibleWindows(windowHandle).empty());
  if (!control.empty()) {
    MESSAGE("banner: browser control present");
    CHECK(SameRect(ClientRectIn(control.front(), windowHandle), Rect(2, 37, 597, 211)));
    CHECK_FALSE(banner->HasThreadEnded());
    CHECK((static_cast<DWORD>(GetWindowLongA(control.front(), GWL_STYLE)) & BannerStyle) ==
          BannerStyle);
    // A move from the UI thread reaches the control on its thread.
    RECT moved = Rect(12, 47, 607, 221);
    banner->SetBounds(&moved, 1);
    CHECK(PumpUntilMoved(control.front(), windowHandle, Rect(12, 47, 607, 221)));
  } else {
    MESSAGE("banner: no browser control; the element stays empty");
  }
  // Teardown on the UI thread: the banner thread closes its control and ends, so the wait
  // in the banner's destructor ended with the thread, not at its time limit.
  KernelHandle bannerThread(OpenThread(SYNCHRONIZE, FALSE, banner->GetThreadId()));
  delete window;
  CHECK_FALSE(IsWindow(windowHandle));
  REQUIRE(bannerThread.valid());
  CHECK(WaitForSingleObject(bannerThread.get(), 0) == WAIT_OBJECT_0);
}

TEST_CASE("a banner stopped at once after its start ends cleanly") {
  LayeredWindow* window = MakeDownloadWindow();
  RECT r = BannerBounds;
  auto* banner = new BannerBrowser(&r, window, BannerStyle, 0);
  REQUIRE(banner->Start());
  CHECK_FALSE(banner->Start());
  CHECK(banner->Stop(BannerStopTimeoutMs));
  CHECK_FALSE(banner->IsRunning());
  CHECK(banner->HasThreadEnded());
  CHECK(ForeignChildren(window->GetHwnd()).empty());
  // The element stays in the tree, empty, until its window goes.
  CHECK(window->GetChildren().back() == banner);
  delete window;
}

namespace {
constexpr char NoEngineCase[] = "without a browser engine the banner stays an empty element";
constexpr char NoEngineVariable[] = "TEZ_BANNER_WITHOUT_ENGINE";

std::string Variable(const char* name) {
  char value[1024] = {};
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value) : std::string();
}
}  // namespace

TEST_CASE(NoEngineCase) {
  if (Variable(NoEngineVariable).empty()) {
    // Runs this case again in a copy of this program whose DLL overrides (Wine's per-program
    // settings in the prefix's registry) refuse the DLLs of the browser control, so the
    // control cannot be created at all.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = test::ScratchDir("banner_without_engine");
    std::string copy = folder + "\\banner_without_engine.exe";
    REQUIRE(CopyFileA(program, copy.c_str(), FALSE));
    const char* key = "Software\\Wine\\AppDefaults\\banner_without_engine.exe\\DllOverrides";
    HKEY overrides = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &overrides, nullptr) == ERROR_SUCCESS);
    for (const char* dll : {"ieframe", "shdocvw"}) {
      RegSetValueExA(overrides, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
    RegCloseKey(overrides);
    SetEnvironmentVariableA(NoEngineVariable, "1");
    int rc = test::RunProcess("\"" + copy + "\" --no-intro -tc=\"" + NoEngineCase + "\"", 60000);
    SetEnvironmentVariableA(NoEngineVariable, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\banner_without_engine.exe");
    CHECK(rc == 0);
    return;
  }
  // In the child.
  void* probe = nullptr;
  OleInitialize(nullptr);
  HRESULT created =
      CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2, &probe);
  if (SUCCEEDED(created) && probe) static_cast<IUnknown*>(probe)->Release();
  OleUninitialize();
  REQUIRE(FAILED(created));

  CopyBounded(BannerUrl, BannerUrlSize, L"about:blank");
  LayeredWindow* window = MakeDownloadWindow();
  BannerBrowser* banner = StartBanner(window);
  REQUIRE(banner != nullptr);
  DWORD start = GetTickCount();
  while (!banner->HasThreadEnded() && GetTickCount() - start < 5000) Pump(20);
  CHECK(banner->HasThreadEnded());
  CHECK_FALSE(banner->HasControl());
  CHECK(banner->GetSite() == nullptr);
  CHECK(banner->GetControlWindow() == nullptr);
  CHECK(ForeignChildren(window->GetHwnd()).empty());
  CHECK(OtherVisibleWindows(window->GetHwnd()).empty());
  RECT bounds{};
  banner->GetBounds(&bounds);
  CHECK(SameRect(bounds, Rect(2, 37, 597, 211)));
  CHECK(window->GetChildren().back() == banner);
  // Changes to the empty element touch no control.
  RECT moved = Rect(0, 0, 10, 10);
  banner->SetBounds(&moved, 1);
  banner->SetVisible(0);
  banner->SetEnabled(0);
  CHECK(banner->IsVisible() == 0);
  delete window;
}
