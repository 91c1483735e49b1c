#include "SM_CharGroup.h"

#include "StreamPrimitives.h"
#include "StringScanner.h"
#include "SyntaxMemoErrors.h"

void TSM_CharGroup::Clear() {
    Chars.Clear();
    Ranges.clear();
    Negated = 0;
    Low = 255;
    High = 0;
}

void TSM_CharGroup::AddRange(uint8_t low, uint8_t high) {
    if (low < Low) Low = low;
    if (high > High) High = high;
    for (int c = low; c <= high; c++) Chars.Include(static_cast<uint8_t>(c));
}

void TSM_CharGroup::AddSet(const TCharSet& set) {
    Chars |= set;
    Low = 0;
    High = 255;
}

bool TSM_CharGroup::Equals(const TSM_CharGroup& other) const {
    return Ranges == other.Ranges && Chars == other.Chars && Negated == other.Negated;
}

void TSM_CharGroup::SaveToStream(TStream& s) const {
    WriteSet(s, Chars);
    WriteInt(s, static_cast<int32_t>(Ranges.size()));
    WriteByte(s, Negated);
    for (const Range& r : Ranges) {
        WriteWord(s, r.Low);
        WriteWord(s, r.High);
    }
}

void TSM_CharGroup::LoadFromStream(TStream& s) {
    TSM_CharGroup g;
    g.Chars = ReadSet(s);
    int32_t n = ReadCount(s, 256, 4, "character range");
    g.Negated = ReadByte(s);
    for (int32_t i = 0; i < n; i++) {
        uint16_t low = ReadWord(s);
        uint16_t high = ReadWord(s);
        // The set holds characters 0..255 only.
        if (low > 255 || high > 255 || low > high)
            throw ESyntaxMemo(Format("Invalid character range in stream: %d-%d", low, high));
        g.AddRange(static_cast<uint8_t>(low), static_cast<uint8_t>(high));
    }
    *this = g;
}

int32_t TSM_CharGroupManager::Intern(const TSM_CharGroup& group) {
    for (size_t i = 0; i < Items.size(); i++)
        if (Items[i]->Equals(group)) return static_cast<int32_t>(i);
    Items.emplace_back(new TSM_CharGroup(group));
    return static_cast<int32_t>(Items.size() - 1);
}

TSM_CharGroup& TSM_CharGroupManager::Get(int32_t id) const {
    if (id < 0 || id >= Count()) throw ESyntaxMemo(Format("Invalid Set ID (%d)", id));
    return *Items[static_cast<size_t>(id)];
}

void TSM_CharGroupManager::SaveToStream(TStream& s) const {
    WriteInt(s, Count());
    for (const auto& g : Items) g->SaveToStream(s);
}

void TSM_CharGroupManager::LoadFromStream(TStream& s) {
    TSM_CharGroupManager m;
    int32_t n = ReadCount(s, INT32_MAX, 37, "character set");
    for (int32_t i = 0; i < n; i++) {
        TSM_CharGroup g;
        g.LoadFromStream(s);
        m.Intern(g);
    }
    Swap(m);
}

namespace {

struct Element {
    uint8_t code;
    bool escaped;
};

bool IsOctal(uint8_t c) { return c >= '0' && c <= '7'; }

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Element ReadElement(TStringScanner& sc) {
    uint8_t c = sc.Current();
    sc.Next();
    if (c != '\\') return {c, false};
    if (sc.AtEnd()) return {'\\', true};
    c = sc.Current();
    sc.Next();
    if (IsOctal(c)) {
        unsigned code = c - '0';
        while (!sc.AtEnd() && IsOctal(sc.Current())) {
            code = (code * 8 + (sc.Current() - '0')) & 0xFF;
            sc.Next();
        }
        return {static_cast<uint8_t>(code), true};
    }
    switch (c) {
    case 'b': case 'B': return {8, true};
    case 'e': case 'E': return {27, true};
    case 'n': case 'N': return {13, true};
    case 'r': case 'R': return {10, true};
    case 's': case 'S': return {32, true};
    case 't': case 'T': return {9, true};
    case 'x': case 'X': case 'u': case 'U': {
        unsigned code = 0;
        while (!sc.AtEnd() && HexValue(sc.Current()) >= 0) {
            code = (code * 16 + static_cast<unsigned>(HexValue(sc.Current()))) & 0xFF;
            sc.Next();
        }
        return {static_cast<uint8_t>(code), true};
    }
    default: return {c, true};
    }
}

// Adds element a, or the range from a when "-" and a second element follow. A
// "-" with nothing usable after it is left alone.
void AddElementOrRange(TStringScanner& sc, TSM_CharGroup& g, Element a, bool inBrackets) {
    bool range = !sc.AtEnd() && sc.Current() == '-' && sc.Position + 1 <= sc.Length &&
                 !(inBrackets && sc.Text[static_cast<size_t>(sc.Position)] == ']');
    if (!range) {
        g.AddChar(a.code);
        return;
    }
    sc.Next();
    Element b = ReadElement(sc);
    if (b.code < a.code) throw Exception("Characters not in correct order for range specifier");
    g.AddRange(a.code, b.code);
}

}  // namespace

int ParseCharSpec(const std::string& text, int position, TSM_CharGroup& group) {
    group.Clear();
    TStringScanner sc(text);
    sc.SetPosition(position);
    if (sc.AtEnd() || position < 1) return position;
    Element e = ReadElement(sc);
    if (!e.escaped && e.code == '[') {
        if (!sc.AtEnd() && sc.Current() == '^') {
            group.Negated = 1;
            sc.Next();
        }
        while (!sc.AtEnd()) {
            Element a = ReadElement(sc);
            if (!a.escaped && a.code == ']') break;
            AddElementOrRange(sc, group, a, true);
        }
        return sc.Position;
    }
    if (e.escaped && e.code == '[') return sc.Position;
    AddElementOrRange(sc, group, e, false);
    return sc.Position;
}
