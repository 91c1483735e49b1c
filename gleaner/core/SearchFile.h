// The search file: the client's user data and every record with its
// properties and values; little-endian 32-bit counts and UTF-16 strings
// with a 32-bit length. No platform headers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "InfoRecord.h"

using RecordList = std::vector<std::unique_ptr<InfoRecord>>;

class SearchFile {
public:
    // Writes a whole file beside path and then puts it in path's place; false
    // (and path untouched) when it cannot be created or any write fails.
    static bool Save(const std::u16string& path, const BStr& userData, const RecordList& records);
    // The same bytes in memory.
    static std::string Serialize(const BStr& userData, const RecordList& records);
    // Reads a whole file. Every count is checked against the bytes left; a
    // short or malformed file fails and gives no records.
    static bool Load(const std::u16string& path, std::u16string& userData, RecordList& records, std::string& error);
    static bool Parse(const uint8_t* data, size_t size, std::u16string& userData, RecordList& records,
                      std::string& error);
};

// A file name as the C runtime wants it on this platform.
FILE* OpenFileU16(const std::u16string& path, const char* mode);
// Puts from in the place of to (replacing it when it exists); false when that fails.
bool ReplaceFileU16(const std::u16string& from, const std::u16string& to);
void RemoveFileU16(const std::u16string& path);
// True when path names something that is there but is not a plain file (a folder, a device).
bool ExistsNotPlainFile(const std::u16string& path);
