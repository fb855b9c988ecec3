// Progress texts and bar geometry.
#include "windows/ProgressDisplay.h"

#include "app/Config.h"

#include <cwchar>

namespace {

// Kilobytes as a single-precision float, as the display has always computed them; the
// counts are 64-bit so archives above 4 GiB show their true size.
float Kilobytes(uint64_t bytes) { return static_cast<float>(bytes) / 1024.0f; }

}  // namespace

std::wstring FormatSizeText(uint64_t done, uint64_t total) {
  float a = Kilobytes(done);
  float b = Kilobytes(total);
  wchar_t text[64];
  swprintf(text, 64, L"%.02fM/%.02fM", static_cast<double>(a) / 1024,
           static_cast<double>(b) / 1024);
  return text;
}

std::wstring FormatSpeedText(uint64_t received, uint32_t elapsedMs) {
  uint64_t bytesPerSecond = (elapsedMs ? received / elapsedMs : 0) * 1000;
  uint64_t kilobytes = bytesPerSecond >> 10;
  // Whole megabytes from 1024 KiB/s on; no 16-bit wrap, so 64 MiB/s reads 64M/S.
  wchar_t text[64];
  if (kilobytes >= 1024) {
    swprintf(text, 64, L"当前下载速度：%lluM/S", static_cast<unsigned long long>(kilobytes >> 10));
  } else {
    swprintf(text, 64, L"当前下载速度：%lluK/S", static_cast<unsigned long long>(kilobytes));
  }
  return text;
}

std::wstring FormatPercentText(int percent) {
  wchar_t text[32];
  swprintf(text, 32, L"%d%ls", percent, L"%");
  return text;
}

ProgressGeometry ComputeProgressGeometry(uint64_t done, uint64_t total) {
  // A reply without a length (total 0) leaves the bar empty at 0%.
  if (total == 0) return {BarLeft, RunnerLeftOffset, RunnerRightOffset, 0};
  float a = Kilobytes(done);
  float b = Kilobytes(total);
  float c = 1.0f / b;
  float w = c * a * static_cast<float>(BarLength);
  ProgressGeometry g;
  g.fillRight = static_cast<int>(w + static_cast<float>(BarLeft));
  g.runnerLeft = static_cast<int>(w + static_cast<float>(RunnerLeftOffset));
  g.runnerRight = static_cast<int>(w + static_cast<float>(RunnerRightOffset));
  g.percent = static_cast<int>(c * a * 100.0f);
  return g;
}

int NextRunnerFrame(int column) {
  ++column;
  return column >= RunnerFrameCount ? 1 : column;
}

int NextTipIndex(int tipIndex) {
  ++tipIndex;
  return tipIndex >= TipCount ? 0 : tipIndex;
}
