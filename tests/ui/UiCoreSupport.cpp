// Recording element, test window, pumping, PNG generation and pixel capture for the toolkit
// core tests.
#include "tests/ui/UiCoreSupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Text.h"
#include "tests/support/TestSupport.h"
#include "ui/GraphicsStartup.h"

namespace uitest {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

std::vector<std::string> LogWith(const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& entry : Log()) {
    if (entry.compare(0, prefix.size(), prefix) == 0) out.push_back(entry);
  }
  return out;
}

std::vector<std::string> LogContaining(const std::string& part) {
  std::vector<std::string> out;
  for (const auto& entry : Log()) {
    if (entry.find(part) != std::string::npos) out.push_back(entry);
  }
  return out;
}

RecordingElement::RecordingElement(const char* elementName, const RECT& r, UiElement* parentElement,
                                   const wchar_t* imageFile)
    : UiElement(&r, imageFile, parentElement, 0, nullptr, nullptr, nullptr), name(elementName) {}

RecordingElement::RecordingElement(const char* elementName, int x, int y, UiElement* parentElement,
                                   const wchar_t* imageFile)
    : UiElement(x, y, imageFile, parentElement, 0, nullptr, nullptr, nullptr), name(elementName) {}

RecordingElement::~RecordingElement() { Record("destroyed"); }

void RecordingElement::Record(const char* what) { Log().push_back(name + ":" + what); }

void RecordingElement::Draw(Gdiplus::Graphics* graphics) {
  ++draws;
  Gdiplus::Rect clip;
  graphics->GetClipBounds(&clip);
  lastDrawClip = RECT{clip.X, clip.Y, clip.X + clip.Width, clip.Y + clip.Height};
  UiElement::Draw(graphics);
}

int RecordingElement::OnMouseEnter(WPARAM w, LPARAM l) {
  Record("enter");
  return UiElement::OnMouseEnter(w, l);
}
int RecordingElement::OnMouseLeave(WPARAM w, LPARAM l) {
  Record("leave");
  return UiElement::OnMouseLeave(w, l);
}
int RecordingElement::OnMouseMove(WPARAM w, LPARAM l) {
  Record("move");
  return UiElement::OnMouseMove(w, l);
}
int RecordingElement::OnLButtonDown(WPARAM w, LPARAM l) {
  Record("ldown");
  return UiElement::OnLButtonDown(w, l);
}
int RecordingElement::OnLButtonUp(WPARAM w, LPARAM l) {
  Record("lup");
  return UiElement::OnLButtonUp(w, l);
}
int RecordingElement::OnRButtonDown(WPARAM w, LPARAM l) {
  Record("rdown");
  return UiElement::OnRButtonDown(w, l);
}
int RecordingElement::OnRButtonUp(WPARAM w, LPARAM l) {
  Record("rup");
  return UiElement::OnRButtonUp(w, l);
}
int RecordingElement::OnSetFocus() {
  Record("setfocus");
  UiElement::OnSetFocus();
  return setFocusAnswer;
}
int RecordingElement::OnKillFocus() {
  Record("killfocus");
  return UiElement::OnKillFocus();
}

TestWindow::TestWindow(const RECT& screen, DWORD exStyle, const wchar_t* className, UINT classStyle,
                       DWORD style, HWND owner)
    : LayeredWindow(&screen, nullptr, className, owner, exStyle, style, classStyle, 0, nullptr,
                    nullptr) {
  if (hwnd && !(style & WS_VISIBLE)) {
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    visible = 1;
  }
}

LRESULT TestWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The system's caption drag loop would wait for a real mouse button; record the request.
  if (msg == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
    ++captionPresses;
    return 0;
  }
  return LayeredWindow::HandleMessage(msg, wParam, lParam);
}

int TestWindow::PreTranslateMessage(MSG* msg) {
  preTranslated.push_back(*msg);
  return preTranslateAnswer;
}

int TestWindow::IsDragRegion(RECT* out, UiElement* pressed) {
  if (!dragElement || pressed != dragElement) return 0;
  *out = dragRect;
  return 1;
}

int TestWindow::OnCloseRequest() { return closeAnswer; }
void TestWindow::OnTimer(UINT_PTR timerId) { timers.push_back(timerId); }

int TestWindow::OnNotify(const ElementEvent* event, UiElement* source) {
  events.push_back(*event);
  eventSources.push_back(source);
  return 1;
}

int TestWindow::OnMouseMove(WPARAM w, LPARAM l) {
  Log().push_back(name + ":move");
  return LayeredWindow::OnMouseMove(w, l);
}

int TestWindow::OnLButtonUp(WPARAM w, LPARAM l) {
  Log().push_back(name + ":lup");
  return LayeredWindow::OnLButtonUp(w, l);
}

namespace {
DWORD WINAPI RunBody(void* p) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(p));
  (*body)();
  return 0;
}
}  // namespace

HANDLE StartThread(std::function<void()> body) {
  auto* heap = new std::function<void()>(std::move(body));
  HANDLE thread = CreateThread(nullptr, 0, RunBody, heap, 0, nullptr);
  if (!thread) delete heap;
  return thread;
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Keep quits for the test to find.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

int TakeQuit() {
  MSG msg;
  int code = -1;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    code = static_cast<int>(msg.wParam);
  return code;
}

RECT TakeUpdate(HWND hwnd) {
  RECT r{};
  if (!GetUpdateRect(hwnd, &r, FALSE)) r = RECT{};
  ValidateRect(hwnd, nullptr);
  return r;
}

namespace {

bool PngEncoder(CLSID* out) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::unique_ptr<char[]> buffer(new char[size]);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
      *out = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

std::wstring WritePng(const std::string& name, int width, int height,
                      unsigned (*pixel)(int x, int y)) {
  GraphicsStartup::Instance();
  static std::string folder = test::ScratchDir("ui_core_images");
  std::wstring path = FromAnsi((folder + "\\" + name).c_str());
  Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(pixel(x, y)));
  }
  CLSID png;
  if (!PngEncoder(&png) || bitmap.Save(path.c_str(), &png, nullptr) != Gdiplus::Ok) return L"";
  return path;
}

Pixels Print(HWND hwnd, UINT msg, unsigned fill) {
  Pixels out;
  RECT client;
  GetClientRect(hwnd, &client);
  out.width = client.right;
  out.height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = out.width;
  info.bmiHeader.biHeight = -out.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto* p = static_cast<unsigned*>(bits);
  std::fill(p, p + out.width * out.height, fill);
  SendMessageA(hwnd, msg, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  out.data.assign(p, p + out.width * out.height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return out;
}

bool Near(unsigned a, unsigned b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int x = static_cast<int>((a >> shift) & 0xFF);
    int y = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(x - y) > tolerance) return false;
  }
  return true;
}

std::string Hex(unsigned argb) {
  char text[16];
  std::snprintf(text, sizeof(text), "%08X", argb);
  return text;
}

}  // namespace uitest
