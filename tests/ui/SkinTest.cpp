// The skin resources: every image loads with its size and frame layout, button strips hold
// four distinct looks, the runner's frames make a moving loop, icon and tray menu are there.
#include <doctest/doctest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "resources/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/ElementTestSupport.h"
#include "ui/ButtonElement.h"
#include "ui/TextElement.h"

namespace {

struct SkinEntry {
  int id;
  int width;
  int height;
  unsigned columns;  // frames side by side
};

const SkinEntry SkinTable[] = {
    {IDR_SKIN_BACKGROUND, 600, 350, 1},    {IDR_SKIN_GLOW, 598, 200, 1},
    {IDR_SKIN_RED_WASH, 598, 430, 1},      {IDR_SKIN_TITLE, 598, 37, 1},
    {IDR_SKIN_CLOSE_BUTTON, 136, 34, 4},   {IDR_SKIN_MINIMIZE_BUTTON, 136, 34, 4},
    {IDR_SKIN_INSTALL_BUTTON, 592, 50, 4}, {IDR_SKIN_PROGRESS_TRACK, 540, 18, 1},
    {IDR_SKIN_FOLDER_LINK, 100, 12, 4},    {IDR_SKIN_PROGRESS_FILL, 536, 14, 1},
    {IDR_SKIN_RUNNER, 450, 41, 18},        {IDR_SKIN_SEPARATOR, 416, 18, 1},
    {IDR_SKIN_BUBBLE, 209, 46, 1},         {IDR_SKIN_ERROR_BOX, 440, 184, 1},
    {IDR_SKIN_ERROR_OK, 356, 32, 4},       {IDR_SKIN_ERROR_RETRY, 356, 32, 4},
};

const int ButtonImages[] = {IDR_SKIN_CLOSE_BUTTON,   IDR_SKIN_MINIMIZE_BUTTON,
                            IDR_SKIN_INSTALL_BUTTON, IDR_SKIN_FOLDER_LINK,
                            IDR_SKIN_ERROR_OK,       IDR_SKIN_ERROR_RETRY};

test::Pixels Cell(const test::Pixels& strip, int columns, int k) {
  int w = strip.width / columns;
  return strip.Crop(RECT{k * w, 0, (k + 1) * w, strip.height});
}

int OpaqueCount(const test::Pixels& p) {
  int n = 0;
  for (uint32_t v : p.data) n += test::Alpha(v) > 0 ? 1 : 0;
  return n;
}

int Luma(uint32_t p) { return (test::Red(p) * 3 + test::Green(p) * 6 + test::Blue(p)) / 10; }

}  // namespace

TEST_CASE("every skin image loads from the program's resources with its size and frame grid") {
  for (const SkinEntry& e : SkinTable) {
    CAPTURE(e.id);
    std::unique_ptr<Gdiplus::Image> image(
        LoadImageFromResource(nullptr, L"IMAGE", MAKEINTRESOURCEW(e.id)));
    REQUIRE(image);
    CHECK(image->GetWidth() == static_cast<UINT>(e.width));
    CHECK(image->GetHeight() == static_cast<UINT>(e.height));
    CHECK(e.width % e.columns == 0);

    // An element made from it shrinks to exactly one frame.
    UiElement element(7, 9, MAKEINTRESOURCEW(e.id), nullptr, 0, nullptr, L"IMAGE", nullptr);
    element.SetFrameGrid(e.columns, 1);
    RECT b;
    element.GetBounds(&b);
    CHECK(b.left == 7);
    CHECK(b.top == 9);
    CHECK(b.right - b.left == e.width / static_cast<int>(e.columns));
    CHECK(b.bottom - b.top == e.height);
  }
}

TEST_CASE("button strips hold four different looks, each with something to see") {
  for (int id : ButtonImages) {
    CAPTURE(id);
    test::Pixels strip = test::LoadSkinPixels(id);
    REQUIRE(strip.width > 0);
    for (int a = 0; a < 4; ++a) {
      CHECK(OpaqueCount(Cell(strip, 4, a)) > 20);
      for (int b = a + 1; b < 4; ++b) {
        CAPTURE(a);
        CAPTURE(b);
        CHECK(test::CountDifferent(Cell(strip, 4, a), Cell(strip, 4, b)) > 20);
      }
    }
  }
}

TEST_CASE("the runner's frames 1 to 17 change from each frame to the next, round the loop") {
  test::Pixels strip = test::LoadSkinPixels(IDR_SKIN_RUNNER);
  REQUIRE(strip.width == 450);
  for (int k = 0; k < 18; ++k) {
    CAPTURE(k);
    test::Pixels frame = Cell(strip, 18, k);
    CHECK(OpaqueCount(frame) > 80);  // a figure, not an empty cell
    int next = k == 17 ? 1 : k + 1;  // the timer shows 1..17 and wraps to 1
    CHECK(test::CountDifferent(frame, Cell(strip, 18, next)) > 40);
  }
}

TEST_CASE("skin images have the shapes the windows rely on") {
  SUBCASE("the download window's panel is opaque with a light one-pixel border") {
    test::Pixels p = test::LoadSkinPixels(IDR_SKIN_BACKGROUND);
    REQUIRE(p.width == 600);
    for (uint32_t v : p.data) REQUIRE(test::Alpha(v) == 255);
    for (int x : {5, 300, 594}) {
      CHECK(Luma(p.At(x, 0)) > Luma(p.At(x, 5)) + 60);
      CHECK(Luma(p.At(x, 349)) > Luma(p.At(x, 344)) + 60);
    }
    CHECK(Luma(p.At(0, 175)) > Luma(p.At(5, 175)) + 60);
    CHECK(Luma(p.At(300, 175)) < 80);  // dark
  }
  SUBCASE("glow and red wash are translucent layers") {
    for (int id : {IDR_SKIN_GLOW, IDR_SKIN_RED_WASH}) {
      test::Pixels p = test::LoadSkinPixels(id);
      int maxAlpha = 0;
      for (uint32_t v : p.data) maxAlpha = std::max(maxAlpha, test::Alpha(v));
      CHECK(maxAlpha > 10);
      CHECK(maxAlpha < 160);
    }
    test::Pixels wash = test::LoadSkinPixels(IDR_SKIN_RED_WASH);
    uint32_t warm = wash.At(299, 300);
    CHECK(test::Red(warm) > test::Green(warm) + 100);
  }
  SUBCASE("the title strip leaves the window's border row and column clear") {
    test::Pixels p = test::LoadSkinPixels(IDR_SKIN_TITLE);
    for (int x = 0; x < p.width; ++x) REQUIRE(test::Alpha(p.At(x, 0)) == 0);
    for (int y = 0; y < p.height; ++y) REQUIRE(test::Alpha(p.At(0, y)) == 0);
  }
  SUBCASE("the bubble's notch is at its top left; the boxes have see-through corners") {
    test::Pixels bubble = test::LoadSkinPixels(IDR_SKIN_BUBBLE);
    CHECK(test::Alpha(bubble.At(3, 14)) > 200);  // the notch
    CHECK(test::Alpha(bubble.At(3, 35)) == 0);   // below it, the desktop shows
    CHECK(test::Alpha(bubble.At(0, 0)) == 0);
    CHECK(test::Alpha(bubble.At(100, 23)) > 200);
    test::Pixels box = test::LoadSkinPixels(IDR_SKIN_ERROR_BOX);
    for (POINT c : {POINT{0, 0}, POINT{439, 0}, POINT{0, 183}, POINT{439, 183}}) {
      CHECK(test::Alpha(box.At(c.x, c.y)) == 0);
    }
    CHECK(test::Alpha(box.At(220, 100)) == 255);
  }
}

TEST_CASE("icon 1100 holds several sizes and the tray menu 119 holds one item 关闭 (40004)") {
  HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_APP_ICON), MAKEINTRESOURCEW(14));
  REQUIRE(group);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
  REQUIRE(dir);
  int count = dir[4] | (dir[5] << 8);
  CHECK(count >= 4);
  bool has16 = false, has32 = false, has256 = false;
  for (int i = 0; i < count; ++i) {
    int width = dir[6 + i * 14];
    has16 |= width == 16;
    has32 |= width == 32;
    has256 |= width == 0;  // 256 is written as 0
  }
  CHECK(has16);
  CHECK(has32);
  CHECK(has256);
  HICON small = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, 16, 16, 0));
  CHECK(small != nullptr);
  if (small) DestroyIcon(small);

  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  REQUIRE(menu);
  HMENU popup = GetSubMenu(menu, 0);
  REQUIRE(popup);
  CHECK(GetMenuItemCount(popup) == 1);
  CHECK(GetMenuItemID(popup, 0) == IDM_TRAY_CLOSE);
  CHECK(IDM_TRAY_CLOSE == 40004);
  wchar_t text[16] = {};
  GetMenuStringW(popup, 0, text, 16, MF_BYPOSITION);
  CHECK(std::wstring(text) == L"关闭");
  DestroyMenu(menu);
}
