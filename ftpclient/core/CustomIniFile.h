// What the site file needs of an INI file. The program uses the platform's
// profile functions behind it; the core and its tests use TTextIniFile.
// No platform headers.
#pragma once

#include <string>

class TCustomIniFile {
public:
    virtual ~TCustomIniFile() = default;

    // As the profile functions read: blanks around the value dropped, and one
    // pair of matching quotes around it too. Default for a missing key.
    virtual std::string ReadString(const std::string& Section, const std::string& Key,
                                   const std::string& Default) = 0;
    // False when the value could not be written.
    virtual bool WriteString(const std::string& Section, const std::string& Key,
                             const std::string& Value) = 0;
    virtual bool EraseSection(const std::string& Section) = 0;

    // Decimal text; a value that is not a number gives the default.
    int ReadInteger(const std::string& Section, const std::string& Key, int Default);
    bool WriteInteger(const std::string& Section, const std::string& Key, int Value);
    // "0" is false, any other number true, anything else the default.
    bool ReadBool(const std::string& Section, const std::string& Key, bool Default);
};
