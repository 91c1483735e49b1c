// Values below one HKEY_CURRENT_USER key: what the program needs of the
// registry value component.
#pragma once

#include <string>

class TRegValues {
public:
    explicit TRegValues(const std::string& Key) : key_(Key) {}
    int ReadInteger(const std::string& Name, int Default) const;
    bool ReadBool(const std::string& Name, bool Default) const;
    std::string ReadString(const std::string& Name, const std::string& Default) const;
    bool WriteInteger(const std::string& Name, int Value) const;
    bool WriteBool(const std::string& Name, bool Value) const { return WriteInteger(Name, Value ? 1 : 0); }
    bool WriteString(const std::string& Name, const std::string& Value) const;
    const std::string& Key() const { return key_; }

private:
    std::string key_;
};
