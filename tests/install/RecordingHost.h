// InstallHost for tests: a real downloader, the call record of every UI change, and a
// message-only window that receives what the worker posts.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "install/InstallHost.h"
#include "install/PauseGate.h"
#include "net/HttpDownloader.h"

class RecordingHost : public InstallHost {
 public:
  explicit RecordingHost(std::wstring installFolder);
  ~RecordingHost() override;

  HttpDownloader& Downloader() override { return downloader; }
  ProgressCounts ReadProgress() override;
  void ClearReceived() override;
  std::wstring InstallFolder() override { return folder; }
  void SetLabelText(InstallLabel label, const std::wstring& text) override;
  void HideRunner() override;
  void StartTimer(UINT_PTR id, UINT periodMs) override;
  void StopTimer(UINT_PTR id) override;
  void ShowFailure(int kind) override;
  HWND WindowHandle() override { return window; }
  PauseGate& Gate() override { return gate; }

  // Calls in order, as UTF-8 lines: "timer+ 112 50", "timer- 99", "text size 1.00M/1.00M",
  // "text percent 100%", "text caption ...", "runner hidden", "failure 1", "clear received".
  std::vector<std::string> Calls();
  bool Called(const std::string& line);
  int Blocks() const { return blocks.load(); }
  void SetReceived(uint64_t value);
  // Runs on the worker thread after each written block, before the pause point.
  std::function<void(int block)> onBlock;
  // Removes ActivateMessage from the window's queue (the calling thread must own the window).
  bool TakeActivateMessage();

 private:
  class ProgressDownloader : public HttpDownloader {
   public:
    explicit ProgressDownloader(RecordingHost& ownerValue) : owner(ownerValue) {}
    void OnProgress(HANDLE file, int32_t state, uint32_t elapsedMsValue, uint64_t receivedValue,
                    uint64_t total, uint64_t done, int32_t context) override;

   private:
    RecordingHost& owner;
  };

  void Record(const std::string& line);

  std::wstring folder;
  ProgressDownloader downloader;
  PauseGate gate;
  HWND window;
  std::mutex lock;
  std::vector<std::string> calls;
  ProgressCounts progress;
  std::atomic<int> blocks{0};
};
