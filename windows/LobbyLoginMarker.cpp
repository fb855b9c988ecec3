// Marker file for the lobby: the channel id in "IsLobbyLogin.dat" beside the installed lobby.
#include "windows/LobbyLoginMarker.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/Config.h"

namespace {

constexpr size_t MarkerPathSize = 1024;
constexpr char MarkerFileName[] = "IsLobbyLogin.dat";
// The path label reads "安装路径：" and then the folder.
constexpr size_t PathLabelPrefixLength = 5;

}  // namespace

bool WriteLobbyLoginMarkerIn(const wchar_t* installDirectory, int32_t channelId) {
  if (channelId <= 0 || !installDirectory) return false;
  char number[16];
  std::snprintf(number, sizeof(number), "%d", static_cast<int>(channelId));

  char path[MarkerPathSize];
  int written = WideCharToMultiByte(CP_ACP, 0, installDirectory, -1, path,
                                    static_cast<int>(sizeof(path)), nullptr, nullptr);
  if (written <= 0) return false;  // the folder alone does not fit (or cannot be converted)
  size_t used = static_cast<size_t>(written) - 1;
  if (used + sizeof(MarkerFileName) > sizeof(path)) return false;
  std::memcpy(path + used, MarkerFileName, sizeof(MarkerFileName));
  return WritePrivateProfileStringA("ChannelID", "ChannelID", number, path) != FALSE;
}

bool WriteLobbyLoginMarker(const wchar_t* pathLabelText) {
  if (!pathLabelText || wcslen(pathLabelText) < PathLabelPrefixLength) return false;
  return WriteLobbyLoginMarkerIn(pathLabelText + PathLabelPrefixLength, ChannelId);
}
