// DownloadWindow's links to its peer windows: the error window, the welcome bubble and the
// lobby's login marker.
#include "windows/DownloadWindow.h"
#include "windows/LobbyLoginMarker.h"

void DownloadWindow::CreateErrorWindow() {
  RECT client{};
  GetClientRect(hwnd, &client);
  errorWindow = std::make_unique<ErrorWindow>(&client, hwnd);
  errorElements = errorWindow->CreateElements();
}

// Runs on the UI thread: the worker's request arrives through the hand-over.
void DownloadWindow::ShowFailure(int kind) {
  if (errorWindow) ShowFailureOn(*errorWindow, errorElements, kind);
}

void DownloadWindow::WriteLoginMarker() { WriteLobbyLoginMarker(pathLabel->GetText()); }

void DownloadWindow::OnShowBubble(WPARAM wParam, LPARAM lParam) {
  iconTip.OnShowBubble(wParam, lParam);
}
void DownloadWindow::OnIconSearchTimer() { iconTip.OnIconSearchTimer(*this, log); }
void DownloadWindow::OnBubbleTimer() { iconTip.OnBubbleTimer(*this); }
