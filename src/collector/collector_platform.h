// The operating system's side of Hoardix: finding, reading and writing files and changing directory.
#pragma once

#include <memory>

#include "core/collector/collector.h"

// The real file system of the running system (Win32 on Windows, POSIX with statx elsewhere).
std::unique_ptr<CollectorPlatform> CreateSystemPlatform();
