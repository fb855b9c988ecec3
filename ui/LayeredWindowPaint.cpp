// LayeredWindow painting: the window's SetBounds (which makes the canvas) and WM_PAINT,
// WM_PRINT and WM_PRINTCLIENT on the per-pixel-alpha and the update-rectangle paths.
#include <cstring>

#include "ui/LayeredWindow.h"

namespace {

// A layered window without layered attributes is drawn per pixel with UpdateLayeredWindow.
bool IsPerPixelAlpha(HWND hwnd) {
  if (!(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) return false;
  COLORREF key;
  BYTE alpha;
  DWORD flags;
  return !GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags);
}

// GDI+ may hold drawing back; the canvas pixels must be final before GDI copies them.
void Finish(Gdiplus::Graphics& graphics) {
  graphics.Flush(Gdiplus::FlushIntentionSync);
  GdiFlush();
}

}  // namespace

RECT LayeredWindow::SetBounds(const RECT* newBounds, int newStretch) {
  if (!newBounds) return UiElement::SetBounds(nullptr, newStretch);
  int width = newBounds->right - newBounds->left;
  int height = newBounds->bottom - newBounds->top;
  if (hwnd) MoveWindow(hwnd, newBounds->left, newBounds->top, width, height, FALSE);
  canvas = Canvas::Create(width, height);
  RECT client{0, 0, width, height};
  return UiElement::SetBounds(&client, newStretch);
}

void LayeredWindow::PaintMessage(UINT msg, WPARAM wParam) {
  if (!hwnd || !canvas.Dc()) return;
  HDC target = reinterpret_cast<HDC>(wParam);
  if (IsPerPixelAlpha(hwnd)) {
    RECT client;
    GetClientRect(hwnd, &client);
    int width = 0;
    int height = 0;
    if (void* bits = canvas.Bits(&width, &height)) {
      std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    }
    Gdiplus::Graphics graphics(canvas.Dc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Paint(&graphics, &client);
    Finish(graphics);
    if (msg == WM_PAINT) {
      RECT w;
      GetWindowRect(hwnd, &w);
      POINT position{w.left, w.top};
      SIZE size{w.right - w.left, w.bottom - w.top};
      POINT origin{0, 0};
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      HDC screen = GetDC(hwnd);
      UpdateLayeredWindow(hwnd, screen, &position, &size, canvas.Dc(), &origin, 0, &blend,
                          ULW_ALPHA);
      ReleaseDC(hwnd, screen);
    } else if (target) {
      BitBlt(target, 0, 0, client.right, client.bottom, canvas.Dc(), 0, 0, SRCCOPY);
    }
    return;
  }

  if (msg == WM_PAINT) {
    RECT update;
    if (!GetUpdateRect(hwnd, &update, FALSE)) return;
    HDC screen = GetDC(hwnd);
    Gdiplus::Graphics graphics(canvas.Dc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Paint(&graphics, &update);
    Finish(graphics);
    BitBlt(screen, update.left, update.top, update.right - update.left, update.bottom - update.top,
           canvas.Dc(), update.left, update.top, SRCCOPY);
    ReleaseDC(hwnd, screen);
    return;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  Gdiplus::Graphics graphics(canvas.Dc());
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Paint(&graphics, &client);
  Finish(graphics);
  if (target) BitBlt(target, 0, 0, client.right, client.bottom, canvas.Dc(), 0, 0, SRCCOPY);
}
