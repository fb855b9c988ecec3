// ErrorWindow: construction, its elements, the button answers and the failure texts.
#include "windows/ErrorWindow.h"

#include <memory>

#include "app/Config.h"

namespace {

constexpr wchar_t ImageType[] = L"IMAGE";
constexpr int ErrorBoxImageId = 1117;
constexpr int ErrorOkImageId = 1118;
constexpr int ErrorRetryImageId = 1119;

constexpr wchar_t LabelFontFamily[] = L"微软雅黑";

const FailureTexts DownloadFailure = {
    L"下载失败：", L"以下问题可能是造成您下载失败的主要原因：",
    L"1.网络不稳定造成。\n2.安全软件或防火墙阻挡了本次下载。\n3.检查客户端下载器是否是最新版本。",
    1};
const FailureTexts InstallFailure = {
    L"安装失败：", L"以下问题可能是造成您安装失败的主要原因：",
    L"1.硬盘空间不足或被写保护。\n2.退出正在运行的游戏。\n3.防火墙阻挡导致安装失败。", 0};
const FailureTexts LobbyStartFailure = {
    L"启动大厅失败：", L"以下问题可能是造成您启动大厅失败的主要原因：",
    L"1.系统与软件不兼容。\n2.安全软件或防火墙阻挡了本次下载与安装，导致软件缺少文件。", 1};

TextElement* AddLabel(UiElement* parent, RECT area, float points, Gdiplus::ARGB colour) {
  std::unique_ptr<Gdiplus::Font> font(
      CreateUiFont(LabelFontFamily, points, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
  Gdiplus::StringFormat format;
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  auto* label =
      new TextElement(&area, nullptr, parent, font.get(), &format, &brush, 0, nullptr, nullptr);
  label->SetEnabled(0);
  return label;
}

}  // namespace

FailureTexts GetFailureTexts(int kind) {
  if (kind == DownloadFailureKind) return DownloadFailure;
  if (kind == InstallFailureKind) return InstallFailure;
  return LobbyStartFailure;
}

ErrorWindow::ErrorWindow(const RECT* area, HWND parentHandle)
    : LayeredWindow(area, nullptr, L"ERROR_WINDOW", parentHandle, WS_EX_LAYERED, WS_POPUP,
                    CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, 0, nullptr, nullptr),
      parentWindow(parentHandle) {
  CenterWindow(nullptr);
}

ErrorWindow::~ErrorWindow() = default;

ErrorWindowElements ErrorWindow::CreateElements(HMODULE module) {
  ErrorWindowElements e;
  e.background =
      new UiElement(80, 60, MAKEINTRESOURCEW(ErrorBoxImageId), this, 0, hwnd, ImageType, module);
  background = e.background;
  e.okButton = new ButtonElement(425, 205, MAKEINTRESOURCEW(ErrorOkImageId), this, ErrorOkCommandId,
                                 ImageType, module);
  e.retryButton = new ButtonElement(330, 205, MAKEINTRESOURCEW(ErrorRetryImageId), this,
                                    ErrorRetryCommandId, ImageType, module);
  e.title = AddLabel(this, RECT{102, 100, 300, 360}, 12.0f, 0xFEFF0000);
  e.subtitle = AddLabel(this, RECT{105, 125, 500, 360}, 10.0f, 0xFEE6E6E6);
  e.reasons = AddLabel(this, RECT{105, 150, 500, 360}, 9.0f, 0xFEB4B4B4);
  return e;
}

int ErrorWindow::OnNotify(const ElementEvent* event, UiElement* source) {
  if (!event || !source || event->code != ButtonClicked) return 0;
  UINT message;
  switch (source->GetId()) {
    case ErrorOkCommandId:
      message = AcknowledgeMessage;
      break;
    case ErrorRetryCommandId:
      message = RetryMessage;
      break;
    default:
      return 0;
  }
  // Sent, not posted: the download window has its new worker before this box goes away.
  SendMessageA(parentWindow, message, 0, 0);
  SetVisible(0);
  return 1;
}

int ErrorWindow::IsDragRegion(RECT* out, UiElement* pressed) {
  if (!background || pressed != background || !out) return 0;
  return GetClientRect(hwnd, out) ? 1 : 0;
}

void ShowFailureOn(ErrorWindow& window, const ErrorWindowElements& elements, int kind) {
  // Elements belong to the UI thread; a call from elsewhere is handed over, not run here.
  if (!window.IsUiThread()) {
    ErrorWindow* target = &window;
    window.PostTask([target, elements, kind] { ShowFailureOn(*target, elements, kind); });
    return;
  }
  FailureTexts texts = GetFailureTexts(kind);
  if (elements.title) elements.title->SetText(texts.title);
  if (elements.subtitle) elements.subtitle->SetText(texts.subtitle);
  if (elements.reasons) elements.reasons->SetText(texts.reasons);
  if (elements.retryButton) elements.retryButton->SetVisible(texts.retryShown);
  window.SetVisible(1);
}
