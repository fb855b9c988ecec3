// WindowRegistry: per-thread handle-to-window maps.
#include "ui/WindowRegistry.h"

#include "ui/LayeredWindow.h"

namespace {
// Made before main, like the other process-wide toolkit objects; outlives every window that
// registers after it.
[[maybe_unused]] WindowRegistry& registryAtLoad = WindowRegistry::Instance();
}  // namespace

WindowRegistry& WindowRegistry::Instance() {
  static WindowRegistry instance;
  return instance;
}

void WindowRegistry::Register(LayeredWindow* window) {
  if (!window) return;
  WindowRegistry& self = Instance();
  std::lock_guard<std::mutex> guard(self.lock);
  self.windows[GetCurrentThreadId()][window->GetHwnd()] = window;
}

LayeredWindow* WindowRegistry::Find(HWND hwnd) {
  if (IsWindow(hwnd) != 1) return nullptr;
  WindowRegistry& self = Instance();
  std::lock_guard<std::mutex> guard(self.lock);
  auto thread = self.windows.find(GetCurrentThreadId());
  if (thread == self.windows.end()) return nullptr;
  auto entry = thread->second.find(hwnd);
  return entry == thread->second.end() ? nullptr : entry->second;
}

void WindowRegistry::Forget(HWND hwnd, const LayeredWindow* window) {
  WindowRegistry& self = Instance();
  std::lock_guard<std::mutex> guard(self.lock);
  auto thread = self.windows.find(GetCurrentThreadId());
  if (thread == self.windows.end()) return;
  auto entry = thread->second.find(hwnd);
  if (entry != thread->second.end() && entry->second == window) thread->second.erase(entry);
}

bool WindowRegistry::IsRegistered(HWND hwnd) {
  WindowRegistry& self = Instance();
  std::lock_guard<std::mutex> guard(self.lock);
  auto thread = self.windows.find(GetCurrentThreadId());
  return thread != self.windows.end() && thread->second.count(hwnd) != 0;
}
