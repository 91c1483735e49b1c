#include "ProfileIniFile.h"

#include <windows.h>

#include <vector>

std::string TProfileIniFile::ReadString(const std::string& Section, const std::string& Key,
                                        const std::string& Default) {
    std::vector<char> buf(4096);
    DWORD n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), Default.c_str(), buf.data(),
                                       static_cast<DWORD>(buf.size()), path_.c_str());
    return std::string(buf.data(), n);
}

bool TProfileIniFile::WriteString(const std::string& Section, const std::string& Key, const std::string& Value) {
    return WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), path_.c_str()) != FALSE;
}

bool TProfileIniFile::EraseSection(const std::string& Section) {
    return WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, path_.c_str()) != FALSE;
}
