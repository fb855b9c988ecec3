// DownloadWindow's timers: the running figure, the tips and the progress refresh; the bubble
// timers go to their own code.
#include "app/Config.h"
#include "windows/DownloadWindow.h"

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
  sizeLabel->SetText(FormatSizeText(p.done, p.total).c_str());
  speedLabel->SetText(FormatSpeedText(p.received, p.elapsedMs).c_str());
  ProgressGeometry g = ComputeProgressGeometry(p.done, p.total);
  RECT fill{BarLeft, BarTop, g.fillRight, BarBottom};
  progressFill->SetBounds(&fill, 0);
  RECT figure{g.runnerLeft, RunnerTop, g.runnerRight, RunnerBottom};
  runner->SetBounds(&figure, 0);
  percentLabel->SetText(FormatPercentText(g.percent).c_str());
}
