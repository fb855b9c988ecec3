// HttpDownloader requests against the scripted fault server: host texts, status rules,
// redirects, header limits, Content-Length and Last-Modified parsing.
#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "net/HttpDownloader.h"
#include "tests/net/NetTestSupport.h"

using test::CountOf;
using test::ReadFrom;

namespace {

// Whatever the server recorded since the fixture was made.
struct FaultLog {
  std::string path = test::ServerDir(FaultFixture) + "\\requests.log";
  size_t start = test::FileSize(path);
  std::string Text() const { return ReadFrom(path, start); }
};

std::string Host() { return test::ServerHost(FaultFixture); }
std::string AltHost() { return test::ServerHost(FaultFixture, "altport"); }
int AltPort() { return test::ServerPort(FaultFixture, "altport"); }

void Script(const std::string& name, const std::string& json) {
  REQUIRE(test::WriteFaultScript(FaultFixture, name, json));
}

}  // namespace

TEST_CASE("Connect splits host and port and refuses texts that do not fit") {
  HttpDownloader downloader;
  REQUIRE(test::ServerPort(FaultFixture) != 0);
  CHECK(downloader.Connect(Host().c_str(), nullptr, nullptr, 7) == 1);
  CHECK(downloader.ContextValue() == 7);
  CHECK(downloader.ElapsedMs() == 1);
  CHECK(downloader.BytesReceived() == 0);

  std::string host255(255, 'a');
  std::string host256(256, 'a');
  struct Case {
    std::string hostText;
    int result;
  } cases[] = {
      {"127.0.0.1", 1},      {"127.0.0.1:", 1},
      {"127.0.0.1:8080", 1}, {host255 + ":81", 1},
      {host256, 0},                                   // would be cut to a different host
      {host256 + ":81", 0},  {"127.0.0.1:65536", 0},  // no TCP port; must not wrap to 0
      {"127.0.0.1:-1", 0},   {":81", 0},
  };
  for (const Case& c : cases) {
    CAPTURE(c.hostText);
    CHECK(downloader.Connect(c.hostText.c_str(), nullptr, nullptr, 0) == c.result);
  }
  // A null host closes everything: no request can be sent afterwards.
  REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
  CHECK(downloader.Connect(nullptr, nullptr, nullptr, 0) == 0);
  CHECK(downloader.SendGet("/ok/a", nullptr) == 0);
}

TEST_CASE("SendGet sends an HTTP/1.0 GET with the extra header and accepts 200 and 206 only") {
  struct Case {
    int status;
    int result;
  } cases[] = {{200, 1}, {206, 1}, {303, 0}, {304, 0}, {307, 0}, {404, 0}, {416, 0}, {500, 0}};
  HttpDownloader downloader;
  REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
  for (const Case& c : cases) {
    CAPTURE(c.status);
    std::string name = "status" + std::to_string(c.status);
    Script(name, R"({"replies":[{"status":)" + std::to_string(c.status) + R"(,"body":"x"}]})");
    FaultLog log;
    CHECK(downloader.SendGet(("/" + name + "/file.zip").c_str(), "range:bytes=100-") == c.result);
    std::string text = log.Text();
    CHECK(CountOf(text, "GET /" + name + "/file.zip HTTP/1.0\n") == 1);
    CHECK(CountOf(text, "range: bytes=100-\n") + CountOf(text, "range:bytes=100-\n") == 1);
  }
}

TEST_CASE("SendGet follows 301 and 302 by reconnecting to the Location's host and port") {
  HttpDownloader downloader;
  std::string target = "HTTP://" + AltHost() + "/moved/new.zip";
  Script("moved", R"({"replies":[{"body":"new"}]})");
  for (int status : {301, 302}) {
    CAPTURE(status);
    Script("redir", R"({"replies":[{"status":)" + std::to_string(status) +
                        R"(,"headers":[["Location",")" + target + R"("]]}]})");
    REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 5) == 1);
    FaultLog log;
    CHECK(downloader.SendGet("/redir/old.zip", "range:bytes=3-") == 1);
    std::string text = log.Text();
    CHECK(CountOf(text, "@" + std::to_string(AltPort()) + " GET /moved/new.zip HTTP/1.0\n") == 1);
    CHECK(CountOf(text, "bytes=3-") == 2);  // the header travels with the redirect
    // The reconnect restarts the counters and clears the context value.
    CHECK(downloader.ContextValue() == 0);
    CHECK(downloader.ElapsedMs() == 1);
    CHECK(downloader.BytesReceived() == 0);
  }
}

TEST_CASE("A Location that is a bare host asks that host for /") {
  HttpDownloader downloader;
  Script("_root", R"({"replies":[{"body":"root"}]})");
  Script("bare", R"({"replies":[{"status":302,"headers":[["Location",")" + AltHost() + R"("]]}]})");
  REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
  FaultLog log;
  CHECK(downloader.SendGet("/bare/x", nullptr) == 1);
  CHECK(CountOf(log.Text(), "@" + std::to_string(AltPort()) + " GET / HTTP/1.0\n") == 1);
}

TEST_CASE("Redirects that cannot be followed fail instead of looping or overflowing") {
  HttpDownloader downloader;
  std::string longTarget = "http://" + Host() + "/" + std::string(260, 'p');
  // Requests the server sees: the first plus, for a loop, exactly ten followed hops.
  struct Case {
    const char* name;
    std::string location;
    int requests;
  } cases[] = {
      {"loop", "http://" + Host() + "/loop/again", 11},
      {"pingpong", "http://" + AltHost() + "/pingpong/back", 11},
      {"toolong", longTarget, 1},
      {"secure", "https://" + Host() + "/x", 1},  // the scheme word becomes the host name
      {"relative", "/relative/x", 1},             // empty host
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    Script(c.name,
           R"({"replies":[{"status":302,"headers":[["Location",")" + c.location + R"("]]}]})");
    REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
    FaultLog log;
    DWORD start = GetTickCount();
    CHECK(downloader.SendGet((std::string("/") + c.name + "/start").c_str(), nullptr) == 0);
    CHECK(GetTickCount() - start < 15000);
    CHECK(CountOf(log.Text(), " GET /") == c.requests);
  }
}

TEST_CASE("QueryContentLength reads decimal lengths only") {
  struct Case {
    const char* header;
    int result;
    uint64_t size;
  } cases[] = {
      {"1234", 1, 1234},
      {"5368709120", 1, 5368709120ull},  // 5 GiB, past 32 bits
      {"18446744073709551615", 1, 18446744073709551615ull},
      {"18446744073709551616", 0, 0},  // past 64 bits
      {"-5", 0, 0},
      {"abc", 0, 0},
  };
  HttpDownloader downloader;
  REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
  uint64_t size = 99;
  CHECK(downloader.QueryContentLength(&size) == 0);  // no request yet
  for (const Case& c : cases) {
    CAPTURE(c.header);
    Script("length",
           std::string(R"({"replies":[{"content_length":")") + c.header + R"(","body":""}]})");
    REQUIRE(downloader.SendGet("/length/x", nullptr) == 1);
    size = 99;
    CHECK(downloader.QueryContentLength(&size) == c.result);
    CHECK(size == (c.result == 1 ? c.size : 99));
  }
  Script("nolength", R"({"replies":[{"content_length":null,"body":"abc"}]})");
  REQUIRE(downloader.SendGet("/nolength/x", nullptr) == 1);
  CHECK(downloader.QueryContentLength(&size) == 0);
  CHECK(downloader.QueryContentLength(nullptr) == 0);
}

TEST_CASE("QueryLastModified parses the date words of the reply") {
  struct Case {
    const char* header;
    int result;
    WORD year, month, day, hour, minute, second;
  } cases[] = {
      {"Wed, 21 Oct 2015 07:28:00 GMT", 1, 2015, 10, 21, 7, 28, 0},
      {"Sun, 06 NOV 1994 08:49:37 GMT", 1, 1994, 11, 6, 8, 49, 37},
      {"Wed, 21 Foo 2015 23:59:59 GMT", 1, 2015, 0, 21, 23, 59, 59},
      {"Wed, 21", 1, 0, 0, 21, 0, 0, 0},                                 // missing words stay zero
      {"Wednesday, 21 October 2015 07:28:00 GMT", 0, 0, 0, 0, 0, 0, 0},  // over 31 characters
  };
  HttpDownloader downloader;
  REQUIRE(downloader.Connect(Host().c_str(), nullptr, nullptr, 0) == 1);
  for (const Case& c : cases) {
    CAPTURE(c.header);
    Script("date",
           std::string(R"({"replies":[{"last_modified":")") + c.header + R"(","body":""}]})");
    REQUIRE(downloader.SendGet("/date/x", nullptr) == 1);
    SYSTEMTIME time;
    memset(&time, 0xCC, sizeof time);
    REQUIRE(downloader.QueryLastModified(&time) == c.result);
    if (c.result != 1) continue;
    CHECK(time.wYear == c.year);
    CHECK(time.wMonth == c.month);
    CHECK(time.wDay == c.day);
    CHECK(time.wHour == c.hour);
    CHECK(time.wMinute == c.minute);
    CHECK(time.wSecond == c.second);
    CHECK(time.wDayOfWeek == 0);
    CHECK(time.wMilliseconds == 0);
  }
  Script("nodate", R"({"replies":[{"last_modified":null,"body":""}]})");
  REQUIRE(downloader.SendGet("/nodate/x", nullptr) == 1);
  SYSTEMTIME time = {};
  CHECK(downloader.QueryLastModified(&time) == 0);
}

TEST_CASE("MonthFromName matches three-letter English month names in any case") {
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int i = 0; i < 12; ++i) CHECK(HttpDownloader::MonthFromName(names[i]) == i + 1);
  CHECK(HttpDownloader::MonthFromName("OCT") == 10);
  CHECK(HttpDownloader::MonthFromName("October") == 10);
  CHECK(HttpDownloader::MonthFromName("dec") == 12);
  CHECK(HttpDownloader::MonthFromName("Oc") == 0);
  CHECK(HttpDownloader::MonthFromName("") == 0);
  CHECK(HttpDownloader::MonthFromName("Foo") == 0);
  CHECK(HttpDownloader::MonthFromName(nullptr) == 0);
}
