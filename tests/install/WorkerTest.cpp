// The install worker against nginx and the fault server, with the files and registry of the
// Wine prefix: success, the failure endings, the attempt limit, the stall rule and pause.
#include <windows.h>

#include "install/InstallWorker.h"
// The COM and shell headers need the types windows.h declares.
#include <objbase.h>
#include <shobjidl.h>

#include "app/Config.h"
#include "app/Text.h"
#include "install/PauseGate.h"
#include "install/Shortcut.h"
#include "install/StallRule.h"
#include "tests/install/PipelineSupport.h"
#include "tests/servers/TestServers.h"
#include "tests/support/Doctest.h"
#include "tests/support/TestSupport.h"

using namespace pipeline;

namespace {

constexpr char StatsRequest[] =
    "GET /ajax/quickDownLoadStatistics/quickDownStatistics.jsp?SiteID=30&StatistsType=";

// UnzipResult of a first unpack that succeeded, up to the error code, for an install root
// C:\tez-pipeline\<name>\.
std::string SuccessResultHead(const std::string& name) {
  return "C%3A%5Ctez-pipeline%5C" + name + "%5CTolmaro%5C%7C0%7Cattr%3A0%7Ccreate%3A0%7Cerrid%3A";
}

// The one statistics request whose UnzipResult starts with the install folder of name.
std::string StatsLine(const std::string& name) {
  return LogLinesWith("UnzipResult=C%3A%5Ctez-pipeline%5C" + name + "%5CTolmaro%5C%7C");
}

std::string Narrow(const std::wstring& text) { return ToAnsi(text.c_str()); }

bool SameFile(const std::string& a, const std::string& b) {
  std::string left, right;
  return test::ReadWholeFile(a, left) && test::ReadWholeFile(b, right) && left == right;
}

struct ShellLinkFields {
  std::string path, workingFolder, iconPath;
  int iconIndex = -1;
};

ShellLinkFields ReadShellLink(const std::wstring& linkPath) {
  ShellLinkFields fields;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
        char text[MAX_PATH] = {};
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.path = text;
        if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) fields.workingFolder = text;
        if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &fields.iconIndex))) {
          fields.iconPath = text;
        }
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return fields;
}

}  // namespace

TEST_CASE("The program keeps 100000 attempts; tests inject their own limit") {
  CHECK(DownloadRetryLimit == 100000);
  CHECK(InstallWorkerSettings{}.attemptLimit == 100000);
  CHECK(std::string(InstallWorkerSettings{}.statsHost) == StatsHost);
}

TEST_CASE("A full install: download, unpack, shortcut, report type 1, ActivateMessage") {
  std::wstring folder = PrepareInstallRoot("full");
  std::string folderA = Narrow(folder);
  std::wstring link = DesktopShortcutPath();
  REQUIRE(!link.empty());
  DeleteFileW(link.c_str());
  UseDownload(NginxHost());
  RecordingHost host(folder);

  WorkerRun run = RunWorker(host, TestSettings());
  REQUIRE(run.ended);
  CHECK(run.attempts == 1);

  CHECK(SameFile(folderA + "lobby.exe", DemoLobby()));
  CHECK(test::FileExists(folderA + "data\\big.txt"));
  CHECK(SameFile(folderA + "tez_lobby.install", ServedArchive()));
  CHECK(InstallPhase.load() == Installed);

  size_t size = test::FileSize(ServedArchive());
  std::wstring sizeText = FinalSizeText(size, size);
  std::vector<std::string> expected = {"timer+ 112 50",     "timer- 112",
                                       "timer- 99",         "text size " + ToUtf8(sizeText.c_str()),
                                       "text percent 100%", "text caption 正在启动",
                                       "timer+ 114 500",    "runner hidden",
                                       "timer+ 115 60000"};
  CHECK(host.Calls() == expected);
  CHECK(host.TakeActivateMessage());

  ShellLinkFields fields = ReadShellLink(link);
  CHECK(fields.path == folderA + "lobby.exe");
  CHECK(fields.workingFolder == folderA);
  CHECK(fields.iconPath == folderA + "lobby.exe");
  CHECK(fields.iconIndex == 0);

  std::string line = StatsLine("full");
  INFO("stats request: " << line);
  std::string head = std::string(StatsRequest) + "1&UnzipResult=" + SuccessResultHead("full");
  REQUIRE(line.find(head) != std::string::npos);
  size_t errorAt = line.find(head) + head.size();
  size_t digits = line.find_first_not_of("0123456789", errorAt);
  CHECK(digits > errorAt);
  CHECK(line.compare(digits, std::string::npos,
                     "%7Csize%3A0&channalID=200064 HTTP/1.1\" 200 3 range=\"-\"\n") == 0);
}

TEST_CASE(
    "A damaged archive with the server's date is deleted, and the retry downloads it afresh") {
  // A transfer corrupted on the way leaves a full-size file stamped with the server's date;
  // kept, every later run would count it complete and fail the same unpack forever.
  std::wstring folder = PrepareInstallRoot("damaged");
  std::string folderA = Narrow(folder);
  CreateDirectoryA(folderA.c_str(), nullptr);
  std::string archive;
  REQUIRE(test::ReadWholeFile(ServedArchive(), archive));
  for (size_t i = archive.size() / 2; i < archive.size() / 2 + 64; ++i) archive[i] ^= 0x5A;
  std::string local = folderA + "tez_lobby.install";
  REQUIRE(test::WriteWholeFile(local, archive));
  REQUIRE(test::SetLastWriteTime(local, test::LastWriteTime(ServedArchive())));
  UseDownload(NginxHost());
  RecordingHost host(folder);

  WorkerRun first = RunWorker(host, TestSettings());
  REQUIRE(first.ended);
  CHECK(first.attempts == 1);
  CHECK(host.Called("failure 1"));
  CHECK_FALSE(host.Called("runner hidden"));
  CHECK(InstallPhase.load() == Installing);
  CHECK_FALSE(test::FileExists(local));
  std::string failed = StatsLine("damaged");
  INFO("stats requests: " << failed);
  CHECK(failed.find(std::string(StatsRequest) + "2&UnzipResult=") != std::string::npos);
  CHECK(failed.find("&channalID=200064 HTTP") != std::string::npos);

  // The user's retry: a new worker on the same window.
  InstallPhase.store(Downloading);
  WorkerRun second = RunWorker(host, TestSettings());
  REQUIRE(second.ended);
  CHECK(second.attempts == 1);
  CHECK(host.Called("runner hidden"));
  CHECK(InstallPhase.load() == Installed);
  CHECK(SameFile(local, ServedArchive()));
  CHECK(SameFile(folderA + "lobby.exe", DemoLobby()));
  CHECK(StatsLine("damaged").find(std::string(StatsRequest) + "1&UnzipResult=") !=
        std::string::npos);
}

TEST_CASE("Unpack result 512 without lobby.exe reports type 2 and shows the install failure") {
  std::wstring folder = PrepareInstallRoot("locked");
  std::string folderA = Narrow(folder);
  // A folder where the archive's readme.txt must go: its output file cannot be created.
  CreateDirectoryA(folderA.c_str(), nullptr);
  CreateDirectoryA((folderA + "readme.txt").c_str(), nullptr);
  UseDownload(NginxHost());
  RecordingHost host(folder);

  WorkerRun run = RunWorker(host, TestSettings());
  REQUIRE(run.ended);
  CHECK(host.Calls().back() == "failure 1");
  std::string line = StatsLine("locked");
  INFO("stats request: " << line);
  CHECK(line.find(std::string(StatsRequest) + "2&UnzipResult=") != std::string::npos);
  CHECK(line.find("%7C512%7Cattr%3A16%7Ccreate%3A183%7C") != std::string::npos);
  // The disk's fault, not the archive's: the archive stays for the next run.
  CHECK(SameFile(folderA + "tez_lobby.install", ServedArchive()));
}

TEST_CASE("Unpack result 512 with lobby.exe present starts the lobby and ends the process") {
  std::wstring folder = PrepareInstallRoot("relaunch");
  std::string folderA = Narrow(folder);
  CreateDirectoryA(folderA.c_str(), nullptr);
  CreateDirectoryA((folderA + "readme.txt").c_str(), nullptr);
  REQUIRE(CopyFileA(DemoLobby().c_str(), (folderA + "lobby.exe").c_str(), FALSE));
  std::string probe = test::ProgramDir() + "\\pipeline_probe.exe";
  std::string command =
      "\"" + probe + "\" worker C:\\tez-pipeline\\relaunch\\ " + NginxHost() + " " + NginxHost();

  CHECK(test::RunProcess(command, 60000) == 0);
  std::string record;
  for (int i = 0; i < 100 && !test::ReadWholeFile(folderA + "lobby_record.txt", record); ++i) {
    Sleep(100);
  }
  INFO("lobby record: " << record);
  CHECK(record.rfind("ran\r\n", 0) == 0);
  CHECK(record.find("lobby.exe") != std::string::npos);
  CHECK(StatsLine("relaunch").empty());  // no report on this way out
}

TEST_CASE("Attempts that all fail end with the download failure and no report") {
  std::wstring folder = PrepareInstallRoot("refused");
  UseDownload("127.0.0.1:1");  // nothing listens: every attempt fails at once
  RecordingHost host(folder);
  host.SetReceived(777);

  WorkerRun run = RunWorker(host, TestSettings(8));
  REQUIRE(run.ended);
  CHECK(run.attempts == 8);
  // Six empty attempts clear the received count once; two more do not reach six again.
  std::vector<std::string> expected = {"timer+ 112 50", "clear received", "failure 0"};
  CHECK(host.Calls() == expected);
  CHECK(InstallPhase.load() == Downloading);
  CHECK(StatsLine("refused").empty());
}

TEST_CASE("Failed attempts that each brought bytes never clear the received count") {
  std::wstring folder = PrepareInstallRoot("dripping");
  REQUIRE(test::WriteFaultScript(
      FaultFixture, "drip",
      R"({"replies": [{"size": 100000, "ranges": true, "drop_after": 1000}]})"));
  UseDownload(test::ServerHost(FaultFixture), "/drip/tez_lobby.zip");
  RecordingHost host(folder);

  WorkerRun run = RunWorker(host, TestSettings(8));
  REQUIRE(run.ended);
  CHECK(run.attempts == 8);
  CHECK_FALSE(host.Called("clear received"));
  CHECK(host.Called("failure 0"));
  CHECK(host.ReadProgress().done == 8000);  // each attempt continued the file by 1000 bytes
}

TEST_CASE("The stall rule counts only failed attempts that brought no bytes") {
  StallRule rule;
  // {received before, received after, clear expected}
  struct Step {
    uint64_t before, after;
    bool clear;
  };
  const Step steps[] = {
      {5, 5, false},
      {5, 5, false},
      {5, 5, false},
      {5, 5, false},
      {5, 5, false},
      {5, 5, true},  // the sixth empty attempt
      {0, 0, false},
      {0, 9, false},  // bytes arrived: the count starts over
      {9, 9, false},
      {9, 9, false},
      {9, 9, false},
      {9, 9, false},
      {9, 9, false},
      {9, 9, true},
      {0x100000000ULL, 0x100000000ULL, false},  // past 4 GiB the rule still counts
  };
  for (const Step& step : steps)
    CHECK(rule.AfterFailedAttempt(step.before, step.after) == step.clear);
  CHECK(rule.StallCount() == 1);
}

TEST_CASE("The final size text uses the full 64-bit counts") {
  CHECK(FinalSizeText(0, 0) == L"0.00M/0.00M");
  CHECK(FinalSizeText(89369969, 89369969) == L"85.23M/85.23M");
  CHECK(FinalSizeText(5ULL << 30, 5ULL << 30) == L"5120.00M/5120.00M");
}

TEST_CASE("A paused worker stops within one block and goes on when continued") {
  std::wstring folder = PrepareInstallRoot("paused");
  UseDownload(NginxHost());
  RecordingHost host(folder);
  // The pause arrives while block 3 is being written, as a click during a transfer would.
  host.onBlock = [&host](int block) {
    if (block == 3) host.Gate().Pause();
  };
  WorkerThread thread(host, TestSettings());
  for (int i = 0; i < 100 && !host.Gate().IsPaused(); ++i) Sleep(20);
  REQUIRE(host.Gate().IsPaused());
  Sleep(500);
  CHECK(host.Blocks() == 3);
  CHECK_FALSE(thread.Wait(0));

  host.Gate().Resume();
  CHECK(thread.Wait(60000));
  CHECK(host.Called("runner hidden"));
  CHECK(host.Blocks() > 3);
}

TEST_CASE("A worker started paused sends nothing until it is continued") {
  std::wstring folder = PrepareInstallRoot("startpaused");
  UseDownload(NginxHost());
  RecordingHost host(folder);
  host.Gate().Pause();
  WorkerThread thread(host, TestSettings());
  Sleep(300);
  CHECK(host.Calls().empty());
  CHECK(host.Blocks() == 0);
  host.Gate().Resume();
  CHECK(thread.Wait(60000));
  CHECK(host.Called("runner hidden"));
}
