// Pause and continue of the install worker: a flag and an event the worker honours at safe
// points, so it is never stopped while holding a lock the UI thread needs next. The window
// pauses here where it would suspend the worker, and creates a worker paused by pausing
// first; the worker's progress notification passes through WaitWhilePaused after each block.
#pragma once

#include <atomic>

#include "app/Handle.h"

class PauseGate {
 public:
  PauseGate();
  PauseGate(const PauseGate&) = delete;
  PauseGate& operator=(const PauseGate&) = delete;

  void Pause();   // any thread; takes effect at the worker's next safe point
  void Resume();  // any thread
  bool IsPaused() const { return paused.load(); }

  // Worker thread, at a safe point: between blocks, between attempts, before unpacking.
  void WaitWhilePaused();

 private:
  std::atomic<bool> paused{false};
  KernelHandle running;  // manual-reset event, signalled while not paused
};
