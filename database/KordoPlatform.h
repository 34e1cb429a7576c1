// The few operating-system calls the database layer needs, behind plain functions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// Makes everything written to the open file durable on disk. On failure returns false with the
// system's reason.
bool KordoSyncFile(std::FILE* file, std::string& reason);
