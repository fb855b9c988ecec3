// Rendering read back by pixels through WM_PRINT: per-pixel and update-rectangle paths,
// clipping, hidden subtrees, canvas size, partial repaints and the image drawing rules.
#include <doctest/doctest.h>

#include "tests/ui/UiCoreSupport.h"

using uitest::Hex;
using uitest::Near;
using uitest::Pixels;
using uitest::Print;
using uitest::PumpFor;
using uitest::RecordingElement;
using uitest::TestWindow;
using uitest::WritePng;

namespace {

constexpr unsigned Red = 0xFFFF0000, Blue = 0xFF0000FF, Transparent = 0;
// The strip: four 10 x 10 cells; cell k is Left[k] on its left half and Right[k] on its right.
constexpr unsigned Left[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
constexpr unsigned Right[4] = {0xFF00FFFF, 0xFFFF00FF, 0xFFFFFFFF, 0xFF000000};

const std::wstring& RedPng() {
  static std::wstring path = WritePng("red.png", 40, 40, [](int, int) { return Red; });
  return path;
}
const std::wstring& BluePng() {
  static std::wstring path = WritePng("blue.png", 40, 40, [](int, int) { return Blue; });
  return path;
}
const std::wstring& GradientPng() {
  static std::wstring path = WritePng("gradient.png", 200, 100, [](int x, int y) {
    return 0xFF000000u | (static_cast<unsigned>(x) << 16) | (static_cast<unsigned>(y * 2) << 8) |
           static_cast<unsigned>((x + y) & 0xFF);
  });
  return path;
}
const std::wstring& StripPng() {
  static std::wstring path = WritePng("strip.png", 40, 10, [](int x, int) {
    int cell = x / 10;
    return (x % 10) < 5 ? Left[cell] : Right[cell];
  });
  return path;
}

// A rectangle argument for the constructors and SetBounds, alive for the full expression.
struct Box {
  Box(LONG l, LONG t, LONG r, LONG b) : rect{l, t, r, b} {}
  operator const RECT*() const { return &rect; }
  RECT rect;
};

UiElement* Image(const std::wstring& file, Box box, UiElement* parent) {
  return new UiElement(box, file.c_str(), parent, 0, nullptr, nullptr, nullptr);
}

std::vector<unsigned> CanvasPixels(const LayeredWindow& window) {
  BITMAP bm = {};
  GetObjectA(GetCurrentObject(window.GetCanvas(), OBJ_BITMAP), sizeof(bm), &bm);
  GdiFlush();
  const auto* bits = static_cast<const unsigned*>(bm.bmBits);
  return bits ? std::vector<unsigned>(bits, bits + bm.bmWidth * bm.bmHeight)
              : std::vector<unsigned>();
}

int CountOpaque(const Pixels& p) {
  int n = 0;
  for (unsigned v : p.data) n += v != 0 ? 1 : 0;
  return n;
}

constexpr DWORD PerPixel = WS_EX_LAYERED;
const RECT Screen{100, 100, 300, 200};  // 200 x 100

#define CHECK_PIXEL(pixels, x, y, expected)         \
  do {                                              \
    CAPTURE(x);                                     \
    CAPTURE(y);                                     \
    CHECK(Hex((pixels).At(x, y)) == Hex(expected)); \
  } while (0)
#define CHECK_NEAR_PIXEL(pixels, x, y, expected) \
  do {                                           \
    CAPTURE(x);                                  \
    CAPTURE(y);                                  \
    CAPTURE(Hex((pixels).At(x, y)));             \
    CHECK(Near((pixels).At(x, y), expected, 8)); \
  } while (0)

}  // namespace

TEST_CASE("test images are generated") {
  REQUIRE(!RedPng().empty());
  REQUIRE(!BluePng().empty());
  REQUIRE(!StripPng().empty());
  REQUIRE(!GradientPng().empty());
}

TEST_CASE("per-pixel window: untouched pixels stay 0,0,0,0; children are cut at the parent") {
  TestWindow window(Screen, PerPixel);
  REQUIRE(window.GetHwnd() != nullptr);
  Image(RedPng(), Box(10, 10, 50, 50), &window);
  UiElement* parent = Image(BluePng(), Box(60, 10, 100, 50), &window);
  // 40 x 40 at (20, 20) inside the parent: (80, 30)-(120, 70), cut to (80, 30)-(100, 50).
  Image(RedPng(), Box(20, 20, 60, 60), parent);

  for (UINT msg : {WM_PRINT, WM_PRINTCLIENT}) {
    CAPTURE(msg);
    Pixels p = Print(window.GetHwnd(), msg);
    REQUIRE(p.width == 200);
    REQUIRE(p.height == 100);
    CHECK_PIXEL(p, 5, 5, Transparent);
    CHECK_PIXEL(p, 20, 20, Red);
    CHECK_PIXEL(p, 49, 49, Red);
    CHECK_PIXEL(p, 50, 50, Transparent);
    CHECK_PIXEL(p, 70, 20, Blue);
    CHECK_PIXEL(p, 90, 40, Red);
    CHECK_PIXEL(p, 110, 40, Transparent);  // beyond the parent
    CHECK_PIXEL(p, 90, 60, Transparent);
    CHECK(CountOpaque(p) == 40 * 40 * 2);
  }

  // A hidden element is skipped with its whole subtree, though the child is still visible.
  parent->SetVisible(0);
  Pixels hidden = Print(window.GetHwnd());
  CHECK_PIXEL(hidden, 70, 20, Transparent);
  CHECK_PIXEL(hidden, 90, 40, Transparent);
  CHECK(CountOpaque(hidden) == 40 * 40);
}

TEST_CASE("the window's SetBounds makes a canvas of the new size") {
  TestWindow window(Screen, PerPixel);
  BITMAP bm = {};
  GetObjectA(GetCurrentObject(window.GetCanvas(), OBJ_BITMAP), sizeof(bm), &bm);
  CHECK(bm.bmWidth == 200);
  CHECK(bm.bmHeight == 100);
  RECT bigger{150, 120, 450, 370};
  window.SetBounds(&bigger, 1);
  GetObjectA(GetCurrentObject(window.GetCanvas(), OBJ_BITMAP), sizeof(bm), &bm);
  CHECK(bm.bmWidth == 300);
  CHECK(bm.bmHeight == 250);
  CHECK(bm.bmBitsPixel == 32);
  RECT r;
  window.GetBounds(&r);
  CHECK(r.left == 0);
  CHECK(r.top == 0);
  CHECK(r.right == 300);
  CHECK(r.bottom == 250);
  RECT client;
  GetClientRect(window.GetHwnd(), &client);
  CHECK(client.right == 300);
  Pixels p = Print(window.GetHwnd());
  CHECK(p.width == 300);
  CHECK(CountOpaque(p) == 0);
}

TEST_CASE("ordinary window: invalidating one element repaints only its rectangle") {
  TestWindow window(Screen);
  auto* a = new RecordingElement("a", RECT{10, 10, 50, 50}, &window, RedPng().c_str());
  auto* b = new RecordingElement("b", RECT{60, 10, 100, 50}, &window, BluePng().c_str());
  UpdateWindow(window.GetHwnd());
  PumpFor(30);
  a->draws = b->draws = 0;
  a->SetFrame(1, 0);  // a new frame: repaint a
  UpdateWindow(window.GetHwnd());
  CHECK(a->draws == 1);
  CHECK(b->draws == 0);
  CHECK(a->lastDrawClip.left == 10);
  CHECK(a->lastDrawClip.top == 10);
  CHECK(a->lastDrawClip.right == 50);
  CHECK(a->lastDrawClip.bottom == 50);

  // WM_PRINTCLIENT draws the whole client area, in this path too.
  a->draws = b->draws = 0;
  Pixels p = Print(window.GetHwnd(), WM_PRINTCLIENT);
  CHECK(a->draws == 1);
  CHECK(b->draws == 1);
  CHECK_PIXEL(p, 70, 20, Blue);
}

TEST_CASE("default Draw: frames, mirroring, stretching, 1:1 crops and opacity") {
  TestWindow window(Screen, PerPixel);
  // Point form: the image's size, then one cell of the grid, drawn 1:1.
  UiElement* sprite =
      new UiElement(10, 10, StripPng().c_str(), &window, 0, nullptr, nullptr, nullptr);
  sprite->SetFrameGrid(4, 1);
  RECT r;
  sprite->GetBounds(&r);
  CHECK(r.right == 20);
  CHECK(r.bottom == 20);

  struct Case {
    int column, flip;
    unsigned left, right;  // expected at (12, 15) and (17, 15)
  } cases[] = {{0, 0, Left[0], Right[0]},
               {2, 0, Left[2], Right[2]},
               {2, 1, Right[2], Left[2]},  // mirrored: starts at the cell's right edge
               {3, 0, Left[3], Right[3]}};
  for (const Case& c : cases) {
    CAPTURE(c.column);
    CAPTURE(c.flip);
    sprite->SetFrame(c.column, 0);
    sprite->SetFlip(c.flip, 0);
    Pixels p = Print(window.GetHwnd());
    CHECK_NEAR_PIXEL(p, 12, 15, c.left);
    CHECK_NEAR_PIXEL(p, 17, 15, c.right);
  }

  // Rect form: the whole cell is scaled into the bounds (10 x 10 to 40 x 40).
  UiElement* stretched = Image(StripPng(), Box(60, 30, 100, 70), &window);
  stretched->SetFrameGrid(4, 1);
  stretched->SetBounds(Box(60, 30, 100, 70), 1);
  Pixels scaled = Print(window.GetHwnd());
  CHECK_NEAR_PIXEL(scaled, 65, 50, Left[0]);
  CHECK_NEAR_PIXEL(scaled, 95, 50, Right[0]);
  // Unstretched, the same bounds show a 1:1 crop that runs on into the next cells.
  stretched->SetBounds(Box(60, 30, 100, 70), 0);
  Pixels cropped = Print(window.GetHwnd());
  CHECK_NEAR_PIXEL(cropped, 62, 35, Left[0]);
  CHECK_NEAR_PIXEL(cropped, 77, 35, Right[1]);
  CHECK_NEAR_PIXEL(cropped, 92, 35, Left[3]);
  CHECK_NEAR_PIXEL(cropped, 97, 35, Right[3]);
  // Below the 10-pixel-high image the tile-flip wrap repeats it instead of leaving a hole.
  CHECK_NEAR_PIXEL(cropped, 62, 55, Left[0]);
  CHECK_NEAR_PIXEL(cropped, 77, 65, Right[1]);

  // Opacity 128 gives about half alpha (premultiplied) on a transparent canvas.
  UiElement* faded = Image(RedPng(), Box(120, 10, 160, 50), &window);
  faded->SetAlpha(128);
  Pixels half = Print(window.GetHwnd());
  CHECK_NEAR_PIXEL(half, 130, 30, 0x80800000u);
  faded->SetAlpha(255);
  Pixels full = Print(window.GetHwnd());
  CHECK_PIXEL(full, 130, 30, Red);
}

TEST_CASE("images load from IMAGE resources and files; failures give no image") {
  Gdiplus::Image* skin = LoadImageFromResource(nullptr, L"IMAGE", MAKEINTRESOURCEW(1107));
  REQUIRE(skin != nullptr);
  CHECK(skin->GetWidth() == 136);
  CHECK(skin->GetHeight() == 34);
  delete skin;
  CHECK(LoadImageFromResource(nullptr, L"IMAGE", MAKEINTRESOURCEW(1199)) == nullptr);
  CHECK(LoadImageFromFile(nullptr) == nullptr);
  CHECK(LoadImageFromFile(L"Z:\\no\\such\\file.png") == nullptr);
  // A file that is not an image.
  std::wstring text = RedPng() + L".txt";
  HANDLE h = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  REQUIRE(h != INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "not a png", 9, &written, nullptr);
  CloseHandle(h);
  CHECK(LoadImageFromFile(text.c_str()) == nullptr);

  // The close button of the download window: 136 x 34, four frames, at (565, 1).
  TestWindow window(RECT{0, 0, 600, 350});
  UiElement* button =
      new UiElement(565, 1, MAKEINTRESOURCEW(1107), &window, 0, nullptr, L"IMAGE", nullptr);
  button->SetFrameGrid(4, 1);
  RECT r;
  button->GetBounds(&r);
  CHECK(r.left == 565);
  CHECK(r.top == 1);
  CHECK(r.right == 599);
  CHECK(r.bottom == 35);
}

TEST_CASE("ordinary window: partial repaints leave exactly the pixels of a full paint") {
  TestWindow window(Screen);
  HWND hwnd = window.GetHwnd();
  Image(GradientPng(), Box(0, 0, 200, 100), &window);  // 1:1 under everything
  UiElement* sprite =
      new UiElement(30, 30, StripPng().c_str(), &window, 0, nullptr, nullptr, nullptr);
  sprite->SetFrameGrid(4, 1);
  UiElement* scaled = Image(StripPng(), Box(100, 20, 180, 40), &window);
  scaled->SetVisible(0);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  std::vector<unsigned> full = CanvasPixels(window);
  REQUIRE(full.size() == 200 * 100);
  CHECK(Hex(full[50 * 200 + 150]) == Hex(0xFF000000u | (150u << 16) | (100u << 8) | 200u));

  // Changes shown and taken back through small update rectangles only; the last one leaves
  // the background alone in the rectangle, drawn from the middle of its image.
  sprite->SetFrame(2, 0);
  UpdateWindow(hwnd);
  CHECK(CanvasPixels(window) != full);
  sprite->SetFrame(0, 0);
  UpdateWindow(hwnd);
  scaled->SetVisible(1);
  UpdateWindow(hwnd);
  CHECK(CanvasPixels(window) != full);
  scaled->SetVisible(0);
  UpdateWindow(hwnd);
  CHECK(CanvasPixels(window) == full);
}

TEST_CASE("per-pixel window repaints the whole tree; layered attributes switch the path") {
  TestWindow window(Screen, PerPixel);
  HWND hwnd = window.GetHwnd();
  auto* a = new RecordingElement("a", RECT{10, 10, 50, 50}, &window, RedPng().c_str());
  auto* b = new RecordingElement("b", RECT{60, 10, 100, 50}, &window, BluePng().c_str());
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  PumpFor(20);
  a->draws = b->draws = 0;
  a->SetFrame(1, 0);
  UpdateWindow(hwnd);
  CHECK(a->draws == 1);
  CHECK(b->draws == 1);  // UpdateLayeredWindow replaces the whole picture

  REQUIRE(SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA));
  UpdateWindow(hwnd);  // the system may repaint the whole window once after the switch
  PumpFor(20);
  a->draws = b->draws = 0;
  a->SetFrame(0, 0);
  UpdateWindow(hwnd);
  CHECK(a->draws == 1);
  CHECK(b->draws == 0);
}

TEST_CASE("a point-form window takes its skin's size and draws it at 1:1") {
  class SkinnedWindow : public LayeredWindow {
   public:
    SkinnedWindow()
        : LayeredWindow(150, 120, GradientPng().c_str(), L"UiCoreSkinned", nullptr, 0, WS_POPUP, 0,
                        0, nullptr, nullptr) {
      ShowWindow(hwnd, SW_SHOWNOACTIVATE);
      visible = 1;
    }
  } window;
  REQUIRE(window.GetHwnd() != nullptr);
  RECT screen;
  GetWindowRect(window.GetHwnd(), &screen);
  CHECK(screen.left == 150);
  CHECK(screen.top == 120);
  CHECK(screen.right - screen.left == 200);
  CHECK(screen.bottom - screen.top == 100);
  CHECK(window.IsStretched() == 0);
  Pixels p = Print(window.GetHwnd());
  CHECK_PIXEL(p, 0, 0, 0xFF000000u);
  CHECK_PIXEL(p, 199, 99, 0xFF000000u | (199u << 16) | (198u << 8) | ((199u + 99u) & 0xFFu));
}
