// Unpacks a whole archive below a target folder, stopping at the first item that fails.
#pragma once

#include "install/ArchiveResult.h"

// ANSI texts; password may be null. Returns a result of the archive layer,
// TargetUnavailableResult (-2) or TargetNotFolderResult (-3).
[[nodiscard]] int ExtractArchive(const char* archivePath, const char* password,
                                 const char* targetFolder);
