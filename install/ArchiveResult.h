// Result codes of the archive layer and of ExtractArchive; any value other than 0 is a failure.
#pragma once

constexpr int ArchiveSuccessResult = 0;
constexpr int OutputCreateFailedResult = 0x200;   // 512: the output file cannot be created
constexpr int OutputWriteFailedResult = 0x400;    // 1024: writing the output file failed
constexpr int CorruptHeaderResult = 0x700;        // 1792: headers corrupt, or data/CRC disagree
constexpr int ArchiveReadFailedResult = 0x800;    // 2048: reading the archive failed
constexpr int PasswordResult = 0x1000;            // 4096: password needed or wrong
constexpr int BadArgumentResult = 0x10000;        // 65536: no archive, index out of range
constexpr int NotOpenForReadingResult = 0x80000;  // 524288: handle not open for reading
constexpr int InflateFailedResult = 0x5000000;    // inflater failed or data ended early

// ExtractArchive's own results.
constexpr int TargetUnavailableResult = -2;  // target folder missing and cannot be created
constexpr int TargetNotFolderResult = -3;    // target exists but is not a folder
