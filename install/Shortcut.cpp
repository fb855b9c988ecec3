// The desktop shortcut through the shell link object.
#include "install/Shortcut.h"

#include <windows.h>
// The COM and shell headers need the types windows.h declares.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app/Config.h"
#include "app/Text.h"
#include "install/InstallHost.h"
#include "install/LobbyLaunch.h"

namespace {

constexpr UINT SettingChangeTimeoutMs = 500;

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer) pointer->Release();
  }
  T* get() const { return pointer; }
  void** out() { return reinterpret_cast<void**>(&pointer); }

 private:
  T* pointer = nullptr;
};

class ComScope {
 public:
  ComScope() : result(CoInitialize(nullptr)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result)) CoUninitialize();
  }
  bool ok() const { return SUCCEEDED(result); }

 private:
  HRESULT result;
};

}  // namespace

std::wstring DesktopShortcutPath() {
  wchar_t desktop[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE) || !*desktop) {
    return std::wstring();
  }
  return std::wstring(desktop) + L"\\" + EditionInfo.displayName + L".lnk";
}

bool WriteLobbyShortcut(const std::wstring& linkPath, const std::wstring& installFolder) {
  if (linkPath.empty()) return false;
  ComScope com;
  if (!com.ok()) return false;
  ComRef<IShellLinkA> link;
  // A shell link object that cannot be made leaves nothing to set up.
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.out()))) {
    return false;
  }
  std::string lobby = ToAnsi(LobbyPath(installFolder).c_str());
  std::string folder = ToAnsi(installFolder.c_str());
  link.get()->SetPath(lobby.c_str());
  link.get()->SetWorkingDirectory(folder.c_str());
  link.get()->SetIconLocation(lobby.c_str(), 0);
  ComRef<IPersistFile> file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, file.out()))) return false;
  return SUCCEEDED(file.get()->Save(linkPath.c_str(), FALSE));
}

void CreateDesktopShortcut(InstallHost& host) {
  WriteLobbyShortcut(DesktopShortcutPath(), host.InstallFolder());
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_NORMAL, SettingChangeTimeoutMs,
                      nullptr);
  host.StartTimer(IconSearchTimerId, IconSearchTimerPeriodMs);
}
