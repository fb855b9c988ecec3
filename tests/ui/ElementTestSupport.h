// Helpers for the element tests: a window that records the events reaching it, pixel
// captures through WM_PRINT, decoded images, and mouse messages sent to a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/LayeredWindow.h"

namespace test {

// 32-bit pixels as 0xAARRGGBB, rows top-down.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;

  uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
  // Pixels of `area` (clipped to the picture) whose colour is not black: the ink drawn there.
  int Ink(const RECT& area) const;
  // A copy of `area` as its own picture.
  Pixels Crop(const RECT& area) const;
  bool operator==(const Pixels& other) const {
    return width == other.width && height == other.height && data == other.data;
  }
};

inline int Red(uint32_t p) { return (p >> 16) & 0xFF; }
inline int Green(uint32_t p) { return (p >> 8) & 0xFF; }
inline int Blue(uint32_t p) { return p & 0xFF; }
inline int Alpha(uint32_t p) { return (p >> 24) & 0xFF; }

// "1 2 3": sequences that doctest prints when a comparison fails.
std::string Join(const std::vector<int>& values);

// Number of pixels that differ between two pictures of the same size.
int CountDifferent(const Pixels& a, const Pixels& b);

// Renders the window's client area through WM_PRINT into a new bitmap.
Pixels CaptureWindow(HWND hwnd, int width, int height);

// Decodes an IMAGE resource of this program into straight (not premultiplied) ARGB.
Pixels LoadSkinPixels(int id);

// Writes pixels as an opaque PNG (alpha ignored) with GDI+'s encoder.
bool SavePng(const Pixels& pixels, const std::wstring& path);

// One event as the window saw it.
struct SeenEvent {
  INT32 code;
  UiElement* source;
  INT32 wParam;
  INT32 lParam;
};

// A plain pop-up toolkit window (not layered, so WM_PRINT takes the update-rectangle path),
// shown off the screen, that records every event reaching it. Moves and focus changes are left out:
// they come with every move and press and would only blur the sequences the tests compare.
class RecordingWindow : public LayeredWindow {
 public:
  RecordingWindow(int width, int height);
  ~RecordingWindow() override;
  int OnNotify(const ElementEvent* event, UiElement* source) override;

  std::vector<INT32> Codes() const;
  std::vector<SeenEvent> events;

  // Mouse messages at client coordinates, delivered at once (SendMessage).
  void Move(int x, int y);
  void Press(UINT message, int x, int y);
  void Release(UINT message, int x, int y);
  Pixels Capture() { return CaptureWindow(GetHwnd(), width, height); }

 private:
  int width;
  int height;
};

}  // namespace test
