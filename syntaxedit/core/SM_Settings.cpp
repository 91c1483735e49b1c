#include "SM_Settings.h"

#include <algorithm>

#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"

namespace {

class TPortableSettingsPlatform : public TSettingsPlatform {
public:
    uintptr_t CreateStyleFont(const std::string&, int32_t, uint8_t, uint8_t, bool) override { return 0; }
    void DeleteStyleFont(uintptr_t) override {}
    TColor SystemColor(int index) override { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
};

TPortableSettingsPlatform portablePlatform;
TSettingsPlatform* currentPlatform = &portablePlatform;

}  // namespace

void SetSettingsPlatform(TSettingsPlatform* platform) {
    currentPlatform = platform ? platform : &portablePlatform;
}

TSettingsPlatform& SettingsPlatform() { return *currentPlatform; }

TSM_Settings::TSM_Settings()
    : AutoReplace(new TAutoReplace), CodeTemplates(new TCodeTemplates), KeyController(new TKeyboardActionContoller) {
    Reset();
}

TSM_Settings::~TSM_Settings() { DeleteFonts(); }

void TSM_Settings::Reset() {
    if (AttachCount > 0) DeleteFonts();
    ExampleText.clear();
    LanguageName = "<Custom language>";
    WrapOverride = ">|:";
    FontCharset = 1;
    for (TEditableStyle& e : EditableStyles) e = TEditableStyle();
    Options = kDefaultOptions;
    TabDefault = 4;
    Margin = 2;
    RightMargin = 80;
    WrapAtColumn = 0;
    Gutter = 34;
    IndentStep = 1;
    MarginColor = 16777215;
    GutterColor = -2147483633;
    SelTextColor = SettingsPlatform().SystemColor(COLOR_HIGHLIGHTTEXT_INDEX);
    SelTextBack = SettingsPlatform().SystemColor(COLOR_HIGHLIGHT_INDEX);
    std::fill(std::begin(TabColumns), std::end(TabColumns), -1);
    AutoReplace->Clear();
    CodeTemplates->Clear();
    KeyController->Assign(&DefaultKeyMap());
    std::fill(std::begin(TokenMap), std::end(TokenMap), 0);
    for (TStyleEntry& s : Styles) s = TStyleEntry();
    Styles[0].Defined = 1;
    FontName = "Courier New";
    FontSize = 10;
    MarginUseDefault = SelTextUseDefaultText = SelTextUseDefaultBack = GutterUseDefault = 0;
    StylesChanged = 1;
    HasHotspotCache = 0;
    KeyTableStates.clear();
    KeyTables.reset();
}

void TSM_Settings::Attach() {
    if (++AttachCount == 1) {
        DeleteFonts();
        RebuildFonts();
    }
}

void TSM_Settings::Detach() {
    if (AttachCount == 0) return;
    if (--AttachCount == 0) DeleteFonts();
}

void TSM_Settings::RebuildFonts() {
    for (TStyleEntry& s : Styles) {
        if (!s.Defined) continue;
        if (s.Font) SettingsPlatform().DeleteStyleFont(s.Font);
        s.Font = SettingsPlatform().CreateStyleFont(FontName, FontSize, s.FontStyle, FontCharset, ForPrinter != 0);
    }
}

void TSM_Settings::DeleteFonts() {
    for (TStyleEntry& s : Styles) {
        if (s.Font) SettingsPlatform().DeleteStyleFont(s.Font);
        s.Font = 0;
    }
}

void TSM_Settings::SetStyle(int n, const TStyleEntry& entry) {
    Styles[n & 255] = entry;
    StylesChanged = 1;
}

void TSM_Settings::SetEditableStyle(int i, const TEditableStyle& entry) {
    if (i < 1 || i > kEditableStyles) throw ESyntaxMemo(Format("Editable style index out of range: %d", i));
    EditableStyles[i - 1] = entry;
    EditableStyles[i - 1].Name = entry.Name.substr(0, 25);
}

TEditableStyle TSM_Settings::GetEditableStyle(int i) const {
    if (i < 1 || i > kEditableStyles) throw ESyntaxMemo(Format("Editable style index out of range: %d", i));
    return EditableStyles[i - 1];
}

bool TSM_Settings::HasHotspots() {
    if (!StylesChanged) return HasHotspotCache != 0;
    bool any = false;
    for (const TStyleEntry& s : Styles)
        if (s.Defined && s.Hotspot) any = true;
    HasHotspotCache = any ? 1 : 0;
    return any;
}

std::unique_ptr<TKeywords> TSM_Settings::BuildKeyTables(const std::vector<std::unique_ptr<TKeyTableDef>>& slots) {
    std::unique_ptr<TKeywords> tables;
    for (const auto& slot : slots) {
        if (!slot || slot->Words.empty()) continue;
        if (!tables) tables.reset(new TKeywords);
        TSM_CharGroup group;
        if (slot->EndChars.empty()) group.AddRange(0, 255);
        else ParseCharSpec(slot->EndChars, 1, group);
        for (const auto& w : slot->Words)
            if (!w.first.empty()) tables->AddKeyword(w.first, slot->CaseSensitive != 0, w.second, slot->States, group);
    }
    return tables;
}

void TSM_Settings::DefineKeyTable(const TStateSet& states, const std::string& endChars, bool caseSensitive,
                                  const std::vector<std::pair<std::string, int32_t>>& words) {
    TStateSet st = states.Empty() ? TStateSet::Of({0}) : states;
    // Work on a copy so that a failure leaves the tables as they were.
    std::vector<std::unique_ptr<TKeyTableDef>> slots;
    for (const auto& s : KeyTableStates) slots.emplace_back(s ? new TKeyTableDef(*s) : nullptr);
    int idx = -1;
    if (slots.empty()) {
        slots.resize(kKeyTableSlots);
        idx = 0;
    } else {
        for (int i = 0; i < kKeyTableSlots; i++) {
            if (!slots[static_cast<size_t>(i)]) {
                idx = i;
                break;
            }
            const TStateSet& have = slots[static_cast<size_t>(i)]->States;
            if (have.Meets(st)) {
                if (have != st) throw EKeywords("Ambigious key table state definition");
                idx = i;
                break;
            }
        }
        if (idx < 0) throw EKeywords("Too many keyword tables declared");
    }
    std::unique_ptr<TKeyTableDef> def(new TKeyTableDef);
    def->States = st;
    def->EndChars = endChars;
    def->CaseSensitive = caseSensitive ? 1 : 0;
    def->Words = words;
    slots[static_cast<size_t>(idx)] = std::move(def);
    std::unique_ptr<TKeywords> tables = BuildKeyTables(slots);
    KeyTableStates = std::move(slots);
    KeyTables = std::move(tables);
}

void TSM_Settings::SaveToStream(TStream& s) const {
    WriteLongString(s, ExampleText);
    WriteLongString(s, LanguageName);
    WriteLongString(s, WrapOverride);
    for (int32_t v : {Options, Margin, RightMargin, WrapAtColumn, Gutter, IndentStep, MarginColor, GutterColor,
                      SelTextColor, SelTextBack, TabDefault})
        WriteInt(s, v);

    int32_t defined = 0;
    for (const TStyleEntry& e : Styles)
        if (e.Defined) defined++;
    WriteInt(s, defined);
    for (int n = 0; n < 256; n++) {
        const TStyleEntry& e = Styles[n];
        if (!e.Defined) continue;
        WriteByte(s, static_cast<uint8_t>(n));
        WriteByte(s, e.FontStyle);
        WriteInt(s, e.TextColor);
        WriteInt(s, e.BackColor);
        WriteByte(s, e.UseDefaultText);
        WriteByte(s, e.UseDefaultBack);
        WriteByte(s, e.Hotspot);
        WriteInt(s, e.Defined);
    }

    int32_t mapped = 0;
    for (uint8_t v : TokenMap)
        if (v) mapped++;
    WriteInt(s, mapped);
    for (int n = 0; n < 256; n++)
        if (TokenMap[n]) {
            WriteByte(s, static_cast<uint8_t>(n));
            WriteByte(s, TokenMap[n]);
        }

    int32_t editable = 0;
    for (const TEditableStyle& e : EditableStyles)
        if (!e.Name.empty()) editable++;
    WriteInt(s, editable);
    for (const TEditableStyle& e : EditableStyles)
        if (!e.Name.empty()) {
            WriteLongString(s, e.Name);
            WriteByte(s, e.Value);
        }

    for (int32_t c : TabColumns) WriteInt(s, c);
    WriteLongString(s, FontName);
    WriteInt(s, FontSize);
    for (uint8_t b : {FontCharset, MarginUseDefault, SelTextUseDefaultText, SelTextUseDefaultBack, GutterUseDefault})
        WriteByte(s, b);

    int32_t tables = 0;
    for (const auto& d : KeyTableStates)
        if (d) tables++;
    WriteInt(s, tables);
    for (const auto& d : KeyTableStates) {
        if (!d) continue;
        WriteSet(s, d->States);
        WriteLongString(s, d->EndChars);
        WriteInt(s, d->CaseSensitive);
        WriteInt(s, static_cast<int32_t>(d->Words.size()));
        for (const auto& w : d->Words) {
            WriteLongString(s, w.first);
            WriteInt(s, w.second);
        }
    }

    AutoReplace->SaveToStream(s);
    CodeTemplates->SaveToStream(s);
    KeyController->SaveToStream(s);
}

void TSM_Settings::ReadFrom(TStream& s) {
    ExampleText = ReadLongString(s);
    LanguageName = ReadLongString(s);
    WrapOverride = ReadLongString(s);
    for (int32_t* v : {&Options, &Margin, &RightMargin, &WrapAtColumn, &Gutter, &IndentStep, &MarginColor,
                       &GutterColor, &SelTextColor, &SelTextBack, &TabDefault})
        *v = ReadInt(s);

    // A style record is 17 bytes, a token-map entry 2, an editable style at
    // least 5, a key table at least 44, a key-table word at least 8.
    int32_t n = ReadCount(s, 256, 17, "style");
    for (int32_t i = 0; i < n; i++) {
        uint8_t token = ReadByte(s);
        TStyleEntry e;
        e.FontStyle = ReadByte(s);
        e.TextColor = ReadInt(s);
        e.BackColor = ReadInt(s);
        e.UseDefaultText = ReadByte(s);
        e.UseDefaultBack = ReadByte(s);
        e.Hotspot = ReadByte(s);
        e.Defined = ReadInt(s);
        // Only defined styles are stored; a record that is not defined
        // leaves the style as it was, so a save and reload keep it so.
        if (e.Defined) Styles[token] = e;
    }
    n = ReadCount(s, 256, 2, "token map");
    for (int32_t i = 0; i < n; i++) {
        uint8_t index = ReadByte(s);
        TokenMap[index] = ReadByte(s);
    }
    n = ReadCount(s, kEditableStyles, 5, "editable style");
    for (int32_t i = 0; i < n; i++) {
        EditableStyles[i].Name = ReadLongString(s).substr(0, 25);
        EditableStyles[i].Value = ReadByte(s);
    }
    for (int32_t& c : TabColumns) c = ReadInt(s);
    FontName = ReadLongString(s);
    FontSize = ReadInt(s);
    for (uint8_t* b : {&FontCharset, &MarginUseDefault, &SelTextUseDefaultText, &SelTextUseDefaultBack,
                       &GutterUseDefault})
        *b = ReadByte(s);
    n = ReadCount(s, kKeyTableSlots, 44, "key table");
    for (int32_t i = 0; i < n; i++) {
        TStateSet states = ReadSet(s);
        std::string endChars = ReadLongString(s);
        bool caseSensitive = ReadInt(s) != 0;
        int32_t words = ReadCount(s, INT32_MAX, 8, "key table word");
        std::vector<std::pair<std::string, int32_t>> list;
        for (int32_t w = 0; w < words; w++) {
            std::string word = ReadLongString(s);
            list.emplace_back(word, ReadInt(s));
        }
        DefineKeyTable(states, endChars, caseSensitive, list);
    }
    AutoReplace->LoadFromStream(s);
    CodeTemplates->LoadFromStream(s);
    KeyController->LoadFromStream(s);
}

void TSM_Settings::SwapStored(TSM_Settings& o) {
    std::swap(ExampleText, o.ExampleText);
    std::swap(LanguageName, o.LanguageName);
    std::swap(WrapOverride, o.WrapOverride);
    std::swap(FontCharset, o.FontCharset);
    std::swap(EditableStyles, o.EditableStyles);
    std::swap(Options, o.Options);
    std::swap(TabDefault, o.TabDefault);
    std::swap(Margin, o.Margin);
    std::swap(RightMargin, o.RightMargin);
    std::swap(WrapAtColumn, o.WrapAtColumn);
    std::swap(Gutter, o.Gutter);
    std::swap(IndentStep, o.IndentStep);
    std::swap(MarginColor, o.MarginColor);
    std::swap(GutterColor, o.GutterColor);
    std::swap(SelTextColor, o.SelTextColor);
    std::swap(SelTextBack, o.SelTextBack);
    std::swap(TabColumns, o.TabColumns);
    std::swap(TokenMap, o.TokenMap);
    std::swap(Styles, o.Styles);
    std::swap(FontName, o.FontName);
    std::swap(FontSize, o.FontSize);
    std::swap(MarginUseDefault, o.MarginUseDefault);
    std::swap(SelTextUseDefaultText, o.SelTextUseDefaultText);
    std::swap(SelTextUseDefaultBack, o.SelTextUseDefaultBack);
    std::swap(GutterUseDefault, o.GutterUseDefault);
    std::swap(KeyTableStates, o.KeyTableStates);
    std::swap(KeyTables, o.KeyTables);
    StylesChanged = o.StylesChanged = 1;
}

void TSM_Settings::LoadFromStream(TStream& s) {
    TSM_Settings fresh;
    fresh.ReadFrom(s);
    // The editor holds these three objects and their handlers, hot key and
    // flags: refill them rather than swapping in the fresh ones.
    AutoReplace->Assign(fresh.AutoReplace.get());
    CodeTemplates->Assign(fresh.CodeTemplates.get());
    KeyController->Assign(fresh.KeyController.get());
    if (AttachCount > 0) DeleteFonts();
    SwapStored(fresh);
    if (AttachCount > 0) RebuildFonts();
}
