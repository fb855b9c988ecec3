// ButtonElement: construction, the look and event sequences of real mouse messages routed by
// the window, enable and visibility resets, and each look drawn through WM_PRINT.
#include <doctest/doctest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/ui/ElementTestSupport.h"
#include "ui/ButtonElement.h"

namespace {

ButtonElement* MakeButton(UiElement* parent, int x, int y, int imageId, int commandId) {
  return new ButtonElement(x, y, MAKEINTRESOURCEW(imageId), parent, commandId, L"IMAGE", nullptr);
}

int Column(UiElement* e) {
  int column = -1, row = -1;
  e->GetFrame(&column, &row);
  return row == 0 ? column : -100 - row;
}

}  // namespace

TEST_CASE("a button takes one frame of its image, the hand cursor, its command id and notifies") {
  test::RecordingWindow window(600, 350);
  ButtonElement* install = MakeButton(&window, 425, 275, IDR_SKIN_INSTALL_BUTTON, 901);
  RECT b;
  install->GetBounds(&b);
  CHECK(b.left == 425);
  CHECK(b.top == 275);
  CHECK(b.right == 573);  // 592 / 4 = 148 wide
  CHECK(b.bottom == 325);
  CHECK(install->GetId() == 901);
  CHECK(Column(install) == ButtonNormalLook);
  unsigned columns = 0, rows = 0;
  install->GetFrameGrid(&columns, &rows);
  CHECK(columns == 4);
  CHECK(rows == 1);
  CHECK(install->NotifiesParent() == 1);
  CHECK(install->IsStretched() == 0);
  HCURSOR cursor = nullptr;
  install->GetCursor(&cursor);
  CHECK(cursor == LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));

  ButtonElement* close = MakeButton(&window, 565, 1, IDR_SKIN_CLOSE_BUTTON, 902);
  close->GetBounds(&b);
  const RECT oneCell{565, 1, 599, 35};
  CHECK(EqualRect(&b, &oneCell));
  CHECK(window.HitTest(580, 10) == close);

  // Without an image there is nothing to hit.
  ButtonElement missing(10, 10, MAKEINTRESOURCEW(4242), nullptr, 7, L"IMAGE", nullptr);
  missing.GetBounds(&b);
  CHECK(IsRectEmpty(&b));
  CHECK(missing.HitTest(10, 10) == nullptr);
}

TEST_CASE("button sequences: looks after each step and the events the parent receives") {
  enum Step { Enter, Leave, LDown, LUp, LDouble, RDown, RUp, Disable, Enable, Hide, Show };
  struct Sequence {
    const char* name;
    std::vector<Step> steps;
    std::vector<int> frames;  // look after each step
    std::vector<INT32> codes;
  };
  const Sequence table[] = {
      {"click", {Enter, LDown, LUp}, {1, 2, 1}, {-99, -95, -94, -199}},
      {"drag out, release outside", {Enter, LDown, Leave, LUp}, {1, 2, 0, 0}, {-99, -95, -96, -94}},
      {"drag out and back, release",
       {Enter, LDown, Leave, Enter, LUp},
       {1, 2, 0, 2, 1},
       {-99, -95, -96, -99, -94, -199}},
      {"right click", {Enter, RDown, RUp}, {1, 2, 1}, {-99, -92, -91, -198}},
      {"double click",
       {Enter, LDown, LUp, LDouble, LUp},
       {1, 2, 1, 2, 1},
       {-99, -95, -94, -199, -93, -94, -199}},
      {"disabled while hovered, twice, then pressed, enabled and moved over",
       {Enter, Disable, Disable, LDown, LUp, Enable, Enter},
       {1, 3, 3, 3, 3, 0, 1},
       {-99, -84, -84, -99}},
      {"hidden while pressed, released, shown",
       {Enter, LDown, Hide, LUp, Show},
       {1, 2, 0, 0, 0},
       {-99, -95, -85, -85}},
  };
  const POINT inside{90, 55};
  const POINT outside{250, 100};
  for (const Sequence& s : table) {
    const std::string name = s.name;
    CAPTURE(name);
    test::RecordingWindow window(300, 120);
    ButtonElement* button = MakeButton(&window, 50, 40, IDR_SKIN_ERROR_OK, 1002);
    POINT at = outside;
    std::vector<int> frames;
    for (Step step : s.steps) {
      switch (step) {
        case Enter:
          at = inside;
          window.Move(at.x, at.y);
          break;
        case Leave:
          at = outside;
          window.Move(at.x, at.y);
          break;
        case LDown:
          window.Press(WM_LBUTTONDOWN, at.x, at.y);
          break;
        case LDouble:
          window.Press(WM_LBUTTONDBLCLK, at.x, at.y);
          break;
        case RDown:
          window.Press(WM_RBUTTONDOWN, at.x, at.y);
          break;
        case LUp:
          window.Release(WM_LBUTTONUP, at.x, at.y);
          break;
        case RUp:
          window.Release(WM_RBUTTONUP, at.x, at.y);
          break;
        case Disable:
          button->SetEnabled(0);
          break;
        case Enable:
          button->SetEnabled(1);
          break;
        case Hide:
          button->SetVisible(0);
          break;
        case Show:
          button->SetVisible(1);
          break;
      }
      frames.push_back(Column(button));
    }
    CHECK(test::Join(frames) == test::Join(s.frames));
    CHECK(test::Join(window.Codes()) == test::Join(s.codes));
    for (const test::SeenEvent& e : window.events) CHECK(e.source == button);
    for (const test::SeenEvent& e : window.events) {
      if (e.code == ButtonClicked || e.code == ButtonRightClicked) {
        CHECK(e.lParam == MAKELPARAM(inside.x, inside.y));  // the button-up message's
      }
    }
    CHECK(button->IsPressed() == 0);
  }
}

TEST_CASE("each look of a button draws its own cell of the image") {
  const test::Pixels strip = test::LoadSkinPixels(IDR_SKIN_INSTALL_BUTTON);
  REQUIRE(strip.width == 592);
  for (int look = 0; look < 4; ++look) {
    CAPTURE(look);
    test::RecordingWindow window(200, 80);
    ButtonElement* button = MakeButton(&window, 20, 10, IDR_SKIN_INSTALL_BUTTON, 901);
    if (look == ButtonHoverLook || look == ButtonPressedLook) window.Move(60, 30);
    if (look == ButtonPressedLook) window.Press(WM_LBUTTONDOWN, 60, 30);
    if (look == ButtonDisabledLook) button->SetEnabled(0);
    REQUIRE(Column(button) == look);

    test::Pixels p = window.Capture();
    REQUIRE(p.width > 0);

    REQUIRE(p.width > 0);
    int compared = 0, matching = 0;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 148; ++x) {
        uint32_t expected = strip.At(look * 148 + x, y);
        if (test::Alpha(expected) != 255) continue;  // edges blend with the black canvas
        uint32_t got = p.At(20 + x, 10 + y);
        ++compared;
        if (std::abs(test::Red(got) - test::Red(expected)) <= 2 &&
            std::abs(test::Green(got) - test::Green(expected)) <= 2 &&
            std::abs(test::Blue(got) - test::Blue(expected)) <= 2) {
          ++matching;
        }
      }
    }
    CHECK(compared > 5000);
    CHECK(matching == compared);
    CHECK(p.Ink(RECT{168, 0, 200, 80}) == 0);  // nothing beyond the one cell
  }
}
