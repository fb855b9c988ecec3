// Posted hand-over of the worker's UI changes.
#include "install/PostedInstallHost.h"

#include <memory>

namespace {

enum class CallKind : int { LabelText, HideRunner, StartTimer, StopTimer, ShowFailure };

struct PostedCall {
  explicit PostedCall(CallKind kindValue) : kind(kindValue) {}
  CallKind kind;
  InstallLabel label = InstallLabel::Size;
  std::wstring text;
  UINT_PTR timerId = 0;
  UINT periodMs = 0;
  int failureKind = 0;
};

// wParam carries a check value so a stray message with this number is never taken for a
// call and freed.
constexpr WPARAM HandOverTag = 0x1457A11;

void Post(HWND window, std::unique_ptr<PostedCall> call) {
  if (PostMessageW(window, InstallHandOverMessage, HandOverTag,
                   reinterpret_cast<LPARAM>(call.get()))) {
    call.release();  // the UI thread owns it now
  }
}

}  // namespace

void PostedInstallHost::SetLabelText(InstallLabel label, const std::wstring& text) {
  auto call = std::make_unique<PostedCall>(CallKind::LabelText);
  call->label = label;
  call->text = text;
  Post(WindowHandle(), std::move(call));
}

void PostedInstallHost::HideRunner() {
  Post(WindowHandle(), std::make_unique<PostedCall>(CallKind::HideRunner));
}

void PostedInstallHost::StartTimer(UINT_PTR id, UINT periodMs) {
  auto call = std::make_unique<PostedCall>(CallKind::StartTimer);
  call->timerId = id;
  call->periodMs = periodMs;
  Post(WindowHandle(), std::move(call));
}

void PostedInstallHost::StopTimer(UINT_PTR id) {
  auto call = std::make_unique<PostedCall>(CallKind::StopTimer);
  call->timerId = id;
  Post(WindowHandle(), std::move(call));
}

void PostedInstallHost::ShowFailure(int kind) {
  auto call = std::make_unique<PostedCall>(CallKind::ShowFailure);
  call->failureKind = kind;
  Post(WindowHandle(), std::move(call));
}

bool DispatchInstallHandOver(UINT message, WPARAM wParam, LPARAM lParam, InstallUiSink& sink) {
  if (message != InstallHandOverMessage || wParam != HandOverTag || lParam == 0) return false;
  std::unique_ptr<PostedCall> call(reinterpret_cast<PostedCall*>(lParam));
  switch (call->kind) {
    case CallKind::LabelText:
      sink.ApplyLabelText(call->label, call->text);
      break;
    case CallKind::HideRunner:
      sink.ApplyHideRunner();
      break;
    case CallKind::StartTimer:
      sink.ApplyStartTimer(call->timerId, call->periodMs);
      break;
    case CallKind::StopTimer:
      sink.ApplyStopTimer(call->timerId);
      break;
    case CallKind::ShowFailure:
      sink.ApplyShowFailure(call->failureKind);
      break;
  }
  return true;
}
