// The one-line diagnostic of an install that travels in the statistics report.
#pragma once

#include <windows.h>

#include <string>

// installFolder|result|attr:A|create:C|errid:E|size:S; the result is shown unsigned, the
// rest signed. lastError is the system's last error code read by the caller after unpacking.
std::wstring InstallResultText(const std::wstring& installFolder, int extractionResult,
                               DWORD rootAttributes, int rootCreationResult, DWORD lastError,
                               DWORD archiveSize);
