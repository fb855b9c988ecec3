// Unhandled-exception filter that leaves a minidump, crash.dat, beside the executable.
#pragma once

#include <windows.h>

// Loads dbghelp and installs CrashFilter; false when dbghelp or MiniDumpWriteDump is missing.
bool InstallCrashHandler();

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exception);
