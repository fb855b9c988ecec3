// Shared pieces of the toolkit core tests: a recording element, a configurable test window,
// message pumping with bounded waits, generated PNG images and pixel capture via WM_PRINT.
#pragma once

#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/LayeredWindow.h"

// Failing log comparisons print the whole log.
namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
  static String convert(const std::vector<std::string>& entries) {
    std::string text = "{";
    for (const auto& e : entries) text += " " + e;
    return String((text + " }").c_str());
  }
};
}  // namespace doctest

namespace uitest {

// Every recorded call, as "name:what", in call order.
std::vector<std::string>& Log();
// Log entries that start with prefix, in order.
std::vector<std::string> LogWith(const std::string& prefix);
std::vector<std::string> LogContaining(const std::string& part);

// An element that records its input handlers, Draw calls and destruction.
class RecordingElement : public UiElement {
 public:
  RecordingElement(const char* name, const RECT& r, UiElement* parent,
                   const wchar_t* imageFile = nullptr);
  RecordingElement(const char* name, int x, int y, UiElement* parent,
                   const wchar_t* imageFile = nullptr);
  ~RecordingElement() override;

  void Draw(Gdiplus::Graphics* graphics) override;
  int OnMouseEnter(WPARAM w, LPARAM l) override;
  int OnMouseLeave(WPARAM w, LPARAM l) override;
  int OnMouseMove(WPARAM w, LPARAM l) override;
  int OnLButtonDown(WPARAM w, LPARAM l) override;
  int OnLButtonUp(WPARAM w, LPARAM l) override;
  int OnRButtonDown(WPARAM w, LPARAM l) override;
  int OnRButtonUp(WPARAM w, LPARAM l) override;
  int OnSetFocus() override;
  int OnKillFocus() override;

  std::string name;
  int draws = 0;
  RECT lastDrawClip{};  // clip bounds of the last Draw
  int setFocusAnswer = 1;

 private:
  void Record(const char* what);
};

// A pop-up toolkit window whose overridable answers tests set.
class TestWindow : public LayeredWindow {
 public:
  // A pop-up without WS_VISIBLE is shown without activation: Wine's X11 driver treats
  // activated windows as managed and then waits two seconds for a window manager (there is
  // none under Xvfb) when they go away.
  TestWindow(const RECT& screen, DWORD exStyle = 0, const wchar_t* className = L"UiCoreTest",
             UINT classStyle = 0, DWORD style = WS_POPUP, HWND owner = nullptr);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;
  int IsDragRegion(RECT* out, UiElement* pressed) override;
  int OnCloseRequest() override;
  void OnTimer(UINT_PTR id) override;
  int OnNotify(const ElementEvent* event, UiElement* source) override;
  int OnMouseMove(WPARAM w, LPARAM l) override;
  int OnLButtonUp(WPARAM w, LPARAM l) override;

  std::string name = "window";
  int preTranslateAnswer = 0;
  std::vector<MSG> preTranslated;
  UiElement* dragElement = nullptr;
  RECT dragRect{};
  int closeAnswer = 1;
  std::vector<UINT_PTR> timers;
  int captionPresses = 0;  // WM_NCLBUTTONDOWN with HTCAPTION, kept from the system
  std::vector<ElementEvent> events;
  std::vector<UiElement*> eventSources;
};

// Runs body on a new thread; the caller waits for and closes the handle (null on failure).
HANDLE StartThread(std::function<void()> body);

// Dispatches queued messages until `ms` have passed.
void PumpFor(DWORD ms);
// Dispatches messages until done() or the timeout; returns done().
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 2000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    PumpFor(5);
  }
  return true;
}
// Removes a pending WM_QUIT from the queue; returns its exit code or -1 if there was none.
int TakeQuit();

// The update region's bounding box, then validates the window.
RECT TakeUpdate(HWND hwnd);

// An ARGB PNG written with GDI+ into the test's scratch folder; pixel(x, y) gives the colour.
std::wstring WritePng(const std::string& name, int width, int height,
                      unsigned (*pixel)(int x, int y));

// The window's client area drawn through WM_PRINT (or WM_PRINTCLIENT) into a 32-bit
// top-down DIB pre-filled with `fill`; pixels as 0xAARRGGBB.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned> data;
  unsigned At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels Print(HWND hwnd, UINT msg = WM_PRINT, unsigned fill = 0x55555555);

bool Near(unsigned argb, unsigned expected, int tolerance = 3);
std::string Hex(unsigned argb);

}  // namespace uitest
