// The window as the X server shows it, compared with the committed reference picture, so a
// change of layout, skin or fonts shows up. TEZ_UPDATE_REFERENCE=1 writes a new reference.
#include <doctest/doctest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Text.h"
#include "tests/support/TestSupport.h"
#include "tests/windows/DownloadWindowTestSupport.h"
#include "ui/browser/BannerBrowser.h"

using namespace wintest;

namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, top-down
};

// The screen's pixels under a rectangle, read back from the display.
Picture Capture(const RECT& r) {
  Picture p;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.pixels.resize(static_cast<size_t>(p.width) * p.height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = source[i] | 0xFF000000u;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return p;
}

bool PngEncoder(CLSID* clsid) {
  UINT count = 0;
  UINT size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (size == 0 || Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

bool Save(const Picture& p, const std::string& path) {
  Gdiplus::Bitmap bitmap(p.width, p.height, p.width * 4, PixelFormat32bppARGB,
                         reinterpret_cast<BYTE*>(const_cast<uint32_t*>(p.pixels.data())));
  CLSID png{};
  return PngEncoder(&png) &&
         bitmap.Save(FromAnsi(path.c_str()).c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool Load(const std::string& path, Picture& p) {
  Gdiplus::Bitmap bitmap(FromAnsi(path.c_str()).c_str());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
  p.width = static_cast<int>(bitmap.GetWidth());
  p.height = static_cast<int>(bitmap.GetHeight());
  p.pixels.resize(static_cast<size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      Gdiplus::Color c;
      bitmap.GetPixel(x, y, &c);
      p.pixels[static_cast<size_t>(y) * p.width + x] = c.GetValue();
    }
  }
  return true;
}

int ChannelDifference(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    if (d > most) most = d;
  }
  return most;
}

}  // namespace

TEST_CASE("the window on the screen matches the reference picture") {
  auto window = MakeWindow();
  HWND hwnd = window->GetHwnd();
  // Above the windows of tests that may run beside this one on the same display.
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateWindow(hwnd);
  PumpFor(800);
  RECT screen{};
  GetWindowRect(hwnd, &screen);
  Picture shot = Capture(screen);
  REQUIRE(shot.width == 600);
  REQUIRE(shot.height == 350);
  CHECK(Save(shot, test::ProgramDir() + "\\download-window.png"));

  std::string reference = test::SourcePath("tests/windows/reference/download-window.png");
  const char* update = std::getenv("TEZ_UPDATE_REFERENCE");
  if (update && std::string(update) == "1") {
    REQUIRE(Save(shot, reference));
    return;
  }
  Picture expected;
  REQUIRE(Load(reference, expected));
  REQUIRE(expected.width == shot.width);
  REQUIRE(expected.height == shot.height);

  // The banner shows a web page that is not part of the window's own drawing.
  const RECT banner = BannerBounds;
  int compared = 0;
  int different = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (x >= banner.left && x < banner.right && y >= banner.top && y < banner.bottom) continue;
      size_t i = static_cast<size_t>(y) * shot.width + x;
      ++compared;
      if (ChannelDifference(shot.pixels[i], expected.pixels[i]) > 24) ++different;
    }
  }
  CAPTURE(compared);
  // Text edges may shift by a shade between runs; a moved element changes far more.
  CHECK(different <= compared / 200);
}
