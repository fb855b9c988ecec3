// The statistics report: URL building and the WinInet GET.
#include "install/Statistics.h"

#include <windows.h>
#include <wininet.h>

#include "app/Text.h"
#include "install/UrlEncode.h"

namespace {

constexpr char StatisticsPath[] = "/ajax/quickDownLoadStatistics/quickDownStatistics.jsp";
// A report must not hold up the failure window for long: the same bounds as the downloader.
constexpr DWORD StatisticsTimeoutMs = 5000;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET value) : handle(value) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() {
    if (handle) InternetCloseHandle(handle);
  }
  HINTERNET get() const { return handle; }

 private:
  HINTERNET handle;
};

}  // namespace

std::wstring BuildStatisticsUrl(const char* host, ReportType type, const std::string& encodedResult,
                                int32_t channelId) {
  std::string head = std::string("http://") + (host ? host : "") + StatisticsPath +
                     "?SiteID=" + std::to_string(StatisticsSiteId) +
                     "&StatistsType=" + std::to_string(static_cast<int>(type)) + "&UnzipResult=";
  std::string tail = "&channalID=" + std::to_string(channelId);
  // The encoded text is pure ASCII; the host is ANSI and may widen to fewer characters.
  std::wstring wideHead = FromAnsi(head.c_str());
  std::wstring wideTail = FromAnsi(tail.c_str());
  size_t fixed = wideHead.size() + wideTail.size();
  if (fixed >= StatisticsUrlSize) return std::wstring();
  std::string value = TrimEncoded(encodedResult, StatisticsUrlSize - 1 - fixed);
  return wideHead + FromAnsi(value.c_str()) + wideTail;
}

void SendStatistics(const wchar_t* url) {
  if (!url || !*url) return;
  InternetHandle internet(
      InternetOpenW(L"UrlTest", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet.get()) return;
  DWORD timeout = StatisticsTimeoutMs;
  InternetSetOptionW(internet.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionW(internet.get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionW(internet.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  InternetHandle request(
      InternetOpenUrlW(internet.get(), url, nullptr, 0, INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request.get()) return;
  // Nothing in the reply matters; it is drained so the server sees a complete exchange.
  char piece[4096];
  DWORD got = 0;
  while (InternetReadFile(request.get(), piece, sizeof piece, &got) && got > 0) {
  }
}
