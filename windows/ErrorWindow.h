// ErrorWindow: the per-pixel-alpha notice box laid over the download window when the install
// worker gives up; its buttons hand the user's answer to the download window as messages.
#pragma once

#include <windows.h>

#include "ui/ButtonElement.h"
#include "ui/LayeredWindow.h"
#include "ui/TextElement.h"

// Command ids of the two buttons.
constexpr int ErrorOkCommandId = 1002;
constexpr int ErrorRetryCommandId = 1003;

// Failure kinds of ShowFailure; any other value means the lobby could not be started.
constexpr int DownloadFailureKind = 0;
constexpr int InstallFailureKind = 1;
constexpr int LobbyStartFailureKind = 2;

// The error window's elements, owned by the error window; the download window keeps these
// pointers and fills them.
struct ErrorWindowElements {
  UiElement* background = nullptr;  // the box image, also the drag region
  ButtonElement* okButton = nullptr;
  ButtonElement* retryButton = nullptr;
  TextElement* title = nullptr;
  TextElement* subtitle = nullptr;
  TextElement* reasons = nullptr;
};

// The texts of one failure kind.
struct FailureTexts {
  const wchar_t* title;
  const wchar_t* subtitle;
  const wchar_t* reasons;  // one text, lines separated by '\n'
  int retryShown;          // 1 = the download-again button is offered
};
FailureTexts GetFailureTexts(int kind);

class ErrorWindow : public LayeredWindow {
 public:
  // area: the download window's client rectangle; parentHandle: the download window, owner
  // of this window and target of the button messages. Built hidden, centred on the owner.
  ErrorWindow(const RECT* area, HWND parentHandle);
  ~ErrorWindow() override;

  int OnNotify(const ElementEvent* event, UiElement* source) override;
  // The box image drags the window, over the whole client rectangle.
  int IsDragRegion(RECT* out, UiElement* pressed) override;

  // Builds the box image, the two buttons and the three labels (empty, disabled) from the
  // "IMAGE" resources of `module` (null: the executable). Call once, on the UI thread.
  ErrorWindowElements CreateElements(HMODULE module = nullptr);

  HWND GetParentWindow() const { return parentWindow; }

 private:
  HWND parentWindow;
  UiElement* background = nullptr;
};

// The UI-thread half of ShowFailure: sets the kind's texts and the download-again button's
// visibility, then shows the error window. Called from another thread it posts itself to
// the error window's thread (LayeredWindow::PostTask) and returns at once.
void ShowFailureOn(ErrorWindow& window, const ErrorWindowElements& elements, int kind);
