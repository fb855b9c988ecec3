// The demo lobby's record, and the direct lobby start when no lobby is installed.
#include <windows.h>

#include "app/Config.h"
#include "app/Text.h"
#include "install/LobbyLaunch.h"
#include "tests/install/PipelineSupport.h"
#include "tests/support/Doctest.h"
#include "tests/support/TestSupport.h"

TEST_CASE("The lobby path joins the folder and lobby.exe with one backslash") {
  CHECK(LobbyPath(L"D:\\Program Files\\Tolmaro\\") == L"D:\\Program Files\\Tolmaro\\lobby.exe");
  CHECK(LobbyPath(L"D:\\Apps") == L"D:\\Apps\\lobby.exe");
}

TEST_CASE("Without lobby.exe, or with a folder of that name, LaunchInstalledLobby returns") {
  std::wstring folder = pipeline::PrepareInstallRoot("nolobby");
  std::string folderA = ToAnsi(folder.c_str());
  CreateDirectoryA(folderA.c_str(), nullptr);
  LaunchInstalledLobby(folder.c_str());
  CreateDirectoryA((folderA + "lobby.exe").c_str(), nullptr);
  LaunchInstalledLobby(folder.c_str());
  CHECK(true);  // still running
}

TEST_CASE("LaunchInstalledLobby starts the lobby and ends the process with code 0") {
  std::wstring folder = pipeline::PrepareInstallRoot("launch");
  std::string folderA = ToAnsi(folder.c_str());
  CreateDirectoryA(folderA.c_str(), nullptr);
  REQUIRE(CopyFileA(pipeline::DemoLobby().c_str(), (folderA + "lobby.exe").c_str(), FALSE));
  std::string probe = test::ProgramDir() + "\\pipeline_probe.exe";
  CHECK(test::RunProcess("\"" + probe + "\" launch " + folderA, 30000) == 0);
  std::string record;
  for (int i = 0; i < 100 && !test::ReadWholeFile(folderA + "lobby_record.txt", record); ++i) {
    Sleep(100);
  }
  CHECK(record.rfind("ran\r\ncommandline=", 0) == 0);
}

TEST_CASE("The demo lobby records its command line, the shared channel and the marker's id") {
  std::string dir = test::ScratchDir("demo_lobby");
  std::string lobby = dir + "\\lobby.exe";
  REQUIRE(CopyFileA(pipeline::DemoLobby().c_str(), lobby.c_str(), FALSE));
  HKEY key = nullptr;
  std::string share = "SOFTWARE\\" + ToAnsi(EditionInfo.sharePath);
  REQUIRE(RegCreateKeyA(HKEY_CURRENT_USER, share.c_str(), &key) == ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("4321"), 5);
  RegCloseKey(key);
  WritePrivateProfileStringA("ChannelID", "ChannelID", "200064",
                             (dir + "\\IsLobbyLogin.dat").c_str());

  CHECK(test::RunProcess("\"" + lobby + "\" --from-test", 30000) == 0);
  std::string record;
  REQUIRE(test::ReadWholeFile(dir + "\\lobby_record.txt", record));
  CHECK(record == "ran\r\ncommandline=\"" + lobby +
                      "\" --from-test\r\nshareid_30=4321\r\n"
                      "channelid=200064\r\n");

  // Without marker and registry value the record says so.
  DeleteFileA((dir + "\\IsLobbyLogin.dat").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, share.c_str());
  CHECK(test::RunProcess("\"" + lobby + "\"", 30000) == 0);
  REQUIRE(test::ReadWholeFile(dir + "\\lobby_record.txt", record));
  CHECK(record.find("shareid_30=(none)\r\nchannelid=(none)\r\n") != std::string::npos);
}
