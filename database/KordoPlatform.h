// The few operating-system calls the database layer needs, behind plain functions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// Opens a file as std::fopen does (same mode letters), by a path in any script: on Windows through
// the wide-character call, since the narrow one takes the ANSI code page. nullptr with errno on failure.
std::FILE* KordoOpenFile(const std::filesystem::path& file, const char* mode);

// Makes everything written to the open file durable on disk. On failure returns false with the
// system's reason.
bool KordoSyncFile(std::FILE* file, std::string& reason);
// Makes the renames inside a folder durable (no-op where the system has no such call).
void KordoSyncFolder(const std::filesystem::path& folder);

// A file is read-only when nobody may write it. Clearing gives the owner write permission; setting
// removes every write permission.
bool KordoIsReadOnly(const std::filesystem::path& file);
bool KordoSetReadOnly(const std::filesystem::path& file, bool readOnly, std::string& reason);

// Memory for large arrays, in huge pages where the system offers them. Throws std::bad_alloc.
void* KordoAllocateLarge(size_t bytes);
void KordoFreeLarge(void* memory, size_t bytes);
