// The archive layer on minizip: item records, name cleaning, output paths and result codes.
#include "install/ZipArchive.h"

#include <minizip/iowin32.h>
#include <windows.h>

#include <climits>
#include <vector>

#include "app/Handle.h"
#include "app/Text.h"
#include "install/ZipItemName.h"

namespace {

constexpr DWORD WriteBlockSize = 16384;
constexpr unsigned long EncryptedFlag = 0x1;
constexpr unsigned long Utf8NameFlag = 0x800;
constexpr DWORD DosAttributeMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                   FILE_ATTRIBUTE_ARCHIVE;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int32_t Saturate(ZPOS64_T size) {
  return size > static_cast<ZPOS64_T>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(size);
}

int FromMinizip(int error) {
  if (error == UNZ_OK) return ArchiveSuccessResult;
  if (error == UNZ_ERRNO || error == UNZ_INTERNALERROR) return ArchiveReadFailedResult;
  return CorruptHeaderResult;
}

// Hosts whose archives carry MS-DOS attribute bits: FAT, HPFS, NTFS, VFAT.
bool HasDosAttributes(int host) { return host == 0 || host == 6 || host == 11 || host == 14; }

DWORD ItemAttributes(const unz_file_info64& info, const std::string& name) {
  DWORD attributes;
  if (HasDosAttributes(static_cast<int>(info.version >> 8))) {
    attributes = static_cast<DWORD>(info.external_fa) & DosAttributeMask;
  } else {
    unsigned long mode = info.external_fa >> 16;
    attributes = 0;
    // A mode of 0 records no permissions at all; it does not mean "not writable".
    if (mode != 0 && !(mode & 0200)) attributes |= FILE_ATTRIBUTE_READONLY;
    if ((mode & 0170000) == 0040000) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  }
  // Every zip tool marks a folder item by its closing separator, not all of them by bits.
  if (!name.empty() && IsSeparator(name.back())) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  return attributes;
}

FILETIME FromUnixSeconds(int32_t seconds) {
  ULONGLONG ticks = (static_cast<LONGLONG>(seconds) + 11644473600LL) * 10000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

// The extended-timestamp field ("UT", 0x5455): a flags byte, then the modification, access
// and creation times its flags announce, as signed 32-bit Unix seconds.
void ApplyExtendedTimestamp(const std::vector<unsigned char>& extra, ZipEntry* entry) {
  size_t at = 0;
  while (at + 4 <= extra.size()) {
    unsigned id = extra[at] | (extra[at + 1] << 8);
    size_t size = extra[at + 2] | (extra[at + 3] << 8);
    size_t data = at + 4;
    if (data + size > extra.size()) return;
    if (id == 0x5455 && size >= 1) {
      unsigned flags = extra[data];
      size_t field = data + 1;
      FILETIME* targets[] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (field + 4 > data + size) break;
        uint32_t value = extra[field] | (extra[field + 1] << 8) | (extra[field + 2] << 16) |
                         (static_cast<uint32_t>(extra[field + 3]) << 24);
        *targets[bit] = FromUnixSeconds(static_cast<int32_t>(value));
        field += 4;
      }
    }
    at = data + size;
  }
}

// Names flagged as UTF-8 are turned into the system's ANSI code page; a name that the code
// page cannot hold would come out with "?" in it, so it is refused.
bool NameToAnsi(const std::string& raw, bool utf8, std::string* ansi) {
  if (!utf8) {
    *ansi = raw;
    return true;
  }
  ansi->clear();
  if (raw.empty()) return true;
  int chars = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(),
                                  static_cast<int>(raw.size()), nullptr, 0);
  if (chars <= 0) return false;
  std::wstring wide(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()),
                      &wide[0], chars);
  BOOL lossy = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), chars, nullptr, 0, nullptr, &lossy);
  if (bytes <= 0 || lossy) return false;
  ansi->assign(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), chars, &(*ansi)[0], bytes, nullptr, &lossy);
  return !lossy;
}

// The part of path before its last separator (a trail byte is never taken for one).
std::string FolderOf(const std::string& path) {
  size_t last = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (IsSeparator(path[i])) {
      last = i;
    }
  }
  return path.substr(0, last);
}

// Creates every missing folder of path up to its last separator (or all of it when whole),
// one level at a time.
void CreateFolders(const std::string& path, bool whole) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (IsSeparator(path[i]) && i > 0 && path[i - 1] != ':' && !IsSeparator(path[i - 1])) {
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
  }
  if (whole && !path.empty() && !IsSeparator(path.back())) {
    CreateDirectoryA(path.c_str(), nullptr);
  }
}

// Closes minizip's current item on every way out; remembers its answer.
class CurrentItem {
 public:
  explicit CurrentItem(unzFile opened) : file(opened) {}
  CurrentItem(const CurrentItem&) = delete;
  CurrentItem& operator=(const CurrentItem&) = delete;
  ~CurrentItem() { Close(); }
  int Close() {
    if (!file) return UNZ_OK;
    int result = unzCloseCurrentFile(file);
    file = nullptr;
    return result;
  }

 private:
  unzFile file;
};

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::Open(const char* path, const char* password) {
  (void)password;
  if (!path) return nullptr;
  zlib_filefunc64_def functions;
  fill_win32_filefunc64A(&functions);
  unzFile opened = unzOpen2_64(path, &functions);
  if (!opened) return nullptr;
  unz_global_info64 global;
  if (unzGetGlobalInfo64(opened, &global) != UNZ_OK) {
    unzClose(opened);
    return nullptr;
  }
  std::unique_ptr<ZipArchive> archive(new ZipArchive(opened));
  archive->count = static_cast<int64_t>(global.number_entry);
  return archive;
}

ZipArchive::ZipArchive(unzFile opened) : file(opened) {}

ZipArchive::~ZipArchive() { Close(); }

int ZipArchive::Close() {
  if (!file) return NotOpenForReadingResult;
  int result = unzClose(file);
  file = nullptr;
  return result == UNZ_OK ? ArchiveSuccessResult : ArchiveReadFailedResult;
}

int ZipArchive::SetBaseFolder(const char* folder) {
  if (!file) return NotOpenForReadingResult;
  if (!folder || !*folder) return BadArgumentResult;
  std::string base = folder;
  if (!IsSeparator(base.back())) base += '\\';
  if (base.size() >= MAX_PATH) return BadArgumentResult;
  baseFolder = base;
  lastFolder.clear();
  return ArchiveSuccessResult;
}

int ZipArchive::GoToItem(int index) {
  if (index == current) return ArchiveSuccessResult;
  int error;
  if (current >= 0 && index == current + 1) {
    error = unzGoToNextFile(file);
  } else {
    error = unzGoToFirstFile(file);
    for (int i = 0; i < index && error == UNZ_OK; ++i) error = unzGoToNextFile(file);
  }
  currentRead = false;
  if (error != UNZ_OK) {
    current = -1;
    return FromMinizip(error);
  }
  current = index;
  return ArchiveSuccessResult;
}

int ZipArchive::ReadCurrentItem() {
  if (currentRead) return ArchiveSuccessResult;
  unz_file_info64 info;
  int error = unzGetCurrentFileInfo64(file, &info, nullptr, 0, nullptr, 0, nullptr, 0);
  if (error != UNZ_OK) return FromMinizip(error);
  std::string raw(info.size_filename, '\0');
  std::vector<unsigned char> extra(info.size_file_extra);
  error = unzGetCurrentFileInfo64(file, &info, raw.empty() ? nullptr : &raw[0], raw.size(),
                                  extra.empty() ? nullptr : extra.data(), extra.size(), nullptr, 0);
  if (error != UNZ_OK) return FromMinizip(error);
  // A zero byte inside the name would silently cut it: the archive is damaged.
  if (raw.find('\0') != std::string::npos) return CorruptHeaderResult;

  std::string ansi;
  std::string cleaned;
  if (!NameToAnsi(raw, (info.flag & Utf8NameFlag) != 0, &ansi)) return CorruptHeaderResult;
  if (!CleanItemName(ansi, &cleaned)) return CorruptHeaderResult;

  ZipEntry entry;
  // Names that do not fit the record are refused rather than cut to another name.
  if (!CopyBounded(entry.name, sizeof entry.name, cleaned.c_str())) return CorruptHeaderResult;
  entry.index = current;
  entry.attributes = ItemAttributes(info, cleaned);
  FILETIME local;
  FILETIME utc;
  if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &local) &&
      LocalFileTimeToFileTime(&local, &utc)) {
    entry.accessTime = entry.creationTime = entry.modificationTime = utc;
  }
  ApplyExtendedTimestamp(extra, &entry);
  entry.compressedSize = Saturate(info.compressed_size);
  entry.uncompressedSize = Saturate(info.uncompressed_size);

  currentEntry = entry;
  currentFlags = info.flag;
  currentUncompressedSize = info.uncompressed_size;
  currentRead = true;
  return ArchiveSuccessResult;
}

int ZipArchive::GetItem(int index, ZipEntry* entry) {
  if (!file) return NotOpenForReadingResult;
  if (!entry || index < -1 || index >= count) return BadArgumentResult;
  if (index == -1) {
    *entry = ZipEntry();
    if (count > INT32_MAX) return CorruptHeaderResult;
    entry->index = static_cast<int32_t>(count);
    return ArchiveSuccessResult;
  }
  int result = GoToItem(index);
  if (result == ArchiveSuccessResult) result = ReadCurrentItem();
  if (result != ArchiveSuccessResult) return result;
  *entry = currentEntry;
  return ArchiveSuccessResult;
}

int ZipArchive::UnpackItem(int index, const char* name) {
  if (!file) return NotOpenForReadingResult;
  if (!name || index < 0 || index >= count || baseFolder.empty()) return BadArgumentResult;
  int result = GoToItem(index);
  if (result == ArchiveSuccessResult) result = ReadCurrentItem();
  if (result != ArchiveSuccessResult) return result;

  std::string cleaned;
  if (!CleanItemName(name, &cleaned)) return OutputCreateFailedResult;
  std::string path = baseFolder + cleaned;
  // The ANSI file functions take at most MAX_PATH - 1 characters; a longer path is never cut.
  if (path.size() >= MAX_PATH) return OutputCreateFailedResult;

  bool folder = (currentEntry.attributes & FILE_ATTRIBUTE_DIRECTORY) || cleaned.empty() ||
                IsSeparator(cleaned.back());
  if (folder) {
    CreateFolders(path, true);
    DWORD attributes = GetFileAttributesA(path.c_str());
    bool made = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return made ? ArchiveSuccessResult : OutputCreateFailedResult;
  }
  // Items of one folder usually follow each other; under Wine every folder probe is a
  // server round trip, so the folders are made only when the item's folder changes.
  std::string itemFolder = FolderOf(path);
  if (itemFolder != lastFolder) {
    CreateFolders(path, false);
    lastFolder = itemFolder;
  }
  return WriteCurrentItem(path);
}

int ZipArchive::WriteCurrentItem(const std::string& path) {
  if (currentFlags & EncryptedFlag) return PasswordResult;
  int error = unzOpenCurrentFile(file);
  if (error != UNZ_OK) {
    if (error == UNZ_BADZIPFILE || error == UNZ_PARAMERROR) return CorruptHeaderResult;
    if (error == UNZ_ERRNO || error == UNZ_INTERNALERROR) return ArchiveReadFailedResult;
    return InflateFailedResult;  // inflateInit2's own error
  }
  CurrentItem item(file);

  // The local header may carry a fuller "UT" field than the central directory's copy.
  ZipEntry times = currentEntry;
  int extraSize = unzGetLocalExtrafield(file, nullptr, 0);
  if (extraSize > 0) {
    std::vector<unsigned char> extra(static_cast<size_t>(extraSize));
    if (unzGetLocalExtrafield(file, extra.data(), static_cast<unsigned>(extraSize)) == extraSize) {
      ApplyExtendedTimestamp(extra, &times);
    }
  }

  DWORD attributes = currentEntry.attributes & ~FILE_ATTRIBUTE_DIRECTORY;
  FileHandle output(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.valid()) return OutputCreateFailedResult;

  char block[WriteBlockSize];
  uint64_t total = 0;
  for (;;) {
    int got = unzReadCurrentFile(file, block, WriteBlockSize);
    if (got < 0) return InflateFailedResult;
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(output.get(), block, static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got)) {
      return OutputWriteFailedResult;
    }
    total += static_cast<uint64_t>(got);
  }
  // Data that ends before the recorded size, or whose check value disagrees with the
  // header, is a damaged item and never counts as unpacked.
  if (total != currentUncompressedSize) return InflateFailedResult;
  if (item.Close() == UNZ_CRCERROR) return CorruptHeaderResult;

  const FILETIME zero = {};
  auto orNull = [&zero](const FILETIME& time) {
    return CompareFileTime(&time, &zero) == 0 ? nullptr : &time;
  };
  SetFileTime(output.get(), orNull(times.creationTime), orNull(times.accessTime),
              orNull(times.modificationTime));
  return ArchiveSuccessResult;
}
