// DownloadToFile against nginx: its own Last-Modified, Content-Length and range handling.
#include <doctest/doctest.h>

#include <string>

#include "tests/net/NetTestSupport.h"

using test::CountOf;

TEST_CASE("nginx: fresh, complete, continued and outdated local files") {
  const std::string docroot = test::ServerDir(NginxFixture) + "\\www";
  const std::string accessLog = test::ServerDir(NginxFixture) + "\\access.log";
  CreateDirectoryA(docroot.c_str(), nullptr);
  // Content that no offset mistake can reproduce: a pattern with a 4093-byte period.
  std::string source(700001, '\0');
  for (size_t i = 0; i < source.size(); ++i)
    source[i] = static_cast<char>((i * 7 + i / 4093) & 0xFF);
  const SYSTEMTIME serverDate = {2020, 2, 0, 29, 12, 34, 56, 0};
  REQUIRE(MakeFile(docroot + "\\lobby.zip", source, serverDate));

  std::string dir = test::ScratchDir("nginx_download");
  REQUIRE(SetCurrentDirectoryA(dir.c_str()));
  const std::string local = dir + "\\tez_lobby.install";
  RecordingDownloader downloader;
  REQUIRE(downloader.Connect(test::ServerHost(NginxFixture).c_str(), nullptr, nullptr, 0) == 1);
  auto content = [&]() {
    std::string text;
    test::ReadWholeFile(local, text);
    return text;
  };

  // Fresh: created, filled from the start, stamped with Last-Modified.
  size_t logStart = test::FileSize(accessLog);
  CHECK(downloader.DownloadToFile("/lobby.zip", "tez_lobby.install", 1) == 0);
  CHECK(content() == source);
  CHECK(SameTime(test::LastWriteTime(local), serverDate));
  CHECK(downloader.calls.size() == (source.size() + 4095) / 4096);
  CHECK(downloader.BytesReceived() == source.size());

  // Complete with the server's date: nothing read, one state-0 call.
  downloader.calls.clear();
  CHECK(downloader.DownloadToFile("/lobby.zip", "tez_lobby.install", 1) == 1);
  REQUIRE(downloader.calls.size() == 1);
  CHECK(downloader.calls[0].state == 0);
  CHECK(downloader.calls[0].done == source.size());
  CHECK(downloader.BytesReceived() == source.size());

  // Partial with the server's date: continued with a range request, byte-identical.
  REQUIRE(MakeFile(local, source.substr(0, 300000), serverDate));
  CHECK(downloader.DownloadToFile("/lobby.zip", "tez_lobby.install", 1) == 0);
  CHECK(content() == source);
  CHECK(SameTime(test::LastWriteTime(local), serverDate));
  CHECK(downloader.BytesReceived() == 2 * source.size() - 300000);

  // One second off: emptied and downloaded again without a range.
  SYSTEMTIME secondOff = serverDate;
  secondOff.wSecond = 57;
  REQUIRE(MakeFile(local, source.substr(0, 300000), secondOff));
  CHECK(downloader.DownloadToFile("/lobby.zip", "tez_lobby.install", 1) == 0);
  CHECK(content() == source);
  CHECK(SameTime(test::LastWriteTime(local), serverDate));

  // A missing object is a failed first request.
  CHECK(downloader.DownloadToFile("/missing.zip", "tez_lobby.install", 1) == -1);
  CHECK(content() == source);

  // Only this test's lines: other tests share the server.
  std::string log;
  std::string all = test::ReadFrom(accessLog, logStart);
  for (size_t at = 0, end; at < all.size(); at = end + 1) {
    end = all.find('\n', at);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(at, end - at);
    if (line.find("/lobby.zip ") != std::string::npos) log += line + "\n";
  }
  CAPTURE(log);
  CHECK(CountOf(log, "\"GET /lobby.zip HTTP/1.0\"") == 5);
  CHECK(CountOf(log, "\"GET /lobby.zip HTTP/1.0\" 206 400001 range=\"bytes=300000-\"") == 1);
  CHECK(CountOf(log, "range=\"bytes=") == 1);
}
