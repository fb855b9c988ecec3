// What the install worker needs of its window: the narrow interface the pipeline runs and is
// tested against without any UI. Every operation is called on the worker thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class HttpDownloader;
class PauseGate;

// The window texts the worker writes.
enum class InstallLabel : int { Size = 0, Percent = 1, Caption = 2 };

// The download counters as the progress notification last stored them, in full width.
struct ProgressCounts {
  uint64_t done = 0;      // bytes now in the archive file
  uint64_t total = 0;     // the archive's total size
  uint64_t received = 0;  // body bytes received since Connect
};

class InstallHost {
 public:
  virtual ~InstallHost() = default;

  // The downloader the worker drives; its progress notification feeds ReadProgress and
  // must call Gate().WaitWhilePaused(), which makes every block a safe pause point.
  virtual HttpDownloader& Downloader() = 0;
  virtual ProgressCounts ReadProgress() = 0;
  virtual void ClearReceived() = 0;  // stall rule: the shown speed drops to 0

  // The install folder (the path text after its prefix), ending in "\". A copy: the folder
  // cannot change while a worker exists.
  virtual std::wstring InstallFolder() = 0;

  // UI changes. Implementations hand them to the UI thread (PostedInstallHost does it with
  // posted messages); the worker never touches an element itself.
  virtual void SetLabelText(InstallLabel label, const std::wstring& text) = 0;
  virtual void HideRunner() = 0;
  virtual void StartTimer(UINT_PTR id, UINT periodMs) = 0;
  virtual void StopTimer(UINT_PTR id) = 0;
  virtual void ShowFailure(int kind) = 0;  // 0 download failure, 1 install failure

  // Target of ActivateMessage after a successful install.
  virtual HWND WindowHandle() = 0;

  // Pause and continue of this worker.
  virtual PauseGate& Gate() = 0;
};
