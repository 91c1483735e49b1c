#include "ftpclient/core/ClientUtils.h"

#include <cmath>

#include "runtime/core/SysUtils.h"

const int TempNameTries = 3;

namespace {

std::string Grouped(uint64_t v, const std::string& thousand) {
    std::string digits = std::to_string(v);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += thousand;
        out += digits[i];
    }
    return out;
}

// "#,#.##": grouped whole part, up to two decimals without trailing zeros.
std::string FormatHundredths(double x, const TNumberFormat& f) {
    uint64_t hundredths = static_cast<uint64_t>(std::llround(x * 100.0));
    std::string out = Grouped(hundredths / 100, f.Thousand);
    unsigned frac = static_cast<unsigned>(hundredths % 100);
    if (frac != 0) {
        out += f.Decimal + static_cast<char>('0' + frac / 10);
        if (frac % 10 != 0) out += static_cast<char>('0' + frac % 10);
    }
    return out;
}

}  // namespace

std::string FormatByteCount(int64_t Count, const TNumberFormat& Format) {
    if (Count > 1) return Grouped(static_cast<uint64_t>(Count), Format.Thousand) + " bytes";
    return IntToStr(Count) + " byte";
}

std::string FormatFileSize(int64_t Count, const TNumberFormat& Format) {
    static const char* const units[] = {" bytes", " KB", " MB", " GB"};
    if (Count < 0) return FormatByteCount(Count, Format);
    double x = static_cast<double>(Count);
    int u = 1;
    while (x > 1024 && u < 4) {
        x /= 1024;
        ++u;
    }
    return (x == 0 ? std::string("0") : FormatHundredths(x, Format)) + units[u - 1];
}

std::string PropertiesSizeText(const std::string& SizeText, const TNumberFormat& Format) {
    bool number = !SizeText.empty() && SizeText.size() <= 18;
    for (char c : SizeText) number = number && c >= '0' && c <= '9';
    if (!number) return SizeText + " bytes";
    int64_t n = std::stoll(SizeText);
    if (n <= 1024) return FormatByteCount(n, Format);
    return FormatFileSize(n, Format) + " (" + FormatByteCount(n, Format) + ")";
}

std::string AttributesText(bool Archive, bool ReadOnly, bool Hidden, bool System) {
    std::string t = Archive ? "Archive " : "";
    const std::pair<bool, const char*> rest[] = {{ReadOnly, "Read-Only "}, {Hidden, "Hidden "}, {System, "System "}};
    for (auto& r : rest)
        if (r.first) t += (t.empty() ? "" : "/ ") + std::string(r.second);
    return t;
}

std::string MakeTempFileName(TTempFolder& Folder) {
    std::string dir = Folder.TempPath();
    for (int i = 0; i < TempNameTries && !dir.empty(); ++i) {
        std::string name = Folder.CreateTempFile(dir, "ISW");
        if (!name.empty()) {
            Folder.DeleteFile(name);
            return name;
        }
    }
    return dir + "ISW0F1E2.TMP";
}

bool IsReservedDeviceName(const std::string& Name) {
    // The platform reads the part before the first dot, blanks cut off its
    // end, as the device: "nul", "CON", "aux.txt", "com1 .log".
    std::string base = Name.substr(0, Name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = UpperCase(base);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

bool CheckRemoteNameForLocal(const std::string& Name, std::string& Message) {
    bool bad = Name.empty() || Name == "." || Name == ".." || Name.find_first_of("\\/:*?\"<>|") != std::string::npos;
    for (unsigned char c : Name) bad = bad || c < 32;
    // The platform drops a trailing dot or blank: "report." would be "report".
    bad = bad || (!Name.empty() && (Name.back() == '.' || Name.back() == ' ')) || IsReservedDeviceName(Name);
    if (!bad) return true;
    Message = "The server's name \"" + Name + "\" cannot be used as a local file name; it was skipped.";
    return false;
}

bool IsFolderNameKey(char Key) {
    static const std::string refused = "\\/:*?\"<>|";
    return refused.find(Key) == std::string::npos;
}

bool IsValidNewFolderName(const std::string& Name, bool AllowEmpty) {
    if (Name.empty()) return AllowEmpty;
    if (Name == "." || Name == "..") return false;
    for (char c : Name)
        if (!IsFolderNameKey(c) || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

int TimeToSeconds(double DateTime) {
    double day = DateTime - std::floor(DateTime);
    int seconds = static_cast<int>(std::llround(day * 86400.0 * 1000.0) / 1000);
    return seconds % 86400;
}

std::string FormatTimeOfDay(double DateTime) {
    int s = TimeToSeconds(DateTime);
    return Format("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
}
