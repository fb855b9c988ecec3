// Benchmark driver: unpacks one archive with ExtractArchive and prints its time and memory.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>

#include "install/ExtractArchive.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: ExtractBench <archive> <target folder>\n");
    return 2;
  }
  PROCESS_MEMORY_COUNTERS before = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int result = ExtractArchive(argv[1], nullptr, argv[2]);
  QueryPerformanceCounter(&end);
  PROCESS_MEMORY_COUNTERS after = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  printf("result=%d seconds=%.3f peak_ws_kib=%llu start_ws_kib=%llu peak_private_kib=%llu\n",
         result, static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
         static_cast<unsigned long long>(after.PeakWorkingSetSize / 1024),
         static_cast<unsigned long long>(before.WorkingSetSize / 1024),
         static_cast<unsigned long long>(after.PeakPagefileUsage / 1024));
  return result == 0 ? 0 : 1;
}
