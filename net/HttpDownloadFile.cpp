// HttpDownloader: Last-Modified parsing and the resumable download into a local file.
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Handle.h"
#include "net/HttpDownloader.h"

namespace {

constexpr size_t LastModifiedSize = 32;
constexpr size_t DateWordSize = 8;   // day, month and year words: at most 7 characters
constexpr size_t TimeWordSize = 16;  // at most 15 characters

bool SameCalendarTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek &&
         a.wDay == b.wDay && a.wHour == b.wHour && a.wMinute == b.wMinute &&
         a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

WORD DecimalWord(const char* text) { return static_cast<WORD>(strtol(text, nullptr, 10)); }

// Writes "<current folder>/<fileName>" into buffer and cuts it at its last separator, which
// leaves the folder that will hold the file. False when the text does not fit.
bool FolderOfFile(const char* fileName, char* buffer, DWORD size) {
  DWORD length = GetCurrentDirectoryA(size, buffer);
  if (length == 0 || length >= size) return false;
  size_t nameLength = strlen(fileName);
  if (length + 1 + nameLength >= size) return false;
  buffer[length] = '/';
  memcpy(buffer + length + 1, fileName, nameLength + 1);
  char* cut = nullptr;
  for (char* p = buffer; *p; ++p) {
    if (*p == '\\' || *p == '/') cut = p;
  }
  *cut = '\0';
  return true;
}

}  // namespace

int HttpDownloader::MonthFromName(const char* text) {
  static const char* const names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (!text) return 0;
  for (int i = 0; i < 12; ++i) {
    if (_strnicmp(text, names[i], 3) == 0) return i + 1;
  }
  return 0;
}

int HttpDownloader::QueryLastModified(SYSTEMTIME* time) {
  if (!request || !time) return 0;
  char text[LastModifiedSize] = {};
  DWORD length = sizeof text;
  BOOL read = HttpQueryInfoA(request.get(), HTTP_QUERY_LAST_MODIFIED, text, &length, nullptr);
  if (read != TRUE) return read;
  text[LastModifiedSize - 1] = '\0';
  // Weekday skipped, then day, month, year and time; widths keep each word in its buffer,
  // and words that are missing stay empty.
  char day[DateWordSize] = {};
  char month[DateWordSize] = {};
  char year[DateWordSize] = {};
  char clock[TimeWordSize] = {};
  sscanf(text, "%*s%7s%7s%7s%15s", day, month, year, clock);
  SYSTEMTIME parsed = {};
  parsed.wYear = DecimalWord(year);
  parsed.wMonth = static_cast<WORD>(MonthFromName(month));
  parsed.wDay = DecimalWord(day);
  // hh:mm:ss; the buffer is zeroed past the word, so a short word reads as zeros.
  parsed.wHour = DecimalWord(clock);
  parsed.wMinute = DecimalWord(clock + 3);
  parsed.wSecond = DecimalWord(clock + 6);
  *time = parsed;
  return 1;
}

int HttpDownloader::DownloadToFile(const char* objectPath, const char* fileName, int resumeFlag) {
  uint64_t total = 0;
  SYSTEMTIME serverTime = {};
  uint64_t done = 0;
  // One buffer serves for the folder path, the range header and the body blocks: the
  // transfer allocates nothing.
  char buffer[BlockSize];

  if (SendGet(objectPath, nullptr) != 1 || QueryLastModified(&serverTime) != 1 ||
      QueryContentLength(&total) != 1) {
    return RequestFailed;
  }
  if (!fileName) return FileFailed;
  if (FolderOfFile(fileName, buffer, sizeof buffer)) {
    SHCreateDirectoryExA(nullptr, buffer, nullptr);
  }

  SetFileAttributesA(fileName, FILE_ATTRIBUTE_NORMAL);
  FileHandle file(
      CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  if (!file.valid()) return FileFailed;
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;

  // A date that is no valid time cannot be stamped; such a file is then never continued.
  FILETIME serverFileTime = {};
  bool stampable = SystemTimeToFileTime(&serverTime, &serverFileTime) != FALSE;

  if (existed) {
    FILETIME lastWrite = {};
    SYSTEMTIME fileTime = {};
    LARGE_INTEGER size = {};
    bool sameDate = GetFileTime(file.get(), nullptr, nullptr, &lastWrite) &&
                    FileTimeToSystemTime(&lastWrite, &fileTime);
    fileTime.wDayOfWeek = 0;
    fileTime.wMilliseconds = 0;
    sameDate = sameDate && SameCalendarTime(fileTime, serverTime);
    // A file longer than the object cannot be continued: the range would start past the
    // end and every later attempt would fail the same way. It is written again.
    if (sameDate && GetFileSizeEx(file.get(), &size) &&
        static_cast<uint64_t>(size.QuadPart) <= total) {
      uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
      if (fileSize == total) {
        OnProgress(file.get(), ProgressNoBody, elapsedMs, bytesReceived, total, fileSize,
                   contextValue);
        return AlreadyComplete;
      }
      if (resumeFlag == 1) {
        snprintf(buffer, sizeof buffer, "range:bytes=%llu-",
                 static_cast<unsigned long long>(fileSize));
        if (SendGet(objectPath, buffer) != 1) {
          // The caller retries on a negative result; the bytes on disk stay for the next try.
          OnProgress(file.get(), ProgressNoBody, elapsedMs, bytesReceived, total, fileSize,
                     contextValue);
          return ReadFailed;
        }
        DWORD status = 0;
        DWORD length = sizeof status;
        HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                       &length, nullptr);
        bool partial = status == HTTP_STATUS_PARTIAL_CONTENT;
        // A reply whose length fits neither the missing tail (206) nor the whole object
        // (200) is not the object we continue: the file is emptied, so the next attempt
        // asks for everything, and nothing of this reply lands after the old bytes.
        uint64_t replyLength = 0;
        if (QueryContentLength(&replyLength) == 1 &&
            replyLength != (partial ? total - fileSize : total)) {
          SetEndOfFile(file.get());
          if (stampable) SetFileTime(file.get(), nullptr, nullptr, &serverFileTime);
          OnProgress(file.get(), ProgressNoBody, elapsedMs, bytesReceived, total, 0, contextValue);
          return ReadFailed;
        }
        // A server that ignores the range sends the whole object with 200: it replaces
        // the file from byte 0 instead of landing after the old bytes.
        if (partial) {
          LARGE_INTEGER position;
          position.QuadPart = size.QuadPart;
          SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN);
          done = fileSize;
        }
      }
    }
  }

  SetEndOfFile(file.get());
  // Every write moves the last-write time on some systems (Wine among them), so the stamp
  // is applied again after each block and before the file is closed: whenever the process
  // stops, the file carries the server's date and can be continued.
  auto stamp = [&]() {
    if (stampable) SetFileTime(file.get(), nullptr, nullptr, &serverFileTime);
  };
  stamp();

  int result = DownloadComplete;
  DWORD startTick = GetTickCount();
  while (StopRequest() != 1 && done < total) {
    // Never more than the bytes still missing: extra body bytes are not written past total.
    uint64_t missing = total - done;
    DWORD wanted = missing < BlockSize ? static_cast<DWORD>(missing) : BlockSize;
    DWORD got = 0;
    BOOL read = InternetReadFile(request.get(), buffer, wanted, &got);
    DWORD nowTick = GetTickCount();
    if (!read || got == 0) {
      result = ReadFailed;
      break;
    }
    elapsedMs += nowTick - startTick;
    bytesReceived += got;
    done += got;
    DWORD written = 0;
    if (!WriteFile(file.get(), buffer, got, &written, nullptr) || written != got) {
      result = FileFailed;
      break;
    }
    stamp();
    OnProgress(file.get(), ProgressBlockWritten, elapsedMs, bytesReceived, total, done,
               contextValue);
    startTick = GetTickCount();
  }
  if (StopRequest() == 1) result = Stopped;
  stamp();
  return result;
}
