// The acceptance tests' bound on download attempts, linked into Download_tez_testlimit in
// place of install/AttemptLimit.cpp so that a server that is down fails within seconds.
#include "install/InstallWorker.h"

extern const int32_t DownloadAttemptLimit = TEZ_TEST_ATTEMPT_LIMIT;
