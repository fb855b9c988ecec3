// The real system calls behind WindowServices, and the administrator and free-space queries.
#include "windows/WindowServices.h"

#include <shlobj.h>

#include <string>

#include "app/Text.h"

namespace {

UINT RealDriveType(const char* root) { return GetDriveTypeA(root); }

bool RealFreeBytes(const char* path, uint64_t* bytes) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA(path, &available, nullptr, nullptr)) return false;
  *bytes = available.QuadPart;
  return true;
}

bool RealChooseFolder(wchar_t* buffer, size_t capacity) {
  if (capacity < MAX_PATH) return false;  // both shell calls write up to MAX_PATH characters
  buffer[0] = L'\0';
  BROWSEINFOW info{};
  info.pszDisplayName = buffer;
  info.lpszTitle = L"从下面选择文件夹:";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return false;
  bool ok = SHGetPathFromIDListW(list, buffer) != FALSE;
  CoTaskMemFree(list);
  return ok;
}

void RealMessageBox(const wchar_t* text) {
  MessageBoxA(nullptr, ToAnsi(text).c_str(), nullptr, MB_OK);
}

}  // namespace

WindowServices DefaultServices() {
  return WindowServices{RealDriveType, RealFreeBytes, RealChooseFolder, RealMessageBox, false};
}

WindowServices& Services() {
  static WindowServices services = DefaultServices();
  return services;
}

bool HasAdminMembership() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS,
                                0, 0, 0, 0, 0, 0, &admins)) {
    return false;
  }
  BOOL member = FALSE;
  BOOL checked = CheckTokenMembership(nullptr, admins, &member);
  FreeSid(admins);
  return checked && member;
}

uint64_t FreeMegabytes(const wchar_t* path) {
  uint64_t bytes = 0;
  if (!Services().freeBytes(ToAnsi(path).c_str(), &bytes)) return 0;
  return bytes >> 20;
}
