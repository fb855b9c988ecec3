// DownloadWindow's timers: the running figure, the tips and the progress refresh; the bubble
// timers go to their own code.
#include <string>

#include "app/Config.h"
#include "windows/DownloadWindow.h"

namespace {

// Most ticks repeat most texts, and repainting an unchanged label is the largest part of the
// UI thread's work during a download.
void SetTextIfChanged(TextElement* label, const std::wstring& text) {
  const wchar_t* current = label->GetText();
  if (current && text == current) return;
  label->SetText(text.c_str());
}

}  // namespace

void DownloadWindow::OnTimer(UINT_PTR timer) {
  if (timer == AnimationTimerId) {
    int column = 0;
    int row = 0;
    runner->GetFrame(&column, &row);
    runner->SetFrame(NextRunnerFrame(column), row);
  } else if (timer == TipTimerId) {
    TipIndex = NextTipIndex(TipIndex);
    tipLabel->SetText(TipTable[TipIndex]);
  } else if (timer == IconSearchTimerId) {
    OnIconSearchTimer();
  } else if (timer == BubbleTimerId) {
    OnBubbleTimer();
  } else if (timer == ProgressTimerId) {
    RefreshProgress();
  }
}

void DownloadWindow::RefreshProgress() {
  // Each tick reads the latest counters; nothing is kept between ticks.
  DownloadProgress p = ReadCounters();
  SetTextIfChanged(sizeLabel, FormatSizeText(p.done, p.total));
  SetTextIfChanged(speedLabel, FormatSpeedText(p.received, p.elapsedMs));
  ProgressGeometry g = ComputeProgressGeometry(p.done, p.total);
  RECT fill{BarLeft, BarTop, g.fillRight, BarBottom};
  progressFill->SetBounds(&fill, 0);
  RECT figure{g.runnerLeft, RunnerTop, g.runnerRight, RunnerBottom};
  runner->SetBounds(&figure, 0);
  SetTextIfChanged(percentLabel, FormatPercentText(g.percent));
}
