// The site file through the platform's profile functions.
#pragma once

#include "ftpclient/core/CustomIniFile.h"

class TProfileIniFile : public TCustomIniFile {
public:
    explicit TProfileIniFile(const std::string& Path) : path_(Path) {}
    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default) override;
    bool WriteString(const std::string& Section, const std::string& Key, const std::string& Value) override;
    bool EraseSection(const std::string& Section) override;

private:
    std::string path_;
};
