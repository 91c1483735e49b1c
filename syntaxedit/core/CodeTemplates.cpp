#include "CodeTemplates.h"

#include <algorithm>

#include "StreamPrimitives.h"
#include "StringScanner.h"
#include "SyntaxMemoErrors.h"

void TCodeTemplates::Assign(const TObject* source) {
    const TCodeTemplates* src = dynamic_cast<const TCodeTemplates*>(source);
    if (!src) throw Exception(Format("Cannot assign %s to %s", ClassNameOf(source).c_str(), ClassNameOf(this).c_str()));
    CopyThroughStream(*src);
}

namespace {
// A template's name as stored.
std::string StoredName(const std::string& name) { return LowerCase(name.substr(0, TMacroKeywords::kMaxNameLength)); }
}  // namespace

void TCodeTemplates::AddTemplate(const std::string& name, const std::string& description, const std::string& text) {
    int i;
    if (Macros && Macros->Find(StoredName(name), i)) DeleteTemplate(name);
    AddMacro(name, description, false, text);
}

void TCodeTemplates::DeleteTemplate(const std::string& name) {
    int i;
    if (!Macros || !Macros->Find(StoredName(name), i)) return;
    FreeRecord(Macros->Objects(i));
    Macros->Delete(i);
    RebuildTree();
}

bool TCodeTemplates::FindTemplate(const std::string& name, std::string& text) const {
    const std::string stored = StoredName(name);
    int32_t followed = 0;
    KeywordNode* node = FindPrefix(ReverseString(stored), followed, false);
    if (!node || followed != static_cast<int32_t>(stored.size()) || !node->Entries) return false;
    const std::string* t = reinterpret_cast<const std::string*>(node->Entries->Data);
    text = t ? *t : std::string();
    return true;
}

void TCodeTemplates::SaveToStream(TStream& s) const {
    int n = Macros ? Macros->Count() : 0;
    WriteInt(s, n);
    for (int i = 0; i < n; i++) {
        const TMacroRecord* r = static_cast<const TMacroRecord*>(Macros->Objects(i));
        WriteShortString(s, Macros->Strings(i));
        WriteShortString(s, r->Description ? *r->Description : std::string());
        WriteLongString(s, r->Text ? *r->Text : std::string());
    }
}

void TCodeTemplates::ReadTemplates(TStream& s) {
    // A template takes at least 1 + 1 + 4 bytes.
    int32_t n = ReadCount(s, INT32_MAX, 6, "template");
    for (int32_t i = 0; i < n; i++) {
        std::string name = ReadShortString(s);
        std::string description = ReadShortString(s);
        std::string text = ReadLongString(s);
        AddMacro(name, description, false, text);
    }
}

void TCodeTemplates::LoadFromStream(TStream& s) {
    TCodeTemplates t;
    t.ReadTemplates(s);
    SwapMacros(t);
}

const char* const TAutoReplace::DefaultActivationKeys = ";,:.=()[]\\{Return}\\{Tab}\\{Space}";

TAutoReplace::TAutoReplace() {
    ConsumeKey = IndentLines = CaretMarker = ShowList = false;
    SetActivationKeys(DefaultActivationKeys);
}

namespace {
// The key-code rule: virtual key in the low byte, 256 Shift, 512 Ctrl, 2048 Alt.
uint16_t CodeOfScan(int16_t scan) {
    if (scan == -1) return 0;
    uint16_t v = static_cast<uint16_t>(scan);
    uint16_t code = v & 0xFF;
    if (v & 0x100) code |= 256;
    if (v & 0x200) code |= 512;
    if (v & 0x400) code |= 2048;
    return code;
}
}  // namespace

void TAutoReplace::SetActivationKeys(const std::string& text) {
    // The text is stored behind a length byte.
    if (text.size() > kMaxNameLength)
        throw ESyntaxMemo(Format("Activation keys too long: at most %d characters", static_cast<int>(kMaxNameLength)));
    KeyCodes.clear();
    TStringScanner sc(text);
    while (!sc.AtEnd()) {
        uint8_t c = sc.Current();
        sc.Next();
        uint16_t code;
        if (c == '\\' && !sc.AtEnd()) {
            uint8_t d = sc.Current();
            if (d >= 'A' && d <= 'Z') d = static_cast<uint8_t>(d + 32);
            sc.Next();
            if (d == 'n' || d == 'r') {
                code = vkReturn;
            } else if (d == 's') {
                code = vkSpace;
            } else if (d == 't') {
                code = vkTab;
            } else if (d == '{') {
                std::string name;
                for (;;) {
                    if (sc.AtEnd()) throw ESyntaxMemo("Bad key specifier");
                    uint8_t k = sc.Current();
                    sc.Next();
                    if (k == '}') break;
                    if (k >= 'A' && k <= 'Z') k = static_cast<uint8_t>(k + 32);
                    if ((k >= 'a' && k <= 'z') || (k >= '0' && k <= '9')) name += static_cast<char>(k);
                }
                int key = KeyOfName(name);
                code = key < 0 || key > 255 ? 0 : static_cast<uint16_t>(key);
            } else {
                int16_t scan = KeyScanChar(static_cast<char>(d));
                code = scan != -1 && (scan & 0xFF00) == 0 ? static_cast<uint16_t>(scan) : 0;
            }
        } else {
            code = CodeOfScan(KeyScanChar(static_cast<char>(c)));
        }
        if (std::find(KeyCodes.begin(), KeyCodes.end(), code) == KeyCodes.end()) KeyCodes.push_back(code);
    }
    ActivationKeys = text;
}

bool TAutoReplace::IsHotKey(uint16_t key, TShiftState shift) const {
    if (ActivationKeys.empty() || key > 255) return false;
    uint16_t code = key;
    if (shift & ssShift) code |= 256;
    if (shift & ssCtrl) code |= 512;
    if (shift & ssAlt) code |= 2048;
    return std::find(KeyCodes.begin(), KeyCodes.end(), code) != KeyCodes.end();
}

void TAutoReplace::Clear() {
    TCodeTemplates::Clear();
    SetActivationKeys(DefaultActivationKeys);
}

void TAutoReplace::SaveToStream(TStream& s) const {
    TCodeTemplates::SaveToStream(s);
    WriteShortString(s, ActivationKeys);
}

void TAutoReplace::LoadFromStream(TStream& s) {
    TAutoReplace t;
    t.ReadTemplates(s);
    t.SetActivationKeys(ReadShortString(s));
    SwapMacros(t);
    std::swap(ActivationKeys, t.ActivationKeys);
    std::swap(KeyCodes, t.KeyCodes);
}
