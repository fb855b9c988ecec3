// DownloadWindow's links to its peer windows: the error window, the welcome bubble and the
// lobby's login marker.
#include "windows/DownloadWindow.h"

// HOOK(errorwin): the error window is built hidden here once windows/ErrorWindow lands.
void DownloadWindow::CreateErrorWindow() {}

// HOOK(errorwin): fills and shows the error window.
void DownloadWindow::ShowFailure(int kind) { WriteLog("ShowFailure %d", kind); }

// HOOK(errorwin): WriteLobbyLoginMarker.
void DownloadWindow::WriteLoginMarker() {}

// HOOK(errorwin): the welcome bubble and its timers.
void DownloadWindow::OnShowBubble() {}
void DownloadWindow::OnIconSearchTimer() {}
void DownloadWindow::OnBubbleTimer() {}
