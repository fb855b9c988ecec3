// Process-wide values and the compiled-in edition constants shared by every subsystem.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// Install phases; the only values InstallPhase ever holds.
enum InstallPhaseValue : int32_t {
  Idle = 0,
  Downloading = 1,
  Paused = 2,
  Installed = 3,
  Installing = 4,
};

struct EditionRow {
  const wchar_t* displayName;
  const wchar_t* sharePath;  // below HKEY_CURRENT_USER\SOFTWARE
  const char* installerFileName;
  const char* fullInstallerFileName;
};

constexpr int EditionCount = 8;
extern const EditionRow EditionTable[EditionCount];
extern const EditionRow& EditionInfo;  // the row this build uses

constexpr int TipCount = 5;
extern const wchar_t* const TipTable[TipCount];
extern const wchar_t VersionLabel[];

constexpr int32_t DownloadRetryLimit = 100000;

constexpr UINT_PTR ProgressTimerId = 99;      // 100 ms
constexpr UINT_PTR AnimationTimerId = 112;    // 50 ms
constexpr UINT_PTR TipTimerId = 113;          // 8000 ms
constexpr UINT_PTR IconSearchTimerId = 114;   // 500 ms, one shot
constexpr UINT_PTR BubbleTimerId = 115;       // 60000 ms, one shot
constexpr UINT ProgressTimerPeriodMs = 100;
constexpr UINT AnimationTimerPeriodMs = 50;
constexpr UINT TipTimerPeriodMs = 8000;
constexpr UINT IconSearchTimerPeriodMs = 500;
constexpr UINT BubbleTimerPeriodMs = 60000;

// Window messages shared between subsystems (ActivateMessage and the tray messages are
// registered at start-up from the names below).
constexpr UINT ShowBubbleMessage = WM_APP + 2;   // 0x8002
constexpr UINT RetryMessage = 0x8003;
constexpr UINT AcknowledgeMessage = 0x8004;
constexpr UINT ToolkitMessage = WM_APP + 0x230;  // 0x8230
constexpr char ActivateMessageName[] = "{88899063-CFEA-492b-93E3-51F14B34CE70}";
constexpr char SingleInstanceMutexName[] = "{8B8E8CAC-C0B5-4588-94E6-31E3C6DD5535}";
constexpr char TrayMessageName[] = "__TRAYMSG_{0342F300-E8F7-4fd5-9C12-2C023A2EA903}__";
constexpr char TaskbarCreatedMessageName[] = "TaskbarCreated";

// String-table entries of the executable.
constexpr UINT IdChannal = 20001;
constexpr UINT IdDownloadUrl = 20002;
constexpr UINT IdIfOfficial = 20003;
constexpr UINT IdBannerUrl = 20004;

// Hosts compiled in at configure time, host[:port].
extern const char DefaultDownloadHost[];
extern const char TestDownloadHost[];
extern const char BannerHost[];
extern const char StatsHost[];

constexpr size_t HostTextSize = 256;
constexpr size_t DownloadPathSize = 1024;
constexpr size_t BannerUrlSize = 1024;
constexpr size_t InstallRootSize = 1024;
constexpr size_t ModulePathSize = 260;

extern char DownloadHost[HostTextSize];
extern int32_t ChannelId;
extern int32_t OfficialFlag;
extern char DownloadPath[DownloadPathSize];
extern wchar_t BannerUrl[BannerUrlSize];
extern wchar_t InstallRoot[InstallRootSize];
// Written by the UI thread (1, 2) and the install worker (4, 3).
extern std::atomic<int32_t> InstallPhase;
extern int32_t TipIndex;
