// Conversions between UTF-16 texts and the system's ANSI code page.
#pragma once

#include <string>

// Converts UTF-16 to the ANSI code page (CP_ACP), as the A functions expect it.
std::string ToAnsi(const wchar_t* text);
std::wstring FromAnsi(const char* text);
std::string ToUtf8(const wchar_t* text);

// Copies src into dst (capacity counted in elements) only if all of it fits; otherwise
// leaves dst empty and returns false. Never writes past dst.
bool CopyBounded(char* dst, size_t capacity, const char* src);
bool CopyBounded(wchar_t* dst, size_t capacity, const wchar_t* src);
