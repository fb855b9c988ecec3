// The welcome bubble shown beside the new desktop icon, and the two timer steps and the
// message step around it that the download window runs.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/LayeredWindow.h"
#include "ui/TextElement.h"

class DebugLog;
struct DesktopShellNames;

// A layered pop-up the size of its image, with one label.
class WelcomeBubble : public LayeredWindow {
 public:
  // (x, y) in screen coordinates; owner: the desktop list view. Built hidden.
  WelcomeBubble(int x, int y, HWND owner, HMODULE module = nullptr);
  ~WelcomeBubble() override;
  TextElement* GetLabel() const { return label; }

 private:
  TextElement* label = nullptr;
};

// Asks the shell to show the desktop (IShellDispatch4::ToggleDesktop); quiet when the shell
// object is not available.
void ToggleDesktop();

// The icon-search timer, ShowBubbleMessage and the bubble timer of the download window.
// All on the UI thread.
class DesktopIconTip {
 public:
  // IconSearchTimerId: stops the timer, looks for the edition's icon (`caption`, ANSI; null:
  // the edition's display name) and, when found, sends ShowBubbleMessage to `window` with
  // the list view and the icon's rectangle.
  void OnIconSearchTimer(LayeredWindow& window, DebugLog& log, const char* caption = nullptr,
                         const DesktopShellNames* names = nullptr);
  // ShowBubbleMessage (wParam: list view, lParam: RECT* in its client coordinates): shows a
  // new bubble at the icon's right edge, 5 pixels below its top, then shows the desktop.
  // The previous bubble, if any, is destroyed.
  void OnShowBubble(WPARAM wParam, LPARAM lParam, HMODULE module = nullptr);
  // BubbleTimerId: stops the timer and hides the bubble, if one was shown.
  void OnBubbleTimer(LayeredWindow& window);

  WelcomeBubble* GetBubble() const { return bubble.get(); }
  // Tests leave the real desktop alone.
  void SetToggleDesktop(bool enabled) { toggleDesktop = enabled; }

 private:
  std::unique_ptr<WelcomeBubble> bubble;
  bool toggleDesktop = true;
};
