// Test helper: holds a file open without sharing, as a running program holds its exe, until
// told to let go. Usage: archive_holder <file> <ready event> <release event>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  if (!ready || !release) return 4;
  SetEvent(ready);
  // Bounded, so that a test that fails half-way never leaves the holder behind for long.
  DWORD waited = WaitForSingleObject(release, 30000);
  CloseHandle(file);
  return waited == WAIT_OBJECT_0 ? 0 : 5;
}
