// The installed lobby's path and its direct start.
#include "install/LobbyLaunch.h"

#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include "app/Text.h"

std::wstring LobbyPath(const std::wstring& installFolder) {
  std::wstring path = installFolder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + L"lobby.exe";
}

void LaunchInstalledLobby(const wchar_t* installFolder) {
  std::string path = ToAnsi(LobbyPath(installFolder ? installFolder : L"").c_str());
  DWORD attributes = GetFileAttributesA(path.c_str());
  // A folder named lobby.exe is no lobby: the worker goes on with its failure ending.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  TerminateProcess(GetCurrentProcess(), 0);
}
