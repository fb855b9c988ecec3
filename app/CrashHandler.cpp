// Minidump writer for unhandled exceptions. dbghelp is loaded at run time so a system
// without it still starts.
#include "app/CrashHandler.h"

#include <dbghelp.h>

#include <cstring>

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

MiniDumpWriteDumpFn writeDump = nullptr;

}  // namespace

bool InstallCrashHandler() {
  HMODULE dbghelp = LoadLibraryA("dbghelp");
  if (!dbghelp) return false;
  writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
      reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
  if (!writeDump) return false;
  SetUnhandledExceptionFilter(CrashFilter);
  return true;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exception) {
  // Runs on the faulting thread with the heap possibly broken: stack buffers only.
  char path[261];
  memset(path, 0, sizeof path);
  DWORD length = GetModuleFileNameA(nullptr, path, 260);
  if (length == 0 || length >= 260) return EXCEPTION_CONTINUE_SEARCH;
  char* slash = strrchr(path, '\\');
  if (slash) *slash = '\0';
  static const char name[] = "\\crash.dat";
  if (strlen(path) + sizeof name > sizeof path) return EXCEPTION_CONTINUE_SEARCH;
  strcat(path, name);

  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return EXCEPTION_CONTINUE_SEARCH;
  MINIDUMP_EXCEPTION_INFORMATION info;
  info.ThreadId = GetCurrentThreadId();
  info.ExceptionPointers = exception;
  info.ClientPointers = TRUE;
  writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &info, nullptr,
            nullptr);
  CloseHandle(file);
  return EXCEPTION_CONTINUE_SEARCH;
}
