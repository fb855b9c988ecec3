// The lobby's marker file: [ChannelID] ChannelID=<id> beside the lobby; nothing for id 0.
#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "app/Config.h"
#include "app/Text.h"
#include "tests/support/TestSupport.h"
#include "windows/LobbyLoginMarker.h"

TEST_CASE("the marker file holds the channel id; none is written for 0 or a negative id") {
  std::string dir = test::ScratchDir("marker");
  std::wstring folder = FromAnsi(dir.c_str()) + L"\\";
  std::string marker = dir + "\\IsLobbyLogin.dat";

  CHECK_FALSE(WriteLobbyLoginMarkerIn(folder.c_str(), 0));
  CHECK_FALSE(WriteLobbyLoginMarkerIn(folder.c_str(), -3));
  CHECK_FALSE(test::FileExists(marker));

  REQUIRE(WriteLobbyLoginMarkerIn(folder.c_str(), 200064));
  std::string text;
  REQUIRE(test::ReadWholeFile(marker, text));
  CHECK(text == "[ChannelID]\r\nChannelID=200064\r\n");
}

TEST_CASE("the window's form reads the folder from the path label and uses ChannelId") {
  // A Chinese folder name reaches the ANSI profile call through the code page.
  std::string dir = test::ScratchDir("marker_label");
  std::wstring folder = FromAnsi(dir.c_str()) + L"\\游戏大厅\\";
  REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring label = L"安装路径：" + folder;
  int32_t saved = ChannelId;

  ChannelId = 0;
  CHECK_FALSE(WriteLobbyLoginMarker(label.c_str()));
  ChannelId = 200064;
  CHECK(WriteLobbyLoginMarker(label.c_str()));
  CHECK_FALSE(WriteLobbyLoginMarker(L"安装"));  // shorter than the prefix
  ChannelId = saved;

  std::wstring marker = folder + L"IsLobbyLogin.dat";
  char value[32] = {};
  GetPrivateProfileStringA("ChannelID", "ChannelID", "", value, sizeof value,
                           ToAnsi(marker.c_str()).c_str());
  CHECK(std::string(value) == "200064");
}

TEST_CASE("a marker path that does not fit in 1024 bytes is refused, one that fits is kept") {
  constexpr size_t NameBytes = sizeof("IsLobbyLogin.dat");  // with its terminating zero
  struct Case {
    size_t folderBytes;  // ANSI bytes of the folder text, its final "\" included
    bool fits;
  } cases[] = {{1024 - NameBytes, true},
               {1024 - NameBytes + 1, false},
               {1023, false},
               {1024, false},
               {5000, false}};
  for (const Case& c : cases) {
    CAPTURE(c.folderBytes);
    // ASCII, so the byte count is the same in every code page.
    std::wstring folder = L"Z:\\" + std::wstring(c.folderBytes - 4, L'a') + L"\\";
    REQUIRE(folder.size() == c.folderBytes);
    char path[LobbyLoginMarkerPathSize];
    std::memset(path, 'x', sizeof path);
    CHECK(MakeLobbyLoginMarkerPath(folder.c_str(), path) == c.fits);
    if (c.fits) {
      CHECK(std::strlen(path) == 1023);
      CHECK(std::string(path).substr(1023 - 16) == "IsLobbyLogin.dat");
    } else {
      CHECK(path[0] == '\0');
      CHECK_FALSE(WriteLobbyLoginMarkerIn(folder.c_str(), 200064));
    }
  }
}

TEST_CASE("a folder the ANSI code page cannot spell is refused, not written to a '?' path") {
  // Thai is in neither code page 936 nor 1252.
  std::string dir = test::ScratchDir("marker_thai");
  std::wstring folder = FromAnsi(dir.c_str()) + L"\\\u0E01\\";
  // The scratch folder's ANSI clean-up cannot name this folder: it may be left from a run
  // before, and it is removed here.
  REQUIRE((CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS));
  char path[LobbyLoginMarkerPathSize];
  CHECK_FALSE(MakeLobbyLoginMarkerPath(folder.c_str(), path));
  CHECK(path[0] == '\0');
  CHECK_FALSE(WriteLobbyLoginMarkerIn(folder.c_str(), 200064));
  RemoveDirectoryW(folder.c_str());
}
