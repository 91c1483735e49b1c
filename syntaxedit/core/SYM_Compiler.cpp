#include "SYM_Compiler.h"

#include <cstring>

#include "Stream.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::string p = path;
#ifndef _WIN32
    // Scripts name folders the Windows way.
    for (char& c : p)
        if (c == '\\') c = '/';
#endif
    if (!FileExists(p)) return false;
    try {
        TFileStream f(p, fmOpenRead | fmShareDenyWrite);
        int64_t n = f.Size();
        if (n < 0 || n > 64 * 1024 * 1024) return false;
        text.assign(static_cast<size_t>(n), '\0');
        if (n > 0) f.ReadBuffer(&text[0], static_cast<int32_t>(n));
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// The text up to its first NUL, as the lexer reads NUL-terminated text.
std::string UpToNul(const std::string& s) { return std::string(s.c_str()); }

bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == 160; }
bool IsLineEnd(uint8_t c) { return c == '\r' || c == '\n'; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

TSYM_Compiler::TSYM_Compiler(const std::string& script, const std::string& scriptFolder, TFileReader reader)
    : ScriptFolder(scriptFolder), reader_(reader ? reader : TFileReader(ReadWholeFile)) {
    Source main;
    main.Name = "";
    main.Text = UpToNul(script);
    main.Counted = true;
    sources_.push_back(std::move(main));
    AddPredefinedMacros(MacroStore);
    AddSchemeKeywords(KeywordStore);
    SkipWhite();
}

void TSYM_Compiler::Error(const std::string& message) const {
    throw ESYM_COMP_ERROR(Format("** ERROR near line %d, Column %d: %s", Line + 1, Column + 1, message.c_str()));
}

uint8_t TSYM_Compiler::Ch(size_t ahead) {
    const Source& s = Cur();
    size_t p = s.Pos + ahead;
    return p < s.Text.size() ? static_cast<uint8_t>(s.Text[p]) : 0;
}

void TSYM_Compiler::Advance() {
    Source& s = Cur();
    if (s.Pos >= s.Text.size()) return;
    uint8_t c = static_cast<uint8_t>(s.Text[s.Pos]);
    if (s.Counted) {
        // CR, LF and CR LF each end one line.
        if (c == '\r' || (c == '\n' && (s.Pos == 0 || s.Text[s.Pos - 1] != '\r'))) {
            Line++;
            Column = 0;
        } else if (c != '\n') {
            Column++;
        }
    }
    s.Pos++;
}

void TSYM_Compiler::SkipWhite() {
    for (;;) {
        if (AtSourceEnd()) {
            if (sources_.size() == 1) return;
            if (Cur().Counted) {
                Line = Cur().SavedLine;
                Column = Cur().SavedColumn;
            }
            sources_.pop_back();
            continue;
        }
        uint8_t c = Ch();
        if (IsBlank(c) || IsLineEnd(c)) {
            Advance();
            continue;
        }
        if (c == '/' && SkipComment()) continue;
        if (c == '#' && !(flags_ & fInDirective) && TryDirective()) continue;
        if (IsIdentStart(c) && !(flags_ & (fInDirective | fSkipping)) && TryExpandMacro()) continue;
        return;
    }
}

bool TSYM_Compiler::SkipComment() {
    if (Ch(1) == '*') {
        Advance();
        Advance();
        while (!AtSourceEnd() && !(Ch() == '*' && Ch(1) == '/')) Advance();
        Advance();
        Advance();
        return true;
    }
    if (Ch(1) == '/') {
        while (!AtSourceEnd() && !IsLineEnd(Ch())) Advance();
        return true;
    }
    return false;
}

bool TSYM_Compiler::TryDirective() {
    size_t n = 1;
    std::string word;
    while (Ch(n) >= 'a' && Ch(n) <= 'z') word += static_cast<char>(Ch(n++));
    void (TSYM_Compiler::*run)() = nullptr;
    if (word == "define") run = &TSYM_Compiler::Define;
    else if (word == "else") run = &TSYM_Compiler::Else;
    else if (word == "endif") run = &TSYM_Compiler::EndIf;
    else if (word == "include") run = &TSYM_Compiler::Include;
    else if (word != "ifdef" && word != "ifndef") return false;
    if (IsIdentChar(Ch(n))) return false;  // "#defined" is no directive
    for (size_t i = 0; i < n; i++) Advance();
    if (run) (this->*run)();
    else IfDef(word == "ifdef");
    return true;
}

bool TSYM_Compiler::TryExpandMacro() {
    size_t n = 0;
    std::string name;
    while (IsIdentChar(Ch(n))) name += static_cast<char>(Ch(n++));
    const std::string* text = MacroStore.FindText(name);
    if (!text) return false;
    for (size_t i = 0; i < n; i++) Advance();
    for (size_t i = 1; i < sources_.size(); i++)
        if (SameText(sources_[i].Name, name)) Error(Format("Recursive expansion of macro '%s'", LowerCase(name).c_str()));
    // Each expansion may hold several others: bound the total so that a script
    // cannot make the work grow without end.
    if (++expansions_ > kMaxExpansions) Error("Too many macro expansions");
    Source s;
    s.Name = name;
    s.Text = *text;
    sources_.push_back(std::move(s));
    return true;
}

std::string TSYM_Compiler::ReadIdent() {
    std::string name;
    while (!AtSourceEnd() && IsIdentChar(Ch())) {
        name += static_cast<char>(Ch());
        Advance();
    }
    return name;
}

void TSYM_Compiler::SkipLineBlanks() {
    while (!AtSourceEnd() && IsBlank(Ch())) Advance();
}

void TSYM_Compiler::SkipRestOfLine() {
    while (!AtSourceEnd() && !IsLineEnd(Ch())) Advance();
}

void TSYM_Compiler::Define() {
    // A define takes effect in a region a conditional leaves out too (scripts
    // are written for that): a name defined in both branches keeps the last.
    flags_ |= fInDirective;
    SkipLineBlanks();
    if (!IsIdentStart(Ch())) {
        flags_ &= ~fInDirective;
        Error("Macro name expected");
    }
    std::string name = ReadIdent();
    std::string value;
    while (!AtSourceEnd() && !IsLineEnd(Ch())) {
        value += static_cast<char>(Ch());
        Advance();
    }
    flags_ &= ~fInDirective;
    value = Trim(value);
    if (!SameText(name, value)) MacroStore.AddText(name, value);
}

void TSYM_Compiler::IfDef(bool wantDefined) {
    conditionals_.push_back(flags_);
    if (flags_ & fSkipping) return;
    SkipLineBlanks();
    if (!IsIdentStart(Ch())) Error("Macro name expected after #ifdef");
    std::string name = ReadIdent();
    if (MacroStore.Contains(name) != wantDefined) flags_ |= fSkipping;
}

void TSYM_Compiler::Else() {
    if (conditionals_.empty()) Error("#else without #ifdef");
    if (!(conditionals_.back() & fSkipping)) flags_ ^= fSkipping;
}

void TSYM_Compiler::EndIf() {
    if (conditionals_.empty()) Error("#endif without #ifdef");
    flags_ = conditionals_.back();
    conditionals_.pop_back();
}

void TSYM_Compiler::Include() {
    if (flags_ & fSkipping) {
        SkipRestOfLine();
        return;
    }
    SkipLineBlanks();
    uint8_t open = Ch();
    char closer = open == '<' ? '>' : open == '"' ? '"' : 0;
    if (!closer) Error("#include filename not enclosed in \"...\" or <...>");
    Advance();
    std::string name;
    while (!AtSourceEnd() && !IsLineEnd(Ch()) && Ch() != static_cast<uint8_t>(closer)) {
        name += static_cast<char>(Ch());
        Advance();
    }
    if (Ch() != static_cast<uint8_t>(closer) || AtSourceEnd())
        Error(Format("#include filename missing terminating %c", closer));
    Advance();
    int depth = 0;
    for (const Source& s : sources_)
        if (s.Counted) depth++;
    // The script itself is one level; a file that includes itself stops here.
    if (depth > kMaxIncludeDepth) Error(Format("#include nested more than %d deep: %s", kMaxIncludeDepth, name.c_str()));
    std::string path = name;
    if (open == '<') {
        std::string folder = ScriptFolder;
        if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
        path = folder + name;
    }
    std::string text;
    if (!reader_(path, text)) Error(Format("Unable to open #include file %c%s%c", open, name.c_str(), closer));
    Source s;
    s.Name = "-file-: " + name;
    s.Text = UpToNul(text);
    s.Counted = true;
    // Positions inside the file are the file's own; the includer's come back after it.
    s.SavedLine = Line;
    s.SavedColumn = Column;
    Line = Column = 0;
    sources_.push_back(std::move(s));
}

int TSYM_Compiler::ReadToken() {
    for (;;) {
        SkipWhite();
        int t = ScanToken();
        if (t != tkEndOfInput && (flags_ & fSkipping)) continue;
        LastToken = t;
        if (t == tkIdentifier) Error(Format("Identifier \"%s\" Unknown", LastIdentifier.c_str()));
        if (t == tkBadChar) Error(Format("Unknown character in input stream: #$%.2x", BadChar));
        return t;
    }
}

int TSYM_Compiler::ScanToken() {
    if (AtSourceEnd()) return tkEndOfInput;
    Source& s = Cur();
    size_t p = s.Pos;
    int32_t code = KeywordStore.MatchLongest(s.Text, p);
    if (code >= 0) {
        while (Cur().Pos < p) Advance();
        return code;
    }
    uint8_t c = Ch();
    if (c == '\'') {
        ReadStringLiteral();
        return tkString;
    }
    if (IsDigit(c)) {
        uint32_t v = 0;
        while (!AtSourceEnd() && IsDigit(Ch())) {
            v = v * 10u + static_cast<uint32_t>(Ch() - '0');
            Advance();
        }
        LastNumber = static_cast<int32_t>(v);
        return tkNumber;
    }
    if (IsIdentStart(c)) {
        LastIdentifier = ReadIdent();
        return tkIdentifier;
    }
    BadChar = c;
    Advance();
    return tkBadChar;
}

void TSYM_Compiler::ReadStringLiteral() {
    StringRaw.clear();
    Advance();
    while (!AtSourceEnd()) {
        uint8_t c = Ch();
        if (c == '\'') {
            Advance();
            if (Ch() == '\'') Advance();
            return;
        }
        if (c == '\\' && IsLineEnd(Ch(1))) {
            // Only a backslash right before the line end continues the literal.
            Advance();
            bool cr = Ch() == '\r';
            Advance();
            if (cr && Ch() == '\n') Advance();
            while (!AtSourceEnd() && Ch() <= ' ') Advance();
            if (Ch() == '\\') Advance();
            continue;
        }
        StringRaw += static_cast<char>(c);
        Advance();
        if (c == '\\' && !AtSourceEnd()) {
            StringRaw += static_cast<char>(Ch());
            Advance();
        }
    }
}

std::string TSYM_Compiler::ProcessEscapes(const std::string& raw) {
    std::string out;
    size_t n = raw.size();
    for (size_t i = 0; i < n;) {
        uint8_t c = static_cast<uint8_t>(raw[i++]);
        if (c != '\\') {
            out += static_cast<char>(c);
            continue;
        }
        if (i >= n) break;  // a backslash at the very end is dropped
        uint8_t e = static_cast<uint8_t>(raw[i]);
        uint32_t code = 0;
        if (e >= '0' && e <= '7') {
            while (i < n && raw[i] >= '0' && raw[i] <= '7') code = code * 8u + static_cast<uint32_t>(raw[i++] - '0');
        } else if (e == 'x' || e == 'X') {
            i++;
            while (i < n && HexValue(static_cast<uint8_t>(raw[i])) >= 0)
                code = code * 16u + static_cast<uint32_t>(HexValue(static_cast<uint8_t>(raw[i++])));
        } else {
            i++;
            switch (e | 0x20) {
                case 'b': code = 8; break;
                case 'e': code = 27; break;
                case 'n': code = 13; break;
                case 'r': code = 10; break;
                case 's': code = 32; break;
                case 't': code = 9; break;
                default: code = e;
            }
        }
        code &= 255u;
        if (code == 0) break;
        out += static_cast<char>(code);
    }
    return out;
}
