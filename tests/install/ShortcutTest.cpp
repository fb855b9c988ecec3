// The desktop shortcut written through the shell link object and read back the same way.
#include <windows.h>

#include "install/Shortcut.h"
// The COM and shell headers need the types windows.h declares.
#include <objbase.h>
#include <shobjidl.h>

#include "app/Text.h"
#include "tests/install/PipelineSupport.h"
#include "tests/support/Doctest.h"
#include "tests/support/TestSupport.h"

namespace {

std::string LinkTarget(const std::wstring& linkPath) {
  std::string target;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      char text[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        target = text;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return target;
}

}  // namespace

TEST_CASE("The desktop link is named after the edition and replaces an older one") {
  std::wstring link = DesktopShortcutPath();
  REQUIRE(link.size() > 12);
  CHECK(link.substr(link.size() - 12) == L"\\Tolmaro.lnk");
  REQUIRE(test::WriteWholeFile(ToAnsi(link.c_str()), "not a shell link"));

  std::wstring folder = pipeline::PrepareInstallRoot("shortcut");
  std::string folderA = ToAnsi(folder.c_str());
  CreateDirectoryA(folderA.c_str(), nullptr);
  REQUIRE(test::WriteWholeFile(folderA + "lobby.exe", "MZ"));
  RecordingHost host(folder);
  CreateDesktopShortcut(host);

  CHECK(LinkTarget(link) == folderA + "lobby.exe");
  std::vector<std::string> expected = {"timer+ 114 500"};
  CHECK(host.Calls() == expected);
}

namespace {

struct ComlessRun {
  RecordingHost* host;
};

// A thread already in the multithreaded apartment: CoInitialize fails there.
DWORD WINAPI ShortcutInMultithreadedApartment(LPVOID parameter) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  CreateDesktopShortcut(*static_cast<ComlessRun*>(parameter)->host);
  CoUninitialize();
  return 0;
}

}  // namespace

TEST_CASE("Without COM no link is written, and the icon-search timer still starts") {
  std::wstring link = DesktopShortcutPath();
  DeleteFileW(link.c_str());
  std::wstring folder = pipeline::PrepareInstallRoot("comless");
  RecordingHost host(folder);
  ComlessRun run{&host};
  HANDLE thread = CreateThread(nullptr, 0, ShortcutInMultithreadedApartment, &run, 0, nullptr);
  REQUIRE(thread);
  CHECK(WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0);
  CloseHandle(thread);
  CHECK_FALSE(test::FileExists(ToAnsi(link.c_str())));
  std::vector<std::string> expected = {"timer+ 114 500"};
  CHECK(host.Calls() == expected);
  CHECK_FALSE(WriteLobbyShortcut(L"", folder));  // no desktop folder: nothing to write
}
