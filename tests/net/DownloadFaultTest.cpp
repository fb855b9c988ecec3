// DownloadToFile against the scripted fault server: failed replies, drops, stalls, servers
// that ignore ranges or send too much or too little, the stop request and the progress calls.
#include <doctest/doctest.h>

#include <string>

#include "tests/net/NetTestSupport.h"

using test::CountOf;
using test::PatternBytes;

namespace {

struct DownloadCase {
  std::string dir;
  std::string log = test::ServerDir(FaultFixture) + "\\requests.log";
  size_t logStart = test::FileSize(log);
  RecordingDownloader downloader;

  explicit DownloadCase(const char* name) : dir(test::ScratchDir(name)) {
    REQUIRE(SetCurrentDirectoryA(dir.c_str()));
    REQUIRE(downloader.Connect(test::ServerHost(FaultFixture).c_str(), nullptr, nullptr, 3) == 1);
  }
  void Script(const std::string& name, const std::string& json) {
    REQUIRE(test::WriteFaultScript(FaultFixture, name, json));
  }
  std::string File() const { return dir + "\\tez_lobby.install"; }
  std::string Content() const {
    std::string content;
    test::ReadWholeFile(File(), content);
    return content;
  }
  std::string Requests() const { return test::ReadFrom(log, logStart); }
};

}  // namespace

TEST_CASE("A reply without Last-Modified or Content-Length fails with -1 and leaves the file") {
  const char* scripts[] = {
      R"({"replies":[{"last_modified":null,"size":100}]})",
      R"({"replies":[{"content_length":null,"size":100}]})", R"({"replies":[{"status":404}]})",
      R"({"replies":[{"stall_headers_ms":8000}]})",  // nothing within the time-out
  };
  for (const char* script : scripts) {
    CAPTURE(script);
    DownloadCase c("fault_minus1");
    c.Script("bad", script);
    REQUIRE(test::WriteWholeFile(c.File(), "old bytes"));
    DWORD start = GetTickCount();
    CHECK(c.downloader.DownloadToFile("/bad/x.zip", "tez_lobby.install", 1) == -1);
    CHECK(GetTickCount() - start < 8000);
    CHECK(c.Content() == "old bytes");
    CHECK(c.downloader.calls.empty());
  }
}

TEST_CASE("A dropped connection gives -2; the next call continues with a range request") {
  DownloadCase c("fault_drop");
  c.Script("drop",
           R"({"replies":[{"size":10000,"drop_after":5000},{"size":10000,"ranges":true}]})");
  CHECK(c.downloader.DownloadToFile("/drop/x.zip", "tez_lobby.install", 1) == -2);
  CHECK(c.Content() == PatternBytes(5000));
  CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
  CHECK(c.downloader.BytesReceived() == 5000);

  c.downloader.calls.clear();
  CHECK(c.downloader.DownloadToFile("/drop/x.zip", "tez_lobby.install", 1) == 0);
  CHECK(c.Content() == PatternBytes(10000));
  CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
  std::string requests = c.Requests();
  CHECK(CountOf(requests, "GET /drop/x.zip HTTP/1.0\n") == 3);
  CHECK(CountOf(requests, "range: bytes=5000-\n") == 1);
  // Only the ranged body was read: 5000 new bytes, counted on from the first call.
  CHECK(c.downloader.BytesReceived() == 10000);
  REQUIRE(!c.downloader.calls.empty());
  CHECK(c.downloader.calls.front().done == 5000 + 4096);
  CHECK(c.downloader.calls.back().done == 10000);
}

TEST_CASE("A server that ignores the range replaces the file from byte 0, never appends") {
  DownloadCase c("fault_norange");
  c.Script("norange", R"({"replies":[{"size":10000}]})");
  REQUIRE(MakeFile(c.File(), std::string(3000, 'x'), FaultServerDate));
  CHECK(c.downloader.DownloadToFile("/norange/x.zip", "tez_lobby.install", 1) == 0);
  CHECK(CountOf(c.Requests(), "range: bytes=3000-\n") == 1);
  CHECK(c.Content() == PatternBytes(10000));
  REQUIRE(!c.downloader.calls.empty());
  CHECK(c.downloader.calls.front().done == 4096);
}

TEST_CASE("A ranged reply of the wrong length empties the file; the next call starts over") {
  DownloadCase c("fault_badrange");
  // The whole object labelled 206: its length is not the 7000 missing bytes.
  c.Script("badrange", R"({"replies":[{"size":10000},{"status":206,"size":10000}]})");
  REQUIRE(MakeFile(c.File(), std::string(3000, 'x'), FaultServerDate));
  CHECK(c.downloader.DownloadToFile("/badrange/x.zip", "tez_lobby.install", 1) == -2);
  CHECK(c.Content().empty());
  CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
  // Now the range starts at 0, and the same reply is exactly the missing part.
  CHECK(c.downloader.DownloadToFile("/badrange/x.zip", "tez_lobby.install", 1) == 0);
  CHECK(CountOf(c.Requests(), "range: bytes=0-\n") == 1);
  CHECK(c.Content() == PatternBytes(10000));
}

TEST_CASE("The body is cut at Content-Length, and a short body fails with -2") {
  struct Case {
    const char* script;
    int result;
    size_t fileSize;
  } cases[] = {
      {R"({"replies":[{"size":10000,"content_length":6000}]})", 0, 6000},
      {R"({"replies":[{"size":3000,"content_length":6000}]})", -2, 3000},
      {R"({"replies":[{"size":8192}]})", 0, 8192},  // ends at total without a further read
      {R"({"replies":[{"size":0}]})", 0, 0},
  };
  for (const Case& k : cases) {
    CAPTURE(k.script);
    DownloadCase c("fault_length");
    c.Script("length", k.script);
    CHECK(c.downloader.DownloadToFile("/length/x.zip", "tez_lobby.install", 1) == k.result);
    CHECK(c.Content() == PatternBytes(k.fileSize));
    CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
  }
}

TEST_CASE("A stall past the receive time-out ends the attempt with -2 within seconds") {
  DownloadCase c("fault_stall");
  c.Script("stall", R"({"replies":[{"size":20000,"stall_after":4096,"stall_ms":9000}]})");
  DWORD start = GetTickCount();
  CHECK(c.downloader.DownloadToFile("/stall/x.zip", "tez_lobby.install", 1) == -2);
  DWORD spent = GetTickCount() - start;
  CHECK(spent >= 4000);
  CHECK(spent < 8000);
  CHECK(c.Content() == PatternBytes(4096));
  CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
}

TEST_CASE("A failed ranged request is a failed attempt: -2, one state-0 progress call") {
  DownloadCase c("fault_rangefail");
  c.Script("rangefail", R"({"replies":[{"size":10000},{"status":416}]})");
  REQUIRE(MakeFile(c.File(), PatternBytes(3000), FaultServerDate));
  CHECK(c.downloader.DownloadToFile("/rangefail/x.zip", "tez_lobby.install", 1) == -2);
  CHECK(c.Content() == PatternBytes(3000));
  REQUIRE(c.downloader.calls.size() == 1);
  CHECK(c.downloader.calls[0].state == 0);
  CHECK(c.downloader.calls[0].done == 3000);
  CHECK(c.downloader.calls[0].total == 10000);
}

TEST_CASE("Files on disk: kept, continued or written again by date, size and resume flag") {
  SYSTEMTIME secondOff = FaultServerDate;
  secondOff.wSecond = 1;
  struct Case {
    const char* name;
    std::string content;
    SYSTEMTIME stamp;
    int resumeFlag;
    int result;
    int rangeRequests;
  } cases[] = {
      {"complete", PatternBytes(10000), FaultServerDate, 1, 1, 0},
      {"partial", PatternBytes(6000), FaultServerDate, 1, 0, 1},
      {"no resume", PatternBytes(6000), FaultServerDate, 0, 0, 0},
      {"second off", std::string(6000, 'y'), secondOff, 1, 0, 0},
      {"longer", std::string(12000, 'z'), FaultServerDate, 1, 0, 0},  // cannot be continued
  };
  for (const Case& k : cases) {
    CAPTURE(k.name);
    DownloadCase c("fault_disk");
    c.Script("disk", R"({"replies":[{"size":10000,"ranges":true}]})");
    REQUIRE(MakeFile(c.File(), k.content, k.stamp));
    CHECK(c.downloader.DownloadToFile("/disk/x.zip", "tez_lobby.install", k.resumeFlag) ==
          k.result);
    CHECK(c.Content() == PatternBytes(10000));
    CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
    CHECK(CountOf(c.Requests(), "range: bytes=") == k.rangeRequests);
    if (k.result == 1) {
      REQUIRE(c.downloader.calls.size() == 1);
      CHECK(c.downloader.calls[0].state == 0);
      CHECK(c.downloader.calls[0].done == 10000);
      CHECK(c.downloader.BytesReceived() == 0);
    }
  }
}

TEST_CASE("Progress: one call per block, running counters, the file stamped at every block") {
  DownloadCase c("fault_progress");
  c.Script("progress", R"({"replies":[{"size":10000}]})");
  CHECK(c.downloader.DownloadToFile("/progress/x.zip", "tez_lobby.install", 1) == 0);
  REQUIRE(c.downloader.calls.size() == 3);
  uint64_t expectedDone[] = {4096, 8192, 10000};
  uint32_t lastElapsed = 1;
  for (size_t i = 0; i < 3; ++i) {
    const ProgressCall& call = c.downloader.calls[i];
    CAPTURE(i);
    CHECK(call.state == 1);
    CHECK(call.done == expectedDone[i]);
    CHECK(call.received == expectedDone[i]);
    CHECK(call.total == 10000);
    CHECK(call.context == 3);
    CHECK(call.elapsedMs >= lastElapsed);
    lastElapsed = call.elapsedMs;
    CHECK(SameTime(call.stamp, FaultServerDate));
  }
}

TEST_CASE("The stop request ends the transfer with -4 and leaves a stamped partial file") {
  DownloadCase c("fault_stop");
  c.Script("stop", R"({"replies":[{"size":20000,"ranges":true}]})");
  c.downloader.stopAfterBlocks = 2;
  CHECK(c.downloader.DownloadToFile("/stop/x.zip", "tez_lobby.install", 1) == -4);
  CHECK(c.Content() == PatternBytes(8192));
  CHECK(SameTime(test::LastWriteTime(c.File()), FaultServerDate));
  CHECK(c.downloader.StopRequest() == 1);
  // Connect clears the request; the next call continues the file.
  REQUIRE(c.downloader.Connect(test::ServerHost(FaultFixture).c_str(), nullptr, nullptr, 0) == 1);
  CHECK(c.downloader.StopRequest() == 0);
  c.downloader.stopAfterBlocks = -1;
  CHECK(c.downloader.DownloadToFile("/stop/x.zip", "tez_lobby.install", 1) == 0);
  CHECK(c.Content() == PatternBytes(20000));
}

TEST_CASE("A file that cannot be opened gives -3") {
  DownloadCase c("fault_open");
  c.Script("open", R"({"replies":[{"size":100}]})");
  // Held open without sharing: the download cannot open it.
  REQUIRE(test::WriteWholeFile(c.File(), "held"));
  HANDLE held = CreateFileA(c.File().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  REQUIRE(held != INVALID_HANDLE_VALUE);
  CHECK(c.downloader.DownloadToFile("/open/x.zip", "tez_lobby.install", 1) == -3);
  CloseHandle(held);
  // A file name that names a subfolder: the folder is made first.
  CHECK(c.downloader.DownloadToFile("/open/x.zip", "sub\\deeper\\a.bin", 1) == 0);
  std::string content;
  CHECK(test::ReadWholeFile(c.dir + "\\sub\\deeper\\a.bin", content));
  CHECK(content == PatternBytes(100));
}
