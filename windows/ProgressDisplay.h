// Turns the download counters into the size, speed and percent texts and the geometry of
// the progress bar and the running figure. Pure arithmetic, run by the progress timer.
#pragma once

#include <cstdint>
#include <string>

// Latest download counters, written by the install worker and read by the progress timer.
struct DownloadProgress {
  uint64_t done = 0;       // bytes in the local file
  uint64_t total = 1;      // total size; 1 keeps the first tick from dividing by zero
  uint32_t elapsedMs = 1;  // milliseconds spent reading since connect
  uint64_t received = 0;   // bytes received since connect
};

struct ProgressGeometry {
  int fillRight;    // progressFill spans (BarLeft, BarTop)-(fillRight, BarBottom)
  int runnerLeft;   // runner spans (runnerLeft, RunnerTop)-(runnerRight, RunnerBottom)
  int runnerRight;
  int percent;
};

constexpr int BarLeft = 31;
constexpr int BarTop = 252;
constexpr int BarBottom = 266;
constexpr int BarLength = 536;
constexpr int RunnerLeftOffset = 11;
constexpr int RunnerRightOffset = 36;
constexpr int RunnerTop = 237;
constexpr int RunnerBottom = 278;
constexpr int RunnerFrameCount = 18;

// "12.50M/80.25M"
std::wstring FormatSizeText(uint64_t done, uint64_t total);
// "当前下载速度：1023K/S" / "当前下载速度：1M/S"; the average since connect.
std::wstring FormatSpeedText(uint64_t received, uint32_t elapsedMs);
// "37%"
std::wstring FormatPercentText(int percent);
ProgressGeometry ComputeProgressGeometry(uint64_t done, uint64_t total);

// Frame after `column` in the running figure's cycle 1..17 (frame 0 is only the start).
int NextRunnerFrame(int column);
int NextTipIndex(int tipIndex);
