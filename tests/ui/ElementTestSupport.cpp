// Helpers for the element tests: recording window, WM_PRINT captures, decoded skin images.
#include "tests/ui/ElementTestSupport.h"

#include <gdiplus.h>
#include <objidl.h>

#include <algorithm>
#include <cstring>

namespace test {

namespace {

RECT ClipTo(const RECT& area, int width, int height) {
  RECT r{std::max(0L, area.left), std::max(0L, area.top),
         std::min(static_cast<LONG>(width), area.right),
         std::min(static_cast<LONG>(height), area.bottom)};
  return r;
}

// Shown (hit testing skips hidden elements, the window included) but away from the screen,
// so the real pointer never moves over it.
constexpr int OffScreen = -4000;

// The temporary lives to the end of the full expression: long enough for a constructor call.
const RECT* Pointer(const RECT& r) { return &r; }

}  // namespace

int Pixels::Ink(const RECT& area) const {
  RECT r = ClipTo(area, width, height);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if ((At(x, y) & 0x00FFFFFF) != 0) ++count;
    }
  }
  return count;
}

Pixels Pixels::Crop(const RECT& area) const {
  RECT r = ClipTo(area, width, height);
  Pixels out;
  out.width = std::max(0L, r.right - r.left);
  out.height = std::max(0L, r.bottom - r.top);
  out.data.reserve(static_cast<size_t>(out.width) * out.height);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) out.data.push_back(At(x, y));
  }
  return out;
}

std::string Join(const std::vector<int>& values) {
  std::string out;
  for (int v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
  return out;
}

int CountDifferent(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (size_t i = 0; i < a.data.size(); ++i) {
    if (a.data[i] != b.data[i]) ++count;
  }
  return count;
}

Pixels CaptureWindow(HWND hwnd, int width, int height) {
  Pixels out;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc && bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    out.width = width;
    out.height = height;
    const auto* p = static_cast<const uint32_t*>(bits);
    out.data.assign(p, p + static_cast<size_t>(width) * height);
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return out;
}

Pixels LoadSkinPixels(int id) {
  Pixels out;
  std::unique_ptr<Gdiplus::Image> image(
      LoadImageFromResource(nullptr, L"IMAGE", MAKEINTRESOURCEW(id)));
  if (!image) return out;
  int w = static_cast<int>(image->GetWidth());
  int h = static_cast<int>(image->GetHeight());
  Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics g(&bitmap);
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.DrawImage(image.get(), Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
  }
  Gdiplus::BitmapData data;
  Gdiplus::Rect all(0, 0, w, h);
  if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok) {
    return out;
  }
  out.width = w;
  out.height = h;
  out.data.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    std::memcpy(&out.data[static_cast<size_t>(y) * w],
                static_cast<const char*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                static_cast<size_t>(w) * 4);
  }
  bitmap.UnlockBits(&data);
  return out;
}

bool SavePng(const Pixels& pixels, const std::wstring& path) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<char> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
  const CLSID* png = nullptr;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(encoders[i].MimeType) == L"image/png") png = &encoders[i].Clsid;
  }
  if (!png) return false;
  std::vector<uint32_t> copy = pixels.data;
  Gdiplus::Bitmap bitmap(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppRGB,
                         reinterpret_cast<BYTE*>(copy.data()));
  return bitmap.Save(path.c_str(), png, nullptr) == Gdiplus::Ok;
}

RecordingWindow::RecordingWindow(int w, int h)
    : LayeredWindow(Pointer(RECT{OffScreen, OffScreen, OffScreen + w, OffScreen + h}), nullptr,
                    L"ElementTestWindow", nullptr, 0, WS_POPUP | WS_VISIBLE, CS_DBLCLKS, 0, nullptr,
                    nullptr),
      width(w),
      height(h) {}

RecordingWindow::~RecordingWindow() {
  // Drop what the window posted to itself (cursor refreshes, moves at the real cursor), so
  // nothing reaches the next test's window.
  MSG msg;
  for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_PAINT) DispatchMessageA(&msg);  // validates; else it comes back
  }
}

int RecordingWindow::OnNotify(const ElementEvent* event, UiElement* source) {
  switch (event->code) {
    case MouseMoved:
    case MouseHovered:
    case FocusGained:
    case FocusLost:
      return 0;
    default:
      events.push_back(SeenEvent{event->code, source, event->wParam, event->lParam});
      return 0;
  }
}

std::vector<INT32> RecordingWindow::Codes() const {
  std::vector<INT32> codes;
  for (const SeenEvent& e : events) codes.push_back(e.code);
  return codes;
}

void RecordingWindow::Move(int x, int y) {
  SendMessageA(GetHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void RecordingWindow::Press(UINT message, int x, int y) {
  WPARAM keys =
      (message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK) ? MK_RBUTTON : MK_LBUTTON;
  SendMessageA(GetHwnd(), message, keys, MAKELPARAM(x, y));
}

void RecordingWindow::Release(UINT message, int x, int y) {
  SendMessageA(GetHwnd(), message, 0, MAKELPARAM(x, y));
}

}  // namespace test
