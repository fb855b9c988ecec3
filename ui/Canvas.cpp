// Canvas: memory DC plus 32-bit DIB section.
#include "ui/Canvas.h"

#include <utility>

Canvas::Canvas(Canvas&& other) noexcept
    : dc(std::exchange(other.dc, nullptr)),
      bitmap(std::exchange(other.bitmap, nullptr)),
      previous(std::exchange(other.previous, nullptr)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  if (this != &other) {
    Reset();
    dc = std::exchange(other.dc, nullptr);
    bitmap = std::exchange(other.bitmap, nullptr);
    previous = std::exchange(other.previous, nullptr);
  }
  return *this;
}

Canvas Canvas::Create(int width, int height) {
  Canvas canvas;
  HDC screen = GetDC(nullptr);
  canvas.dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!canvas.dc) return canvas;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (canvas.bitmap) canvas.previous = SelectObject(canvas.dc, canvas.bitmap);
  return canvas;
}

void* Canvas::Bits(int* width, int* height) const {
  BITMAP bm = {};
  HGDIOBJ selected = dc ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
  if (!selected || GetObjectA(selected, sizeof(bm), &bm) != sizeof(bm)) return nullptr;
  if (width) *width = bm.bmWidth;
  if (height) *height = bm.bmHeight;
  return bm.bmBits;
}

void Canvas::Reset() {
  if (dc && previous) SelectObject(dc, previous);
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  dc = nullptr;
  bitmap = nullptr;
  previous = nullptr;
}
