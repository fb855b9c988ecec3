// TrayIcon: Shell_NotifyIconA icon with restore, popup menu and taskbar re-creation.
#include "ui/TrayIcon.h"

#include <new>

#include "app/Config.h"

const UINT TrayCallbackMessage = RegisterWindowMessageA(TrayMessageName);
const UINT TaskbarCreatedMessage = RegisterWindowMessageA(TaskbarCreatedMessageName);

bool CopyTipBounded(char* dst, size_t capacity, const char* text) {
  if (!dst || capacity == 0) return false;
  size_t limit = capacity - 1;
  size_t used = 0;
  if (text) {
    while (text[used] != '\0') {
      size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[used])) ? 2 : 1;
      // A lead byte without its trail byte is not a character: stop before it.
      if (width == 2 && text[used + 1] == '\0') break;
      if (used + width > limit) break;
      used += width;
    }
  }
  memcpy(dst, text ? text : "", used);
  dst[used] = '\0';
  return !text || text[used] == '\0';
}

TrayIcon::~TrayIcon() { Destroy(); }

bool TrayIcon::Create(HWND newOwner, HICON icon, HMENU newMenu, const char* tip,
                      int newRemoveOnRestore, UINT newRestoreMessage, UINT newMenuMessage) {
  if (owner || iconData || subclass || !newOwner) return true;
  iconData.reset(new (std::nothrow) NOTIFYICONDATAA{});
  subclass.reset(new (std::nothrow) WindowSubclass);
  if (!iconData || !subclass || subclass->Attach(newOwner, &TrayProcedure, this) != 1) {
    iconData.reset();
    if (subclass) subclass->Detach();
    subclass.reset();
    return false;
  }
  NOTIFYICONDATAA& data = *iconData;
  data.cbSize = TrayIconDataSize;
  data.hWnd = newOwner;
  data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(newMenu));
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  data.uCallbackMessage = TrayCallbackMessage;
  data.hIcon = icon;
  if (tip) CopyTipBounded(data.szTip, sizeof data.szTip, tip);
  owner = newOwner;
  menu = newMenu;
  removeOnRestore = newRemoveOnRestore;
  restoreMessage = newRestoreMessage;
  menuMessage = newMenuMessage;
  return true;
}

BOOL TrayIcon::Add() {
  if (!iconData) return FALSE;
  BOOL added = Shell_NotifyIconA(NIM_ADD, iconData.get());
  if (added) shown = 1;
  return added;
}

BOOL TrayIcon::Remove() {
  if (!iconData) return FALSE;
  BOOL removed = Shell_NotifyIconA(NIM_DELETE, iconData.get());
  if (removed) shown = 0;
  return removed;
}

void TrayIcon::Destroy() {
  if (!owner) return;
  if (Shell_NotifyIconA(NIM_DELETE, iconData.get())) shown = 0;
  owner = nullptr;
  menu = nullptr;
  iconData.reset();
  subclass.reset();
}

LRESULT TrayIcon::TrayProcedure(void* context, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TrayIcon*>(context);
  // Every message of the owner passes here: two comparisons for all but the tray's own.
  if (message == TrayCallbackMessage) {
    self->OnTrayCallback(wParam, lParam);
  } else if (message == TaskbarCreatedMessage && self->shown == 1) {
    if (Shell_NotifyIconA(NIM_ADD, self->iconData.get())) self->shown = 1;
  }
  return self->subclass ? self->subclass->CallPrevious(message, wParam, lParam) : 0;
}

void TrayIcon::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
  if (!iconData || wParam != iconData->uID) return;
  UINT mouseMessage = static_cast<UINT>(lParam);
  if (mouseMessage == restoreMessage) {
    ShowWindow(owner, SW_SHOW);
    SetForegroundWindow(owner);
    if (removeOnRestore) Remove();
  } else if (mouseMessage == menuMessage) {
    POINT cursor{};
    GetCursorPos(&cursor);
    // The owner must be in front, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, owner, nullptr);
  }
}
