#include "ScanRoutines.h"

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// The text's end, or the CR that ends a line.
bool AtLineEnd(TEdStream& s) { return s.AtEnd() || s.CurChar() == '\r' || s.CurChar() == 0; }

// The character ahead characters on, the stream left where it was.
uint8_t Peek(TEdStream& s, int ahead) {
    int32_t p = s.GetPosition();
    for (int i = 0; i < ahead; i++) s.Next();
    uint8_t c = s.AtEnd() ? 0 : s.CurChar();
    s.MoveTo(p);
    return c;
}

void Take(TEdStream& s, int32_t& length) {
    s.Next();
    length++;
}

void Digits(TEdStream& s, int32_t& length) {
    while (!s.AtEnd() && IsDigit(s.CurChar())) Take(s, length);
}

bool Identifier(TEdStream& s, int32_t& length) {
    uint8_t c = s.CurChar();
    if (s.AtEnd() || !(IsLetter(c) || c == '_')) return false;
    while (!s.AtEnd() && (IsLetter(s.CurChar()) || IsDigit(s.CurChar()) || s.CurChar() == '_')) Take(s, length);
    return true;
}

bool NumberOrFP(TEdStream& s, int32_t& length) {
    if (s.AtEnd() || !IsDigit(s.CurChar())) return false;
    Digits(s, length);
    if (s.CurChar() == '.' && IsDigit(Peek(s, 1))) {
        Take(s, length);
        Digits(s, length);
    }
    uint8_t c = s.CurChar();
    if (!s.AtEnd() && (c == 'e' || c == 'E')) {
        uint8_t n = Peek(s, 1);
        int sign = (n == '+' || n == '-') ? 1 : 0;
        if (IsDigit(Peek(s, 1 + sign))) {
            Take(s, length);
            if (sign) Take(s, length);
            Digits(s, length);
        }
    }
    return true;
}

bool SignedNumber(TEdStream& s, int32_t& length) {
    uint8_t c = s.CurChar();
    if (!s.AtEnd() && (c == '+' || c == '-')) {
        if (!IsDigit(Peek(s, 1))) return false;
        Take(s, length);
    }
    return NumberOrFP(s, length);
}

bool PascalString(TEdStream& s, int32_t& length) {
    if (s.AtEnd() || s.CurChar() != '\'') return false;
    Take(s, length);
    while (!AtLineEnd(s)) {
        bool quote = s.CurChar() == '\'';
        Take(s, length);
        if (quote) {
            if (s.AtEnd() || s.CurChar() != '\'') break;
            Take(s, length);  // '' stands for a quote
        }
    }
    return true;
}

bool QuotedC(TEdStream& s, int32_t& length, uint8_t quote) {
    if (s.AtEnd() || s.CurChar() != quote) return false;
    Take(s, length);
    while (!AtLineEnd(s)) {
        uint8_t c = s.CurChar();
        Take(s, length);
        if (c == quote) break;
        if (c == '\\' && !AtLineEnd(s)) Take(s, length);
    }
    return true;
}

bool MailUrl(TEdStream& s, int32_t& length) {
    int32_t start = s.GetPosition();
    int32_t n = 0;
    bool at = false;
    uint8_t last = 0;
    for (;;) {
        uint8_t c = s.CurChar();
        if (s.AtEnd() || !(IsLetter(c) || IsDigit(c) || c == '~' || c == '.' || c == '@' || c == '-')) break;
        at = at || c == '@';
        last = c;
        s.Next();
        n++;
    }
    if (!at) {
        s.MoveTo(start);
        return false;
    }
    if (last == '.') {
        s.MoveTo(s.GetPosition() - 1);
        n--;
    }
    length += n;
    return true;
}

bool HtmlString(TEdStream& s, int32_t& length) {
    if (s.AtEnd()) return false;
    Take(s, length);
    while (!AtLineEnd(s)) {
        bool quote = s.CurChar() == '"';
        Take(s, length);
        if (quote) break;
    }
    return true;
}

bool JsLineComment(TEdStream& s, int32_t& length) {
    if (s.AtEnd()) return false;
    Take(s, length);
    while (!AtLineEnd(s)) {
        if (s.CurChar() != '-') {
            Take(s, length);
            continue;
        }
        int dashes = 0;
        while (Peek(s, dashes) == '-') dashes++;
        if (dashes >= 2 && Peek(s, dashes) == '>') {
            // "-->" closes an HTML comment around the script: stop before it.
            for (int i = 0; i < dashes - 2; i++) Take(s, length);
            break;
        }
        for (int i = 0; i < dashes; i++) Take(s, length);
    }
    return true;
}

}  // namespace

bool IsScanRoutine(int routine) { return routine >= srIdentifier && routine <= srCStringSQ; }

TCharSet RoutineStartChars(int routine) {
    TCharSet set;
    auto range = [&set](int lo, int hi) {
        for (int c = lo; c <= hi; c++) set.Include(static_cast<uint8_t>(c));
    };
    switch (routine) {
        case srIdentifier: range('A', 'Z'); range('a', 'z'); set.Include('_'); break;
        case srNumberOrFP: range('0', '9'); set.Include('.'); break;
        case srPascalString: case srCChar: case srCStringSQ: set.Include('\''); break;
        case srCString: case srHtmlString: set.Include('"'); break;
        case srCNumberOrFPSigned: range('0', '9'); set.Include('.'); set.Include('+'); set.Include('-'); break;
        case srNumber: range('0', '9'); break;
        case srMailUrl: range('0', '9'); range('A', 'Z'); range('a', 'z'); break;
        case srJsLineComment: set.Include('/'); break;
        default: break;
    }
    return set;
}

bool RunScanRoutine(int routine, TEdStream& s, int32_t& length) {
    switch (routine) {
        case srIdentifier: return Identifier(s, length);
        case srNumberOrFP: return NumberOrFP(s, length);
        case srPascalString: return PascalString(s, length);
        case srCString: return QuotedC(s, length, '"');
        case srCChar: case srCStringSQ: return QuotedC(s, length, '\'');
        case srCNumberOrFPSigned: return SignedNumber(s, length);
        case srNumber:
            if (s.AtEnd() || !IsDigit(s.CurChar())) return false;
            Digits(s, length);
            return true;
        case srMailUrl: return MailUrl(s, length);
        case srHtmlString: return HtmlString(s, length);
        case srJsLineComment: return JsLineComment(s, length);
        default: return false;
    }
}
