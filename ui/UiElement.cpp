// UiElement: construction, tree and geometry operations, hit testing, invalidation and the
// input handlers that raise events up the parent chain. Image operations: UiElementImage.cpp.
#include "ui/UiElement.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "app/Config.h"

namespace {

Gdiplus::Image* LoadElementImage(const wchar_t* imageName, const wchar_t* resourceType,
                                 HMODULE module) {
  if (resourceType) return LoadImageFromResource(module, resourceType, imageName);
  return LoadImageFromFile(imageName);
}

RECT EmptyRect() { return RECT{0, 0, 0, 0}; }

}  // namespace

UiElement::UiElement(const RECT* initialBounds, const wchar_t* imageName, UiElement* parentElement,
                     int elementId, HWND window, const wchar_t* resourceType, HMODULE module)
    : hwnd(window),
      parent(nullptr),
      image(LoadElementImage(imageName, resourceType, module)),
      stretch(1),
      bounds(initialBounds ? *initialBounds : EmptyRect()),
      id(elementId) {
  if (parentElement) Attach(parentElement);
  UiElement::Invalidate(nullptr, FALSE);
}

UiElement::UiElement(int x, int y, const wchar_t* imageName, UiElement* parentElement,
                     int elementId, HWND window, const wchar_t* resourceType, HMODULE module)
    : hwnd(window),
      parent(nullptr),
      image(LoadElementImage(imageName, resourceType, module)),
      stretch(0),
      bounds{x, y, 0, 0},
      id(elementId) {
  if (image) {
    bounds.right = x + static_cast<LONG>(image->GetWidth());
    bounds.bottom = y + static_cast<LONG>(image->GetHeight());
  } else if (parentElement) {
    RECT p;
    parentElement->GetBounds(&p);
    bounds.right = p.right - p.left;
    bounds.bottom = p.bottom - p.top;
  }
  if (parentElement) Attach(parentElement);
  UiElement::Invalidate(nullptr, FALSE);
}

UiElement::~UiElement() {
  // Each child's destructor removes it from this list.
  while (!children.empty()) delete children.front();
  Detach();
  if (hwnd) {
    SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::ForgetElement,
                 reinterpret_cast<LPARAM>(this));
    SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::ElementDestroyed,
                 reinterpret_cast<LPARAM>(this));
  }
  UiElement::Invalidate(nullptr, FALSE);
}

void UiElement::Attach(UiElement* newParent) {
  parent = newParent;
  parent->children.push_back(this);
  hwnd = parent->hwnd;
  RECT p;
  parent->GetBounds(&p);
  OffsetRect(&bounds, p.left, p.top);
}

void UiElement::Detach() {
  if (!parent) return;
  auto& siblings = parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  parent = nullptr;
}

void UiElement::SetVisible(int value) {
  if (value == visible) return;
  if (!children.empty()) {
    // Containers start again from their first frame everywhere below them.
    std::deque<UiElement*> pending{this};
    while (!pending.empty()) {
      UiElement* e = pending.front();
      pending.pop_front();
      e->SetFrame(0, 0);
      pending.insert(pending.end(), e->children.begin(), e->children.end());
    }
  }
  visible = value;
  Invalidate(nullptr, FALSE);
  if (hwnd) {
    SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::ForgetElement,
                 reinterpret_cast<LPARAM>(this));
  }
  RaiseEvent(VisibilityChanged, 0, static_cast<LPARAM>(value));
}

void UiElement::SetEnabled(int value) {
  if (value == enabled) return;
  enabled = value;
  Invalidate(nullptr, FALSE);
  if (hwnd) {
    SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::ForgetElement,
                 reinterpret_cast<LPARAM>(this));
  }
  RaiseEvent(EnabledChanged, 0, static_cast<LPARAM>(value));
}

void UiElement::SetNotifyParent(int value, int recursive) {
  if (!parent) return;
  notifyParent = value;
  if (recursive == 1) {
    for (UiElement* child : children) child->SetNotifyParent(value, 1);
  }
}

void UiElement::SetCursor(HCURSOR value) { cursor = value; }
void UiElement::GetCursor(HCURSOR* out) {
  if (out) *out = cursor;
}

int UiElement::RequestFocus() {
  return static_cast<int>(SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::SetFocusElement,
                                       reinterpret_cast<LPARAM>(this)));
}

int UiElement::HasFocus() { return GetFocusElement() == this ? 1 : 0; }
int UiElement::IsVisible() { return visible; }
int UiElement::IsEnabled() { return enabled; }
int UiElement::IsStretched() { return stretch; }
int UiElement::NotifiesParent() { return (parent ? 1 : 0) & notifyParent; }

int UiElement::Contains(UiElement* element) {
  if (!element) return 0;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (*it == element || (*it)->Contains(element) == 1) return 1;
  }
  return 0;
}

HWND UiElement::GetHwnd() { return hwnd; }

int UiElement::DeleteLater() {
  return static_cast<int>(SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::DeleteElementLater,
                                       reinterpret_cast<LPARAM>(this)));
}

void UiElement::Invalidate(const RECT* rect, BOOL erase) {
  RECT area = rect ? *rect : bounds;
  RECT limit = bounds;
  if (parent) parent->GetBounds(&limit);
  RECT visiblePart;
  if (IntersectRect(&visiblePart, &area, &limit)) InvalidateWindowRect(&visiblePart, erase);
}

void UiElement::InvalidateWindowRect(const RECT* rect, BOOL erase) {
  if (hwnd) InvalidateRect(hwnd, rect, erase);
}

RECT UiElement::SetBounds(const RECT* newBounds, int newStretch) {
  RECT origin = EmptyRect();
  if (parent) parent->GetBounds(&origin);
  RECT old = bounds;
  OffsetRect(&old, -origin.left, -origin.top);
  if (!newBounds || (EqualRect(newBounds, &old) && newStretch == stretch)) return old;

  RECT previous = bounds;
  stretch = newStretch;
  bounds = *newBounds;
  OffsetRect(&bounds, origin.left, origin.top);
  RECT both;
  UnionRect(&both, &previous, &bounds);
  Invalidate(&both, FALSE);
  // Children keep their place relative to this element and their size. Copy the list: a
  // child's SetBounds override must not invalidate the iteration.
  std::vector<UiElement*> current = children;
  for (UiElement* child : current) {
    RECT r;
    child->GetBounds(&r);
    OffsetRect(&r, -previous.left, -previous.top);
    child->SetBounds(&r, child->IsStretched());
  }
  return old;
}

RECT* UiElement::GetBounds(RECT* out) {
  if (out) *out = bounds;
  return out;
}

UiElement* UiElement::HitTest(int x, int y) {
  if (visible != 1 || enabled != 1) return nullptr;
  RECT limit = bounds;
  if (parent) parent->GetBounds(&limit);
  RECT area;
  POINT pt{x, y};
  if (!IntersectRect(&area, &limit, &bounds) || !PtInRect(&area, pt)) return nullptr;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (UiElement* hit = (*it)->HitTest(x, y)) return hit;
  }
  return this;
}

UiElement* UiElement::SetParent(UiElement* newParent) {
  UiElement* previous = parent;
  if (!newParent) return previous;
  if (parent) {
    RECT p;
    parent->GetBounds(&p);
    OffsetRect(&bounds, -p.left, -p.top);
    Detach();
  }
  Attach(newParent);
  return previous;
}

UiElement* UiElement::GetFocusElement() {
  return reinterpret_cast<UiElement*>(
      SendMessageA(hwnd, ToolkitMessage, ToolkitCommand::GetFocusElement, 1));
}

void UiElement::SetTag(const wchar_t* value) {
  tag.reset();
  if (value && *value) {
    size_t length = wcslen(value) + 1;
    tag.reset(new wchar_t[length]);
    std::memcpy(tag.get(), value, length * sizeof(wchar_t));
  }
}

const wchar_t* UiElement::GetTag() { return tag.get(); }
int UiElement::GetId() { return id; }

void UiElement::Paint(Gdiplus::Graphics* graphics, const RECT* clip) {
  if (visible != 1 || !clip) return;
  RECT area;
  if (!IntersectRect(&area, clip, &bounds)) return;
  graphics->SetClip(
      Gdiplus::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top),
      Gdiplus::CombineModeReplace);
  Draw(graphics);
  for (UiElement* child : children) child->Paint(graphics, &area);
  if (parent) graphics->ResetClip();
}

int UiElement::RaiseEvent(INT32 code, WPARAM wParam, LPARAM lParam) {
  if (NotifiesParent() != 1) return 0;
  ElementEvent event{static_cast<INT32>(wParam), static_cast<INT32>(lParam), code};
  return parent->OnNotify(&event, this);
}

int UiElement::OnMouseEnter(WPARAM wParam, LPARAM lParam) {
  PostMessageA(hwnd, WM_SETCURSOR, 0, 0);
  return RaiseEvent(MouseEntered, wParam, lParam);
}

int UiElement::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  return RaiseEvent(MouseMoved, wParam, lParam);
}

int UiElement::OnMouseHover(WPARAM wParam, LPARAM lParam) {
  return RaiseEvent(MouseHovered, wParam, lParam);
}

int UiElement::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
  PostMessageA(hwnd, WM_SETCURSOR, 0, 0);
  return RaiseEvent(MouseLeft, wParam, lParam);
}

int UiElement::OnLButtonDown(WPARAM w, LPARAM l) { return RaiseEvent(LeftButtonPressed, w, l); }
int UiElement::OnLButtonUp(WPARAM w, LPARAM l) { return RaiseEvent(LeftButtonReleased, w, l); }
int UiElement::OnLButtonDblClk(WPARAM w, LPARAM l) {
  return RaiseEvent(LeftButtonDoubleClicked, w, l);
}
int UiElement::OnRButtonDown(WPARAM w, LPARAM l) { return RaiseEvent(RightButtonPressed, w, l); }
int UiElement::OnRButtonUp(WPARAM w, LPARAM l) { return RaiseEvent(RightButtonReleased, w, l); }
int UiElement::OnRButtonDblClk(WPARAM w, LPARAM l) {
  return RaiseEvent(RightButtonDoubleClicked, w, l);
}
int UiElement::OnMButtonDown(WPARAM w, LPARAM l) { return RaiseEvent(MiddleButtonPressed, w, l); }
int UiElement::OnMButtonUp(WPARAM w, LPARAM l) { return RaiseEvent(MiddleButtonReleased, w, l); }
int UiElement::OnMButtonDblClk(WPARAM w, LPARAM l) {
  return RaiseEvent(MiddleButtonDoubleClicked, w, l);
}
int UiElement::OnMouseWheel(WPARAM w, LPARAM l) { return RaiseEvent(WheelTurned, w, l); }

int UiElement::OnSetCursor() {
  if (!cursor) return 0;
  ::SetCursor(cursor);
  return 1;
}

int UiElement::OnSetFocus() {
  SetFocus(hwnd);
  RaiseEvent(FocusGained, 0, 0);
  return 1;
}

int UiElement::OnKillFocus() { return RaiseEvent(FocusLost, 0, 0); }

int UiElement::OnNotify(const ElementEvent* event, UiElement* source) {
  if (NotifiesParent() != 1) return 0;
  return parent->OnNotify(event, source);
}

int UiElement::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (NotifiesParent() != 1) return 0;
  return parent->OnWindowMessage(msg, wParam, lParam, result);
}

void UiElement::SetSubtreeHwnd(HWND value) {
  hwnd = value;
  for (UiElement* child : children) child->SetSubtreeHwnd(value);
}
