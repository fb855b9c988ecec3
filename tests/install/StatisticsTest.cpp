// The statistics GET as nginx receives it, and a report that cannot be delivered.
#include "install/Statistics.h"
#include "tests/install/PipelineSupport.h"
#include "tests/support/Doctest.h"

TEST_CASE("SendStatistics delivers the exact query to the statistics host") {
  std::wstring url = BuildStatisticsUrl(pipeline::NginxHost().c_str(), ReportType::Failure,
                                        "D%3A%5Cunique-send+test%5C%7C4294967293", 0);
  SendStatistics(url.c_str());
  CHECK(pipeline::LogLinesWith("unique-send") ==
        "127.0.0.1 \"GET /ajax/quickDownLoadStatistics/quickDownStatistics.jsp?SiteID=30"
        "&StatistsType=2&UnzipResult=D%3A%5Cunique-send+test%5C%7C4294967293&channalID=0 "
        "HTTP/1.1\" 200 3 range=\"-\"\n");
}

TEST_CASE("A report nobody receives is dropped without a wait beyond the time-outs") {
  DWORD start = GetTickCount();
  SendStatistics(L"http://127.0.0.1:1/ajax/quickDownLoadStatistics/quickDownStatistics.jsp?x=1");
  SendStatistics(L"");
  SendStatistics(nullptr);
  CHECK(GetTickCount() - start < 20000);
}
