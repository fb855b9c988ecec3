// Paint benchmark: a window shaped like the download window (600 x 350, about 25 elements:
// skin images, sprite strips and labels) painted in full, and repainted after one label
// changes, through the real WM_PAINT path. Prints one line of figures.
//   PaintBench.exe <skin folder> [rounds]
#include <windows.h>
// GDI+ needs the Windows headers first.
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ui/LayeredWindow.h"

namespace {

// A label as the window code uses them: an element that draws one string.
class BenchLabel : public UiElement {
 public:
  BenchLabel(const RECT& r, UiElement* parentElement, const wchar_t* initial)
      : UiElement(&r, nullptr, parentElement, 0, nullptr, nullptr, nullptr),
        text(initial),
        font(Gdiplus::FontFamily::GenericSansSerif(), 12.0f, Gdiplus::FontStyleRegular,
             Gdiplus::UnitPixel),
        brush(Gdiplus::Color(255, 40, 40, 40)) {}

  void SetText(const wchar_t* value) {
    text = value;
    Invalidate(nullptr, FALSE);
  }

  void Draw(Gdiplus::Graphics* graphics) override {
    UiElement::Draw(graphics);
    Gdiplus::RectF layout(static_cast<float>(bounds.left), static_cast<float>(bounds.top),
                          static_cast<float>(bounds.right - bounds.left),
                          static_cast<float>(bounds.bottom - bounds.top));
    graphics->DrawString(text.c_str(), -1, &font, layout, nullptr, &brush);
  }

 private:
  std::wstring text;
  Gdiplus::Font font;
  Gdiplus::SolidBrush brush;
};

class BenchWindow : public LayeredWindow {
 public:
  explicit BenchWindow(const std::wstring& background)
      : LayeredWindow(200, 150, background.c_str(), L"PaintBenchWindow", nullptr, 0, WS_POPUP, 0, 0,
                      nullptr, nullptr) {}
};

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: PaintBench <skin folder> [rounds]\n");
    return 2;
  }
  std::wstring skin = argv[1];
  int rounds = argc > 2 ? _wtoi(argv[2]) : 200;
  auto png = [&](int id) { return skin + L"\\" + std::to_wstring(id) + L".png"; };

  BenchWindow window(png(1101));
  HWND hwnd = window.GetHwnd();
  if (!hwnd) return 1;
  auto image = [&](int id, RECT r) {
    return new UiElement(&r, png(id).c_str(), &window, 0, nullptr, nullptr, nullptr);
  };
  auto sprite = [&](int id, int x, int y, unsigned columns) {
    auto* e = new UiElement(x, y, png(id).c_str(), &window, 0, nullptr, nullptr, nullptr);
    e->SetFrameGrid(columns, 1);
    return e;
  };
  image(1102, RECT{1, 37, 599, 237});
  image(1106, RECT{1, 1, 599, 38});
  sprite(1107, 565, 1, 4);
  sprite(1108, 531, 1, 4);
  sprite(1110, 425, 275, 4);
  image(1111, RECT{29, 250, 569, 268});
  image(1113, RECT{31, 252, 331, 266})->SetBounds(nullptr, 0);
  sprite(1114, 11, 237, 18);
  image(1115, RECT{29, 320, 445, 338});
  sprite(1112, 330, 290, 4);
  int elements = 11;
  const wchar_t* texts[] = {L"v1.0.3",
                            L"Folder: C:\\Games\\Lobby",
                            L"12.3 MB / 80.0 MB",
                            L"1.2 MB/s",
                            L"15%",
                            L"Tip: the lobby starts by itself",
                            L"Install",
                            L"Downloading",
                            L"Change",
                            L"Welcome",
                            L"Remaining: 00:56",
                            L"Size",
                            L"Speed",
                            L"Done"};
  BenchLabel* speed = nullptr;
  int i = 0;
  for (const wchar_t* t : texts) {
    RECT r{20 + (i % 3) * 180, 40 + (i / 3) * 45, 20 + (i % 3) * 180 + 160, 40 + (i / 3) * 45 + 20};
    auto* label = new BenchLabel(r, &window, t);
    if (i == 3) speed = label;
    ++i;
    ++elements;
  }
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  window.SetVisible(1);
  UpdateWindow(hwnd);

  auto pump = [] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  };
  pump();
  // Warm up both paths once.
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);

  double start = Now();
  for (int r = 0; r < rounds; ++r) {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
  }
  double full = (Now() - start) / rounds;
  pump();

  start = Now();
  for (int r = 0; r < rounds; ++r) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%d.%d MB/s", r % 10, r % 7);
    speed->SetText(text);
    UpdateWindow(hwnd);
  }
  double label = (Now() - start) / rounds;

  std::printf("elements=%d size=600x350 rounds=%d full_ms=%.3f label_ms=%.3f ratio=%.3f\n",
              elements + 1, rounds, full, label, label / full);
  return 0;
}
