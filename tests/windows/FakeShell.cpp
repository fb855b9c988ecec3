// Stand-in for the shell's desktop in the icon tests: a "Progman" window holding a
// "SHELLDLL_DefView" with a real comctl32 "SysListView32" of desktop items.
//   fake_shell <progman title> <items|empty|nolistview> <ready event> <quit event> <report file>
// Writes "left top right bottom originX originY" of the item captioned "tOLMARo" (the item
// rectangle in list-view client coordinates, then the list view's screen origin) to the
// report file, signals the ready event and serves messages until the quit event (at most 60 s).
#include <windows.h>
// commctrl.h needs the Windows headers first.
#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int ShellLeft = 120;
constexpr int ShellTop = 70;

HWND MakeWindow(const char* className, const char* title, DWORD style, int x, int y, int w, int h,
                HWND parent) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, title, style, x, y, w, h, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void AddItem(HWND listView, int index, const char* caption) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(caption);
  SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return 2;
  const char* title = argv[1];
  const char* mode = argv[2];
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
  HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  if (!ready || !quit) return 3;

  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&controls);
  // Shown without activation, like the real desktop that never takes the focus.
  HWND progman = MakeWindow("Progman", title, WS_POPUP, ShellLeft, ShellTop, 800, 600, nullptr);
  HWND defView = MakeWindow("SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, progman);
  RECT expected = {};
  POINT origin = {};
  if (std::strcmp(mode, "nolistview") != 0) {
    HWND listView = CreateWindowExA(0, WC_LISTVIEWA, "FolderView",
                                    WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE, 0, 0, 800,
                                    600, defView, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (std::strcmp(mode, "items") == 0) {
      AddItem(listView, 0, "Recycle Bin");
      AddItem(listView, 1, "Tolmaro Classic");
      AddItem(listView, 2, "Notes");
      AddItem(listView, 3, "tOLMARo");
      expected.left = LVIR_BOUNDS;
      SendMessageA(listView, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&expected));
    }
    MapWindowPoints(listView, nullptr, &origin, 1);
  }
  ShowWindow(progman, SW_SHOWNOACTIVATE);

  FILE* report = std::fopen(argv[5], "w");
  if (!report) return 4;
  std::fprintf(report, "%ld %ld %ld %ld %ld %ld\n", expected.left, expected.top, expected.right,
               expected.bottom, origin.x, origin.y);
  std::fclose(report);
  SetEvent(ready);

  DWORD start = GetTickCount();
  while (GetTickCount() - start < 60000) {
    if (MsgWaitForMultipleObjects(1, &quit, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  DestroyWindow(progman);
  return 0;
}
