// UTF-8 percent-encoding of the result text, and the bounded statistics URL.
#include "app/Text.h"
#include "install/Statistics.h"
#include "install/UrlEncode.h"
#include "tests/support/Doctest.h"

TEST_CASE("UrlEncodeUtf8 keeps unreserved bytes, turns a space into + and the rest into %XX") {
  struct Case {
    const wchar_t* text;
    const char* encoded;
  };
  const Case cases[] = {
      {L"D:\\Program Files\\", "D%3A%5CProgram+Files%5C"},
      {L"|", "%7C"},
      {L"aZ09-_.~", "aZ09-_.~"},
      {L"a&b=c?d/e+f%", "a%26b%3Dc%3Fd%2Fe%2Bf%25"},
      {L"D:\\游戏\\", "D%3A%5C%E6%B8%B8%E6%88%8F%5C"},
      {L"", ""},
  };
  for (const Case& c : cases) {
    CAPTURE(ToUtf8(c.text));
    CHECK(UrlEncodeUtf8(c.text) == c.encoded);
    // The ANSI form (system code page) gives the same for texts the code page holds.
    std::string ansi = ToAnsi(c.text);
    if (FromAnsi(ansi.c_str()) == c.text) CHECK(UrlEncodeUtf8(ansi.c_str()) == c.encoded);
  }
}

TEST_CASE("A trimmed encoding never splits a %XX triplet or the bytes of one character") {
  std::string encoded = UrlEncodeUtf8(L"ab游戏");  // ab%E6%B8%B8%E6%88%8F
  CHECK(TrimEncoded(encoded, 100) == encoded);
  CHECK(TrimEncoded(encoded, 2) == "ab");
  CHECK(TrimEncoded(encoded, 10) == "ab");  // 游 needs 9 more characters
  CHECK(TrimEncoded(encoded, 11) == "ab%E6%B8%B8");
  CHECK(TrimEncoded(encoded, 19) == "ab%E6%B8%B8");
  CHECK(TrimEncoded(encoded, 20) == encoded);
}

TEST_CASE("The statistics URL carries the keys as spelled and fits its 1024-character buffer") {
  CHECK(BuildStatisticsUrl("stats.example:8080", ReportType::Success, "a%7C1", 200064) ==
        L"http://stats.example:8080/ajax/quickDownLoadStatistics/quickDownStatistics.jsp"
        L"?SiteID=30&StatistsType=1&UnzipResult=a%7C1&channalID=200064");
  CHECK(BuildStatisticsUrl("h", ReportType::Failure, "x", 0) ==
        L"http://h/ajax/quickDownLoadStatistics/quickDownStatistics.jsp"
        L"?SiteID=30&StatistsType=2&UnzipResult=x&channalID=0");

  // A deep folder of Chinese names: 9 encoded characters each, far past the buffer.
  std::wstring folder = L"D:\\";
  for (int i = 0; i < 150; ++i) folder += L"游";
  std::wstring url =
      BuildStatisticsUrl("h", ReportType::Failure, UrlEncodeUtf8(folder.c_str()), 200064);
  CHECK(url.size() <= StatisticsUrlSize - 1);
  CHECK(url.size() > StatisticsUrlSize - 10);
  CHECK(url.substr(url.size() - 17) == L"&channalID=200064");
  size_t value = url.find(L"UnzipResult=") + 12;
  std::wstring kept = url.substr(value, url.find(L"&channalID=") - value);
  CHECK((kept.size() - 7) % 9 == 0);  // "D%3A%5C" and whole characters only
  CHECK(kept.rfind(L"%E6%B8%B8") == kept.size() - 9);

  CHECK(BuildStatisticsUrl(std::string(1100, 'h').c_str(), ReportType::Success, "x", 1).empty());
}
