// The skin gallery: one window showing the download window as laid out, the error box over
// it, every button in each of its four looks, the bubble, the runner's frames and the icon.
// It is drawn through WM_PRINT and written to skin-gallery.png in the tests folder.
#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "app/Config.h"
#include "resources/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/ElementTestSupport.h"
#include "ui/ButtonElement.h"
#include "ui/TextElement.h"

namespace {

constexpr int GalleryWidth = 1230;
constexpr int GalleryHeight = 790;

UiElement* Image(UiElement* parent, int x, int y, int id) {
  return new UiElement(x, y, MAKEINTRESOURCEW(id), parent, 0, nullptr, L"IMAGE", nullptr);
}

ButtonElement* Button(UiElement* parent, int x, int y, int id, int command) {
  return new ButtonElement(x, y, MAKEINTRESOURCEW(id), parent, command, L"IMAGE", nullptr);
}

// A label as the windows make them: font by the font rule, default format, solid colour.
TextElement* Text(UiElement* parent, RECT area, const wchar_t* family, float points,
                  Gdiplus::ARGB colour, const wchar_t* text, int enabled = 1) {
  std::unique_ptr<Gdiplus::Font> font(
      CreateUiFont(family, points, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
  Gdiplus::StringFormat format(0, LANG_NEUTRAL);
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  auto* label =
      new TextElement(&area, nullptr, parent, font.get(), &format, &brush, 0, nullptr, nullptr);
  label->SetText(text);
  if (!enabled) label->SetEnabled(0);
  return label;
}

// The download window's elements, positioned as the window lays them out, on a panel of
// image 1101 at (x, y); `filled` pixels of the bar are done; a negative frame hides the runner
// (as before the install starts).
UiElement* DownloadPanel(UiElement* root, int x, int y, int filled, int runnerFrame) {
  UiElement* panel = Image(root, x, y, IDR_SKIN_BACKGROUND);
  Image(panel, 1, 1, IDR_SKIN_GLOW);
  Image(panel, 1, 1, IDR_SKIN_RED_WASH);
  Image(panel, 30, 250, IDR_SKIN_PROGRESS_TRACK);
  Image(panel, 0, 0, IDR_SKIN_TITLE);
  RECT fillArea{31, 252, 31, 266};
  auto* fill = new UiElement(&fillArea, MAKEINTRESOURCEW(IDR_SKIN_PROGRESS_FILL), panel, 0, nullptr,
                             L"IMAGE", nullptr);
  fillArea.right = 31 + filled;
  fill->SetBounds(&fillArea, 0);
  RECT runnerArea{11, 237, 461, 278};
  auto* runner = new UiElement(&runnerArea, MAKEINTRESOURCEW(IDR_SKIN_RUNNER), panel, 0, nullptr,
                               L"IMAGE", nullptr);
  runner->SetFrameGrid(18, 1);
  runnerArea = RECT{11 + filled, 237, 36 + filled, 278};
  runner->SetBounds(&runnerArea, 0);
  if (runnerFrame >= 0) {
    runner->SetFrame(runnerFrame, 0);
  } else {
    runner->SetVisible(0);
  }
  Button(panel, 565, 1, IDR_SKIN_CLOSE_BUTTON, 902);
  Button(panel, 530, 1, IDR_SKIN_MINIMIZE_BUTTON, 903);
  Button(panel, 543, 225, IDR_SKIN_FOLDER_LINK, 905);
  ButtonElement* install = Button(panel, 425, 275, IDR_SKIN_INSTALL_BUTTON, 901);
  Image(panel, 91, 326, IDR_SKIN_SEPARATOR);

  Text(panel, {105, 13, 500, 35}, L"新宋体", 9, 0xFEC8C8C8, VersionLabel);
  Text(panel, {30, 225, 400, 250}, L"新宋体", 9, 0xFEFFFFFF,
       L"安装路径：D:\\Program Files\\Tolmaro\\");
  Text(panel, {30, 280, 400, 305}, L"新宋体", 9, 0xFEC8C8C8, L"241.20M/536.00M", 0);
  Text(panel, {240, 280, 650, 305}, L"新宋体", 9, 0xFEC8C8C8, L"当前下载速度：1024K/S", 0);
  Text(install, {44, 14, 200, 36}, L"微软雅黑", 10, 0xFEFFFFFF, L"暂停安装", 0);
  Text(panel, {280, 253, 430, 278}, L"新宋体", 9, 0xFEC8C8C8, L"45%");
  Text(panel, {130, 329, 300, 360}, L"新宋体", 9, 0xFEFFB23E, L"新手提示：", 0);
  Text(panel, {190, 329, 600, 360}, L"新宋体", 9, 0x50FFFFFF, TipTable[0], 0);
  Text(panel, {245, 112, 597, 140}, L"微软雅黑", 10, 0x60FFFFFF, L"（横幅页面区域）", 0);
  return panel;
}

// The error box with its buttons and texts, placed as the error window places them.
void ErrorBox(UiElement* panel) {
  Image(panel, 80, 60, IDR_SKIN_ERROR_BOX);
  Button(panel, 425, 205, IDR_SKIN_ERROR_OK, 1002);
  Button(panel, 330, 205, IDR_SKIN_ERROR_RETRY, 1003);
  Text(panel, {102, 100, 300, 360}, L"微软雅黑", 12, 0xFEFF0000, L"下载失败：", 0);
  Text(panel, {105, 125, 500, 360}, L"微软雅黑", 10, 0xFEE6E6E6,
       L"以下问题可能是造成您下载失败的主要原因：", 0);
  Text(
      panel, {105, 150, 500, 360}, L"微软雅黑", 9, 0xFEB4B4B4,
      L"1.网络不稳定造成。\n2.安全软件或防火墙阻挡了本次下载。\n3.检查客户端下载器是否是最新版本。",
      0);
}

// Puts a button into one of its looks the way input would.
void ShowLook(ButtonElement* button, int look) {
  if (look == ButtonHoverLook || look == ButtonPressedLook) button->OnMouseEnter(0, 0);
  if (look == ButtonPressedLook) button->OnLButtonDown(MK_LBUTTON, 0);
  if (look == ButtonDisabledLook) button->SetEnabled(0);
}

struct LookRow {
  int image;
  int cellWidth;
  int cellHeight;
  const wchar_t* name;
};

const LookRow LookRows[] = {
    {IDR_SKIN_INSTALL_BUTTON, 148, 50, L"安装按钮"}, {IDR_SKIN_ERROR_OK, 89, 32, L"确定"},
    {IDR_SKIN_ERROR_RETRY, 89, 32, L"重新下载"},     {IDR_SKIN_CLOSE_BUTTON, 34, 34, L"关闭"},
    {IDR_SKIN_MINIMIZE_BUTTON, 34, 34, L"最小化"},   {IDR_SKIN_FOLDER_LINK, 25, 12, L"修改链接"},
};

constexpr int LookColumnX = 120;
constexpr int LookColumnStep = 170;
constexpr int LookTop = 372;

}  // namespace

TEST_CASE("the skin gallery draws every image and each button look") {
  test::RecordingWindow window(GalleryWidth, GalleryHeight);
  DownloadPanel(&window, 10, 10, 241, 6);
  UiElement* errorPanel = DownloadPanel(&window, 620, 10, 0, -1);
  ErrorBox(errorPanel);

  // Button looks on a backdrop of the panel image.
  RECT backdropArea{10, LookTop, 820, LookTop + 320};
  UiElement* backdrop = new UiElement(&backdropArea, MAKEINTRESOURCEW(IDR_SKIN_BACKGROUND), &window,
                                      0, nullptr, L"IMAGE", nullptr);
  const wchar_t* const lookNames[] = {L"正常", L"悬停", L"按下", L"禁用"};
  for (int look = 0; look < 4; ++look) {
    int x = LookColumnX + look * LookColumnStep;
    Text(backdrop, {x, 10, x + 150, 30}, L"微软雅黑", 10, 0xFEFFB23E, lookNames[look], 0);
  }
  ButtonElement* samples[6][4] = {};
  int rowTop = 38;
  for (int row = 0; row < 6; ++row) {
    const LookRow& r = LookRows[row];
    Text(backdrop, {14, rowTop + r.cellHeight / 2 - 9, 110, rowTop + r.cellHeight / 2 + 12},
         L"微软雅黑", 9, 0xFEC8C8C8, r.name, 0);
    for (int look = 0; look < 4; ++look) {
      int x = LookColumnX + look * LookColumnStep;
      ButtonElement* b = Button(backdrop, x, rowTop, r.image, 9000 + row);
      if (r.image == IDR_SKIN_INSTALL_BUTTON) {
        Text(b, {44, 14, 200, 36}, L"微软雅黑", 10, 0xFEFFFFFF, L"点击安装", 0);
      }
      ShowLook(b, look);
      samples[row][look] = b;
    }
    rowTop += r.cellHeight + 14;
  }

  // The bubble as the welcome tip shows it.
  UiElement* bubble = Image(&window, 850, LookTop + 20, IDR_SKIN_BUBBLE);
  Text(bubble, {15, 5, 209, 40}, L"微软雅黑", 9, 0xFEC8C8C8,
       L"HI，恭候您多时了！世界那么大，有您更精彩！戳我开启游戏之旅！");
  Text(&window, {850, LookTop, 1100, LookTop + 20}, L"微软雅黑", 9, 0xFEC8C8C8, L"欢迎气泡", 0);

  // The runner's 18 frames along a bar, then the separator.
  const int runnerTop = LookTop + 330;
  Text(&window, {10, runnerTop, 300, runnerTop + 20}, L"微软雅黑", 9, 0xFEC8C8C8,
       L"奔跑动画 18 帧（计时器播放 1 至 17 帧）", 0);
  Image(&window, 10, runnerTop + 58, IDR_SKIN_PROGRESS_TRACK);
  for (int k = 0; k < 18; ++k) {
    RECT area{14 + k * 30, runnerTop + 24, 14 + k * 30 + 450, runnerTop + 65};
    auto* frame = new UiElement(&area, MAKEINTRESOURCEW(IDR_SKIN_RUNNER), &window, 0, nullptr,
                                L"IMAGE", nullptr);
    frame->SetFrameGrid(18, 1);
    frame->SetFrame(k, 0);
  }
  Text(&window, {600, runnerTop, 900, runnerTop + 20}, L"微软雅黑", 9, 0xFEC8C8C8,
       L"提示上方的分隔线", 0);
  Image(&window, 600, runnerTop + 40, IDR_SKIN_SEPARATOR);
  Text(&window, {850, LookTop + 100, 1100, LookTop + 120}, L"微软雅黑", 9, 0xFEC8C8C8,
       L"程序图标（托盘与任务栏）", 0);

  test::Pixels p = window.Capture();
  REQUIRE(p.width == GalleryWidth);

  // The icon in several sizes, under the bubble.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), GalleryWidth, -GalleryHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  REQUIRE(bits);
  HGDIOBJ old = SelectObject(dc, bitmap);
  memcpy(bits, p.data.data(), p.data.size() * 4);
  int iconX = 852;
  for (int size : {64, 48, 32, 24, 16}) {
    HICON icon = static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, size, size, 0));
    CHECK(icon != nullptr);
    if (icon) {
      DrawIconEx(dc, iconX, LookTop + 190 - size, icon, size, size, 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
    iconX += size + 10;
  }
  GdiFlush();
  memcpy(p.data.data(), bits, p.data.size() * 4);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);

  const std::string path = test::ProgramDir() + "\\skin-gallery.png";
  CHECK(test::SavePng(p, std::wstring(path.begin(), path.end())));

  // Spot checks that the looks came out as the states ask.
  RECT b;
  samples[0][ButtonDisabledLook]->GetBounds(&b);
  uint32_t grey = p.At(b.left + 74, b.top + 38);
  CHECK(std::abs(test::Red(grey) - test::Blue(grey)) < 16);
  samples[0][ButtonNormalLook]->GetBounds(&b);
  uint32_t blue = p.At(b.left + 20, b.top + 38);
  CHECK(test::Blue(blue) > test::Red(blue) + 80);
  samples[3][ButtonHoverLook]->GetBounds(&b);
  uint32_t red = p.At(b.left + 6, b.top + 6);
  CHECK(test::Red(red) > test::Blue(red) + 80);
}
