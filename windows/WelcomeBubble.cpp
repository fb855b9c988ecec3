// Welcome bubble: the tag beside the new desktop icon, the icon search that places it, its
// timeout, and the shell's show-desktop call.
#include "windows/WelcomeBubble.h"

#include <objbase.h>
#include <shldisp.h>

#include "app/Config.h"
#include "app/DebugLog.h"
#include "app/Text.h"
#include "windows/DesktopIconLocator.h"

namespace {

constexpr int BubbleImageId = 1116;
constexpr wchar_t BubbleText[] = L"HI，恭候您多时了！世界那么大，有您更精彩！戳我开启游戏之旅！";

// Shell.Application and IShellDispatch4, spelled out: not every SDK's headers export them.
constexpr CLSID ShellApplicationClsid = {
    0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID ShellDispatch4Iid = {
    0xEFD84B2D, 0x4BCF, 0x4298, {0xBE, 0x25, 0xEB, 0x54, 0x2A, 0x59, 0xFB, 0xDA}};

}  // namespace

WelcomeBubble::WelcomeBubble(int x, int y, HWND owner, HMODULE module)
    : LayeredWindow(x, y, MAKEINTRESOURCEW(BubbleImageId), L"ICO_TIPS", owner, WS_EX_LAYERED,
                    WS_POPUP, 0, 0, L"IMAGE", module) {
  std::unique_ptr<Gdiplus::Font> font(
      CreateUiFont(L"微软雅黑", 9.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
  Gdiplus::StringFormat format;
  Gdiplus::SolidBrush brush{Gdiplus::Color(0xFEC8C8C8)};
  RECT area = {15, 5, 209, 40};
  label = new TextElement(&area, nullptr, this, font.get(), &format, &brush, 0, nullptr, nullptr);
  label->SetText(BubbleText);
}

WelcomeBubble::~WelcomeBubble() = default;

void ToggleDesktop() {
  // Balanced here so the UI thread's COM state is the same before and after.
  HRESULT init = CoInitialize(nullptr);
  IShellDispatch4* shell = nullptr;
  if (SUCCEEDED(CoCreateInstance(ShellApplicationClsid, nullptr,
                                 CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                 ShellDispatch4Iid, reinterpret_cast<void**>(&shell))) &&
      shell) {
    shell->ToggleDesktop();
    shell->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
}

void DesktopIconTip::OnIconSearchTimer(LayeredWindow& window, DebugLog& log, const char* caption,
                                       const DesktopShellNames* names) {
  window.StopTimer(IconSearchTimerId);
  std::string editionCaption;
  if (!caption) {
    editionCaption = ToAnsi(EditionInfo.displayName);
    caption = editionCaption.c_str();
  }
  HWND listView = nullptr;
  RECT icon = LocateDesktopIcon(caption, &listView, log, names ? *names : DefaultShellNames);
  if (IsRectEmpty(&icon)) {
    log.Write("IsRectEmpty() = true");
    return;
  }
  log.Write("sendmessage WM_APP+2");
  SendMessageA(window.GetHwnd(), ShowBubbleMessage, reinterpret_cast<WPARAM>(listView),
               reinterpret_cast<LPARAM>(&icon));
}

void DesktopIconTip::OnShowBubble(WPARAM wParam, LPARAM lParam, HMODULE module) {
  auto listView = reinterpret_cast<HWND>(wParam);
  const auto* icon = reinterpret_cast<const RECT*>(lParam);
  if (!icon) return;
  // The rectangle is in the list view's client coordinates; on a desktop whose list view
  // does not start at the screen origin (a monitor left of or above the primary one) they
  // differ from screen coordinates.
  POINT corner = {icon->right, icon->top + 5};
  if (listView) MapWindowPoints(listView, nullptr, &corner, 1);
  bubble.reset();
  bubble = std::make_unique<WelcomeBubble>(corner.x, corner.y, listView, module);
  bubble->SetVisible(1);
  if (toggleDesktop) ToggleDesktop();
}

void DesktopIconTip::OnBubbleTimer(LayeredWindow& window) {
  window.StopTimer(BubbleTimerId);
  if (bubble) bubble->SetVisible(0);
}
