// The marker file that tells the lobby the channel id: "IsLobbyLogin.dat" in the install
// folder, an INI file with [ChannelID] ChannelID=<id>.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t LobbyLoginMarkerPathSize = 1024;

// The ANSI path of the marker file in installDirectory (which ends in "\"); false, with
// path emptied, when it does not fit in the buffer or holds a character the ANSI code page
// lacks.
bool MakeLobbyLoginMarkerPath(const wchar_t* installDirectory,
                              char (&path)[LobbyLoginMarkerPathSize]);

// installDirectory ends in "\". Writes nothing and returns false when channelId is 0 or
// negative or when the ANSI path does not fit in 1024 bytes; otherwise the result of the
// profile write (false when the folder does not exist yet).
bool WriteLobbyLoginMarkerIn(const wchar_t* installDirectory, int32_t channelId);

// The download window's form: pathLabelText is the path label's whole text, the install
// folder after its five-character prefix "安装路径："; the id is ChannelId.
bool WriteLobbyLoginMarker(const wchar_t* pathLabelText);
