// The support log: off without its file, overwrites from offset 0, cuts long lines.
#include <doctest/doctest.h>

#include "app/DebugLog.h"
#include "tests/support/TestSupport.h"

#include <string>

TEST_CASE("no log file: nothing is written and no file appears") {
  std::string path = test::ScratchDir("log-missing") + "\\__lobby_dl_debug.log";
  DebugLog log;
  log.Open(path.c_str());
  CHECK_FALSE(log.IsOpen());
  log.Write("IsWow64 = %s", "true");
  CHECK_FALSE(test::FileExists(path));
}

TEST_CASE("an existing log is written from offset 0 with CRLF line ends") {
  std::string path = test::ScratchDir("log-existing") + "\\__lobby_dl_debug.log";
  const std::string old(100, 'x');
  REQUIRE(test::WriteWholeFile(path, old));
  {
    DebugLog log;
    log.Open(path.c_str());
    REQUIRE(log.IsOpen());
    log.Write("IsWow64 = true");
    log.Write("not found x64 '%s'", "Tolmaro");
    log.Write("IsRectEmpty() = true");
  }
  std::string text;
  REQUIRE(test::ReadWholeFile(path, text));
  const std::string lines = "IsWow64 = true\r\nnot found x64 'Tolmaro'\r\nIsRectEmpty() = true\r\n";
  CHECK(text == lines + old.substr(lines.size()));
}

TEST_CASE("a message longer than the buffer is cut to fit, not dropped") {
  std::string path = test::ScratchDir("log-long") + "\\__lobby_dl_debug.log";
  REQUIRE(test::WriteWholeFile(path, ""));
  {
    DebugLog log;
    log.Open(path.c_str());
    std::string longText(DebugLog::BufferSize * 2, 'a');
    log.Write("%s", longText.c_str());
    log.Write("next");
  }
  std::string text;
  REQUIRE(test::ReadWholeFile(path, text));
  CHECK(text == std::string(DebugLog::BufferSize - 1, 'a') + "\r\nnext\r\n");
}
