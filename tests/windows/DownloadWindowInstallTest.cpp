// The install button by phase and the error window's answers, against the scripted fault
// server: a real worker downloads, pauses at its safe point and continues.
#include <doctest/doctest.h>

#include <string>

#include "app/Config.h"
#include "app/Text.h"
#include "tests/servers/TestServers.h"
#include "tests/support/TestSupport.h"
#include "tests/windows/DownloadWindowTestSupport.h"

using namespace wintest;

namespace {

constexpr char Fixture[] = "window_fault";
// 40 MB whose body stops for a while after 64 KiB: the download is surely running then.
constexpr char SlowScript[] =
    R"({"replies": [{"size": 40000000, "stall_after": 65536, "stall_ms": 1500}]})";

std::string RequestLog() { return test::ServerDir(Fixture) + "\\requests.log"; }
int RequestsFor(const std::string& name) {
  return test::CountOf(test::ReadFrom(RequestLog(), 0), "GET /" + name + "/");
}

// Points the window's downloads at script `name` and its install folder at a fresh folder.
std::wstring UseScript(DownloadWindow& w, const std::string& name) {
  REQUIRE(test::WriteFaultScript(Fixture, name, SlowScript));
  std::string host = test::ServerHost(Fixture);
  CopyBounded(DownloadHost, HostTextSize, host.c_str());
  std::string path = "/" + name + "/tez_lobby.zip";
  CopyBounded(DownloadPath, DownloadPathSize, path.c_str());
  std::string root = "C:\\tez-window\\" + name;
  test::RemoveTree(root);
  CreateDirectoryA("C:\\tez-window", nullptr);
  CreateDirectoryA(root.c_str(), nullptr);
  Fake().chosenFolder = FromAnsi(root.c_str());
  Click(w, w.folderButton);
  return w.InstallFolder() + FromAnsi(EditionInfo.installerFileName);
}

int Frame(DownloadWindow& w) {
  int column = 0;
  int row = 0;
  w.runner->GetFrame(&column, &row);
  return column;
}

}  // namespace

TEST_CASE("the install button downloads, pauses and continues") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  std::wstring archive = UseScript(w, "phases");
  REQUIRE(Narrow(w.InstallFolder()) == "C:\\tez-window\\phases\\Tolmaro\\");

  // Idle: a real click on the caption falls through to the button beneath it.
  MouseClick(w, 500, 300);
  CHECK(InstallPhase.load() == Downloading);
  CHECK(Narrow(Text(w.installCaption)) == Narrow(L"暂停安装"));
  CHECK(w.folderButton->IsEnabled() == 0);
  CHECK(w.runner->IsVisible() == 1);
  REQUIRE(w.WorkerThread() != nullptr);
  REQUIRE(PumpUntil([&] { return FileSizeOf(archive) >= 65536; }, 15000));
  // The progress timer writes the texts; the worker's hand-over starts the figure.
  CHECK(PumpUntil([&] { return Text(w.sizeLabel).find(L"/38.15M") != std::wstring::npos; }));
  CHECK(PumpUntil([&] { return Frame(w) > 0; }));

  // The folder link is disabled now: a click on it changes nothing.
  Fake().chosenFolder = L"D:\\";
  MouseClick(w, 550, 230);
  CHECK(Narrow(w.InstallFolder()) == "C:\\tez-window\\phases\\Tolmaro\\");

  // Downloading: pause while the body is stalled; once it flows again at most a block lands.
  Click(w, w.installButton);
  CHECK(InstallPhase.load() == Paused);
  CHECK(Narrow(Text(w.installCaption)) == Narrow(L"继续安装"));
  CHECK(Narrow(Text(w.speedLabel)) == Narrow(L"当前下载速度：0K/S"));
  int frame = Frame(w);
  PumpFor(2500);
  uint64_t paused = FileSizeOf(archive);
  CHECK(paused < 65536 + 3 * 4096);
  PumpFor(700);
  CHECK(FileSizeOf(archive) == paused);
  CHECK(Frame(w) == frame);
  CHECK(Narrow(Text(w.speedLabel)) == Narrow(L"当前下载速度：0K/S"));

  // Paused: continue; bytes arrive and the figure runs again.
  Click(w, w.installButton);
  CHECK(InstallPhase.load() == Downloading);
  CHECK(Narrow(Text(w.installCaption)) == Narrow(L"暂停安装"));
  CHECK(PumpUntil([&] { return Frame(w) != frame; }));
  CHECK(PumpUntil([&] { return FileSizeOf(archive) > paused + 100000; }, 10000));

  Click(w, w.installButton);
  EndWorker(w);
}

TEST_CASE("the install button does nothing while the archive is installed") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  InstallPhase.store(Installing);
  Click(w, w.installButton);
  CHECK(InstallPhase.load() == Installing);
  CHECK(Narrow(Text(w.installCaption)) == Narrow(L"点击安装"));
  CHECK(w.WorkerThread() == nullptr);
  CHECK(w.folderButton->IsEnabled() == 1);
}

TEST_CASE("the error window's answers start a new worker") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  HWND hwnd = w.GetHwnd();

  SUBCASE("acknowledge: the new worker waits paused and sends nothing") {
    UseScript(w, "acknowledge");
    int before = RequestsFor("acknowledge");
    SendMessageW(hwnd, AcknowledgeMessage, 0, 0);
    CHECK(InstallPhase.load() == Paused);
    CHECK(Narrow(Text(w.installCaption)) == Narrow(L"继续安装"));
    REQUIRE(w.WorkerThread() != nullptr);
    CHECK(w.InstallHostPart().Gate().IsPaused());
    PumpFor(1000);
    CHECK(RequestsFor("acknowledge") == before);
    CHECK(WaitForSingleObject(w.WorkerThread(), 0) == WAIT_TIMEOUT);

    Click(w, w.installButton);  // continue
    CHECK(InstallPhase.load() == Downloading);
    CHECK(PumpUntil([&] { return RequestsFor("acknowledge") > before; }, 10000));
  }
  SUBCASE("retry: the download starts again at once") {
    UseScript(w, "retry");
    int before = RequestsFor("retry");
    w.InstallHostPart().Gate().Pause();  // as a pause before the failure left it
    SendMessageW(hwnd, RetryMessage, 0, 0);
    CHECK(InstallPhase.load() == Downloading);
    CHECK(Narrow(Text(w.installCaption)) == Narrow(L"暂停安装"));
    CHECK_FALSE(w.InstallHostPart().Gate().IsPaused());
    CHECK(PumpUntil([&] { return RequestsFor("retry") > before; }, 10000));
  }
  Click(w, w.installButton);
  EndWorker(w);
}

// A thread procedure of its own: a lambda has no stdcall form for the i686 build.
DWORD WINAPI ReportInstallFailure(LPVOID host) {
  static_cast<InstallHost*>(host)->ShowFailure(1);
  return 0;
}

TEST_CASE("a failure the worker reports shows the error window; its OK leaves a paused worker") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  UseScript(w, "failure");
  REQUIRE(w.errorWindow != nullptr);
  HWND box = w.errorWindow->GetHwnd();
  CHECK_FALSE(IsWindowVisible(box));
  CHECK(GetWindow(box, GW_OWNER) == w.GetHwnd());

  // From another thread, as the worker does it.
  HANDLE reporter = CreateThread(nullptr, 0, ReportInstallFailure,
                                 static_cast<InstallHost*>(&w.InstallHostPart()), 0, nullptr);
  REQUIRE(reporter != nullptr);
  WaitForSingleObject(reporter, 5000);
  CloseHandle(reporter);
  REQUIRE(PumpUntil([&] { return IsWindowVisible(box) != FALSE; }));
  CHECK(Narrow(Text(w.errorElements.title)) == Narrow(L"安装失败："));
  CHECK(w.errorElements.retryButton->IsVisible() == 0);

  int before = RequestsFor("failure");
  Click(*w.errorWindow, w.errorElements.okButton);
  CHECK_FALSE(IsWindowVisible(box));
  CHECK(InstallPhase.load() == Paused);
  CHECK(Narrow(Text(w.installCaption)) == Narrow(L"继续安装"));
  PumpFor(500);
  CHECK(RequestsFor("failure") == before);
  EndWorker(w);
}

TEST_CASE("activation writes the login marker, restores the window and presses install") {
  auto window = MakeWindow();
  DownloadWindow& w = *window;
  HWND hwnd = w.GetHwnd();
  std::wstring archive = UseScript(w, "activate");
  std::wstring folder = w.InstallFolder();
  REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
  ChannelId = 200064;
  InstallPhase.store(Installing);  // the press then changes nothing else
  Click(w, w.GetChildren()[7]);    // hidden to the tray
  REQUIRE_FALSE(IsWindowVisible(hwnd));

  SendMessageW(hwnd, ActivateMessage, 0, 0);
  CHECK(IsWindowVisible(hwnd));
  CHECK(w.trayIcon.IsShown() == 0);
  char channel[32] = {};
  GetPrivateProfileStringA("ChannelID", "ChannelID", "", channel, sizeof channel,
                           ToAnsi((folder + L"IsLobbyLogin.dat").c_str()).c_str());
  CHECK(std::string(channel) == "200064");
  CHECK(w.WorkerThread() == nullptr);

  // In the idle phase the same message starts the download.
  InstallPhase.store(Idle);
  SendMessageW(hwnd, ActivateMessage, 0, 0);
  CHECK(InstallPhase.load() == Downloading);
  CHECK(PumpUntil([&] { return FileSizeOf(archive) > 0; }, 10000));
  Click(w, w.installButton);
  EndWorker(w);
  ChannelId = 0;
}
