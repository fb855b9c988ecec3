// HttpDownloader: connection, GET requests with redirects, Content-Length.
#include "net/HttpDownloader.h"

#include <cstring>

namespace {

constexpr size_t HostNameSize = 256;
constexpr size_t LocationSize = 256;
constexpr size_t ContentLengthSize = 32;
constexpr INTERNET_PORT DefaultPort = 80;

// Splits "host[:port]" like the scan format "%[^:]:%d": the port is 80 when no number
// follows the colon. An empty host, a host that does not fit its buffer, or a number that
// is no TCP port fails, so no connection is ever made to a cut-off or wrapped address.
bool SplitHostText(const char* hostText, char (&host)[HostNameSize], INTERNET_PORT& port) {
  const char* colon = strchr(hostText, ':');
  size_t length = colon ? static_cast<size_t>(colon - hostText) : strlen(hostText);
  if (length == 0 || length >= HostNameSize) return false;
  memcpy(host, hostText, length);
  host[length] = '\0';
  port = DefaultPort;
  if (!colon) return true;
  const char* p = colon + 1;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return true;
  unsigned long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<unsigned long>(*p - '0');
    if (value > 65535) return false;
  }
  if (negative && value != 0) return false;
  port = static_cast<INTERNET_PORT>(value);
  return true;
}

void SetTimeouts(HINTERNET handle) {
  DWORD timeout = HttpDownloader::TimeoutMs;
  InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
}

}  // namespace

HttpDownloader::HttpDownloader() {
  // Process-wide: lift WinInet's per-server connection cap, which would otherwise make a
  // new request wait for a slot held by an earlier, unfinished one.
  DWORD unlimited = 0xFFFFFFFF;
  InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &unlimited, sizeof unlimited);
  InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &unlimited,
                     sizeof unlimited);
}

HttpDownloader::~HttpDownloader() {
  CloseAll();
  contextValue = 0;
}

void HttpDownloader::OnProgress(HANDLE, int32_t, uint32_t, uint64_t, uint64_t, uint64_t, int32_t) {}

void HttpDownloader::CloseAll() {
  request.reset();
  connection.reset();
  internet.reset();
}

int HttpDownloader::Connect(const char* hostText, const char* userName, const char* password,
                            int32_t context) {
  CloseAll();
  if (!hostText) return 0;
  char host[HostNameSize];
  INTERNET_PORT port = DefaultPort;
  if (!SplitHostText(hostText, host, port)) return 0;

  internet.reset(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) return 0;
  SetTimeouts(internet.get());

  connection.reset(InternetConnectA(internet.get(), host, port, userName, password,
                                    INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return 0;
  // Wine's connections do not inherit the send and receive time-outs from the internet
  // handle (a stalled server would block a read for ever); the connection gets its own,
  // which its requests take over.
  SetTimeouts(connection.get());
  contextValue = context;
  elapsedMs = 1;
  bytesReceived = 0;
  SetStopRequest(0);
  return 1;
}

int HttpDownloader::SendGet(const char* objectPath, const char* headerText) {
  return SendGetHop(objectPath, headerText, 0);
}

int HttpDownloader::SendGetHop(const char* objectPath, const char* headerText, int hops) {
  request.reset();
  // Redirects are followed here, not by WinInet: its own following has no bound under Wine
  // (a redirect loop never returns), and it would also follow 303 and 307, which must fail.
  request.reset(HttpOpenRequestA(connection.get(), "GET", objectPath, "HTTP/1.0", nullptr, nullptr,
                                 INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT,
                                 0));
  if (!request) return 0;
  if (headerText && !HttpAddRequestHeadersA(request.get(), headerText, static_cast<DWORD>(-1),
                                            HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
    return 0;
  }
  if (HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0) != TRUE) return 0;

  DWORD status = 0;
  DWORD length = sizeof status;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &length, nullptr)) {
    return 0;
  }
  if (status == HTTP_STATUS_OK || status == HTTP_STATUS_PARTIAL_CONTENT) return 1;
  if (status != HTTP_STATUS_MOVED && status != HTTP_STATUS_REDIRECT) return 0;

  // A server that redirects in a circle would otherwise recurse until the stack runs out.
  if (hops >= RedirectLimit) return 0;
  // A Location that does not fit the buffer makes the query fail: no cut-off target.
  char location[LocationSize] = {};
  length = sizeof location;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_LOCATION, location, &length, nullptr)) return 0;
  location[LocationSize - 1] = '\0';
  const char* target = location;
  if (_strnicmp(target, "http://", 7) == 0) target += 7;

  char host[LocationSize];
  char path[LocationSize];
  const char* slash = strchr(target, '/');
  size_t hostLength = slash ? static_cast<size_t>(slash - target) : strlen(target);
  memcpy(host, target, hostLength);
  host[hostLength] = '\0';
  if (slash) {
    strcpy(path, slash);
  } else {
    strcpy(path, "/");
  }
  if (Connect(host, nullptr, nullptr, 0) != 1) return 0;
  return SendGetHop(path, headerText, hops + 1);
}

int HttpDownloader::QueryContentLength(uint64_t* size) {
  if (!request || !size) return 0;
  char text[ContentLengthSize] = {};
  DWORD length = sizeof text;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr) != TRUE) {
    return 0;
  }
  text[ContentLengthSize - 1] = '\0';
  // Decimal digits only: a sign, no digits or a value past 64 bits is no length.
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return 0;
  uint64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    uint64_t digit = static_cast<uint64_t>(*p - '0');
    if (value > (UINT64_MAX - digit) / 10) return 0;
    value = value * 10 + digit;
  }
  *size = value;
  return 1;
}
