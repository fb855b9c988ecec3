// Hand-over of the worker's UI changes to the UI thread as posted messages. The window
// derives from PostedInstallHost (worker side) and InstallUiSink (UI side) and passes
// InstallHandOverMessage to DispatchInstallHandOver in its message handler.
#pragma once

#include "install/InstallHost.h"

// Private message of the window; lParam owns the posted call until it is dispatched.
constexpr UINT InstallHandOverMessage = WM_APP + 0x240;

// Applies the worker's changes on the UI thread.
class InstallUiSink {
 public:
  virtual ~InstallUiSink() = default;
  virtual void ApplyLabelText(InstallLabel label, const std::wstring& text) = 0;
  virtual void ApplyHideRunner() = 0;
  virtual void ApplyStartTimer(UINT_PTR id, UINT periodMs) = 0;
  virtual void ApplyStopTimer(UINT_PTR id) = 0;
  virtual void ApplyShowFailure(int kind) = 0;
};

// The UI operations of InstallHost, each posted to WindowHandle() with its own copy of the
// text: the worker never frees or rewrites a text the UI thread may be drawing.
class PostedInstallHost : public InstallHost {
 public:
  void SetLabelText(InstallLabel label, const std::wstring& text) override;
  void HideRunner() override;
  void StartTimer(UINT_PTR id, UINT periodMs) override;
  void StopTimer(UINT_PTR id) override;
  void ShowFailure(int kind) override;
};

// UI thread: when the message is InstallHandOverMessage, applies the call to the sink,
// frees it and returns true; any other message returns false untouched.
bool DispatchInstallHandOver(UINT message, WPARAM wParam, LPARAM lParam, InstallUiSink& sink);
