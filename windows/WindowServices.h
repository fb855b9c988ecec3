// System calls of the download window that tests replace: the D: drive check, the free-space
// query, the folder dialog, message boxes and how the window is first shown.
#pragma once

#include <windows.h>

#include <cstdint>

struct WindowServices {
  // GetDriveTypeA of a root such as "D:".
  UINT (*driveType)(const char* root);
  // Bytes free for the caller on the volume of `path` (ANSI); false when the query fails.
  bool (*freeBytes)(const char* path, uint64_t* bytes);
  // Fills `buffer` (capacity in characters) with the chosen folder; false when cancelled or
  // no file-system path was chosen.
  bool (*chooseFolder)(wchar_t* buffer, size_t capacity);
  // A modal notice without owner or caption.
  void (*messageBox)(const wchar_t* text);
  // True: the window is first shown without activation (tests under a display without a
  // window manager).
  bool showWithoutActivation;
};

// The services in use; tests assign members, the program keeps the defaults.
WindowServices& Services();
// The real services.
WindowServices DefaultServices();

// True when the calling thread's token is a member of the built-in Administrators group;
// false also when the membership cannot be checked.
bool HasAdminMembership();
// Megabytes (2^20 bytes) free for the caller on the volume of `path`; 0 when the query
// fails.
uint64_t FreeMegabytes(const wchar_t* path);
