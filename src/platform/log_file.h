// SETILog.csv of a location, opened for the log reader with full sharing so SETILog can go on
// writing it.
#pragma once

#include <memory>
#include <string>

#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"

// The folder's log, or null with the reason in failureText ("<error text> <full name>"). A full
// name longer than the program's limit is refused rather than cut, which would open another file.
std::unique_ptr<LogByteSource> OpenLogFile(const std::string& folder, std::string& failureText);

// The same from the disk. OpenLogFile goes through LogFilesSource, which is this unless a test has
// put a stand-in in its place (a log that answers slowly, or stops until the test releases it).
std::unique_ptr<LogByteSource> OpenDiskLogFile(const std::string& folder, std::string& failureText);
using LogFileMaker = std::unique_ptr<LogByteSource> (*)(const std::string& folder, std::string& failureText);
LogFileMaker& LogFilesSource();
