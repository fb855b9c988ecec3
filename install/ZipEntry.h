// One item of an archive as the archive layer reports it.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int ZipNameCapacity = 260;  // bytes of ZipEntry::name, terminator included

struct ZipEntry {
  int32_t index = 0;                // for item -1: the number of items
  char name[ZipNameCapacity] = {};  // cleaned path inside the archive, ANSI
  DWORD attributes = 0;             // Win32 file attributes
  FILETIME accessTime = {};         // UTC
  FILETIME creationTime = {};       // UTC
  FILETIME modificationTime = {};   // UTC
  int32_t compressedSize = 0;       // saturated at INT32_MAX for larger items
  int32_t uncompressedSize = 0;     // saturated at INT32_MAX for larger items
};
