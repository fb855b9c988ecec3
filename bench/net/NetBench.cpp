// Download benchmark driver: one transfer per run, timed inside the process.
//   NetBench download <host:port> <path> <file>   HttpDownloader::DownloadToFile
//   NetBench bare <host:port> <path> [file [stamp]] the same request, a bare 4096-byte
//       InternetReadFile loop; with a file it writes each block, with "stamp" it also sets
//       the last-write time after each block as DownloadToFile does.
// Prints "bytes=<n> seconds=<wall> cpu=<user+kernel of this process>".
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/HttpDownloader.h"

namespace {

// User plus kernel time of this process: steadier than wall time on a shared machine.
double CpuSeconds() {
  FILETIME creation, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Bare(const char* hostText, const char* path, const char* fileName, bool stamp) {
  std::string host = hostText;
  size_t colon = host.find(':');
  INTERNET_PORT port = static_cast<INTERNET_PORT>(atoi(host.c_str() + colon + 1));
  host.resize(colon);
  HINTERNET internet = InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  DWORD timeout = 5000;
  for (HINTERNET handle : {internet}) {
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  }
  HINTERNET connection =
      InternetConnectA(internet, host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  InternetSetOptionA(connection, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  if (fileName) DeleteFileA(fileName);  // as in Download: no truncation inside the timing
  double start = Now();
  double cpuStart = CpuSeconds();
  HINTERNET request =
      HttpOpenRequestA(connection, "GET", path, "HTTP/1.0", nullptr, nullptr,
                       INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT, 0);
  if (!request || !HttpSendRequestA(request, nullptr, 0, nullptr, 0)) return 1;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (fileName) {
    file =
        CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
  }
  SYSTEMTIME date = {2021, 3, 0, 4, 5, 6, 7, 0};
  FILETIME fileTime;
  SystemTimeToFileTime(&date, &fileTime);
  char buffer[4096];
  unsigned long long total = 0;
  DWORD got = 0;
  while (InternetReadFile(request, buffer, sizeof buffer, &got) && got > 0) {
    total += got;
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, buffer, got, &written, nullptr);
      if (stamp) SetFileTime(file, nullptr, nullptr, &fileTime);
    }
  }
  double seconds = Now() - start;
  double cpu = CpuSeconds() - cpuStart;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  printf("bytes=%llu seconds=%.4f cpu=%.4f\n", total, seconds, cpu);
  return 0;
}

int Download(const char* host, const char* path, const char* fileName) {
  HttpDownloader downloader;
  if (downloader.Connect(host, nullptr, nullptr, 0) != 1) return 1;
  DeleteFileA(fileName);
  double start = Now();
  double cpuStart = CpuSeconds();
  int result = downloader.DownloadToFile(path, fileName, 1);
  double seconds = Now() - start;
  double cpu = CpuSeconds() - cpuStart;
  if (result != 0) {
    fprintf(stderr, "DownloadToFile gave %d\n", result);
    return 1;
  }
  printf("bytes=%llu seconds=%.4f cpu=%.4f\n",
         static_cast<unsigned long long>(downloader.BytesReceived()), seconds, cpu);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && strcmp(argv[1], "download") == 0) return Download(argv[2], argv[3], argv[4]);
  if (argc >= 4 && strcmp(argv[1], "bare") == 0) {
    return Bare(argv[2], argv[3], argc >= 5 ? argv[4] : nullptr,
                argc >= 6 && strcmp(argv[5], "stamp") == 0);
  }
  fprintf(stderr, "usage: NetBench download|bare <host:port> <path> [file [stamp]]\n");
  return 2;
}
