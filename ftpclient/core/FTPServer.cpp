#include "ftpclient/core/FTPServer.h"

#include <random>

#include "ftpclient/core/CustomIniFile.h"
#include "runtime/core/SysUtils.h"

namespace {

std::mt19937& Generator() {
    static std::mt19937 gen{std::random_device{}()};
    return gen;
}

const char Hex[] = "0123456789ABCDEF";

std::string HexByte(unsigned v) { return std::string{Hex[(v >> 4) & 15], Hex[v & 15]}; }

// A group of one or two hexadecimal digits; false for anything else.
bool ReadHex(const std::string& s, unsigned& out) {
    if (s.empty()) return false;
    out = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        out = out * 16 + static_cast<unsigned>(d);
    }
    return true;
}

}  // namespace

std::string QuoteIniValue(const std::string& Text) {
    std::string out = "\"";
    for (char c : Text) {
        if (c == '"') out += '\2';
        else if (c == '\r') out += '\3';
        else if (c == '\n') out += '\4';
        else out += c;
    }
    return out + "\"";
}

std::string UnquoteIniValue(const std::string& Text) {
    std::string s = Text;
    if (!s.empty() && s[0] == '"') s.erase(0, 1);
    if (!s.empty() && s.back() == '"') s.pop_back();
    for (char& c : s) {
        if (c == '\2') c = '"';
        else if (c == '\3') c = '\r';
        else if (c == '\4') c = '\n';
    }
    return s;
}

int RandomScrambleOffset() { return std::uniform_int_distribution<int>(1, 32)(Generator()); }

void SeedScrambleOffsets(uint32_t Seed) { Generator().seed(Seed); }

bool TFTPServer::IsAnonymous() const { return UpperCase(Username) == "ANONYMOUS"; }

std::string TFTPServer::ScramblePassword(const std::string& Plain, int Offset) {
    if (Plain.empty()) return std::string();
    unsigned k = static_cast<unsigned>(Offset) & 255;
    std::string out = HexByte(k);
    // Modulo 256 keeps every byte at two digits, so the text reads back.
    for (unsigned char b : Plain) out += HexByte((b + k) & 255);
    return out;
}

std::string TFTPServer::ScramblePassword(const std::string& Plain, const TScrambleOffsets& Offsets) {
    return ScramblePassword(Plain, Offsets ? Offsets() : RandomScrambleOffset());
}

std::string TFTPServer::UnscramblePassword(const std::string& Text) {
    if (Text.empty()) return std::string();
    unsigned k;
    if (!ReadHex(Text.substr(0, 2), k)) return std::string();
    std::string out;
    for (size_t i = 2; i < Text.size(); i += 2) {
        unsigned v;
        if (!ReadHex(Text.substr(i, 2), v)) return std::string();
        out += static_cast<char>((v - k) & 255);
    }
    return out;
}

void TFTPServer::LoadFromIni(TCustomIniFile& Ini, const std::string& Section) {
    auto take = [&](const char* key, std::string& field) {
        std::string v = Ini.ReadString(Section, key, "");
        if (!v.empty()) field = UnquoteIniValue(v);
    };
    take("Name", Name);
    take("Hostname", Hostname);
    take("Port", Port);
    take("Username", Username);
    std::string pass = Ini.ReadString(Section, "Password", "");
    if (!pass.empty()) {
        pass = UnquoteIniValue(pass);
        Password = IsAnonymous() ? pass : UnscramblePassword(pass);
    }
    std::string pasv = UpperCase(Ini.ReadString(Section, "PASV", ""));
    if (pasv == "YES") PasvMode = pasvYes;
    else if (pasv == "NO") PasvMode = pasvNo;
    else if (!pasv.empty()) PasvMode = pasvDefault;
    take("StartDir", StartDir);
    take("LocalStartDir", LocalStartDir);
}

bool TFTPServer::SaveToIni(TCustomIniFile& Ini, const std::string& Section, const TScrambleOffsets& Offsets) const {
    std::string pass = IsAnonymous() ? Password : ScramblePassword(Password, Offsets);
    const char* pasv = PasvMode == pasvYes ? "Yes" : PasvMode == pasvNo ? "No" : "Default";
    return Ini.WriteString(Section, "Name", QuoteIniValue(Name)) &&
           Ini.WriteString(Section, "Hostname", QuoteIniValue(Hostname)) &&
           Ini.WriteString(Section, "Port", QuoteIniValue(Port)) &&
           Ini.WriteString(Section, "Username", QuoteIniValue(Username)) &&
           Ini.WriteString(Section, "Password", QuoteIniValue(pass)) &&
           Ini.WriteString(Section, "PASV", pasv) &&
           Ini.WriteString(Section, "StartDir", QuoteIniValue(StartDir)) &&
           Ini.WriteString(Section, "LocalStartDir", QuoteIniValue(LocalStartDir));
}

bool TFTPServer::operator==(const TFTPServer& o) const {
    return Name == o.Name && Hostname == o.Hostname && Port == o.Port && Username == o.Username &&
           Password == o.Password && PasvMode == o.PasvMode && LocalStartDir == o.LocalStartDir &&
           StartDir == o.StartDir && MenuTag == o.MenuTag;
}
