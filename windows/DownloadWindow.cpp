// DownloadWindow construction and layout, the progress copy, the drag region and the worker's
// access to the window.
#include "windows/DownloadWindow.h"

#include <cstdarg>
#include <memory>

#include "app/Config.h"
#include "app/Configuration.h"
#include "app/Text.h"
#include "ui/browser/BannerBrowser.h"
#include "windows/WindowServices.h"

const UINT ActivateMessage = RegisterWindowMessageA(ActivateMessageName);

namespace {

constexpr wchar_t ImageType[] = L"IMAGE";
constexpr int WindowImage = 1101;
constexpr int GlowImage = 1102;
constexpr int RedWashImage = 1103;
constexpr int TitleImage = 1106;
constexpr int CloseImage = 1107;
constexpr int MinimizeImage = 1108;
constexpr int InstallImage = 1110;
constexpr int TrackImage = 1111;
constexpr int FolderImage = 1112;
constexpr int FillImage = 1113;
constexpr int RunnerImage = 1114;
constexpr int SeparatorImage = 1115;
constexpr int IconResource = 1100;
constexpr int TrayMenuResource = 119;

constexpr wchar_t LabelFont[] = L"新宋体";
constexpr wchar_t CaptionFont[] = L"微软雅黑";

UiElement* ImageAt(UiElement* parent, int x, int y, int image) {
  return new UiElement(x, y, MAKEINTRESOURCEW(image), parent, 0, nullptr, ImageType, nullptr);
}

UiElement* ImageIn(UiElement* parent, RECT area, int image) {
  return new UiElement(&area, MAKEINTRESOURCEW(image), parent, 0, nullptr, ImageType, nullptr);
}

ButtonElement* ButtonAt(UiElement* parent, int x, int y, int image, int command) {
  return new ButtonElement(x, y, MAKEINTRESOURCEW(image), parent, command, ImageType, nullptr);
}

// A label with its own regular font in points, the default format and a solid brush; a
// disabled label lets clicks through to what lies beneath it.
TextElement* Label(UiElement* parent, RECT area, const wchar_t* family, float points,
                   Gdiplus::ARGB colour, const wchar_t* text, bool enabled) {
  std::unique_ptr<Gdiplus::Font> font(
      CreateUiFont(family, points, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint));
  Gdiplus::StringFormat format;
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  auto* label =
      new TextElement(&area, nullptr, parent, font.get(), &format, &brush, 0, nullptr, nullptr);
  if (text) label->SetText(text);
  if (!enabled) label->SetEnabled(0);
  return label;
}

}  // namespace

DownloadWindow::DownloadWindow()
    : LayeredWindow(0, 0, MAKEINTRESOURCEW(WindowImage), L"DownloadWindow", nullptr, 0, WS_POPUP, 0,
                    0, ImageType, nullptr) {
  LoadConfiguration();
  char* digits = ChannelIdFromFileName();
  if (digits && IsAllDigits(digits)) StoreShareChannel(digits);

  log.Open();

  CenterWindow(nullptr);
  if (Services().showWithoutActivation) {
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    visible = 1;
    Invalidate(nullptr, FALSE);
  } else {
    SetVisible(1);
  }
  SetWindowTextA(hwnd, ToAnsi(L"客户端下载器").c_str());

  HMODULE self = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(self, MAKEINTRESOURCEW(IconResource));
  HMENU menu = LoadMenuW(self, MAKEINTRESOURCEW(TrayMenuResource));
  trayIcon.Create(hwnd, icon, menu ? GetSubMenu(menu, 0) : nullptr,
                  ToAnsi(EditionInfo.displayName).c_str(), 1, WM_LBUTTONUP, WM_RBUTTONUP);

  BuildElements();
  BuildLabels();

  LayeredWindow::StartTimer(TipTimerId, TipTimerPeriodMs);
  CreateErrorWindow();
}

DownloadWindow::~DownloadWindow() {
  // The remaining teardown follows from the base order: the downloader closes its handles,
  // then the window host destroys the elements and the window.
  trayIcon.Destroy();
}

void DownloadWindow::BuildElements() {
  ImageAt(this, 1, 1, GlowImage);
  ImageAt(this, 1, 1, RedWashImage);
  ImageAt(this, 30, 250, TrackImage);
  titleImage = ImageAt(this, 0, 0, TitleImage);
  progressFill = ImageIn(this, RECT{BarLeft, BarTop, BarLeft, BarBottom}, FillImage);
  runner = ImageIn(this, RECT{11, RunnerTop, 461, RunnerBottom}, RunnerImage);
  runner->SetVisible(0);
  runner->SetFrameGrid(RunnerFrameCount, 1);

  StartBanner(this);

  hideButton = ButtonAt(this, 565, 1, CloseImage, HideCommand);
  minimizeButton = ButtonAt(this, 530, 1, MinimizeImage, MinimizeCommand);
  folderButton = ButtonAt(this, 543, 225, FolderImage, FolderCommand);
  installButton = ButtonAt(this, 425, 275, InstallImage, InstallCommand);
  ImageAt(this, 91, 326, SeparatorImage);
}

void DownloadWindow::BuildLabels() {
  constexpr Gdiplus::ARGB Grey = 0xFEC8C8C8;
  constexpr Gdiplus::ARGB White = 0xFEFFFFFF;
  versionLabel = Label(this, {105, 13, 500, 35}, LabelFont, 9, Grey, VersionLabel, true);
  pathLabel = Label(this, {30, 225, 400, 250}, LabelFont, 9, White, nullptr, true);
  sizeLabel = Label(this, {30, 280, 400, 305}, LabelFont, 9, Grey, nullptr, false);
  speedLabel = Label(this, {240, 280, 650, 305}, LabelFont, 9, Grey, nullptr, false);
  installCaption =
      Label(installButton, {44, 14, 200, 36}, CaptionFont, 10, White, L"点击安装", false);
  percentLabel = Label(this, {280, 253, 430, 278}, LabelFont, 9, Grey, nullptr, true);
  Label(this, {130, 329, 300, 360}, LabelFont, 9, 0xFEFFB23E, L"新手提示：", false);
  tipLabel = Label(this, {190, 329, 600, 360}, LabelFont, 9, 0x50FFFFFF, TipTable[TipIndex], false);

  // Any drive type counts as present, removable and optical ones included.
  bool hasD = Services().driveType("D:") != DRIVE_NO_ROOT_DIR;
  SetInstallDirectory(hasD ? L"D:\\Program Files\\" : L"C:\\Program Files\\");
}

bool DownloadWindow::SetInstallDirectory(const std::wstring& root) {
  std::wstring folder = root + EditionInfo.displayName + L"\\";
  if (!CopyBounded(InstallRoot, InstallRootSize, root.c_str()) ||
      folder.size() >= InstallRootSize) {
    return false;
  }
  pathLabel->SetText((PathPrefix + folder).c_str());
  std::lock_guard<std::mutex> hold(folderLock);
  installFolder = folder;
  return true;
}

std::wstring DownloadWindow::InstallFolder() {
  std::lock_guard<std::mutex> hold(folderLock);
  return installFolder;
}

int DownloadWindow::IsDragRegion(RECT* out, UiElement* pressed) {
  if (pressed != titleImage && pressed != versionLabel) return 0;
  GetClientRect(hwnd, out);
  return 1;
}

int DownloadWindow::OnCloseRequest() {
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}

void DownloadWindow::OnProgress(HANDLE, int32_t, uint32_t elapsedMsValue,
                                uint64_t bytesReceivedValue, uint64_t totalValue,
                                uint64_t doneValue, int32_t) {
  done.store(doneValue);
  total.store(totalValue);
  elapsedMs.store(elapsedMsValue);
  received.store(bytesReceivedValue);
  // After every block: where a pause takes hold, holding no lock the UI thread needs.
  installHost.Gate().WaitWhilePaused();
}

DownloadProgress DownloadWindow::ReadCounters() const {
  DownloadProgress p;
  p.done = done.load();
  p.total = total.load();
  p.elapsedMs = elapsedMs.load();
  p.received = received.load();
  return p;
}

void DownloadWindow::WriteLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  log.WriteV(format, args);
  va_end(args);
}

void DownloadWindow::ApplyLabelText(InstallLabel label, const std::wstring& text) {
  switch (label) {
    case InstallLabel::Size:
      sizeLabel->SetText(text.c_str());
      break;
    case InstallLabel::Percent:
      percentLabel->SetText(text.c_str());
      break;
    case InstallLabel::Caption:
      installCaption->SetText(text.c_str());
      break;
  }
}

void DownloadWindow::ApplyHideRunner() { runner->SetVisible(0); }
void DownloadWindow::ApplyStartTimer(UINT_PTR timer, UINT periodMs) {
  LayeredWindow::StartTimer(timer, periodMs);
}
void DownloadWindow::ApplyStopTimer(UINT_PTR timer) { LayeredWindow::StopTimer(timer); }
void DownloadWindow::ApplyShowFailure(int kind) { ShowFailure(kind); }

HttpDownloader& WindowInstallHost::Downloader() { return window; }

ProgressCounts WindowInstallHost::ReadProgress() {
  DownloadProgress p = window.ReadCounters();
  return ProgressCounts{p.done, p.total, p.received};
}

void WindowInstallHost::ClearReceived() { window.ClearReceived(); }
std::wstring WindowInstallHost::InstallFolder() { return window.InstallFolder(); }
HWND WindowInstallHost::WindowHandle() { return window.GetHwnd(); }
