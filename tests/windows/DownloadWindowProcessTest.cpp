// Whole processes: the single-instance rule of the program itself and the commands that end
// the process, run in a probe program.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/Config.h"
#include "tests/support/TestSupport.h"
#include "tests/windows/DownloadWindowTestSupport.h"

using namespace wintest;

namespace {

struct Search {
  DWORD pid;
  std::vector<HWND> found;
};

// A named callback: a lambda has no stdcall form for the i686 build.
BOOL CALLBACK CollectDownloadWindow(HWND hwnd, LPARAM context) {
  auto* s = reinterpret_cast<Search*>(context);
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  bool match = s->pid ? owner == s->pid : owner != GetCurrentProcessId();
  if (match && std::string(name) == "DownloadWindow") s->found.push_back(hwnd);
  return TRUE;
}

// Top-level "DownloadWindow" windows of process pid (0: of any process but this one).
std::vector<HWND> DownloadWindowsOf(DWORD pid) {
  Search search{pid, {}};
  EnumWindows(CollectDownloadWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Probe() { return "\"" + test::ProgramDir() + "\\window_probe.exe\""; }

}  // namespace

TEST_CASE("a second copy steps back and brings the first one forward") {
  std::string program = test::BinaryPath("bin/Download_tez.exe");
  REQUIRE(test::FileExists(program));
  REQUIRE(DownloadWindowsOf(0).empty());

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION first{};
  std::string command = "\"" + program + "\"";
  REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &first));
  HWND window = nullptr;
  PumpUntil(
      [&] {
        auto found = DownloadWindowsOf(first.dwProcessId);
        if (found.empty() || !IsWindowVisible(found[0])) return false;
        window = found[0];
        return true;
      },
      30000);
  REQUIRE(window != nullptr);
  ShowWindow(window, SW_MINIMIZE);
  REQUIRE(PumpUntil([&] { return IsIconic(window) != FALSE; }));

  // The second copy builds nothing, asks the first to come forward and ends with 0.
  CHECK(test::RunProcess(command, 20000) == 0);
  CHECK(DownloadWindowsOf(0).size() == 1);
  CHECK(PumpUntil([&] { return IsIconic(window) == FALSE; }, 5000));
  CHECK(WaitForSingleObject(first.hProcess, 0) == WAIT_TIMEOUT);

  TerminateProcess(first.hProcess, 0);
  WaitForSingleObject(first.hProcess, 10000);
  CloseHandle(first.hThread);
  CloseHandle(first.hProcess);
}

TEST_CASE("the tray's close command and a close request end the process with 0") {
  CHECK(test::RunProcess(Probe() + " tray-close", 30000) == 0);
  CHECK(test::RunProcess(Probe() + " close", 30000) == 0);
}

TEST_CASE("the install button after the install starts the lobby and ends the process") {
  std::string root = test::ScratchDir("window-lobby");
  std::string folder = root + "\\Tolmaro";
  REQUIRE(CreateDirectoryA(folder.c_str(), nullptr));
  REQUIRE(CopyFileA(test::BinaryPath("demo/lobby.exe").c_str(), (folder + "\\lobby.exe").c_str(),
                    FALSE));
  CHECK(test::RunProcess(Probe() + " lobby \"" + root + "\"", 30000) == 0);
  std::string record;
  CHECK(
      PumpUntil([&] { return test::ReadWholeFile(folder + "\\lobby_record.txt", record); }, 10000));
  CHECK(record.rfind("ran", 0) == 0);
}
