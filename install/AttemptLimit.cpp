// The download attempt bound of the program; kept alone in its object file so that a test
// build of the program can link its own bound in place of it.
#include "install/InstallWorker.h"

extern const int32_t DownloadAttemptLimit = DownloadRetryLimit;
