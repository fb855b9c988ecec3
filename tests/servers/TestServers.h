// Test-side access to the host servers of Servers.cmake: their folders, ports, scripts and
// request logs, and the pattern bytes the fault server sends.
#pragma once

#include <windows.h>

#include <string>

namespace test {

// <build>\servers\<fixture> in Windows form.
std::string ServerDir(const std::string& fixture);
// The port a fixture listens on ("port"; the fault server also has "altport"); 0 if unknown.
int ServerPort(const std::string& fixture, const char* which = "port");
// "127.0.0.1:<port>".
std::string ServerHost(const std::string& fixture, const char* which = "port");

// Writes the fault server's script for requests whose first path segment is name.
bool WriteFaultScript(const std::string& fixture, const std::string& name, const std::string& json);

// Size of a log file now, and its text from an offset on (for "what came since").
size_t FileSize(const std::string& path);
std::string ReadFrom(const std::string& path, size_t offset);
// Number of times needle occurs in text.
int CountOf(const std::string& text, const std::string& needle);

// The fault server's pattern body: byte i is i % 251.
std::string PatternBytes(size_t size);

// Last-write time of a file in UTC, or all zeros; and setting it.
SYSTEMTIME LastWriteTime(const std::string& path);
bool SetLastWriteTime(const std::string& path, const SYSTEMTIME& time);

}  // namespace test
