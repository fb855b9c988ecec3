// A program that faults with the handler installed leaves a minidump crash.dat beside itself.
#include <doctest/doctest.h>

#include "tests/support/TestSupport.h"

TEST_CASE("a crash writes crash.dat in minidump format and a second crash replaces it") {
  std::string dir = test::ScratchDir("crash");
  std::string probe = dir + "\\crash_probe.exe";
  REQUIRE(CopyFileA((test::ProgramDir() + "\\crash_probe.exe").c_str(), probe.c_str(), FALSE));
  std::string dump = dir + "\\crash.dat";

  for (int run = 0; run < 2; ++run) {
    CAPTURE(run);
    if (run == 1) REQUIRE(test::WriteWholeFile(dump, "stale text from an earlier crash"));
    int code = test::RunProcess("\"" + probe + "\"", 120000, dir.c_str());
    CHECK(code != 0);
    CHECK(code != 3);  // 3: the handler could not be installed
    std::string bytes;
    REQUIRE(test::ReadWholeFile(dump, bytes));
    CHECK(bytes.size() > 32);
    CHECK(bytes.compare(0, 4, "MDMP") == 0);
  }
}
