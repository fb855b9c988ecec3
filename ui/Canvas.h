// Canvas: the off-screen surface a window's element tree is drawn into.
#pragma once

#include <windows.h>

// A screen-compatible memory DC with a top-down 32-bit DIB section (premultiplied BGRA)
// selected into it. Owns both: the bitmap is deselected and deleted before the DC, because
// deleting a bitmap that is still selected is not reliable on every Windows version.
class Canvas {
 public:
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  ~Canvas() { Reset(); }

  // A DC is made even when the DIB section cannot be (for example for an empty size); it
  // then has no pixels and drawing into it produces nothing.
  static Canvas Create(int width, int height);

  HDC Dc() const { return dc; }
  // Pixel memory of the DIB, or null; read back from the selected bitmap.
  void* Bits(int* width, int* height) const;
  void Reset();

 private:
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};
