// One saved FTP site and its section in the site file "FTPServers.ini":
// value quoting and the reversible password scrambling. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TCustomIniFile;

// Every double quote becomes byte 2, CR byte 3, LF byte 4; then the whole
// text goes inside double quotes, so the profile functions keep outer blanks.
std::string QuoteIniValue(const std::string& Text);
// Drops one leading and one trailing double quote, then maps 2, 3, 4 back.
std::string UnquoteIniValue(const std::string& Text);

// Draws the scrambling offset, 1 to 32.
using TScrambleOffsets = std::function<int()>;
// The offsets of the program: a generator seeded once.
int RandomScrambleOffset();
void SeedScrambleOffsets(uint32_t Seed);

enum TPasvMode : uint8_t { pasvNo = 0, pasvYes = 1, pasvDefault = 2 };

class TFTPServer {
public:
    std::string Name;
    std::string Hostname;
    std::string Port = "21";
    std::string Username;
    std::string Password;
    uint8_t PasvMode = pasvDefault;
    std::string LocalStartDir;
    std::string StartDir;
    int32_t MenuTag = 0;

    void Clear() { *this = TFTPServer(); }
    bool IsAnonymous() const;
    // Only "Yes" turns the passive data connection on.
    bool IsPassive() const { return PasvMode == pasvYes; }

    // Reads Name, Hostname, Port, Username, Password, PASV, StartDir,
    // LocalStartDir; an empty or missing value leaves the field as it is.
    void LoadFromIni(TCustomIniFile& Ini, const std::string& Section);
    // False when the file refused a value.
    bool SaveToIni(TCustomIniFile& Ini, const std::string& Section, const TScrambleOffsets& Offsets = nullptr) const;

    // Offset k as two hex digits, then (b + k) mod 256 as two hex digits per byte.
    static std::string ScramblePassword(const std::string& Plain, int Offset);
    static std::string ScramblePassword(const std::string& Plain, const TScrambleOffsets& Offsets = nullptr);
    // Empty for an empty text or any group that is not hexadecimal.
    static std::string UnscramblePassword(const std::string& Text);

    bool operator==(const TFTPServer& o) const;
    bool operator!=(const TFTPServer& o) const { return !(*this == o); }
};
