// Finds an icon on the desktop by its caption: reads the shell's desktop list view, which
// lives in another process, through a block of memory allocated in that process.
#pragma once

#include <windows.h>

class DebugLog;

// The window names the desktop list view is looked for under. Tests point them at a
// stand-in shell; the program uses DefaultShellNames.
struct DesktopShellNames {
  const char* workerClass;   // top-level windows searched first, with the following ones
  const char* progmanClass;  // fallback window class and title
  const char* progmanTitle;
};
extern const DesktopShellNames DefaultShellNames;

// True only when IsWow64Process exists in kernel32 and reports this process as WOW64.
bool IsWow64();

// The desktop's "SysListView32" window, or null.
HWND FindDesktopListView(const DesktopShellNames& names = DefaultShellNames);

// The rectangle (list-view client coordinates) of the first item whose caption equals
// `caption` ignoring case, all zero when there is none; *listView receives the list view
// (null when none was found). Writes its support lines to `log` (which may be closed).
RECT LocateDesktopIcon(const char* caption, HWND* listView, DebugLog& log,
                       const DesktopShellNames& names = DefaultShellNames);
