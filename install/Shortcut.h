// The desktop shortcut to the installed lobby, written after a successful unpack.
#pragma once

#include <string>

class InstallHost;

// <desktop folder>\<display name>.lnk; empty when the desktop folder cannot be found.
std::wstring DesktopShortcutPath();

// Writes a shell link at linkPath to lobby.exe of the install folder: target and icon
// (index 0) the lobby, working folder the install folder. Replaces an existing link.
// Returns true when the link was saved. COM is initialised for the call on this thread.
bool WriteLobbyShortcut(const std::wstring& linkPath, const std::wstring& installFolder);

// The desktop shortcut, then the settings-change broadcast and the icon-search timer, which
// both happen whether or not the link could be written.
void CreateDesktopShortcut(InstallHost& host);
