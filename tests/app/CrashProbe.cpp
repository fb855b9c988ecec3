// Installs the crash handler, then faults: the test looks for crash.dat beside this program.
#include <windows.h>

#include "app/CrashHandler.h"

int main() {
  if (!InstallCrashHandler()) return 3;
  volatile int* nowhere = nullptr;
  *nowhere = 1;
  return 0;
}
