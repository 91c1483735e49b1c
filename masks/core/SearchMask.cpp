#include "masks/core/SearchMask.h"

#include <climits>
#include <stdexcept>

#include "masks/core/MaskParseError.h"
#include "masks/core/MaskTexts.h"
#include "masks/core/TextFile.h"

namespace {
int32_t Low16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu)); }

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Everything after the first "=", or the whole line when it has none.
std::string CutAfterChar(const std::string& line) {
    const int32_t at = SearchMask::FoundChar(line, "=");
    return at < 0 ? line : line.substr(static_cast<size_t>(at) + 1);
}

// A decimal integer with an optional "-", within 32 bits: numbers are read
// as wide as they are written.
int32_t ToInt32(const std::string& text, const char* label) {
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i == text.size()) throw MaskParseError(std::string(label) + ": not a number");
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw MaskParseError(std::string(label) + ": not a number");
        v = v * 10 + (text[i] - '0');
        if (v > int64_t(INT32_MAX) + 1) throw MaskParseError(std::string(label) + ": number out of range");
    }
    if (text[0] == '-') v = -v;
    if (v > INT32_MAX) throw MaskParseError(std::string(label) + ": number out of range");
    return static_cast<int32_t>(v);
}

std::string ReadLine(LineReader& file, const char* what) {
    std::string line;
    if (!file.ReadString(line)) throw MaskParseError(std::string("the file ends before ") + what);
    return line;
}

int32_t ReadNumber(LineReader& file, const char* label) { return ToInt32(CutAfterChar(ReadLine(file, label)), label); }
}  // namespace

const std::string& SearchMask::GetValue(int32_t i) const {
    if (i < 1 || i > ValueCount()) throw std::out_of_range("value index out of range");
    return values_[static_cast<size_t>(i - 1)];
}

int32_t SearchMask::FoundChar(const std::string& text, const std::string& ch) {
    if (ch.size() != 1) return -1;
    const size_t at = text.find(ch[0]);
    return at == std::string::npos || at > static_cast<size_t>(INT32_MAX) ? -1 : static_cast<int32_t>(at);
}

std::string SearchMask::PutMask() const {
    std::string s;
    ::PutString(MaskName, s);
    ::PutString(DependOn, s);
    for (int32_t v : {MaskType, DependType, BrowserType, Priority, MaxFoundCount}) ::PutInt(v, s);
    ::PutInt(CanCompile ? -1 : 0, s);
    ::PutInt(Hidden ? -1 : 0, s);
    ::PutInt(ValueCount(), s);
    for (const std::string& v : values_) ::PutString(v, s);
    return s;
}

void SearchMask::GetMask(MaskTokenReader& reader) {
    SearchMask m;
    m.MaskName = reader.GetString();
    m.DependOn = reader.GetString();
    m.MaskType = reader.GetInt();
    m.DependType = reader.GetInt();
    m.BrowserType = reader.GetInt();
    m.Priority = reader.GetInt();
    m.MaxFoundCount = reader.GetInt();
    m.CanCompile = reader.GetInt() != 0;
    m.Hidden = reader.GetInt() != 0;
    const int16_t n = reader.GetInt();
    m.values_ = values_;
    // A text that ends early gives fewer values, not thousands of empty ones
    // (a strict reader refuses it instead).
    for (int32_t i = 1; i <= n && (reader.Strict() || !reader.AtEnd()); ++i) m.values_.push_back(reader.GetString());
    m.SortAt = SortAt;
    *this = std::move(m);
}

std::string SearchMask::GetMask(std::string& text) {
    MaskTokenReader r(text);
    GetMask(r);
    text.erase(0, r.Position());
    return text;
}

bool SearchMask::FitsMaskFile() const {
    if (HasLineBreak(MaskName) || HasLineBreak(DependOn)) return false;
    for (const std::string& v : values_)
        if (HasLineBreak(v)) return false;
    return true;
}

bool SearchMask::SaveMask(LineWriter& file) const {
    if (!FitsMaskFile()) return false;
    using namespace MaskTexts;
    const std::pair<const char*, std::string> lines[] = {
        {kMaskName, MaskName},
        {kDependName, DependOn.empty() ? std::string(kNone) : DependOn},
        {kMaskType, std::to_string(Low16(MaskType))},
        {kDependType, std::to_string(Low16(DependType))},
        {kBrowserType, std::to_string(BrowserType)},
        {kMaskPriority, std::to_string(Priority)},
        {kMaxFoundCount, std::to_string(MaxFoundCount)},
        {kCanCompile, CanCompile ? "-1" : "0"},
        {kHidden, Hidden ? "-1" : "0"},
        {kValueCount, std::to_string(values_.size())},
    };
    bool ok = true;
    for (const auto& l : lines) {
        ok = file.WriteString(std::string(l.first) + "=") && ok;
        ok = file.WriteString(l.second) && ok;
        ok = file.PutBR() && ok;
    }
    ok = file.WriteString(kValues) && ok;
    for (const std::string& v : values_) {
        ok = file.PutBR() && ok;
        ok = file.WriteString(v) && ok;
    }
    return ok;
}

bool SearchMask::LoadMask(LineReader& file) {
    using namespace MaskTexts;
    SearchMask m;
    m.values_ = values_;
    m.MaskName = CutAfterChar(ReadLine(file, kMaskName));
    m.DependOn = CutAfterChar(ReadLine(file, kDependName));
    if (m.DependOn.compare(0, 6, kNone) == 0) m.DependOn.clear();
    m.MaskType = ReadNumber(file, kMaskType);
    m.DependType = ReadNumber(file, kDependType);
    m.BrowserType = ReadNumber(file, kBrowserType);
    m.Priority = ReadNumber(file, kMaskPriority);
    m.MaxFoundCount = ReadNumber(file, kMaxFoundCount);
    m.CanCompile = ReadNumber(file, kCanCompile) != 0;
    m.Hidden = ReadNumber(file, kHidden) != 0;
    const int32_t n = ReadNumber(file, kValueCount);
    ReadLine(file, kValues);
    // An empty last value is written as a line end at the very end of the
    // file, which reads as the end: there, and only there, the end is "".
    for (int32_t i = 1; i <= n; ++i) {
        std::string value;
        if (!file.ReadString(value) && i < n) throw MaskParseError("the file ends before its last value");
        m.values_.push_back(value);
    }
    m.SortAt = SortAt;
    *this = std::move(m);
    return true;
}
