// ExtractArchive and the archive layer against archives made by real zip tools.
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Handle.h"
#include "install/ExtractArchive.h"
#include "install/ZipArchive.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr DWORD AttributeBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
// 2015-10-21 07:28:00 UTC: the "UT" time of readme.txt and the DOS time (15:28 in the
// test's zone, Asia/Shanghai) of the Python-made items.
constexpr LONGLONG KnownUnixTime = 1445412480;

std::string Fixture(const std::string& name) {
  return test::BinaryPath("tests/fixtures/archives/" + name);
}

std::string Contents(const std::string& path) {
  std::string data;
  if (!test::ReadWholeFile(path, data)) return "<missing " + path + ">";
  return data;
}

DWORD Attributes(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & AttributeBits;
}

// Only Info-ZIP's local header carries this access time of readme.txt.
constexpr LONGLONG KnownAccessUnixTime = 1445400000;

LONGLONG UnixTime(const FILETIME& time) {
  ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<LONGLONG>(ticks / 10000000ULL) - 11644473600LL;
}

// Access or modification time of a file on disk, as Unix seconds; -1 when it cannot be read.
LONGLONG FileUnixTime(const std::string& path, bool access) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  FILETIME accessed = {};
  FILETIME written = {};
  GetFileTime(file, nullptr, &accessed, &written);
  CloseHandle(file);
  return UnixTime(access ? accessed : written);
}

LONGLONG AccessUnixTime(const std::string& path) { return FileUnixTime(path, true); }
LONGLONG ModificationUnixTime(const std::string& path) { return FileUnixTime(path, false); }

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// A drive letter that the Wine prefix does not map.
std::string MissingDrive() {
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Q'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":";
  }
  return std::string();
}

}  // namespace

TEST_CASE("archives made by different tools unpack completely, with times and attributes") {
  const std::string source = Fixture("source\\Tolmaro\\");
  for (const char* archive : {"infozip.zip", "datadesc.zip", "zip64.zip", "bsdtar.zip", "7z.zip"}) {
    CAPTURE(archive);
    std::string root = test::ScratchDir("tools") + "\\";
    REQUIRE(ExtractArchive(Fixture(archive).c_str(), nullptr, root.c_str()) == 0);
    const std::string out = root + "Tolmaro\\";
    // Times first: reading a file moves its access time on.
    CHECK(ModificationUnixTime(out + "readme.txt") == KnownUnixTime);
    if (std::string(archive) == "infozip.zip") {
      CHECK(AccessUnixTime(out + "readme.txt") == KnownAccessUnixTime);
    }
    for (const char* file :
         {"readme.txt", "data.bin", "empty.txt", "readonly.txt", "sub\\deep\\file.txt"}) {
      CAPTURE(file);
      CHECK(Contents(out + file) == Contents(source + file));
    }
    CHECK(Contents(out + "empty.txt").empty());
    CHECK(Attributes(out + "emptydir") == FILE_ATTRIBUTE_DIRECTORY);
    CHECK(Attributes(out + "readonly.txt") == FILE_ATTRIBUTE_READONLY);
    CHECK(Attributes(out + "readme.txt") == 0);
    SetFileAttributesA((out + "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_CASE("MS-DOS attribute bits, Unix permissions, DOS local times and UTF-8 names") {
  std::string root = test::ScratchDir("attributes") + "\\";
  REQUIRE(ExtractArchive(Fixture("attributes.zip").c_str(), nullptr, root.c_str()) == 0);
  CHECK(Contents(root + "dos\\hidden.txt") == "hidden\n");
  CHECK(Attributes(root + "dos\\hidden.txt") == FILE_ATTRIBUTE_HIDDEN);
  CHECK(Attributes(root + "dos\\readonly.txt") == FILE_ATTRIBUTE_READONLY);
  CHECK(Attributes(root + "unix\\readonly.txt") == FILE_ATTRIBUTE_READONLY);
  CHECK(Attributes(root + "unix\\nomode.txt") == 0);  // no permissions recorded: writable
  CHECK(Attributes(root + "unix\\folder") == FILE_ATTRIBUTE_DIRECTORY);
  // DOS times are local (Asia/Shanghai, set for this test) and stored as UTC.
  CHECK(ModificationUnixTime(root + "dos\\readonly.txt") == KnownUnixTime);
  CHECK(ModificationUnixTime(root + "unix\\nomode.txt") == KnownUnixTime);
  for (const char* file : {"dos\\readonly.txt", "unix\\readonly.txt"}) {
    SetFileAttributesA((root + file).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_CASE("a name flagged as UTF-8 reaches the record and the file system as the same text") {
  std::unique_ptr<ZipArchive> archive = ZipArchive::Open(Fixture("utf8name.zip").c_str(), nullptr);
  REQUIRE(archive);
  ZipEntry entry;
  int result = archive->GetItem(0, &entry);
  if (GetACP() != 936) {
    // A code page without these characters would turn them into "?": refused instead.
    CHECK(result == CorruptHeaderResult);
    return;
  }
  REQUIRE(result == 0);
  CHECK(std::string(entry.name) == "\xd6\xd0\xce\xc4/\xc3\xfb\xd7\xd6.txt");
  archive.reset();

  std::string root = test::ScratchDir("utf8name") + "\\";
  std::wstring wideRoot(root.begin(), root.end());
  // Wine can store such names only when the host's locale for it is installed.
  if (!CreateDirectoryW((wideRoot + L"探").c_str(), nullptr)) {
    MESSAGE("this Wine cannot create non-ASCII file names; file system part skipped");
    return;
  }
  REQUIRE(ExtractArchive(Fixture("utf8name.zip").c_str(), nullptr, root.c_str()) == 0);
  CHECK(GetFileAttributesW((wideRoot + L"中文\\名字.txt").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_CASE("hostile item names never leave the base folder") {
  // Every "..", absolute, drive-letter and UNC form below must land inside base.
  std::string root = test::ScratchDir("hostile");
  std::string base = root + "\\base\\";
  REQUIRE(ExtractArchive(Fixture("hostile.zip").c_str(), nullptr, base.c_str()) == 0);
  CHECK(FolderNames(root) == std::vector<std::string>{"base"});
  struct Landing {
    const char* name;
    const char* path;
  } landings[] = {
      {"../up1.txt", "up1.txt"},
      {"..\\up2.txt", "up2.txt"},
      {"Tolmaro/../../up3.txt", "up3.txt"},
      {"Tolmaro\\..\\..\\up4.txt", "up4.txt"},
      {"/abs5.txt", "abs5.txt"},
      {"\\abs6.txt", "abs6.txt"},
      {"C:/drive7.txt", "drive7.txt"},
      {"C:\\drive8.txt", "drive8.txt"},
      {"C:drive9.txt", "drive9.txt"},
      {"\\\\server\\share\\unc10.txt", "server\\share\\unc10.txt"},
      {"//server/share/unc11.txt", "server\\share\\unc11.txt"},
      {"a/b/../../../../up12.txt", "up12.txt"},
      {"Tolmaro/./in13.txt", "Tolmaro\\in13.txt"},
      {"Tolmaro/.. /up14.txt", "Tolmaro\\up14.txt"},
      {"Tolmaro/...\\up15.txt", "Tolmaro\\up15.txt"},
      {"../../../../../../../../../../up16.txt", "up16.txt"},
  };
  for (const Landing& landing : landings) {
    CAPTURE(landing.name);
    CHECK(Contents(base + landing.path) == landing.name);
  }
  CHECK(Attributes(base + "last") == FILE_ATTRIBUTE_DIRECTORY);
  CHECK(Contents(base + "Tolmaro\\fine.txt") == "fine\n");
  for (const char* outside : {"C:\\drive7.txt", "C:\\drive8.txt", "C:\\abs5.txt", "\\abs5.txt"}) {
    CHECK_FALSE(test::FileExists(outside));
  }
}

TEST_CASE("damaged, missing and unusable archives never report success") {
  struct Case {
    const char* archive;
    int expected;
  } cases[] = {
      {"missing.zip", BadArgumentResult},          {"notzip.zip", BadArgumentResult},
      {"truncated.zip", BadArgumentResult},  // the central directory is gone with the tail
      {"encrypted.zip", PasswordResult},           {"encrypted-aes.zip", PasswordResult},
      {"flipped-stored.zip", CorruptHeaderResult},  // data disagrees with the header's CRC
      {"short.zip", InflateFailedResult},           // data ends before the item does
      {"device.zip", CorruptHeaderResult},
  };
  for (const Case& c : cases) {
    CAPTURE(c.archive);
    std::string root = test::ScratchDir("damaged") + "\\";
    CHECK(ExtractArchive(Fixture(c.archive).c_str(), nullptr, root.c_str()) == c.expected);
  }
  // This build has no decryption: a password does not open an encrypted item either.
  std::string locked = test::ScratchDir("damaged") + "\\";
  CHECK(ExtractArchive(Fixture("encrypted.zip").c_str(), "secret", locked.c_str()) ==
        PasswordResult);
  // A flipped byte inside deflated data is caught by the inflater or by the CRC.
  std::string root = test::ScratchDir("damaged") + "\\";
  int result = ExtractArchive(Fixture("flipped-deflate.zip").c_str(), nullptr, root.c_str());
  CHECK((result == InflateFailedResult || result == CorruptHeaderResult));
}

TEST_CASE(
    "the loop stops at the first failing item; earlier items stay, later ones are untouched") {
  SUBCASE("a damaged local header") {
    std::string root = test::ScratchDir("stop") + "\\";
    CHECK(ExtractArchive(Fixture("badlocal.zip").c_str(), nullptr, root.c_str()) ==
          CorruptHeaderResult);
    CHECK(Contents(root + "one.txt") == "one\n");
    CHECK_FALSE(test::FileExists(root + "two.txt"));
    CHECK_FALSE(test::FileExists(root + "three.txt"));
  }
  SUBCASE("an item name longer than the record holds") {
    std::string root = test::ScratchDir("stop") + "\\";
    CHECK(ExtractArchive(Fixture("longname.zip").c_str(), nullptr, root.c_str()) ==
          CorruptHeaderResult);
    CHECK(FolderNames(root) == std::vector<std::string>{"ok.txt"});
  }
  SUBCASE("an output file held open without sharing by another program") {
    std::string root = test::ScratchDir("stop") + "\\";
    REQUIRE(test::WriteWholeFile(root + "b.txt", "old\n"));
    // Named per test process, so that runs side by side in one Wine prefix do not meet.
    const std::string suffix = std::to_string(GetCurrentProcessId());
    const std::string readyName = "tez-archive-holder-ready-" + suffix;
    const std::string releaseName = "tez-archive-holder-release-" + suffix;
    KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    KernelHandle release(CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    std::string line = "\"" + test::ProgramDir() + "\\archive_holder.exe\" \"" + root + "b.txt\" " +
                       readyName + " " + releaseName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    REQUIRE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process));
    KernelHandle holder(process.hProcess);
    CloseHandle(process.hThread);
    HANDLE waits[] = {ready.get(), holder.get()};
    REQUIRE(WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0);

    CHECK(ExtractArchive(Fixture("held.zip").c_str(), nullptr, root.c_str()) ==
          OutputCreateFailedResult);
    SetEvent(release.get());
    CHECK(WaitForSingleObject(holder.get(), 20000) == WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(holder.get(), &exitCode);
    CHECK(exitCode == 0);
    CHECK(Contents(root + "a.txt") == "first\n");
    CHECK(Contents(root + "b.txt") == "old\n");
    CHECK_FALSE(test::FileExists(root + "c.txt"));
  }
}

TEST_CASE("an output path longer than the file functions take fails without writing") {
  std::string root = test::ScratchDir("longpath");
  std::string base = root + "\\" + std::string(80, 'q') + "\\";
  REQUIRE(base.size() + 204 >= MAX_PATH);
  CHECK(ExtractArchive(Fixture("longpath.zip").c_str(), nullptr, base.c_str()) ==
        OutputCreateFailedResult);
  CHECK(FolderNames(base.substr(0, base.size() - 1)).empty());
}

TEST_CASE("the target folder: made when missing, refused when a file or on a missing drive") {
  std::string root = test::ScratchDir("target");
  std::string nested = root + "\\one\\two\\";
  CHECK(ExtractArchive(Fixture("held.zip").c_str(), nullptr, nested.c_str()) == 0);
  CHECK(Contents(nested + "c.txt") == "third\n");

  REQUIRE(test::WriteWholeFile(root + "\\file", "x"));
  CHECK(ExtractArchive(Fixture("held.zip").c_str(), nullptr, (root + "\\file").c_str()) ==
        TargetNotFolderResult);
  CHECK(ExtractArchive(Fixture("held.zip").c_str(), nullptr, (root + "\\file\\").c_str()) ==
        TargetNotFolderResult);

  std::string drive = MissingDrive();
  REQUIRE(!drive.empty());
  CHECK(ExtractArchive(Fixture("held.zip").c_str(), nullptr, (drive + "\\Tolmaro\\").c_str()) ==
        TargetUnavailableResult);
}

TEST_CASE("item record times: DOS time for all three, then the \"UT\" field's modification time") {
  std::unique_ptr<ZipArchive> archive = ZipArchive::Open(Fixture("infozip.zip").c_str(), nullptr);
  REQUIRE(archive);
  ZipEntry entry;
  REQUIRE(archive->GetItem(-1, &entry) == 0);
  const int count = entry.index;
  bool found = false;
  for (int i = 0; i < count && !found; ++i) {
    REQUIRE(archive->GetItem(i, &entry) == 0);
    found = std::string(entry.name) == "Tolmaro/readme.txt";
  }
  REQUIRE(found);
  CHECK(UnixTime(entry.modificationTime) == KnownUnixTime);
  // The DOS time (local, two-second steps) of the same moment gives the other two.
  CHECK(UnixTime(entry.accessTime) == KnownUnixTime);
  CHECK(UnixTime(entry.creationTime) == KnownUnixTime);
  CHECK(entry.uncompressedSize == 2800);
  CHECK(entry.compressedSize < entry.uncompressedSize);
}

TEST_CASE("the archive layer: item records, index bounds and a closed handle") {
  CHECK(ZipArchive::Open(Fixture("missing.zip").c_str(), nullptr) == nullptr);
  CHECK(ZipArchive::Open(Fixture("notzip.zip").c_str(), nullptr) == nullptr);
  std::unique_ptr<ZipArchive> archive = ZipArchive::Open(Fixture("held.zip").c_str(), nullptr);
  REQUIRE(archive);
  ZipEntry entry;
  REQUIRE(archive->GetItem(-1, &entry) == 0);
  CHECK(entry.index == 3);
  CHECK(entry.name[0] == '\0');
  CHECK(archive->GetItem(-2, &entry) == BadArgumentResult);
  CHECK(archive->GetItem(3, &entry) == BadArgumentResult);
  // Out of order access works as well as the forward walk.
  REQUIRE(archive->GetItem(2, &entry) == 0);
  CHECK(std::string(entry.name) == "c.txt");
  REQUIRE(archive->GetItem(1, &entry) == 0);
  CHECK(entry.index == 1);
  CHECK(std::string(entry.name) == "b.txt");
  CHECK(entry.uncompressedSize == 7);
  CHECK(entry.compressedSize > 0);
  CHECK(entry.attributes == 0);

  // Without a base folder nothing is written; a caller's name is cleaned like an item's.
  CHECK(archive->UnpackItem(1, "b.txt") == BadArgumentResult);
  std::string root = test::ScratchDir("layer");
  REQUIRE(archive->SetBaseFolder((root + "\\base").c_str()) == 0);
  CHECK(archive->UnpackItem(1, "..\\..\\escaped.txt") == 0);
  CHECK(Contents(root + "\\base\\escaped.txt") == "second\n");
  CHECK(archive->UnpackItem(3, "x.txt") == BadArgumentResult);

  CHECK(archive->Close() == 0);
  CHECK(archive->Close() == NotOpenForReadingResult);
  CHECK(archive->GetItem(-1, &entry) == NotOpenForReadingResult);
  CHECK(archive->SetBaseFolder(root.c_str()) == NotOpenForReadingResult);
  CHECK(archive->UnpackItem(0, "a.txt") == NotOpenForReadingResult);
}
