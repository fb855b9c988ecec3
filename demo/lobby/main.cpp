// Stand-in for the installed lobby: writes lobby_record.txt beside itself (that it ran, its
// command line, the shared channel value in the registry and the channel id of the login
// marker in its folder) and exits.
#include <windows.h>

#include <string>

#include "app/Config.h"
#include "app/Text.h"

namespace {

constexpr char Missing[] = "(none)";

std::string SharedChannel() {
  std::string key = "SOFTWARE\\" + ToAnsi(EditionInfo.sharePath);
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) {
    return Missing;
  }
  char value[256] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  LONG result =
      RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS || type != REG_SZ) return Missing;
  return value;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string folder(self, length);
  folder.resize(folder.find_last_of('\\') + 1);

  char channel[64] = {};
  GetPrivateProfileStringA("ChannelID", "ChannelID", Missing, channel, sizeof channel,
                           (folder + "IsLobbyLogin.dat").c_str());

  std::string record = "ran\r\n";
  record += std::string("commandline=") + GetCommandLineA() + "\r\n";
  record += "shareid_30=" + SharedChannel() + "\r\n";
  record += std::string("channelid=") + channel + "\r\n";

  HANDLE file = CreateFileA((folder + "lobby_record.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size() ? 0 : 3;
}
