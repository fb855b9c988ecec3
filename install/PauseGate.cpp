// Pause and continue of the install worker.
#include "install/PauseGate.h"

PauseGate::PauseGate() : running(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

void PauseGate::Pause() {
  paused.store(true);
  ResetEvent(running.get());
}

void PauseGate::Resume() {
  paused.store(false);
  SetEvent(running.get());
}

void PauseGate::WaitWhilePaused() {
  // The flag saves a kernel call per block while running; the event does the waiting.
  while (paused.load()) {
    if (WaitForSingleObject(running.get(), INFINITE) == WAIT_FAILED) Sleep(50);
  }
}
