// The progress timer's arithmetic: texts, bar and runner geometry, frame and tip cycles.
#include "tests/support/Doctest.h"

#include "windows/ProgressDisplay.h"

#include <string>

namespace {
constexpr uint64_t KiB = 1024;
constexpr uint64_t MiB = 1024 * KiB;
constexpr uint64_t GiB = 1024 * MiB;
}  // namespace

TEST_CASE("size, speed and percent texts and the bar geometry") {
  struct Case {
    const char* name;
    DownloadProgress progress;
    const wchar_t* size;
    const wchar_t* speed;
    int fillRight, runnerLeft, runnerRight, percent;
  };
  const Case cases[] = {
      {"before any progress", {0, 1, 1, 0}, L"0.00M/0.00M", L"当前下载速度：0K/S", 31, 11, 36, 0},
      // Speeds go through whole bytes per millisecond: 1048 B/ms is 1023 KiB/s.
      {"a quarter", {20 * MiB, 80 * MiB, 1, 1048}, L"20.00M/80.00M",
       L"当前下载速度：1023K/S", 31 + 134, 11 + 134, 36 + 134, 25},
      {"1024 KiB/s is 1M/S", {0, 80 * MiB, 1, 1049}, L"0.00M/80.00M",
       L"当前下载速度：1M/S", 31, 11, 36, 0},
      {"1536 KiB/s is still 1M/S", {0, 80 * MiB, 1, 1573}, L"0.00M/80.00M",
       L"当前下载速度：1M/S", 31, 11, 36, 0},
      // The speed must not wrap at 16 bits: 64 MiB/s is 64M/S, not 0K/S.
      {"64 MiB/s", {0, 80 * MiB, 1000, 67109 * 1000}, L"0.00M/80.00M", L"当前下载速度：64M/S", 31, 11,
       36, 0},
      {"99.9% truncates", {999 * KiB, 1000 * KiB, 1, 0}, L"0.98M/0.98M", L"当前下载速度：0K/S", 566,
       546, 571, 99},
      {"done equals total", {80 * MiB, 80 * MiB, 1, 0}, L"80.00M/80.00M", L"当前下载速度：0K/S", 567,
       547, 572, 100},
      // 64-bit counts: a 5 GiB archive shows its true size and fraction.
      {"5 GiB archive", {5 * GiB, 5 * GiB, 1, 0}, L"5120.00M/5120.00M", L"当前下载速度：0K/S", 567,
       547, 572, 100},
      {"half of 5 GiB", {2560 * MiB, 5 * GiB, 1, 0}, L"2560.00M/5120.00M", L"当前下载速度：0K/S",
       31 + 268, 11 + 268, 36 + 268, 50},
      // A reply without a length: no division by zero, an empty bar at 0%.
      {"total 0", {5 * MiB, 0, 1, 0}, L"5.00M/0.00M", L"当前下载速度：0K/S", 31, 11, 36, 0},
      {"elapsed 0", {0, 1, 0, 5 * MiB}, L"0.00M/0.00M", L"当前下载速度：0K/S", 31, 11, 36, 0},
  };
  for (const Case& c : cases) {
    CAPTURE(std::string(c.name));
    const DownloadProgress& p = c.progress;
    CHECK(FormatSizeText(p.done, p.total) == c.size);
    CHECK(FormatSpeedText(p.received, p.elapsedMs) == c.speed);
    ProgressGeometry g = ComputeProgressGeometry(p.done, p.total);
    CHECK(g.fillRight == c.fillRight);
    CHECK(g.runnerLeft == c.runnerLeft);
    CHECK(g.runnerRight == c.runnerRight);
    CHECK(g.percent == c.percent);
    CHECK(g.runnerRight - g.runnerLeft == 25);
  }
  CHECK(FormatPercentText(37) == L"37%");
}

TEST_CASE("the running figure cycles frames 1 to 17 and tips run 0..4 then 0") {
  int frame = 0;
  std::wstring frames;
  for (int i = 0; i < 19; ++i) {
    frame = NextRunnerFrame(frame);
    frames += std::to_wstring(frame) + L",";
  }
  CHECK(frames == L"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,1,2,");
  int tip = 0;
  std::wstring tips = L"0,";
  for (int i = 0; i < 6; ++i) {
    tip = NextTipIndex(tip);
    tips += std::to_wstring(tip) + L",";
  }
  CHECK(tips == L"0,1,2,3,4,0,1,");
}
