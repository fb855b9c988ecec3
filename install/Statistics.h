// The statistics report: its URL and the one GET that delivers it.
#pragma once

#include <cstdint>
#include <string>

constexpr int StatisticsSiteId = 30;
constexpr size_t StatisticsUrlSize = 1024;  // UTF-16 characters, terminator included

enum class ReportType : int { Success = 1, Failure = 2 };

// "http://<host>/ajax/...quickDownStatistics.jsp?SiteID=30&StatistsType=<type>&UnzipResult=
// <encoded>&channalID=<channel>". A URL that would not fit StatisticsUrlSize keeps its
// keys and channel id and loses the tail of the encoded text (whole characters only);
// a host so long that even that cannot fit gives an empty URL, which is not sent.
std::wstring BuildStatisticsUrl(const char* host, ReportType type, const std::string& encodedResult,
                                int32_t channelId);

// One GET of the URL; the reply is read to its end and dropped. Failures are silent.
void SendStatistics(const wchar_t* url);
