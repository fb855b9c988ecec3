// TextElement: text storage, drawing through WM_PRINT, the font rule and its fallback, the
// label's own copies of font, format and brush, and click events.
#include <doctest/doctest.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/ui/ElementTestSupport.h"
#include "ui/TextElement.h"

namespace {

using FontPtr = std::unique_ptr<Gdiplus::Font>;

FontPtr MakeFont(const wchar_t* family, float size) {
  return FontPtr(CreateUiFont(family, size, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
}

std::wstring FamilyName(const Gdiplus::Font& font) {
  Gdiplus::FontFamily family;
  font.GetFamily(&family);
  wchar_t name[LF_FACESIZE] = {};
  family.GetFamilyName(name);
  return name;
}

std::wstring GenericSansSerifName() {
  wchar_t name[LF_FACESIZE] = {};
  Gdiplus::FontFamily::GenericSansSerif()->GetFamilyName(name);
  return name;
}

// A label with its own rectangle under `window`; the window owns it.
TextElement* Label(UiElement* window, RECT area, const Gdiplus::Font* font = nullptr,
                   const Gdiplus::Brush* brush = nullptr,
                   const Gdiplus::StringFormat* format = nullptr) {
  return new TextElement(&area, nullptr, window, font, format, brush, 0, nullptr, nullptr);
}

}  // namespace

TEST_CASE("SetText keeps its own copy; null and empty clear the label, and every call repaints") {
  test::RecordingWindow window(200, 100);
  // A backdrop, as every window has: the canvas keeps old pixels where nothing draws.
  const RECT all{0, 0, 200, 100};
  new UiElement(&all, MAKEINTRESOURCEW(IDR_SKIN_BACKGROUND), &window, 0, nullptr, L"IMAGE",
                nullptr);
  const RECT area{10, 10, 150, 40};
  TextElement* label = Label(&window, area);
  CHECK(label->GetText() == nullptr);
  const test::Pixels empty = window.Capture().Crop(area);

  wchar_t buffer[] = L"安装路径：";
  label->SetText(buffer);
  buffer[0] = L'X';
  REQUIRE(label->GetText() != nullptr);
  CHECK(std::wstring(label->GetText()) == L"安装路径：");
  CHECK(test::CountDifferent(window.Capture().Crop(area), empty) > 20);

  struct Case {
    const char* name;
    const wchar_t* text;
    bool cleared;
  };
  const Case cases[] = {{"null", nullptr, true}, {"empty", L"", true}, {"same text", L"x", false}};
  for (const Case& c : cases) {
    const std::string name = c.name;
    CAPTURE(name);
    label->SetText(L"x");
    ValidateRect(window.GetHwnd(), nullptr);
    label->SetText(c.text);
    CHECK((label->GetText() == nullptr) == c.cleared);
    RECT update{};
    CHECK(GetUpdateRect(window.GetHwnd(), &update, FALSE));
    CHECK(EqualRect(&update, &area));
    CHECK((window.Capture().Crop(area) == empty) == c.cleared);
  }
}

TEST_CASE("a label draws in its brush's colour and only inside its bounds") {
  test::RecordingWindow window(240, 120);
  Gdiplus::SolidBrush red(Gdiplus::Color(0xFFFF0000));
  FontPtr font = MakeFont(L"微软雅黑", 12);
  const RECT area{20, 20, 90, 44};
  TextElement* label = Label(&window, area, font.get(), &red);
  // Far longer than the bounds: GDI+ wraps it, the clip of Paint cuts it.
  label->SetText(L"下载失败：网络不稳定造成。安全软件或防火墙阻挡了本次下载。");
  test::Pixels p = window.Capture();
  REQUIRE(p.width > 0);
  int inside = p.Ink(area);
  CHECK(inside > 50);
  CHECK(p.Ink(RECT{0, 0, 240, 120}) == inside);
  int brightest = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      uint32_t v = p.At(x, y);
      CHECK(test::Red(v) >= test::Green(v));
      CHECK(test::Red(v) >= test::Blue(v));
      brightest = std::max(brightest, test::Red(v));
    }
  }
  CHECK(brightest > 200);
}

TEST_CASE("a null font draws as 宋体 12 pt, a null brush in 0xFEFFFFFF, a null format by default") {
  test::RecordingWindow window(300, 120);
  FontPtr songti = MakeFont(L"宋体", 12);
  Gdiplus::SolidBrush white(Gdiplus::Color(0xFEFFFFFF));
  Gdiplus::StringFormat format(0, LANG_NEUTRAL);
  const RECT first{10, 10, 290, 50};
  const RECT second{10, 60, 290, 100};
  Label(&window, first)->SetText(L"点击安装 Tolmaro 2.1");
  Label(&window, second, songti.get(), &white, &format)->SetText(L"点击安装 Tolmaro 2.1");
  test::Pixels p = window.Capture();
  REQUIRE(p.width > 0);
  CHECK(p.Ink(first) > 50);
  CHECK(p.Crop(first) == p.Crop(second));
  uint32_t brightest = 0;
  for (uint32_t v : p.Crop(first).data) {
    if ((v & 0xFFFFFF) > (brightest & 0xFFFFFF)) brightest = v;
  }
  CHECK(test::Red(brightest) >= 250);
  CHECK(test::Red(brightest) == test::Green(brightest));
  CHECK(test::Green(brightest) == test::Blue(brightest));
}

TEST_CASE("the font rule falls back to the generic sans-serif family at the requested size") {
  const std::wstring generic = GenericSansSerifName();
  REQUIRE_FALSE(generic.empty());
  for (const wchar_t* family :
       {L"No Such Family 7f3a", L"", static_cast<const wchar_t*>(nullptr)}) {
    FontPtr font(CreateUiFont(family, 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
    REQUIRE(font);
    REQUIRE(font->IsAvailable());
    CHECK(FamilyName(*font) == generic);
    CHECK(font->GetSize() == doctest::Approx(14));
    CHECK(font->GetUnit() == Gdiplus::UnitPoint);
  }

  // Drawn, the fallback looks exactly like the generic family at that size.
  test::RecordingWindow window(300, 100);
  FontPtr unknown = MakeFont(L"No Such Family 7f3a", 14);
  Gdiplus::Font reference(Gdiplus::FontFamily::GenericSansSerif(), 14, Gdiplus::FontStyleRegular,
                          Gdiplus::UnitPoint);
  const RECT first{5, 5, 295, 45};
  const RECT second{5, 50, 295, 90};
  Label(&window, first, unknown.get())->SetText(L"Download 42%");
  Label(&window, second, &reference)->SetText(L"Download 42%");
  test::Pixels p = window.Capture();
  REQUIRE(p.width > 0);
  CHECK(p.Ink(first) > 50);
  CHECK(p.Crop(first) == p.Crop(second));
}

TEST_CASE("the Chinese families of the windows draw real, distinct glyphs") {
  // Missing glyphs would all be drawn as the same empty box.
  test::RecordingWindow window(200, 60);
  const wchar_t* const families[] = {L"新宋体", L"微软雅黑", L"宋体"};
  for (int i = 0; i < 3; ++i) {
    const wchar_t* family = families[i];
    CAPTURE(i);
    FontPtr font = MakeFont(family, 12);
    REQUIRE(font->IsAvailable());
    const RECT a{10, 10, 40, 40};
    const RECT b{60, 10, 90, 40};
    TextElement* first = Label(&window, a, font.get());
    TextElement* second = Label(&window, b, font.get());
    first->SetText(L"安");
    second->SetText(L"装");
    test::Pixels p = window.Capture();
    REQUIRE(p.width > 0);
    CHECK(p.Ink(a) > 20);
    CHECK(p.Ink(b) > 20);
    CHECK(test::CountDifferent(p.Crop(a), p.Crop(b)) > 20);
    delete first;
    delete second;
  }
}

TEST_CASE("the label's font, format and brush are its own copies") {
  test::RecordingWindow window(300, 100);
  const RECT kept{10, 10, 290, 45};
  const RECT copied{10, 55, 290, 90};
  FontPtr font = MakeFont(L"微软雅黑", 10);
  Gdiplus::SolidBrush brush(Gdiplus::Color(0xFEFFB23E));
  Gdiplus::StringFormat format(0, LANG_NEUTRAL);
  format.SetAlignment(Gdiplus::StringAlignmentCenter);
  Label(&window, kept, font.get(), &brush, &format)->SetText(L"新手提示：");

  auto* tempFont = CreateUiFont(L"微软雅黑", 10, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  auto* tempBrush = new Gdiplus::SolidBrush(Gdiplus::Color(0xFEFFB23E));
  auto* tempFormat = new Gdiplus::StringFormat(0, LANG_NEUTRAL);
  tempFormat->SetAlignment(Gdiplus::StringAlignmentCenter);
  TextElement* label = Label(&window, copied, tempFont, tempBrush, tempFormat);
  CHECK(label->GetFont() != tempFont);
  delete tempFont;
  delete tempBrush;
  delete tempFormat;
  label->SetText(L"新手提示：");

  test::Pixels p = window.Capture();
  REQUIRE(p.width > 0);

  REQUIRE(p.width > 0);
  CHECK(p.Ink(copied) > 50);
  CHECK(p.Crop(kept) == p.Crop(copied));
  // Centred by the copied format: nothing near the left edge.
  CHECK(p.Ink(RECT{copied.left, copied.top, copied.left + 60, copied.bottom}) == 0);
}

TEST_CASE(
    "label clicks: a release inside raises the release and then the click, outside only "
    "the release") {
  struct Case {
    const char* name;
    UINT down;
    UINT up;
    POINT release;
    bool notify;
    std::vector<INT32> codes;
  };
  const POINT inside{60, 30};
  const POINT outside{150, 80};
  const Case cases[] = {
      {"left inside", WM_LBUTTONDOWN, WM_LBUTTONUP, inside, true, {-99, -95, -94, -299}},
      {"left outside", WM_LBUTTONDOWN, WM_LBUTTONUP, outside, true, {-99, -95, -94}},
      {"right inside", WM_RBUTTONDOWN, WM_RBUTTONUP, inside, true, {-99, -92, -91, -298}},
      {"right outside", WM_RBUTTONDOWN, WM_RBUTTONUP, outside, true, {-99, -92, -91}},
      {"flag off", WM_LBUTTONDOWN, WM_LBUTTONUP, inside, false, {}},
  };
  for (const Case& c : cases) {
    const std::string name = c.name;
    CAPTURE(name);
    test::RecordingWindow window(200, 100);
    TextElement* label = Label(&window, RECT{20, 20, 120, 50});
    label->SetText(L"修改");
    if (c.notify) label->SetNotifyParent(1, 0);
    window.Move(inside.x, inside.y);
    window.Press(c.down, inside.x, inside.y);
    window.Release(c.up, c.release.x, c.release.y);
    CHECK(test::Join(window.Codes()) == test::Join(c.codes));
    for (const test::SeenEvent& e : window.events) CHECK(e.source == label);
    if (!window.events.empty() && window.events.back().code <= -298) {
      CHECK(window.events.back().lParam == MAKELPARAM(c.release.x, c.release.y));
    }
  }
}
