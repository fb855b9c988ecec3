// GraphicsStartup: GDI+ for the whole process and the program folder as current folder.
#include "ui/GraphicsStartup.h"

#include <windows.h>
// GDI+ needs the Windows headers first.
#include <gdiplus.h>

namespace {
// Runs at load time so relative paths resolve against the program folder before main.
[[maybe_unused]] GraphicsStartup& startedAtLoad = GraphicsStartup::Instance();
}  // namespace

GraphicsStartup& GraphicsStartup::Instance() {
  static GraphicsStartup instance;
  return instance;
}

GraphicsStartup::GraphicsStartup() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  // A truncated path (length == MAX_PATH) is not a folder to move to.
  if (length == 0 || length >= MAX_PATH) return;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (!slash) return;
  *slash = L'\0';
  SetCurrentDirectoryW(path);
}

GraphicsStartup::~GraphicsStartup() {
  if (token) Gdiplus::GdiplusShutdown(token);
}
