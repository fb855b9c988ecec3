// The download window under Wine: its element tree against the layout tables, the default
// install folder, the timers' wiring, the drag region, the folder choice and the tray.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/Config.h"
#include "app/Text.h"
#include "tests/windows/DownloadWindowTestSupport.h"
#include "ui/TrayIcon.h"

using namespace wintest;

namespace {

struct Placement {
  const char* what;
  RECT bounds;  // window client coordinates
  bool hasImage;
};

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

struct LabelRow {
  const char* what;
  TextElement* DownloadWindow::*member;
  RECT bounds;
  float points;
  Gdiplus::ARGB colour;
  const wchar_t* text;  // null: no text
  int enabled;
};

}  // namespace

TEST_CASE("every element of the window sits where the layout puts it") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  RECT client{};
  GetClientRect(w.GetHwnd(), &client);
  CHECK(client.right == 600);
  CHECK(client.bottom == 350);
  char title[64] = {};
  GetWindowTextA(w.GetHwnd(), title, sizeof title);
  CHECK(std::string(title) == ToAnsi(L"客户端下载器"));
  CHECK((GetWindowLongPtrW(w.GetHwnd(), GWL_STYLE) & WS_POPUP) != 0);
  CHECK((GetWindowLongPtrW(w.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) == 0);

  // Children in creation order; the banner joins between the runner and the buttons.
  const std::vector<Placement> expected = {
      {"glow", {1, 1, 599, 201}, true},         {"red wash", {1, 1, 599, 431}, true},
      {"track", {30, 250, 570, 268}, true},     {"title", {0, 0, 598, 37}, true},
      {"fill", {31, 252, 31, 266}, true},       {"runner", {11, 237, 36, 278}, true},
      {"banner", {2, 37, 597, 211}, false},     {"close", {565, 1, 599, 35}, true},
      {"minimise", {530, 1, 564, 35}, true},    {"folder", {543, 225, 568, 237}, true},
      {"install", {425, 275, 573, 325}, true},  {"separator", {91, 326, 507, 344}, true},
      {"version", {105, 13, 500, 35}, false},   {"path", {30, 225, 400, 250}, false},
      {"size", {30, 280, 400, 305}, false},     {"speed", {240, 280, 650, 305}, false},
      {"percent", {280, 253, 430, 278}, false}, {"tips heading", {130, 329, 300, 360}, false},
      {"tip", {190, 329, 600, 360}, false},
  };
  const auto& children = w.GetChildren();
  REQUIRE(children.size() == expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    CAPTURE(expected[i].what);
    CHECK(Describe(Bounds(children[i])) == Describe(expected[i].bounds));
    CHECK((children[i]->GetImage() != nullptr) == expected[i].hasImage);
  }
  CHECK(children[3] == w.titleImage);
  CHECK(children[4] == w.progressFill);
  CHECK(children[5] == w.runner);
  CHECK(children[9] == w.folderButton);
  CHECK(children[10] == w.installButton);
  CHECK(children[7]->GetId() == HideCommand);
  CHECK(children[8]->GetId() == MinimizeCommand);
  CHECK(w.folderButton->GetId() == FolderCommand);
  CHECK(w.installButton->GetId() == InstallCommand);

  unsigned columns = 0;
  unsigned rows = 0;
  w.runner->GetFrameGrid(&columns, &rows);
  CHECK(columns == 18);
  CHECK(rows == 1);
  CHECK(w.runner->IsVisible() == 0);

  const LabelRow labels[] = {
      {"version",
       &DownloadWindow::versionLabel,
       {105, 13, 500, 35},
       9,
       0xFEC8C8C8,
       L"简装版 2.1",
       1},
      {"path",
       &DownloadWindow::pathLabel,
       {30, 225, 400, 250},
       9,
       0xFEFFFFFF,
       L"安装路径：D:\\Program Files\\Tolmaro\\",
       1},
      {"size", &DownloadWindow::sizeLabel, {30, 280, 400, 305}, 9, 0xFEC8C8C8, nullptr, 0},
      {"speed", &DownloadWindow::speedLabel, {240, 280, 650, 305}, 9, 0xFEC8C8C8, nullptr, 0},
      {"caption",
       &DownloadWindow::installCaption,
       {469, 289, 625, 311},
       10,
       0xFEFFFFFF,
       L"点击安装",
       0},
      {"percent", &DownloadWindow::percentLabel, {280, 253, 430, 278}, 9, 0xFEC8C8C8, nullptr, 1},
      {"tip", &DownloadWindow::tipLabel, {190, 329, 600, 360}, 9, 0x50FFFFFF, TipTable[0], 0},
  };
  for (const LabelRow& row : labels) {
    CAPTURE(row.what);
    TextElement* label = w.*(row.member);
    REQUIRE(label != nullptr);
    CHECK(Describe(Bounds(label)) == Describe(row.bounds));
    CHECK(label->GetFont()->GetSize() == doctest::Approx(row.points));
    CHECK(label->GetFont()->GetUnit() == Gdiplus::UnitPoint);
    CHECK(label->GetFont()->GetStyle() == Gdiplus::FontStyleRegular);
    Gdiplus::Color colour;
    static_cast<const Gdiplus::SolidBrush*>(label->GetBrush())->GetColor(&colour);
    CHECK(colour.GetValue() == row.colour);
    if (row.text) {
      CHECK(Narrow(Text(label)) == Narrow(row.text));
    } else {
      CHECK(label->GetText() == nullptr);
    }
    CHECK(label->IsEnabled() == row.enabled);
  }
  CHECK(w.installCaption->GetParentElement() == w.installButton);
  auto* heading = static_cast<TextElement*>(children[17]);
  CHECK(Narrow(Text(heading)) == Narrow(L"新手提示："));

  // The tray icon is prepared but not shown.
  REQUIRE(w.trayIcon.GetIconData() != nullptr);
  CHECK(w.trayIcon.IsShown() == 0);
  CHECK(std::string(w.trayIcon.GetIconData()->szTip) == "Tolmaro");
}

TEST_CASE("the default install folder follows the D: drive check") {
  struct Case {
    UINT driveType;
    const wchar_t* label;
    const wchar_t* root;
  } cases[] = {
      {DRIVE_NO_ROOT_DIR, L"安装路径：C:\\Program Files\\Tolmaro\\", L"C:\\Program Files\\"},
      {DRIVE_FIXED, L"安装路径：D:\\Program Files\\Tolmaro\\", L"D:\\Program Files\\"},
      {DRIVE_CDROM, L"安装路径：D:\\Program Files\\Tolmaro\\", L"D:\\Program Files\\"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.driveType);
    auto window = MakeWindow(c.driveType);
    DownloadWindow& w = *window;
    CHECK(Narrow(Text(w.pathLabel)) == Narrow(c.label));
    CHECK(Narrow(InstallRoot) == Narrow(c.root));
    CHECK(Narrow(w.InstallFolder()) == Narrow(std::wstring(c.label).substr(5)));
  }
}

TEST_CASE("timer ticks turn the counters into texts and bar geometry") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  HWND hwnd = w.GetHwnd();
  auto tick = [&](UINT_PTR id) { SendMessageW(hwnd, WM_TIMER, id, 0); };

  SUBCASE("before any progress") {
    tick(ProgressTimerId);
    CHECK(Narrow(Text(w.sizeLabel)) == "0.00M/0.00M");
    CHECK(Narrow(Text(w.speedLabel)) == Narrow(L"当前下载速度：0K/S"));
    CHECK(Narrow(Text(w.percentLabel)) == "0%");
    CHECK(Describe(Bounds(w.progressFill)) == "(31,252)-(31,266)");
    CHECK(Describe(Bounds(w.runner)) == "(11,237)-(36,278)");
  }
  SUBCASE("progress notifications reach the next tick") {
    struct Case {
      uint64_t done, total, received;
      uint32_t elapsed;
      const char* size;
      const wchar_t* speed;
      const char* percent;
      const char* fill;
      const char* runner;
    } cases[] = {
        {1048576, 1048576, 1048000, 1000, "1.00M/1.00M", L"当前下载速度：1023K/S", "100%",
         "(31,252)-(567,266)", "(547,237)-(572,278)"},
        {524288, 1048576, 1572864, 1000, "0.50M/1.00M", L"当前下载速度：1M/S", "50%",
         "(31,252)-(299,266)", "(279,237)-(304,278)"},
        // 5 GiB: the full 64-bit counts, no 16-bit wrap of the speed (it would show 63M/S).
        {5ull << 30, 5ull << 30, 128ull << 20, 1000, "5120.00M/5120.00M", L"当前下载速度：127M/S",
         "100%", "(31,252)-(567,266)", "(547,237)-(572,278)"},
        // A reply without a length: an empty bar and 0%.
        {4096, 0, 4096, 1000, "0.00M/0.00M", L"当前下载速度：3K/S", "0%", "(31,252)-(31,266)",
         "(11,237)-(36,278)"},
    };
    for (const Case& c : cases) {
      CAPTURE(c.size);
      w.OnProgress(nullptr, HttpDownloader::ProgressBlockWritten, c.elapsed, c.received, c.total,
                   c.done, 0);
      tick(ProgressTimerId);
      CHECK(Narrow(Text(w.sizeLabel)) == c.size);
      CHECK(Narrow(Text(w.speedLabel)) == Narrow(c.speed));
      CHECK(Narrow(Text(w.percentLabel)) == c.percent);
      CHECK(Describe(Bounds(w.progressFill)) == c.fill);
      CHECK(Describe(Bounds(w.runner)) == c.runner);
    }
    // The stall rule clears the speed only.
    w.ClearReceived();
    tick(ProgressTimerId);
    CHECK(Narrow(Text(w.speedLabel)) == Narrow(L"当前下载速度：0K/S"));
  }
  SUBCASE("the figure cycles through frames 1 to 17 and the tips rotate") {
    std::vector<int> frames;
    for (int i = 0; i < 19; ++i) {
      tick(AnimationTimerId);
      int column = -1;
      int row = -1;
      w.runner->GetFrame(&column, &row);
      frames.push_back(column);
      CHECK(row == 0);
    }
    CHECK(frames.front() == 1);
    CHECK(frames[16] == 17);
    CHECK(frames[17] == 1);
    CHECK(frames[18] == 2);

    std::vector<std::string> tips{Narrow(Text(w.tipLabel))};
    for (int i = 0; i < 5; ++i) {
      tick(TipTimerId);
      tips.push_back(Narrow(Text(w.tipLabel)));
    }
    for (int i = 0; i < 6; ++i) CHECK(tips[i] == Narrow(TipTable[i % 5]));
  }
  SUBCASE("unknown timers change nothing") {
    tick(7);
    CHECK(w.sizeLabel->GetText() == nullptr);
    CHECK(Narrow(Text(w.tipLabel)) == Narrow(TipTable[0]));
  }
}

TEST_CASE("only the title strip and the version text drag the window") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  RECT out{};
  CHECK(w.IsDragRegion(&out, w.titleImage) == 1);
  CHECK(Describe(out) == "(0,0)-(600,350)");
  CHECK(w.IsDragRegion(&out, w.versionLabel) == 1);
  CHECK(w.IsDragRegion(&out, w.tipLabel) == 0);
  CHECK(w.IsDragRegion(&out, w.progressFill) == 0);
  CHECK(w.IsDragRegion(&out, w.installButton) == 0);
}

TEST_CASE("the folder link chooses the parent of the install folder") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  const std::string before = Narrow(Text(w.pathLabel));

  SUBCASE("drive root and folder forms") {
    struct Case {
      const wchar_t* chosen;
      const wchar_t* label;
      const wchar_t* root;
    } cases[] = {
        {L"D:\\", L"安装路径：D:\\Tolmaro\\", L"D:\\"},
        {L"D:\\Apps", L"安装路径：D:\\Apps\\Tolmaro\\", L"D:\\Apps\\"},
        {L"E:\\Games\\新建", L"安装路径：E:\\Games\\新建\\Tolmaro\\", L"E:\\Games\\新建\\"},
    };
    for (const Case& c : cases) {
      CAPTURE(Narrow(c.chosen));
      Fake().chosenFolder = c.chosen;
      Click(w, w.folderButton);
      CHECK(Narrow(Text(w.pathLabel)) == Narrow(c.label));
      CHECK(Narrow(InstallRoot) == Narrow(c.root));
      CHECK(Narrow(w.InstallFolder()) == Narrow(std::wstring(c.label).substr(5)));
    }
    CHECK(Fake().messageBoxes == 0);
  }
  SUBCASE("55 MiB free is enough, 54 MiB and a failed query are not") {
    Fake().chosenFolder = L"D:\\Apps";
    Fake().freeBytes = (55ull << 20) - 1;  // 54.99 MiB counts as 54
    Click(w, w.folderButton);
    CHECK(Fake().messageBoxes == 1);
    CHECK(Narrow(Fake().lastMessage) == Narrow(L"硬盘空间不足，请检查后再重试。"));
    CHECK(Narrow(Text(w.pathLabel)) == before);

    Fake().freeQueryFails = true;
    Click(w, w.folderButton);
    CHECK(Fake().messageBoxes == 2);
    CHECK(Narrow(Text(w.pathLabel)) == before);

    Fake().freeQueryFails = false;
    Fake().freeBytes = 55ull << 20;
    Click(w, w.folderButton);
    CHECK(Fake().messageBoxes == 2);
    CHECK(Narrow(Text(w.pathLabel)) == Narrow(L"安装路径：D:\\Apps\\Tolmaro\\"));
  }
  SUBCASE("a cancelled dialog changes nothing") {
    Fake().chosenFolder.clear();
    Click(w, w.folderButton);
    CHECK(Narrow(Text(w.pathLabel)) == before);
    CHECK(Fake().messageBoxes == 0);
  }
  SUBCASE("a folder too long for the install root leaves the folder as it was") {
    Fake().chosenFolder = L"D:\\" + std::wstring(1020, L'a');
    Click(w, w.folderButton);
    CHECK(Narrow(Text(w.pathLabel)) == before);
  }
  SUBCASE("a real click on the link reaches the folder command") {
    Fake().chosenFolder = L"D:\\";
    MouseClick(w, 550, 230);
    CHECK(Narrow(Text(w.pathLabel)) == Narrow(L"安装路径：D:\\Tolmaro\\"));
  }
}

TEST_CASE("the cross hides the window to the tray and the tray icon brings it back") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  HWND hwnd = w.GetHwnd();
  REQUIRE(IsWindowVisible(hwnd));
  Click(w, w.GetChildren()[7]);
  CHECK_FALSE(IsWindowVisible(hwnd));
  CHECK(w.trayIcon.IsShown() == 1);

  SendMessageW(hwnd, TrayCallbackMessage, static_cast<WPARAM>(w.trayIcon.GetIconData()->uID),
               WM_LBUTTONUP);
  CHECK(PumpUntil([&] { return IsWindowVisible(hwnd) != FALSE; }));
  CHECK(w.trayIcon.IsShown() == 0);

  Click(w, w.GetChildren()[8]);
  CHECK(PumpUntil([&] { return IsIconic(hwnd) != FALSE; }));
}
