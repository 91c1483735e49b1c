#include "CrtFile.h"

#include <cstring>

#include "CountedString.h"

const char* CrtFile::ModeOf(long Flags) {
    switch (Flags) {
    case 0: return "w";
    case 1: return "r";
    case 2: return "a";
    case 3: return "w+";
    case 4: return "r+";
    default: return "w+b";
    }
}

bool CrtFile::CanOpenForReading(const std::string& FileName) {
    std::FILE* f = std::fopen(FileName.c_str(), "r");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool CrtFile::Open(const std::string& FileName, long Flags) {
    Close();
    f_ = std::fopen(FileName.c_str(), ModeOf(Flags));
    return f_ != nullptr;
}

void CrtFile::Close() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    last_ = 0;
}

void CrtFile::Switch(bool writing) {
    int op = writing ? 2 : 1;
    if (last_ != 0 && last_ != op) std::fseek(f_, 0, SEEK_CUR);
    last_ = op;
}

bool CrtFile::WriteText(const std::string& Text) {
    if (!f_) return false;
    Switch(true);
    size_t n = std::strlen(Text.c_str());
    return std::fwrite(Text.data(), 1, n, f_) == n;
}

bool CrtFile::PutLineFeed() {
    if (!f_) return false;
    Switch(true);
    return std::fputc('\n', f_) != EOF;
}

bool CrtFile::ReadLine(std::string& Line) {
    Line.clear();
    if (!f_) return false;
    Switch(false);
    std::clearerr(f_);
    // Grows with the line, so a line is never cut.
    int c;
    bool any = false;
    while ((c = std::fgetc(f_)) != EOF) {
        any = true;
        Line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (!any || std::ferror(f_)) {
        Line.clear();
        return false;
    }
    size_t nul = Line.find('\0');
    if (nul != std::string::npos) Line.resize(nul);
    while (!Line.empty() && (Line.back() == '\r' || Line.back() == '\n')) Line.pop_back();
    return true;
}

bool CrtFile::PutString(const std::u16string& s) {
    if (!f_) return false;
    Switch(true);
    return WriteCountedString(f_, s);
}

bool CrtFile::GetString(std::u16string& s) {
    s.clear();
    if (!f_) return false;
    Switch(false);
    return ReadCountedString(f_, s);
}

long CrtFile::Position() {
    if (!f_) return 0;
    long p = std::ftell(f_);
    return p < 0 ? 0 : p;
}

bool CrtFile::SetPosition(long Offset) {
    if (!f_) return false;
    last_ = 0;
    return std::fseek(f_, Offset, SEEK_SET) == 0;
}
