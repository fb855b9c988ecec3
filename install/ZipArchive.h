// The archive layer: reads a zip archive with minizip and unpacks its items below a base folder.
#pragma once

#include <minizip/unzip.h>

#include <cstdint>
#include <memory>
#include <string>

#include "install/ArchiveResult.h"
#include "install/ZipEntry.h"

class ZipArchive {
 public:
  // Null when the file cannot be opened or is not a readable zip archive. minizip is built
  // without decryption, so an encrypted item gives PasswordResult whatever the password.
  static std::unique_ptr<ZipArchive> Open(const char* path, const char* password);

  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Folder that unpacked items go below; a "\" is appended when missing.
  [[nodiscard]] int SetBaseFolder(const char* folder);
  // Index -1 fills only entry->index with the number of items; 0..count-1 the whole record.
  [[nodiscard]] int GetItem(int index, ZipEntry* entry);
  // Writes item index to the base folder joined with name. The name is cleaned again, so
  // that no caller-given name can leave the base folder either.
  [[nodiscard]] int UnpackItem(int index, const char* name);
  // Releases minizip's handle; later calls give NotOpenForReadingResult.
  int Close();

 private:
  explicit ZipArchive(unzFile opened);
  int GoToItem(int index);
  int ReadCurrentItem();
  int WriteCurrentItem(const std::string& path);

  unzFile file;
  int64_t count = 0;
  int current = -1;          // item minizip's cursor stands on; -1 when unknown
  bool currentRead = false;  // currentEntry and the values below describe item current
  ZipEntry currentEntry;
  unsigned long currentFlags = 0;
  uint64_t currentUncompressedSize = 0;
  std::string baseFolder;
  std::string lastFolder;  // folder of the last file item written; it exists
};
