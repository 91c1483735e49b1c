#include "ftpclient/core/TextIniFile.h"

#include "runtime/core/SysUtils.h"

namespace {

std::string TrimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Key, int Default) {
    return StrToIntDef(ReadString(Section, Key, ""), Default);
}

bool TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Key, int Value) {
    return WriteString(Section, Key, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Key, bool Default) {
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

void TTextIniFile::SetText(const std::string& Text) {
    sections_.clear();
    Section* current = nullptr;
    size_t i = 0;
    while (i < Text.size()) {
        size_t end = Text.find_first_of("\r\n", i);
        if (end == std::string::npos) end = Text.size();
        std::string line = TrimBlanks(Text.substr(i, end - i));
        i = end;
        if (i < Text.size() && Text[i] == '\r') ++i;
        if (i < Text.size() && Text[i] == '\n') ++i;
        if (!line.empty() && line[0] == '[') {
            size_t close = line.find(']');
            std::string name = TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = FindSection(name);
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string::npos || line[0] == ';') continue;
        std::string key = TrimBlanks(line.substr(0, eq));
        std::string value = line.substr(eq + 1);
        bool known = false;
        for (const Entry& e : current->entries) known = known || SameText(e.key, key);
        if (!known) current->entries.push_back(Entry{key, value});  // the first one wins, as on reading
    }
}

std::string TTextIniFile::Text() const {
    std::string out;
    for (size_t s = 0; s < sections_.size(); ++s) {
        if (s > 0) out += "\r\n";
        out += "[" + sections_[s].name + "]\r\n";
        for (const Entry& e : sections_[s].entries) out += e.key + "=" + e.value + "\r\n";
    }
    return out;
}

TTextIniFile::Section* TTextIniFile::FindSection(const std::string& name) {
    for (Section& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

const TTextIniFile::Section* TTextIniFile::FindSection(const std::string& name) const {
    for (const Section& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

std::string TTextIniFile::ReadString(const std::string& SectionName, const std::string& Key,
                                     const std::string& Default) {
    const Section* s = FindSection(SectionName);
    if (!s) return Default;
    for (const Entry& e : s->entries) {
        if (!SameText(e.key, Key)) continue;
        std::string v = TrimBlanks(e.value);
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
        return v;
    }
    return Default;
}

bool TTextIniFile::WriteString(const std::string& SectionName, const std::string& Key,
                               const std::string& Value) {
    // A line end inside a key or value would make a line of its own.
    if (Key.find_first_of("\r\n=") != std::string::npos || Value.find_first_of("\r\n") != std::string::npos ||
        SectionName.find_first_of("\r\n]") != std::string::npos || TrimBlanks(Key).empty())
        return false;
    Section* s = FindSection(SectionName);
    if (!s) {
        sections_.push_back(Section{SectionName, {}});
        s = &sections_.back();
    }
    for (Entry& e : s->entries) {
        if (SameText(e.key, Key)) {
            e.value = Value;
            return true;
        }
    }
    s->entries.push_back(Entry{Key, Value});
    return true;
}

bool TTextIniFile::EraseSection(const std::string& SectionName) {
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (SameText(sections_[i].name, SectionName)) {
            sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return true;
}

bool TTextIniFile::SectionExists(const std::string& SectionName) const { return FindSection(SectionName) != nullptr; }
