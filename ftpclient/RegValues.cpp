#include "RegValues.h"

#include <windows.h>

namespace {
bool Read(const std::string& key, const std::string& name, DWORD& type, std::string& data) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        data.assign(size, '\0');
        ok = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
             ERROR_SUCCESS;
        data.resize(size);
    }
    RegCloseKey(k);
    return ok;
}

bool Write(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}
}  // namespace

int TRegValues::ReadInteger(const std::string& Name, int Default) const {
    DWORD type;
    std::string d;
    if (!Read(key_, Name, type, d) || type != REG_DWORD || d.size() != 4) return Default;
    DWORD v;
    memcpy(&v, d.data(), 4);
    return static_cast<int>(v);
}

bool TRegValues::ReadBool(const std::string& Name, bool Default) const {
    return ReadInteger(Name, Default ? 1 : 0) != 0;
}

std::string TRegValues::ReadString(const std::string& Name, const std::string& Default) const {
    DWORD type;
    std::string d;
    if (!Read(key_, Name, type, d) || (type != REG_SZ && type != REG_EXPAND_SZ)) return Default;
    while (!d.empty() && d.back() == '\0') d.pop_back();
    return d;
}

bool TRegValues::WriteInteger(const std::string& Name, int Value) const {
    DWORD v = static_cast<DWORD>(Value);
    return Write(key_, Name, REG_DWORD, &v, 4);
}

bool TRegValues::WriteString(const std::string& Name, const std::string& Value) const {
    return Write(key_, Name, REG_SZ, Value.c_str(), static_cast<DWORD>(Value.size() + 1));
}
