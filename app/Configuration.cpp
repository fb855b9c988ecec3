// String-table configuration, the channel id of the file name and its registry value.
#include "app/Configuration.h"

#include "app/Config.h"
#include "app/Text.h"

#include <cstdlib>
#include <cstring>

namespace {

void ShowConfigurationBox(const wchar_t* text) {
  MessageBoxA(nullptr, ToAnsi(text).c_str(), nullptr, MB_OK);
}

ConfigurationReporter reporter = ShowConfigurationBox;

char modulePath[ModulePathSize];

// Last token of `text` split on `delimiter`, terminated in place; runs of
// delimiters are skipped and no empty token is returned.
char* LastToken(char* text, char delimiter) {
  char* last = nullptr;
  for (char* p = text; *p;) {
    if (*p == delimiter) {
      ++p;
      continue;
    }
    last = p;
    while (*p && *p != delimiter) ++p;
  }
  if (last) {
    char* end = last;
    while (*end && *end != delimiter) ++end;
    *end = '\0';
  }
  return last;
}

char* FirstToken(char* text, char delimiter) {
  while (*text == delimiter) ++text;
  if (!*text) return nullptr;
  char* end = text;
  while (*end && *end != delimiter) ++end;
  *end = '\0';
  return text;
}

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key) RegCloseKey(key);
  }
  HKEY* Receive() { return &key; }
  HKEY get() const { return key; }

 private:
  HKEY key = nullptr;
};

}  // namespace

void SetConfigurationReporter(ConfigurationReporter replacement) {
  reporter = replacement ? replacement : ShowConfigurationBox;
}

void LoadConfiguration(HINSTANCE module) {
  if (!module) module = GetModuleHandleA(nullptr);
  char buffer[1024];

  memset(buffer, 0, sizeof buffer);
  if (LoadStringA(module, IdChannal, buffer, sizeof buffer) > 0) {
    ChannelId = atoi(buffer);
  } else {
    reporter(L"读取ID_CHANNAL配置错误");
  }

  memset(buffer, 0, sizeof buffer);
  if (LoadStringA(module, IdIfOfficial, buffer, sizeof buffer) > 0) {
    OfficialFlag = atoi(buffer);
  } else {
    reporter(L"读取ID_IFOFFICIAL配置错误");
  }

  if (OfficialFlag == 1) CopyBounded(DownloadHost, sizeof DownloadHost, TestDownloadHost);

  if (LoadStringA(module, IdDownloadUrl, DownloadPath, sizeof DownloadPath) <= 0) {
    DownloadPath[0] = '\0';
    reporter(L"读取ID_DOWNLOADURL配置错误");
  }

  if (LoadStringW(module, IdBannerUrl, BannerUrl, BannerUrlSize) <= 0) {
    BannerUrl[0] = L'\0';
    reporter(L"读取ID_BANNERURL配置错误");
  }
}

char* ChannelIdFromPath(char* path) {
  char* fileName = LastToken(path, '\\');
  if (!fileName) return nullptr;
  char* tail = LastToken(fileName, '_');
  if (!tail) return nullptr;
  return FirstToken(tail, '.');
}

char* ChannelIdFromFileName() {
  memset(modulePath, 0, sizeof modulePath);
  DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
  // A cut path would yield a wrong channel id; treat it as having none.
  if (length == 0 || length >= sizeof modulePath) {
    modulePath[0] = '\0';
    return nullptr;
  }
  return ChannelIdFromPath(modulePath);
}

bool IsAllDigits(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < '0' || *p > '9') return false;
  }
  return true;
}

void StoreShareChannel(const char* digits) {
  RegKey software;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, KEY_READ | KEY_WRITE, software.Receive()) !=
      ERROR_SUCCESS) {
    return;
  }
  RegKey share;
  RegCreateKeyA(software.get(), ToAnsi(EditionInfo.sharePath).c_str(), share.Receive());
  if (!share.get()) return;
  RegSetValueExA(share.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(digits),
                 static_cast<DWORD>(strlen(digits) + 1));
}
