// The installed lobby's path and the worker's direct start of an already installed lobby.
#pragma once

#include <string>

// The install folder joined with "lobby.exe" by exactly one "\".
std::wstring LobbyPath(const std::wstring& installFolder);

// Starts lobby.exe of the install folder with the verb "open" and ends the process at once
// with exit code 0, whatever the start gave. Returns only when no lobby.exe file is there.
void LaunchInstalledLobby(const wchar_t* installFolder);
