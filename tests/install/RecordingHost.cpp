// InstallHost for tests.
#include "tests/install/RecordingHost.h"

#include "app/Config.h"
#include "app/Text.h"

RecordingHost::RecordingHost(std::wstring installFolder)
    : folder(std::move(installFolder)),
      downloader(*this),
      window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr)) {}

RecordingHost::~RecordingHost() {
  if (window) DestroyWindow(window);
}

ProgressCounts RecordingHost::ReadProgress() {
  std::lock_guard<std::mutex> guard(lock);
  return progress;
}

void RecordingHost::ClearReceived() {
  std::lock_guard<std::mutex> guard(lock);
  progress.received = 0;
  calls.push_back("clear received");
}

void RecordingHost::SetReceived(uint64_t value) {
  std::lock_guard<std::mutex> guard(lock);
  progress.received = value;
}

void RecordingHost::SetLabelText(InstallLabel label, const std::wstring& text) {
  const char* name = label == InstallLabel::Size      ? "size"
                     : label == InstallLabel::Percent ? "percent"
                                                      : "caption";
  Record(std::string("text ") + name + " " + ToUtf8(text.c_str()));
}

void RecordingHost::HideRunner() { Record("runner hidden"); }

void RecordingHost::StartTimer(UINT_PTR id, UINT periodMs) {
  Record("timer+ " + std::to_string(id) + " " + std::to_string(periodMs));
}

void RecordingHost::StopTimer(UINT_PTR id) { Record("timer- " + std::to_string(id)); }

void RecordingHost::ShowFailure(int kind) { Record("failure " + std::to_string(kind)); }

std::vector<std::string> RecordingHost::Calls() {
  std::lock_guard<std::mutex> guard(lock);
  return calls;
}

bool RecordingHost::Called(const std::string& line) {
  std::lock_guard<std::mutex> guard(lock);
  for (const auto& call : calls) {
    if (call == line) return true;
  }
  return false;
}

bool RecordingHost::TakeActivateMessage() {
  MSG message;
  UINT activate = RegisterWindowMessageA(ActivateMessageName);
  return PeekMessageA(&message, window, activate, activate, PM_REMOVE) && message.wParam == 0 &&
         message.lParam == 0;
}

void RecordingHost::Record(const std::string& line) {
  std::lock_guard<std::mutex> guard(lock);
  calls.push_back(line);
}

void RecordingHost::ProgressDownloader::OnProgress(HANDLE, int32_t state, uint32_t,
                                                   uint64_t receivedValue, uint64_t total,
                                                   uint64_t done, int32_t) {
  {
    std::lock_guard<std::mutex> guard(owner.lock);
    owner.progress.done = done;
    owner.progress.total = total;
    owner.progress.received = receivedValue;
  }
  if (state == ProgressBlockWritten) {
    int block = ++owner.blocks;
    if (owner.onBlock) owner.onBlock(block);
  }
  // Every block is a safe point: the window's progress copy does the same.
  owner.gate.WaitWhilePaused();
}
