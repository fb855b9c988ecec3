// TrayIcon: a notification-area icon for a hidden window: restores it on a click, opens a
// popup menu, and comes back after the taskbar has been re-created.
#pragma once

// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include <memory>

#include "ui/WindowSubclass.h"

// Registered once per process, from the names in app/Config.h.
extern const UINT TrayCallbackMessage;
extern const UINT TaskbarCreatedMessage;

// Bytes of NOTIFYICONDATAA the shell is told about: the layout with the 128-byte tip, state,
// balloon texts, timeout and balloon flags, without the GUID and balloon icon. That is 488
// bytes on 32-bit builds; pointer-sized members make it 504 on 64-bit builds.
constexpr DWORD TrayIconDataSize = NOTIFYICONDATAA_V2_SIZE;
#if !defined(_WIN64)
static_assert(TrayIconDataSize == 488, "32-bit icon data layout");
#endif

// Copies an ANSI text (system code page) into a field of `capacity` bytes: at most
// capacity - 1 bytes and a terminating zero, never splitting a double-byte character. Returns
// false when the text was cut. A null text leaves an empty field.
bool CopyTipBounded(char* dst, size_t capacity, const char* text);

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  virtual ~TrayIcon();

  // Prepares the icon data and takes over the owner's window procedure; shows nothing.
  // The icon's id is the menu, so a callback's wParam names the menu to open. True also when
  // already prepared or when owner is null (nothing done); false when the takeover failed.
  bool Create(HWND owner, HICON icon, HMENU menu, const char* tip, int removeOnRestore,
              UINT restoreMessage, UINT menuMessage);
  // The shell's answers; `shown` follows only successful calls.
  BOOL Add();
  BOOL Remove();
  // Deletes the icon and gives the owner its previous window procedure back.
  void Destroy();

  int IsShown() const { return shown; }
  HWND GetOwner() const { return owner; }
  // Null before Create and after Destroy.
  const NOTIFYICONDATAA* GetIconData() const { return iconData.get(); }

 private:
  static LRESULT TrayProcedure(void* context, UINT message, WPARAM wParam, LPARAM lParam);
  void OnTrayCallback(WPARAM wParam, LPARAM lParam);

  std::unique_ptr<NOTIFYICONDATAA> iconData;
  UINT restoreMessage = 0;
  UINT menuMessage = 0;
  HWND owner = nullptr;
  std::unique_ptr<WindowSubclass> subclass;
  int removeOnRestore = 0;
  int shown = 0;
  // Kept beside uID: a 64-bit handle does not round-trip through the 32-bit id field.
  HMENU menu = nullptr;
};
