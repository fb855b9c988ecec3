// Start-up and UI-thread figures of a window program, measured from outside it.
//   WindowBench startup <exe>         ms from CreateProcess to the first idle after painting
//   WindowBench cpu <exe> <seconds>   UI thread CPU while a download runs (sends activation)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Found {
  DWORD pid;
  HWND hwnd;
};

HWND VisibleWindowOf(DWORD pid) {
  Found found{pid, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM context) -> BOOL {
        auto* f = reinterpret_cast<Found*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == f->pid && IsWindowVisible(hwnd)) {
          f->hwnd = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.hwnd;
}

double Ms(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

uint64_t ThreadCpu100ns(HANDLE thread) {
  FILETIME c, e, k, u;
  if (!GetThreadTimes(thread, &c, &e, &k, &u)) return 0;
  auto v = [](FILETIME t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return v(k) + v(u);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::string mode = argv[1];
  std::string command = std::string("\"") + argv[2] + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return 3;
  }
  // Idle once the first messages, the first WM_PAINT among them, are handled.
  WaitForInputIdle(pi.hProcess, 60000);
  HWND window = nullptr;
  for (int i = 0; i < 3000 && !(window = VisibleWindowOf(pi.dwProcessId)); ++i) Sleep(5);
  QueryPerformanceCounter(&end);
  int rc = 0;
  if (!window) {
    rc = 4;
  } else if (mode == "startup") {
    std::printf("startup_ms=%.1f\n", Ms(start, end));
  } else if (mode == "cpu" && argc >= 4) {
    int seconds = std::atoi(argv[3]);
    DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    HANDLE ui = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId);
    PostMessageA(window, RegisterWindowMessageA("{88899063-CFEA-492b-93E3-51F14B34CE70}"), 0, 0);
    Sleep(1000);  // the download and its timers are running now
    uint64_t c0 = ThreadCpu100ns(ui);
    QueryPerformanceCounter(&start);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    uint64_t c1 = ThreadCpu100ns(ui);
    QueryPerformanceCounter(&end);
    double wall = Ms(start, end);
    std::printf("ui_cpu_ms=%.1f wall_ms=%.1f\n", (c1 - c0) / 10000.0, wall);
    CloseHandle(ui);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return rc;
}
