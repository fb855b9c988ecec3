// Element tree and geometry: frame grid, alpha, visibility, bounds, parents, containment,
// hit testing, events and destruction, on elements inside a real (hidden-update) window.
#include <doctest/doctest.h>

#include <memory>

#include "tests/ui/UiCoreSupport.h"

using uitest::Log;
using uitest::LogWith;
using uitest::RecordingElement;
using uitest::TakeUpdate;
using uitest::TestWindow;

namespace {

RECT R(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

// A rectangle argument for the constructors and SetBounds, alive for the full expression.
struct At {
  At(LONG l, LONG t, LONG r, LONG b) : rect{l, t, r, b} {}
  operator const RECT*() const { return &rect; }
  RECT rect;
};

bool NoUpdate(HWND hwnd) {
  RECT r = TakeUpdate(hwnd);
  return IsRectEmpty(&r) != 0;
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

RECT BoundsOf(UiElement* e) {
  RECT r;
  e->GetBounds(&r);
  return r;
}

struct Fixture {
  Fixture() : window(R(100, 100, 500, 400)) {
    Log().clear();
    TakeUpdate(window.GetHwnd());
  }
  TestWindow window;
};

}  // namespace

TEST_CASE("frame grid shrinks the bounds to one cell with unsigned division") {
  struct Case {
    RECT bounds;
    unsigned columns, rows;
    RECT expected;
  } cases[] = {
      {R(0, 0, 400, 30), 4, 1, R(0, 0, 100, 30)},
      {R(11, 237, 471, 278), 18, 1, R(11, 237, 36, 278)},  // 460 / 18 = 25, remainder dropped
      {R(565, 1, 701, 35), 4, 1, R(565, 1, 599, 35)},
      {R(0, 0, 90, 60), 3, 2, R(0, 0, 30, 30)},
      {R(0, 0, 40, 40), 0, 0, R(0, 0, 40, 40)},      // zero counts as one
      {R(50, 50, 10, 10), 2, 2, R(50, 50, 50, 50)},  // inverted: no size, not a huge one
  };
  for (const Case& c : cases) {
    UiElement e(&c.bounds, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    e.SetFrameGrid(c.columns, c.rows);
    CAPTURE(Show(c.bounds));
    CHECK(Show(BoundsOf(&e)) == Show(c.expected));
    unsigned columns = 0, rows = 0;
    e.GetFrameGrid(&columns, &rows);
    CHECK(columns == (c.columns ? c.columns : 1));
    CHECK(rows == (c.rows ? c.rows : 1));
  }
}

TEST_CASE("image operations store, clamp and repaint only on change") {
  Fixture f;
  HWND hwnd = f.window.GetHwnd();
  auto* e = new RecordingElement("e", R(10, 10, 50, 30), &f.window);
  TakeUpdate(hwnd);
  struct Step {
    const char* what;
    void (*apply)(UiElement*);
    bool repaints;
  } steps[] = {
      {"alpha 255 is current", [](UiElement* x) { x->SetAlpha(255); }, false},
      {"alpha 128", [](UiElement* x) { x->SetAlpha(128); }, true},
      {"alpha 128 again", [](UiElement* x) { x->SetAlpha(128); }, false},
      {"alpha 300 clamps", [](UiElement* x) { x->SetAlpha(300); }, true},
      {"frame (0,0) is current", [](UiElement* x) { x->SetFrame(0, 0); }, false},
      {"frame (2,0)", [](UiElement* x) { x->SetFrame(2, 0); }, true},
      {"flip (0,0) is current", [](UiElement* x) { x->SetFlip(0, 0); }, false},
      {"flip (1,0)", [](UiElement* x) { x->SetFlip(1, 0); }, true},
      {"frame grid never repaints", [](UiElement* x) { x->SetFrameGrid(2, 1); }, false},
  };
  for (const Step& s : steps) {
    CAPTURE(s.what);
    s.apply(e);
    RECT update = TakeUpdate(hwnd);
    CHECK(!IsRectEmpty(&update) == s.repaints);
    if (s.repaints) CHECK(Show(update) == "10,10,50,30");
  }
  unsigned alpha = 0;
  e->GetAlpha(&alpha);
  CHECK(alpha == 255);
  int column = -1, row = -1, h = -1, v = -1;
  e->GetFrame(&column, &row);
  e->GetFlip(&h, &v);
  CHECK(column == 2);
  CHECK(row == 0);
  CHECK(h == 1);
  CHECK(v == 0);
}

TEST_CASE("SetVisible resets frames below containers only and reports the change once") {
  Fixture f;
  HWND hwnd = f.window.GetHwnd();
  auto* container = new RecordingElement("c", R(0, 0, 200, 100), &f.window);
  auto* child = new RecordingElement("k", R(10, 10, 50, 50), container);
  auto* grandchild = new RecordingElement("g", R(1, 1, 20, 20), child);
  auto* leaf = new RecordingElement("leaf", R(100, 10, 150, 50), &f.window);
  for (UiElement* e : {static_cast<UiElement*>(container), static_cast<UiElement*>(child),
                       static_cast<UiElement*>(grandchild), static_cast<UiElement*>(leaf)}) {
    e->SetNotifyParent(1, 0);
    e->SetFrame(3, 1);
  }
  TakeUpdate(hwnd);
  f.window.events.clear();

  container->SetVisible(0);
  for (RecordingElement* e : {container, child, grandchild}) {
    int column, row;
    e->GetFrame(&column, &row);
    CAPTURE(e->name);
    CHECK(column == 0);
    CHECK(row == 0);
  }
  CHECK(Show(TakeUpdate(hwnd)) == "0,0,200,100");
  // The container's event reaches the window (it notifies its parent, the window).
  REQUIRE(f.window.events.size() == 1);
  CHECK(f.window.events[0].code == VisibilityChanged);
  CHECK(f.window.events[0].lParam == 0);
  CHECK(f.window.eventSources[0] == container);

  leaf->SetVisible(0);
  int column, row;
  leaf->GetFrame(&column, &row);
  CHECK(column == 3);  // a leaf keeps its frame
  CHECK(row == 1);

  f.window.events.clear();
  TakeUpdate(hwnd);
  leaf->SetVisible(0);  // unchanged: no event, no repaint
  CHECK(f.window.events.empty());
  CHECK(NoUpdate(hwnd));
  leaf->SetEnabled(0);
  REQUIRE(f.window.events.size() == 1);
  CHECK(f.window.events[0].code == EnabledChanged);
}

TEST_CASE("SetBounds queries, restretches and moves a whole subtree") {
  Fixture f;
  HWND hwnd = f.window.GetHwnd();
  auto* container =
      new UiElement(At(20, 20, 120, 80), nullptr, &f.window, 0, nullptr, nullptr, nullptr);
  auto* child = new UiElement(At(10, 5, 30, 25), nullptr, container, 0, nullptr, nullptr, nullptr);
  auto* grandchild = new UiElement(At(2, 2, 6, 6), nullptr, child, 0, nullptr, nullptr, nullptr);
  CHECK(Show(BoundsOf(grandchild)) == "32,27,36,31");
  TakeUpdate(hwnd);

  // A null rectangle is a query, whatever the flag says.
  RECT old = child->SetBounds(nullptr, 0);
  CHECK(Show(old) == "10,5,30,25");
  CHECK(child->IsStretched() == 1);
  CHECK(NoUpdate(hwnd));

  // Same rectangle, same flag: nothing. Same rectangle, new flag: stored and repainted.
  child->SetBounds(&old, 1);
  CHECK(NoUpdate(hwnd));
  child->SetBounds(&old, 0);
  CHECK(child->IsStretched() == 0);
  CHECK(Show(TakeUpdate(hwnd)) == "30,25,50,45");

  // Moving the container moves every descendant by the same offset and repaints both areas.
  RECT moved = R(100, 150, 200, 210);
  RECT previous = container->SetBounds(&moved, 1);
  CHECK(Show(previous) == "20,20,120,80");
  CHECK(Show(BoundsOf(container)) == "100,150,200,210");
  CHECK(Show(BoundsOf(child)) == "110,155,130,175");
  CHECK(Show(BoundsOf(grandchild)) == "112,157,116,161");
  CHECK(child->IsStretched() == 0);  // children keep their own flag
  CHECK(Show(TakeUpdate(hwnd)) == "20,20,200,210");
}

TEST_CASE("constructors place elements relative to the parent") {
  Fixture f;
  auto* parent =
      new UiElement(At(50, 40, 250, 140), nullptr, &f.window, 7, nullptr, nullptr, nullptr);
  CHECK(parent->GetId() == 7);
  CHECK(parent->GetHwnd() == f.window.GetHwnd());
  // Point form without an image reaches the parent's right and bottom edges.
  auto* filler = new UiElement(10, 20, nullptr, parent, 0, nullptr, nullptr, nullptr);
  CHECK(Show(BoundsOf(filler)) == "60,60,250,140");
  CHECK(filler->IsStretched() == 0);
  // Without a parent and an image the point form has no size to take.
  UiElement lone(5, 6, L"Z:\\does\\not\\exist.png", nullptr, 0, nullptr, nullptr, nullptr);
  CHECK(Show(BoundsOf(&lone)) == "5,6,0,0");
  CHECK(lone.GetImage() == nullptr);
  UiElement missing(5, 6, MAKEINTRESOURCEW(4242), nullptr, 0, nullptr, L"IMAGE", nullptr);
  CHECK(missing.GetImage() == nullptr);
}

TEST_CASE("SetParent re-bases the bounds; Contains, tags and notification flags") {
  Fixture f;
  auto* a = new UiElement(At(10, 10, 110, 110), nullptr, &f.window, 0, nullptr, nullptr, nullptr);
  auto* b = new UiElement(At(200, 50, 300, 150), nullptr, &f.window, 0, nullptr, nullptr, nullptr);
  auto* x = new UiElement(At(5, 5, 15, 15), nullptr, a, 0, nullptr, nullptr, nullptr);
  auto* y = new UiElement(At(1, 1, 2, 2), nullptr, x, 0, nullptr, nullptr, nullptr);
  CHECK(Show(BoundsOf(x)) == "15,15,25,25");

  CHECK(x->SetParent(nullptr) == a);
  CHECK(x->SetParent(b) == a);
  CHECK(Show(BoundsOf(x)) == "205,55,215,65");
  CHECK(Show(BoundsOf(y)) == "16,16,17,17");  // its own children are not moved
  CHECK(a->GetChildren().empty());
  CHECK(b->GetChildren().back() == x);

  struct Case {
    UiElement* container;
    UiElement* element;
    int expected;
  } cases[] = {{&f.window, y, 1}, {b, y, 1},       {b, x, 1}, {a, y, 0},
               {x, x, 0},         {x, nullptr, 0}, {y, x, 0}};
  for (const Case& c : cases) CHECK(c.container->Contains(c.element) == c.expected);

  x->SetTag(L"label");
  CHECK(std::wstring(x->GetTag()) == L"label");
  x->SetTag(L"");
  CHECK(x->GetTag() == nullptr);

  // Without a parent nothing changes, not even below.
  UiElement root(At(0, 0, 10, 10), nullptr, nullptr, 0, nullptr, nullptr, nullptr);
  auto* under = new UiElement(At(0, 0, 5, 5), nullptr, &root, 0, nullptr, nullptr, nullptr);
  root.SetNotifyParent(1, 1);
  CHECK(root.NotifiesParent() == 0);
  CHECK(under->NotifiesParent() == 0);
  b->SetNotifyParent(1, 1);
  CHECK(b->NotifiesParent() == 1);
  CHECK(x->NotifiesParent() == 1);
  CHECK(y->NotifiesParent() == 1);
}

TEST_CASE("hit testing: later siblings win, hidden and disabled subtrees are transparent") {
  Fixture f;
  auto* bottom = new RecordingElement("bottom", R(10, 10, 110, 110), &f.window);
  auto* top = new RecordingElement("top", R(50, 50, 150, 150), &f.window);
  auto* inner = new RecordingElement("inner", R(0, 0, 200, 200), top);  // cut at top's bounds
  struct Case {
    int x, y;
    UiElement* expected;
  } cases[] = {{20, 20, bottom},  {60, 60, inner},       {149, 149, inner},  {150, 150, &f.window},
               {5, 5, &f.window}, {399, 299, &f.window}, {400, 300, nullptr}};
  for (const Case& c : cases) {
    CAPTURE(c.x);
    CAPTURE(c.y);
    CHECK(f.window.HitTest(c.x, c.y) == c.expected);
  }
  top->SetEnabled(0);
  CHECK(f.window.HitTest(60, 60) == bottom);
  CHECK(f.window.HitTest(120, 120) == &f.window);
  top->SetEnabled(1);
  inner->SetVisible(0);
  CHECK(f.window.HitTest(60, 60) == top);
}

TEST_CASE("events climb while notifyParent is on and stop where it is off") {
  Fixture f;
  auto* outer = new UiElement(At(0, 0, 100, 100), nullptr, &f.window, 0, nullptr, nullptr, nullptr);
  auto* middle = new UiElement(At(0, 0, 100, 100), nullptr, outer, 0, nullptr, nullptr, nullptr);
  auto* leaf = new UiElement(At(0, 0, 10, 10), nullptr, middle, 0, nullptr, nullptr, nullptr);
  outer->SetNotifyParent(1, 1);
  CHECK(leaf->OnLButtonDown(5, MAKELPARAM(3, 4)) == 1);
  REQUIRE(f.window.events.size() == 1);
  CHECK(f.window.events[0].code == LeftButtonPressed);
  CHECK(f.window.events[0].wParam == 5);
  CHECK(f.window.events[0].lParam == MAKELPARAM(3, 4));
  CHECK(f.window.eventSources[0] == leaf);
  middle->SetNotifyParent(0, 0);
  CHECK(leaf->OnRButtonUp(0, 0) == 0);
  CHECK(f.window.events.size() == 1);
}

TEST_CASE("destroying a container destroys its children first to last and detaches it") {
  Fixture f;
  auto* container = new RecordingElement("p", R(0, 0, 100, 100), &f.window);
  auto* first = new RecordingElement("c1", R(0, 0, 10, 10), container);
  new RecordingElement("g", R(0, 0, 5, 5), first);
  new RecordingElement("c2", R(20, 0, 30, 10), container);
  REQUIRE(f.window.GetChildren().size() == 1);
  TakeUpdate(f.window.GetHwnd());
  delete container;
  CHECK(LogWith("") ==
        std::vector<std::string>{"p:destroyed", "c1:destroyed", "g:destroyed", "c2:destroyed"});
  CHECK(f.window.GetChildren().empty());
  CHECK(Show(TakeUpdate(f.window.GetHwnd())) == "0,0,100,100");
}
