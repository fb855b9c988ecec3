// Definitions of the process-wide values and the edition constants.
#include "app/Config.h"

#include <cstring>

const EditionRow EditionTable[EditionCount] = {
    {L"Tolmaro", L"ZEKUGame\\Lobby\\Share\\shareid_30", "tez_lobby.install", "tez_lobby_full.install"},
    {L"Tolmaro Classic", L"ZEKUGame\\Lobby\\Share\\shareid_31", "tzc_lobby.install", "tzc_lobby_full.install"},
    {L"Tolmaro Cards", L"ZEKUGame\\Lobby\\Share\\shareid_32", "tzk_lobby.install", "tzk_lobby_full.install"},
    {L"Tolmaro Chess", L"ZEKUGame\\Lobby\\Share\\shareid_33", "tzq_lobby.install", "tzq_lobby_full.install"},
    {L"Tolmaro Mahjong", L"ZEKUGame\\Lobby\\Share\\shareid_34", "tzm_lobby.install", "tzm_lobby_full.install"},
    {L"Tolmaro Arcade", L"ZEKUGame\\Lobby\\Share\\shareid_35", "tza_lobby.install", "tza_lobby_full.install"},
    {L"Tolmaro Club", L"ZEKUGame\\Lobby\\Share\\shareid_36", "tzb_lobby.install", "tzb_lobby_full.install"},
    {L"Tolmaro Lite", L"ZEKUGame\\Lobby\\Share\\shareid_37", "tzl_lobby.install", "tzl_lobby_full.install"},
};
const EditionRow& EditionInfo = EditionTable[0];

const wchar_t* const TipTable[TipCount] = {
    L"玩游戏赠送奖品券，奖品券可免费兑换实物奖励。",
    L"每天游戏10分钟，随着等级增长可获得的积分奖励越丰富。",
    L"每天游戏10分钟，随着等级增长可获得的积分奖励越丰富。",
    L"积分不足1000，每天可2次免费补助至1000积分。",
    L"进入休息房，无需游戏每30分钟可获得大量积分。",
};
const wchar_t VersionLabel[] = L"简装版 2.1";

const char DefaultDownloadHost[] = TEZ_DOWNLOAD_HOST;
const char TestDownloadHost[] = TEZ_TEST_DOWNLOAD_HOST;
const char BannerHost[] = TEZ_BANNER_HOST;
const char StatsHost[] = TEZ_STATS_HOST;

static_assert(sizeof(TEZ_DOWNLOAD_HOST) <= HostTextSize, "DOWNLOAD_HOST is too long");
static_assert(sizeof(TEZ_TEST_DOWNLOAD_HOST) <= HostTextSize, "TEST_DOWNLOAD_HOST is too long");

char DownloadHost[HostTextSize] = TEZ_DOWNLOAD_HOST;
int32_t ChannelId = 0;
int32_t OfficialFlag = 0;
char DownloadPath[DownloadPathSize] = {};
wchar_t BannerUrl[BannerUrlSize] = {};
wchar_t InstallRoot[InstallRootSize] = {};
std::atomic<int32_t> InstallPhase{Idle};
int32_t TipIndex = 0;
