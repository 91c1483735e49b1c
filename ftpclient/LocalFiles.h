// Local disk routines of the client: folder trees, sizes, the recycle bin.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ftpclient/core/ClientUtils.h"

// Removes a folder with everything below it. Descends into every entry with
// the directory bit (hidden, read-only or system ones too) but never through
// a reparse point, which is removed as the link itself; clears read-only
// before deleting. False when anything stayed.
bool DeleteFolderTree(const std::string& Path);
bool CreateFolder(const std::string& Path);
bool CreateEmptyFile(const std::string& Path);
bool FileExistsAt(const std::string& Path);
bool FolderExistsAt(const std::string& Path);
int64_t GetFileSizeOf(const std::string& Path);  // -1 when missing
std::string IncludeTrailingBackslash(const std::string& Path);
std::string ProgramFolder();  // with a trailing backslash

// Sends a file or folder to the recycle bin; the platform's call by default.
using TRecycler = std::function<bool(const std::string& Path)>;
TRecycler& Recycler();
bool SendToRecycleBin(const std::string& Path);

// The recycle bin first; when it fails, asks (yes/no, application title)
// before deleting for good. False when the item is still there.
bool RecycleOrDelete(const std::string& Path, bool Folder);
extern const char* const RecycleFailedText;

// The user's thousand and decimal separators.
TNumberFormat UserNumberFormat();

// The local date-time now, in days since 30 December 1899.
double NowDateTime();
