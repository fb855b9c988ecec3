// Marker file for the lobby: the channel id in "IsLobbyLogin.dat" beside the installed lobby.
#include "windows/LobbyLoginMarker.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/Config.h"

namespace {

constexpr char MarkerFileName[] = "IsLobbyLogin.dat";
// The path label reads "安装路径：" and then the folder.
constexpr size_t PathLabelPrefixLength = 5;

}  // namespace

bool MakeLobbyLoginMarkerPath(const wchar_t* installDirectory,
                              char (&path)[LobbyLoginMarkerPathSize]) {
  path[0] = '\0';
  if (!installDirectory) return false;
  // A character the code page lacks would become '?' and name another (or no) folder.
  BOOL lossy = FALSE;
  int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, installDirectory, -1, path,
                                    static_cast<int>(sizeof(path)), nullptr, &lossy);
  if (written <= 0 || lossy) {  // the folder alone does not fit, or not in this code page
    path[0] = '\0';
    return false;
  }
  size_t used = static_cast<size_t>(written) - 1;
  if (used + sizeof(MarkerFileName) > sizeof(path)) {
    path[0] = '\0';
    return false;
  }
  std::memcpy(path + used, MarkerFileName, sizeof(MarkerFileName));
  return true;
}

bool WriteLobbyLoginMarkerIn(const wchar_t* installDirectory, int32_t channelId) {
  if (channelId <= 0) return false;
  char path[LobbyLoginMarkerPathSize];
  if (!MakeLobbyLoginMarkerPath(installDirectory, path)) return false;
  char number[16];
  std::snprintf(number, sizeof(number), "%d", static_cast<int>(channelId));
  return WritePrivateProfileStringA("ChannelID", "ChannelID", number, path) != FALSE;
}

bool WriteLobbyLoginMarker(const wchar_t* pathLabelText) {
  if (!pathLabelText || wcslen(pathLabelText) < PathLabelPrefixLength) return false;
  return WriteLobbyLoginMarkerIn(pathLabelText + PathLabelPrefixLength, ChannelId);
}
