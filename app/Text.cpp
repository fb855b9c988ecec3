// Text conversions and bounded copies.
#include "app/Text.h"

#include <windows.h>

#include <cwchar>
#include <cstring>

namespace {

std::string Narrow(UINT codePage, const wchar_t* text) {
  if (!text || !*text) return std::string();
  int bytes = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text, -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes - 1));
  return out;
}

}  // namespace

std::string ToAnsi(const wchar_t* text) { return Narrow(CP_ACP, text); }

std::string ToUtf8(const wchar_t* text) { return Narrow(CP_UTF8, text); }

std::wstring FromAnsi(const char* text) {
  if (!text || !*text) return std::wstring();
  int chars = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (chars <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], chars);
  out.resize(static_cast<size_t>(chars - 1));
  return out;
}

bool CopyBounded(char* dst, size_t capacity, const char* src) {
  if (!dst || capacity == 0) return false;
  size_t length = src ? strnlen(src, capacity) : 0;
  if (length >= capacity) {
    dst[0] = '\0';
    return false;
  }
  memcpy(dst, src ? src : "", length);
  dst[length] = '\0';
  return true;
}

bool CopyBounded(wchar_t* dst, size_t capacity, const wchar_t* src) {
  if (!dst || capacity == 0) return false;
  size_t length = src ? wcsnlen(src, capacity) : 0;
  if (length >= capacity) {
    dst[0] = L'\0';
    return false;
  }
  wmemcpy(dst, src ? src : L"", length);
  dst[length] = L'\0';
  return true;
}
