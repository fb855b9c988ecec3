// Test driver: downloads one object into a file in the current folder, retrying failed
// attempts like the install worker, so a test can kill it and start it again.
//   net_download_driver <host[:port]> <object path> <file name>
#include <cstdio>

#include "net/HttpDownloader.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: net_download_driver <host[:port]> <object path> <file name>\n");
    return 2;
  }
  HttpDownloader downloader;
  if (downloader.Connect(argv[1], nullptr, nullptr, 0) != 1) return 3;
  for (int attempt = 0; attempt < 20; ++attempt) {
    int result = downloader.DownloadToFile(argv[2], argv[3], 1);
    printf("attempt %d: %d\n", attempt, result);
    if (result >= 0) return 0;
  }
  return 1;
}
