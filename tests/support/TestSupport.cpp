// Helpers shared by the test programs.
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <cstdlib>

namespace test {

namespace {

std::string FromEnvironment(const char* name, const std::string& relative) {
  const char* base = getenv(name);
  std::string path = base ? base : "";
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  if (!relative.empty()) path += "/" + relative;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

std::string ProgramDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\'));
}

std::string ScratchDir(const std::string& name) {
  std::string dir = ProgramDir() + "\\scratch";
  CreateDirectoryA(dir.c_str(), nullptr);
  dir += "\\" + name;
  RemoveTree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

std::string SourcePath(const std::string& relative) {
  return FromEnvironment("TEZ_SOURCE_DIR", relative);
}

std::string BinaryPath(const std::string& relative) {
  return FromEnvironment("TEZ_BINARY_DIR", relative);
}

int RunProcess(const std::string& commandLine, DWORD timeoutMs, const char* workingDir) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, workingDir,
                      &startup, &process)) {
    return -1;
  }
  CloseHandle(process.hThread);
  int result;
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 259);
    WaitForSingleObject(process.hProcess, 5000);
    result = -2;
  } else {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result = static_cast<int>(code);
  }
  CloseHandle(process.hProcess);
  return result;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char block[65536];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) out.append(block, got);
  CloseHandle(file);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == data.size();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
}

std::string FormatError(DWORD error) {
  char text[64];
  snprintf(text, sizeof text, "Win32 error %lu", static_cast<unsigned long>(error));
  return text;
}

}  // namespace test
