// Helpers shared by the test programs: scratch folders, child processes, files, paths.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// A fresh, empty folder below the test's working folder; removed and made again each call.
std::string ScratchDir(const std::string& name);

// Windows form (Z:\...) of a path on the build machine, from the TEZ_SOURCE_DIR and
// TEZ_BINARY_DIR variables that CTest passes.
std::string SourcePath(const std::string& relative);
std::string BinaryPath(const std::string& relative);
// Folder that holds the running test program.
std::string ProgramDir();

// Starts a command line and waits; returns its exit code, or -1 if it did not start,
// or -2 after killing it at the timeout.
int RunProcess(const std::string& commandLine, DWORD timeoutMs = 60000,
               const char* workingDir = nullptr);

bool ReadWholeFile(const std::string& path, std::string& out);
bool WriteWholeFile(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& path);

std::string FormatError(DWORD error);

}  // namespace test
