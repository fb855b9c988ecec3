// Start-up reference: the barest popup window of the download window's size, shown and
// painted once, then a message loop; closes itself after the first paint plus a moment.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    SetTimer(hwnd, 1, 3000, nullptr);
    return 0;
  }
  if (msg == WM_TIMER) PostQuitMessage(0);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = "BareWindow";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "BareWindow", "bare window", WS_POPUP | WS_VISIBLE, 340, 337, 600,
                              350, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
