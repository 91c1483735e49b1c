// Reading registration back in tests: values and keys under HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>

#include <string>

#include "core/SysUtils.h"

const std::string kNoValue = "<none>";

// The subkey under a type library's locale that names its file for this build.
const std::string kTypeLibPlatform = sizeof(void*) == 8 ? "win64" : "win32";

// The default value (or the named value) of a key; kNoValue when absent.
inline std::string ReadKey(const std::string& key, const char* value = nullptr) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return kNoValue;
    char buf[1024];
    DWORD type = 0, len = sizeof buf;
    LONG rc = RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &len);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS) return kNoValue;
    return std::string(buf, len && buf[len - 1] == '\0' ? len - 1 : len);
}

inline bool KeyExists(const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}
