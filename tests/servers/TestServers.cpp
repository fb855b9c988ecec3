// Test-side access to the host servers of Servers.cmake.
#include "tests/servers/TestServers.h"

#include <cstdint>
#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace test {

std::string ServerDir(const std::string& fixture) { return BinaryPath("servers/" + fixture); }

int ServerPort(const std::string& fixture, const char* which) {
  std::string text;
  if (!ReadWholeFile(ServerDir(fixture) + "\\" + which, text)) return 0;
  return atoi(text.c_str());
}

std::string ServerHost(const std::string& fixture, const char* which) {
  return "127.0.0.1:" + std::to_string(ServerPort(fixture, which));
}

bool WriteFaultScript(const std::string& fixture, const std::string& name,
                      const std::string& json) {
  std::string dir = ServerDir(fixture) + "\\scripts";
  CreateDirectoryA(dir.c_str(), nullptr);
  // Written aside and moved in place, so the server never reads half a script.
  std::string temporary = dir + "\\" + name + ".tmp";
  if (!WriteWholeFile(temporary, json)) return false;
  return MoveFileExA(temporary.c_str(), (dir + "\\" + name + ".json").c_str(),
                     MOVEFILE_REPLACE_EXISTING) != FALSE;
}

size_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<size_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string ReadFrom(const std::string& path, size_t offset) {
  std::string text;
  ReadWholeFile(path, text);
  return offset < text.size() ? text.substr(offset) : std::string();
}

int CountOf(const std::string& text, const std::string& needle) {
  int count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

std::string PatternBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

SYSTEMTIME LastWriteTime(const std::string& path) {
  SYSTEMTIME time = {};
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    FileTimeToSystemTime(&data.ftLastWriteTime, &time);
  }
  return time;
}

bool SetLastWriteTime(const std::string& path, const SYSTEMTIME& time) {
  FILETIME fileTime = {};
  if (!SystemTimeToFileTime(&time, &fileTime)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(file, nullptr, nullptr, &fileTime);
  CloseHandle(file);
  return ok != FALSE;
}

}  // namespace test
