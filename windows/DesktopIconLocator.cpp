// Desktop icon locator: finds the shell's desktop list view and reads its item captions
// across the process boundary with an item record in the shell's own layout.
#include "windows/DesktopIconLocator.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/DebugLog.h"
#include "app/Handle.h"

const DesktopShellNames DefaultShellNames = {"WorkerW", "Progman", "Program Manager"};

namespace {

constexpr SIZE_T RemoteTextCapacity = 1024;
// LVITEMA as a 32-bit and as a 64-bit shell lays it out: the offsets that differ.
constexpr SIZE_T Record32Size = 40;
constexpr SIZE_T Record32TextOffset = 20;
constexpr SIZE_T Record32CapacityOffset = 24;
constexpr SIZE_T Record64Size = 48;
constexpr SIZE_T Record64TextOffset = 24;
constexpr SIZE_T Record64CapacityOffset = 32;
// The layout of the build's own bitness is the SDK's LVITEMA.
#ifdef _WIN64
static_assert(offsetof(LVITEMA, pszText) == Record64TextOffset);
static_assert(offsetof(LVITEMA, cchTextMax) == Record64CapacityOffset);
static_assert(offsetof(LVITEMA, lParam) + sizeof(LPARAM) == Record64Size);
#else
static_assert(offsetof(LVITEMA, pszText) == Record32TextOffset);
static_assert(offsetof(LVITEMA, cchTextMax) == Record32CapacityOffset);
static_assert(offsetof(LVITEMA, iIndent) + sizeof(int) == Record32Size);
#endif

// Owns a block allocated in another process.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE processHandle, SIZE_T size)
      : process(processHandle),
        address(VirtualAllocEx(processHandle, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  ~RemoteBlock() {
    if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
  }
  void* get() const { return address; }
  uintptr_t at(SIZE_T offset) const { return reinterpret_cast<uintptr_t>(address) + offset; }

 private:
  HANDLE process;
  void* address;
};

HWND ListViewUnder(HWND top) {
  HWND defView = FindWindowExA(top, nullptr, "SHELLDLL_DefView", nullptr);
  if (!defView) return nullptr;
  return FindWindowExA(defView, nullptr, "SysListView32", nullptr);
}

// Whether the shell keeps its list-view records in the 64-bit layout. A 32-bit build can
// only ask whether it runs on a 64-bit system (the shell then is 64-bit); a 64-bit build
// asks about the shell process itself, which is 64-bit unless it runs under WOW64.
bool ShellUses64BitRecords(HANDLE shell) {
#ifdef _WIN64
  BOOL wow64 = FALSE;
  if (!IsWow64Process(shell, &wow64)) return true;
  return wow64 == FALSE;
#else
  (void)shell;
  return IsWow64();
#endif
}

void Put32(unsigned char* record, SIZE_T offset, uint32_t value) {
  std::memcpy(record + offset, &value, sizeof(value));
}

void Put64(unsigned char* record, SIZE_T offset, uint64_t value) {
  std::memcpy(record + offset, &value, sizeof(value));
}

}  // namespace

bool IsWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("kernel32");
  if (!kernel) return false;
  auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  if (!isWow64Process) return false;
  BOOL wow64 = FALSE;
  return isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

HWND FindDesktopListView(const DesktopShellNames& names) {
  // Behind the wallpaper slide show the icons move into one of the "WorkerW" windows; search
  // them and every top-level window after the first, as the shell may reorder them.
  for (HWND candidate = FindWindowA(names.workerClass, nullptr); candidate;
       candidate = GetWindow(candidate, GW_HWNDNEXT)) {
    if (FindWindowExA(candidate, nullptr, "SHELLDLL_DefView", nullptr)) {
      HWND listView = ListViewUnder(candidate);
      if (listView) return listView;
      break;
    }
  }
  HWND progman = FindWindowA(names.progmanClass, names.progmanTitle);
  return progman ? ListViewUnder(progman) : nullptr;
}

RECT LocateDesktopIcon(const char* caption, HWND* listViewOut, DebugLog& log,
                       const DesktopShellNames& names) {
  RECT found = {};
  HWND listView = FindDesktopListView(names);
  if (listViewOut) *listViewOut = listView;
  if (!listView) {
    log.Write("hwndSysListView32 = NULL");
    return found;
  }
  if (!caption) caption = "";

  auto count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  KernelHandle process(OpenProcess(
      PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
      processId));
  if (!process.valid()) {
    log.Write("hProcess = NULL");
    return found;
  }

  // Support reads "IsWow64 = true" as "the 64-bit record was used"; a 64-bit build keeps
  // that meaning although it is not itself under WOW64.
  const bool wide = ShellUses64BitRecords(process.get());
  log.Write(wide ? "IsWow64 = true" : "IsWow64 = false");
  const SIZE_T recordSize = wide ? Record64Size : Record32Size;
  RemoteBlock block(process.get(), recordSize + RemoteTextCapacity);
  if (!block.get()) {
    log.Write(wide ? "not found x64 '%s'" : "not found x32 '%s'", caption);
    return found;
  }

  // Every field zero but the text pointer and capacity: sub-item 0, the caption.
  unsigned char record[Record64Size] = {};
  if (wide) {
    Put64(record, Record64TextOffset, static_cast<uint64_t>(block.at(recordSize)));
    Put32(record, Record64CapacityOffset, static_cast<uint32_t>(RemoteTextCapacity));
  } else {
    Put32(record, Record32TextOffset, static_cast<uint32_t>(block.at(recordSize)));
    Put32(record, Record32CapacityOffset, static_cast<uint32_t>(RemoteTextCapacity));
  }
  bool matched = false;
  if (WriteProcessMemory(process.get(), block.get(), record, recordSize, nullptr)) {
    for (int index = 0; index < count; ++index) {
      SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                   static_cast<LPARAM>(block.at(0)));
      // One byte more than is read, so the caption always ends inside the buffer.
      char text[RemoteTextCapacity + 1] = {};
      if (!ReadProcessMemory(process.get(), reinterpret_cast<void*>(block.at(recordSize)), text,
                             RemoteTextCapacity, nullptr)) {
        continue;
      }
      if (lstrcmpiA(text, caption) != 0) continue;
      RECT query = {LVIR_BOUNDS, 0, 0, 0};
      RECT itemRect = {};
      if (WriteProcessMemory(process.get(), block.get(), &query, sizeof(query), nullptr) &&
          SendMessageA(listView, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                       static_cast<LPARAM>(block.at(0))) &&
          ReadProcessMemory(process.get(), block.get(), &itemRect, sizeof(itemRect), nullptr)) {
        found = itemRect;
      }
      matched = true;
      break;
    }
  }
  if (!matched) log.Write(wide ? "not found x64 '%s'" : "not found x32 '%s'", caption);
  return found;
}
