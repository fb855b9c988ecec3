// ButtonElement: the four-look push button and its press, hover and click state machine.
#include "ui/ButtonElement.h"

namespace {

// IDC_HAND spelled for the A function whether or not UNICODE is defined.
const LPCSTR HandCursorName = MAKEINTRESOURCEA(32649);

}  // namespace

ButtonElement::ButtonElement(int x, int y, const wchar_t* imageName, UiElement* parentElement,
                             int commandId, const wchar_t* resourceType, HMODULE module)
    : UiElement(x, y, imageName, parentElement, commandId, nullptr, resourceType, module) {
  cursor = LoadCursorA(nullptr, HandCursorName);
  SetFrameGrid(4, 1);
  SetFrame(ButtonNormalLook, 0);
  SetNotifyParent(1, 1);
}

ButtonElement::~ButtonElement() = default;

void ButtonElement::SetVisible(int value) {
  if (value == visible) return;
  pressed = 0;
  hovered = 0;
  SetFrame(ButtonNormalLook, 0);
  UiElement::SetVisible(value);
}

void ButtonElement::SetEnabled(int value) {
  if (value == enabled) return;
  pressed = 0;
  hovered = 0;
  SetFrame(value == 1 ? ButtonNormalLook : ButtonDisabledLook, 0);
  UiElement::SetEnabled(value);
}

int ButtonElement::OnMouseEnter(WPARAM wParam, LPARAM lParam) {
  hovered = 1;
  // Back over the button with the mouse button still down: the pressed look again.
  SetFrame(pressed == 1 ? ButtonPressedLook : ButtonHoverLook, 0);
  return UiElement::OnMouseEnter(wParam, lParam);
}

int ButtonElement::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
  hovered = 0;
  SetFrame(ButtonNormalLook, 0);
  return UiElement::OnMouseLeave(wParam, lParam);
}

void ButtonElement::Press() {
  pressed = 1;
  SetFrame(ButtonPressedLook, 0);
}

int ButtonElement::Release(int baseResult, INT32 code, WPARAM wParam, LPARAM lParam) {
  // A release away from the button (after dragging off it) is no click.
  if (hovered != 1) return baseResult;
  SetFrame(ButtonHoverLook, 0);
  ElementEvent event{static_cast<INT32>(wParam), static_cast<INT32>(lParam), code};
  return UiElement::OnNotify(&event, this);
}

int ButtonElement::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  Press();
  return UiElement::OnLButtonDown(wParam, lParam);
}

int ButtonElement::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
  Press();
  return UiElement::OnLButtonDblClk(wParam, lParam);
}

int ButtonElement::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
  Press();
  return UiElement::OnRButtonDown(wParam, lParam);
}

int ButtonElement::OnRButtonDblClk(WPARAM wParam, LPARAM lParam) {
  Press();
  return UiElement::OnRButtonDblClk(wParam, lParam);
}

int ButtonElement::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
  pressed = 0;
  int result = UiElement::OnLButtonUp(wParam, lParam);
  return Release(result, ButtonClicked, wParam, lParam);
}

int ButtonElement::OnRButtonUp(WPARAM wParam, LPARAM lParam) {
  pressed = 0;
  int result = UiElement::OnRButtonUp(wParam, lParam);
  return Release(result, ButtonRightClicked, wParam, lParam);
}
