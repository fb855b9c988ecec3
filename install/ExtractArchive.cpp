// The unpack loop the install worker runs over the downloaded archive.
#include "install/ExtractArchive.h"

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "install/ZipArchive.h"

int ExtractArchive(const char* archivePath, const char* password, const char* targetFolder) {
  if (!archivePath || !targetFolder) return BadArgumentResult;
  // Looked up without its closing separators: "file\" names the file, and the file system
  // would answer "not found" for it, hiding that the target is not a folder.
  std::string probe = targetFolder;
  while (probe.size() > 3 && (probe.back() == '\\' || probe.back() == '/')) probe.pop_back();
  DWORD attributes = GetFileAttributesA(probe.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    int created = SHCreateDirectoryExA(nullptr, targetFolder, nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS) {
      return TargetUnavailableResult;
    }
  } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return TargetNotFolderResult;
  }

  int result = BadArgumentResult;
  std::unique_ptr<ZipArchive> archive = ZipArchive::Open(archivePath, password);
  if (archive && archive->SetBaseFolder(targetFolder) == ArchiveSuccessResult) {
    ZipEntry entry;
    result = archive->GetItem(-1, &entry);
    int count = entry.index;
    for (int i = 0; i < count && result == ArchiveSuccessResult; ++i) {
      result = archive->GetItem(i, &entry);
      if (result != ArchiveSuccessResult) break;
      result = archive->UnpackItem(i, entry.name);
      // An empty item may report the inflater code without anything being lost. Only an
      // item whose unpacked size is 0 qualifies: one with stored data of size 0 but content
      // to produce is damaged and must not count as unpacked.
      if (result == InflateFailedResult && entry.uncompressedSize == 0) {
        result = ArchiveSuccessResult;
      }
    }
  }
  if (archive) archive->Close();
  return result;
}
