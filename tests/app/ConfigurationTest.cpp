// String-table configuration, the file-name channel id and its registry value.
#include <doctest/doctest.h>

#include "app/Config.h"
#include "app/Configuration.h"
#include "app/Text.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> reported;
void RecordReport(const wchar_t* text) { reported.push_back(text); }

void ResetConfiguration() {
  ChannelId = 0;
  OfficialFlag = 0;
  strcpy(DownloadHost, DefaultDownloadHost);
  memset(DownloadPath, 0x55, sizeof DownloadPath);
  DownloadPath[sizeof DownloadPath - 1] = 0;
  BannerUrl[0] = 0;
  reported.clear();
}

struct Strings {
  explicit Strings(const char* name) : module(LoadLibraryA(name)) {}
  ~Strings() {
    if (module) FreeLibrary(module);
  }
  HMODULE module;
};

std::string ReadShareValue() {
  char value[64] = {};
  DWORD size = sizeof value;
  std::string key = "SOFTWARE\\" + ToAnsi(EditionInfo.sharePath);
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return "<none>";
  }
  return value;
}

void DeleteShareKey() {
  std::string key = "SOFTWARE\\" + ToAnsi(EditionInfo.sharePath);
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace

TEST_CASE("LoadConfiguration reads the four entries and reports each missing one") {
  struct Case {
    const char* dll;
    int32_t channel;
    const char* host;
    const char* path;
    const wchar_t* banner;
    std::vector<std::wstring> boxes;
  };
  const Case cases[] = {
      {"strings_full.dll", 200064, DefaultDownloadHost, "/update/tuiguang/tg_tez/tez_lobby.zip",
       L"http://banner.example/x", {}},
      {"strings_official1.dll", 200064, TestDownloadHost, "/a.zip", L"http://b/", {}},
      {"strings_official01.dll", 200064, TestDownloadHost, "/a.zip", L"http://b/", {}},
      {"strings_official2.dll", 200064, DefaultDownloadHost, "/a.zip", L"http://b/", {}},
      // Letters load (count above 0) and parse as 0: no box.
      {"strings_letters.dll", 0, DefaultDownloadHost, "/a.zip", L"http://b/", {}},
      {"strings_nochannel.dll", 0, DefaultDownloadHost, "/a.zip", L"http://b/",
       {L"读取ID_CHANNAL配置错误"}},
      {"strings_empty.dll", 0, DefaultDownloadHost, "", L"",
       {L"读取ID_CHANNAL配置错误", L"读取ID_IFOFFICIAL配置错误", L"读取ID_DOWNLOADURL配置错误",
        L"读取ID_BANNERURL配置错误"}},
  };
  SetConfigurationReporter(RecordReport);
  for (const Case& c : cases) {
    CAPTURE(c.dll);
    Strings strings(c.dll);
    REQUIRE(strings.module != nullptr);
    ResetConfiguration();
    LoadConfiguration(strings.module);
    CHECK(ChannelId == c.channel);
    CHECK(std::string(DownloadHost) == c.host);
    CHECK(std::string(DownloadPath) == c.path);
    CHECK(std::wstring(BannerUrl) == c.banner);
    CHECK(reported == c.boxes);
  }
  SetConfigurationReporter(nullptr);
}

TEST_CASE("the program's own string table holds the shipped configuration") {
  // The test program carries no string table of its own; read the real executable's.
  HMODULE program = LoadLibraryExA("..\\bin\\Download_tez.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  REQUIRE(program != nullptr);
  char text[1024] = {};
  CHECK(LoadStringA(program, IdChannal, text, sizeof text) > 0);
  CHECK(std::string(text) == "200064");
  CHECK(LoadStringA(program, IdDownloadUrl, text, sizeof text) > 0);
  CHECK(std::string(text) == "/update/tuiguang/tg_tez/tez_lobby.zip");
  CHECK(LoadStringA(program, IdIfOfficial, text, sizeof text) > 0);
  CHECK(std::string(text) == "0");
  wchar_t url[1024] = {};
  CHECK(LoadStringW(program, IdBannerUrl, url, 1024) > 0);
  CHECK(std::wstring(url) == FromAnsi((std::string("http://") + BannerHost +
                                       "/banner_download/index.do?siteID=30&channelID=0")
                                          .c_str()));
  FreeLibrary(program);
}

TEST_CASE("ChannelIdFromPath takes the last underscore token of the file name") {
  struct Case {
    const char* path;
    const char* expected;  // null: no candidate
    bool digits;
  };
  const Case cases[] = {
      {"C:\\Users\\me\\Downloads\\Download_tez_200064.exe", "200064", true},
      {"C:\\Download.exe", "Download", false},
      {"C:\\dir\\a_b.c.d", "b", false},
      {"C:\\x_12a.exe", "12a", false},
      {"C:\\x_0012.exe", "0012", true},
      {"C:\\dir_1\\Setup.exe", "Setup", false},
      {"C:\\dir\\tail__", "tail", false},
      {"C:\\dir\\x_...", nullptr, false},
      {"\\\\", nullptr, false},
      {"", nullptr, false},
  };
  for (const Case& c : cases) {
    CAPTURE(c.path);
    char buffer[ModulePathSize];
    REQUIRE(CopyBounded(buffer, sizeof buffer, c.path));
    const char* got = ChannelIdFromPath(buffer);
    if (!c.expected) {
      CHECK(got == nullptr);
      continue;
    }
    REQUIRE(got != nullptr);
    CHECK(std::string(got) == c.expected);
    CHECK(IsAllDigits(got) == c.digits);
  }
}

TEST_CASE("ChannelIdFromFileName reads the running program's name") {
  const char* got = ChannelIdFromFileName();
  REQUIRE(got != nullptr);
  CHECK(std::string(got) == "tests");  // app_tests.exe
}

TEST_CASE("IsAllDigits") {
  CHECK(IsAllDigits(""));
  CHECK(IsAllDigits("0123456789"));
  CHECK_FALSE(IsAllDigits("12a"));
  CHECK_FALSE(IsAllDigits("1 2"));
  CHECK_FALSE(IsAllDigits("\xb2\xe2"));  // bytes above 127 are never digits
}

TEST_CASE("StoreShareChannel writes the default value under HKCU\\SOFTWARE") {
  DeleteShareKey();
  CHECK(ReadShareValue() == "<none>");
  StoreShareChannel("200064");
  CHECK(ReadShareValue() == "200064");
  StoreShareChannel("0012");  // leading zeros kept: it is text
  CHECK(ReadShareValue() == "0012");
  DeleteShareKey();
}
