// ButtonElement: a push button drawn from one image holding its four looks side by side
// (normal, hover, pressed, disabled); reports completed clicks to its parent chain.
#pragma once

#include "ui/UiElement.h"

// Codes a button adds to ElementEvent; wParam and lParam are those of the button-up message.
enum ButtonEventCode : INT32 {
  ButtonClicked = -199,
  ButtonRightClicked = -198,
};

// Frame columns of a button image.
enum ButtonLook : int {
  ButtonNormalLook = 0,
  ButtonHoverLook = 1,
  ButtonPressedLook = 2,
  ButtonDisabledLook = 3,
};

class ButtonElement : public UiElement {
 public:
  // (x, y) relative to the parent; the button is one frame (a quarter of the image) wide.
  // `commandId` is what GetId returns. Notifies its parent from the start.
  ButtonElement(int x, int y, const wchar_t* imageName, UiElement* parentElement, int commandId,
                const wchar_t* resourceType, HMODULE module);
  ~ButtonElement() override;

  void SetVisible(int visible) override;
  void SetEnabled(int enabled) override;
  int OnMouseEnter(WPARAM wParam, LPARAM lParam) override;
  int OnMouseLeave(WPARAM wParam, LPARAM lParam) override;
  int OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  int OnLButtonUp(WPARAM wParam, LPARAM lParam) override;
  int OnLButtonDblClk(WPARAM wParam, LPARAM lParam) override;
  int OnRButtonDown(WPARAM wParam, LPARAM lParam) override;
  int OnRButtonUp(WPARAM wParam, LPARAM lParam) override;
  int OnRButtonDblClk(WPARAM wParam, LPARAM lParam) override;

  int IsPressed() const { return pressed; }
  int IsHovered() const { return hovered; }

 private:
  // Press look for every button-down and double-click.
  void Press();
  // After a release: the click look and `code` when the pointer is still over the button.
  int Release(int baseResult, INT32 code, WPARAM wParam, LPARAM lParam);

  int pressed = 0;  // a mouse button went down on the button and is not yet released
  int hovered = 0;  // the pointer is over the button
};
