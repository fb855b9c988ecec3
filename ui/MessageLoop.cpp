// RunMessageLoop: GetMessage, pre-translation walk, translate and dispatch.
#include "ui/MessageLoop.h"

#include "ui/LayeredWindow.h"
#include "ui/WindowRegistry.h"

void RunMessageLoop() {
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) == 1) {
    bool consumed = false;
    for (HWND h = msg.hwnd; h; h = GetParent(h)) {
      LayeredWindow* window = WindowRegistry::Find(h);
      if (window && window->PreTranslateMessage(&msg) == 1) {
        consumed = true;
        break;
      }
    }
    if (!consumed) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  PostQuitMessage(static_cast<int>(msg.wParam));
}
