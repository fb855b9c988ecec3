// Reading the string-table configuration and storing the channel id of the file name.
#pragma once

#include <windows.h>

// Shows one configuration error. The program uses a modal MessageBoxA; tests replace it.
using ConfigurationReporter = void (*)(const wchar_t* text);
void SetConfigurationReporter(ConfigurationReporter reporter);  // null restores the message box

// Reads entries 20001..20004 of `module` (null: the executable) into ChannelId,
// OfficialFlag, DownloadHost, DownloadPath and BannerUrl.
void LoadConfiguration(HINSTANCE module = nullptr);

// Digits candidate of the executable's file name, inside a process-wide copy of its
// path, or null. A path that does not fit the 260-byte buffer gives null.
char* ChannelIdFromFileName();
// The same rule applied in place to a path the caller owns (buffer changed in place).
char* ChannelIdFromPath(char* path);

bool IsAllDigits(const char* text);

// Writes the digits as the default value of HKCU\SOFTWARE\<share path>; no result.
void StoreShareChannel(const char* digits);
