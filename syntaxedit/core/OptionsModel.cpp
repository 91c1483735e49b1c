#include "OptionsModel.h"

#include <algorithm>

#include "DropRules.h"
#include "SM_Settings.h"
#include "SyntaxMemoCore.h"
#include "SysUtils.h"

const TOptionCheck kOptionChecks[] = {
    {"PrnSynHighlightBox", 16, "Syntax highlight"},
    {"WrapLineBox", 32, "Wrap long lines"},
    {"LineNosBox", 64, "Line numbers"},
    {"FileNamBox", 128, "Title in header"},
    {"DateBox", 256, "Date in header"},
    {"PageNosBox", 512, "Page numbers"},
    {"DispWrapBox", 1024, "Word wrap"},
    {"AutoIndentBox", 2048, "Auto indent"},
    {"TabColBox", 4096, "Smart tab"},
    {"WrapOverrideBox", 8192, "Override wrapping"},
    {"WordSelectBox", 16384, "Word select"},
    {"VisRMarginBox", 32768, "Visible right margin"},
    {"VisGutterBox", 65536, "Visible gutter"},
    {"ShowWrapColumnBox", 131072, "Show word-wrap column"},
    {"TitleAsFilenameBox", 262144, "Title as filename"},
    {"BlockCursorBox", 1048576, "Block cursor for Overwrite"},
    {"MarkWrapBox", 2097152, "Mark wrapped lines"},
    {"UseTabBox", 8388608, "Use tab character"},
    {"SmartFillBox", 16777216, "Smart fill"},
};
const int kOptionCheckCount = static_cast<int>(sizeof kOptionChecks / sizeof kOptionChecks[0]);

namespace {
std::string Before(const std::string& item) { return item.substr(0, item.find('\t')); }
std::string After(const std::string& item) {
    size_t tab = item.find('\t');
    return tab == std::string::npos ? std::string() : item.substr(tab + 1);
}
}  // namespace

TOptionsModel::TOptionsModel(TSM_Settings& own) : own_(own), copy_(new TSM_Settings) {
    copy_->Assign(&own);
    // The hot key has no place in the stream form; the templates page shows it.
    copy_->CodeTemplates->HotKey = own.CodeTemplates->HotKey;
    copy_->RebuildFonts();
}

TOptionsModel::~TOptionsModel() { copy_->DeleteFonts(); }

std::string TOptionsModel::PrepareCommit() {
    prepared_.clear();
    TMemoryStream m;
    try {
        copy_->SaveToStream(m);
    } catch (const Exception& e) {
        return e.Message();
    }
    prepared_.assign(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
    return std::string();
}

void TOptionsModel::Commit() {
    if (prepared_.empty()) {
        std::string failure = PrepareCommit();
        if (!failure.empty()) throw Exception(failure);
    }
    TMemoryStream m;
    m.WriteBuffer(prepared_.data(), static_cast<int32_t>(prepared_.size()));
    m.SetPosition(0);
    own_.DeleteFonts();
    // The load takes a stream over only when all of it was read.
    try {
        own_.LoadFromStream(m);
    } catch (...) {
        own_.RebuildFonts();
        throw;
    }
    own_.RebuildFonts();
}

void TOptionsModel::ApplyTo(TSyntaxMemoCore& editor) const {
    // An editor of the component shows the copy itself already.
    if (&editor.Settings() != copy_.get()) editor.Settings().Assign(copy_.get());
    editor.Message(SMM_SETTINGSCHANGED, 0, 0);
}

std::string TOptionsModel::LanguageName() const { return copy_->LanguageName; }
std::string TOptionsModel::ExampleText() const { return copy_->ExampleText; }
std::string TOptionsModel::FontName() const { return copy_->FontName; }
int32_t TOptionsModel::FontSize() const { return copy_->FontSize; }
void TOptionsModel::SetFont(const std::string& name, int32_t size) {
    copy_->FontName = name;
    copy_->FontSize = size;
}
int32_t TOptionsModel::WrapAtColumn() const { return copy_->WrapAtColumn; }
void TOptionsModel::SetWrapAtColumn(TSyntaxMemoCore& editor, int32_t v) {
    ApplyTo(editor);
    editor.SetWrapAtColumn(v);
    copy_->WrapAtColumn = editor.WrapAtColumn();
}
int32_t TOptionsModel::IndentStep() const { return copy_->IndentStep; }
void TOptionsModel::SetIndentStep(TSyntaxMemoCore& editor, int32_t v) {
    ApplyTo(editor);
    editor.SetIndentStep(v);
    copy_->IndentStep = editor.IndentStep();
}

std::string TOptionsModel::TabColumns() const {
    std::string out;
    for (int32_t v : copy_->TabColumns) {
        if (v < 0) break;
        out += (out.empty() ? "" : " ") + std::to_string(v + 1);
    }
    return out;
}
int32_t TOptionsModel::TabDefault() const { return copy_->TabDefault; }

void TOptionsModel::SetTabs(TSyntaxMemoCore& editor, const std::string& columns, int32_t tabDefault) {
    // The editor checks both; only what it took goes into the copy.
    ApplyTo(editor);
    editor.SetTabColumns(columns);
    editor.SetTabDefault(tabDefault);
    std::copy(std::begin(editor.Settings().TabColumns), std::end(editor.Settings().TabColumns), copy_->TabColumns);
    copy_->TabDefault = editor.Settings().TabDefault;
}

int32_t TOptionsModel::Options() const { return copy_->Options; }

void TOptionsModel::SetOption(int32_t bit, bool on) {
    copy_->Options = on ? copy_->Options | bit : copy_->Options & ~bit;
}

int32_t TOptionsModel::Gutter() const { return copy_->Gutter; }
int32_t TOptionsModel::RightMargin() const { return copy_->RightMargin; }
void TOptionsModel::SetGutter(int32_t v) { copy_->Gutter = v; }
void TOptionsModel::SetRightMargin(int32_t v) { copy_->RightMargin = v; }

int32_t TOptionsModel::MarginValue(const std::string& text) {
    if (text.empty() || text.size() > 3) return 1;
    int32_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 1;
        v = v * 10 + (c - '0');
    }
    return v <= 199 ? v : 1;
}

int32_t TOptionsModel::FontSizeValue(const std::string& text) {
    std::string t = Trim(text);
    if (t.empty() || t.size() > 3) return -1;
    int32_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v >= 1 ? v : -1;
}

uint16_t TOptionsModel::TemplateDropTypes(uint16_t sourceTypes) {
    if (sourceTypes & dstHtml) return static_cast<uint16_t>((sourceTypes & ~dstInsertAsIs) | dstHtmlFragment);
    if (sourceTypes & dstFiles) return static_cast<uint16_t>((sourceTypes & ~dstInsertAsIs) | dstProcessFiles);
    return sourceTypes;
}

std::vector<TElementItem> TOptionsModel::Elements() const {
    std::vector<TElementItem> out;
    for (int i = 1; i <= TSM_Settings::kEditableStyles; i++) {
        TEditableStyle e = copy_->GetEditableStyle(i);
        if (e.Name.empty()) break;
        out.push_back({e.Name, e.Value});
    }
    out.push_back({"Selected text", kElemSelectedText});
    out.push_back({"Left margin", kElemLeftMargin});
    out.push_back({"Gutter", kElemGutter});
    return out;
}

TElementView TOptionsModel::Element(int32_t code) const {
    TElementView v;
    const TSM_Settings& s = *copy_;
    if (code == kElemSelectedText) {
        v.AttributesEnabled = false;
        v.UseDefFore = s.SelTextUseDefaultText != 0;
        v.UseDefBack = s.SelTextUseDefaultBack != 0;
        v.Fore = s.SelTextColor;
        v.Back = s.SelTextBack;
    } else if (code == kElemLeftMargin || code == kElemGutter) {
        v.AttributesEnabled = false;
        v.UseDefForeEnabled = false;
        v.ForeEnabled = false;
        v.UseDefBack = (code == kElemLeftMargin ? s.MarginUseDefault : s.GutterUseDefault) != 0;
        v.Back = code == kElemLeftMargin ? s.MarginColor : s.GutterColor;
        return v.BackEnabled = !v.UseDefBack, v;
    } else {
        TStyleEntry e = s.GetStyle(code);
        v.Bold = (e.FontStyle & 1) != 0;
        v.Italic = (e.FontStyle & 2) != 0;
        v.Underline = (e.FontStyle & 4) != 0;
        v.UseDefFore = e.UseDefaultText != 0;
        v.UseDefBack = e.UseDefaultBack != 0;
        v.Fore = e.TextColor;
        v.Back = e.BackColor;
    }
    v.ForeEnabled = !v.UseDefFore;
    v.BackEnabled = !v.UseDefBack;
    return v;
}

namespace {
// A style the user touched is stored from now on.
void StoreStyle(TSM_Settings& s, int32_t code, TStyleEntry e) {
    e.Defined = 1;
    s.SetStyle(code, e);
}
}  // namespace

void TOptionsModel::SetFontStyle(int32_t code, uint8_t bit, bool on) {
    if (code >= kElemSelectedText) return;
    TStyleEntry e = copy_->GetStyle(code);
    e.FontStyle = static_cast<uint8_t>(on ? e.FontStyle | bit : e.FontStyle & ~bit);
    StoreStyle(*copy_, code, e);
}

void TOptionsModel::SetColours(int32_t code, TColor fore, TColor back) {
    TSM_Settings& s = *copy_;
    if (code == kElemSelectedText) {
        if (!s.SelTextUseDefaultText) s.SelTextColor = fore;
        if (!s.SelTextUseDefaultBack) s.SelTextBack = back;
    } else if (code == kElemLeftMargin) {
        if (!s.MarginUseDefault) s.MarginColor = back;
    } else if (code == kElemGutter) {
        if (!s.GutterUseDefault) s.GutterColor = back;
    } else {
        TStyleEntry e = s.GetStyle(code);
        if (!e.UseDefaultText) e.TextColor = fore;
        if (!e.UseDefaultBack) e.BackColor = back;
        StoreStyle(s, code, e);
    }
}

void TOptionsModel::SetUseDefault(int32_t code, bool fore, bool on) {
    TSM_Settings& s = *copy_;
    const uint8_t v = on ? 1 : 0;
    if (code == kElemSelectedText) {
        (fore ? s.SelTextUseDefaultText : s.SelTextUseDefaultBack) = v;
    } else if (code == kElemLeftMargin || code == kElemGutter) {
        // Margin and gutter have a background only.
        if (!fore) (code == kElemLeftMargin ? s.MarginUseDefault : s.GutterUseDefault) = v;
    } else {
        TStyleEntry e = s.GetStyle(code);
        (fore ? e.UseDefaultText : e.UseDefaultBack) = v;
        StoreStyle(s, code, e);
    }
}

int TOptionsModel::ElementOfToken(const std::vector<TElementItem>& elements, int token) const {
    if (token < 0 || token > 255) token = 255;
    // A token the scheme maps to nothing is drawn in its own style.
    const int mapped = copy_->GetTokenMap(token);
    const int value = mapped ? mapped : token;
    for (size_t i = 0; i < elements.size(); i++)
        if (elements[i].Code == value) return static_cast<int>(i);
    return -1;
}

namespace {
// "name TAB part" for every macro, part being the record's text or description.
std::vector<std::string> MacroItems(const TMacroKeywords& m, std::unique_ptr<std::string> TMacroRecord::*part) {
    std::vector<std::string> out;
    if (!m.Macros) return out;
    for (int i = 0; i < m.Macros->Count(); i++) {
        const TMacroRecord* r = static_cast<const TMacroRecord*>(m.Macros->Objects(i));
        out.push_back(m.Macros->Strings(i) + "\t" + (r && r->*part ? *(r->*part) : std::string()));
    }
    return out;
}
}  // namespace

std::vector<std::string> TOptionsModel::AutoCorrectItems() const {
    return MacroItems(*copy_->AutoReplace, &TMacroRecord::Text);
}

std::string TOptionsModel::ActivationKeys() const { return copy_->AutoReplace->ActivationKeys; }

void TOptionsModel::RebuildAutoCorrect(const std::vector<std::string>& items, const std::string& activationKeys) {
    TAutoReplace& a = *copy_->AutoReplace;
    a.Clear();
    for (const std::string& item : items) a.AddReplacement(Before(item), After(item));
    a.SetActivationKeys(activationKeys);
}

std::vector<std::string> TOptionsModel::TemplateItems() const {
    return MacroItems(*copy_->CodeTemplates, &TMacroRecord::Description);
}

bool TOptionsModel::FindTemplate(const std::string& name, std::string& text) const {
    return copy_->CodeTemplates->FindTemplate(LowerCase(name), text);
}

void TOptionsModel::AddTemplate(const std::string& name, const std::string& description, const std::string& text) {
    copy_->CodeTemplates->AddTemplate(name, description, text);
}

void TOptionsModel::DeleteTemplate(const std::string& name) { copy_->CodeTemplates->DeleteTemplate(name); }

uint16_t TOptionsModel::TemplateHotKey() const { return copy_->CodeTemplates->HotKey; }

std::vector<TCommandKeys> TOptionsModel::Commands() const {
    std::vector<TCommandKeys> out;
    TKeyboardActionContoller& map = *copy_->KeyController;
    for (const auto& c : map.Commands) {
        TCommandKeys k;
        k.Name = c.first;
        k.Id = c.second;
        for (auto p = map.FirstKeysOfCommand(k.Id); p.first != 0; p = map.NextKeysOfCommand(k.Id))
            k.Pairs.push_back({p.first, p.second});
        out.push_back(k);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TCommandKeys& a, const TCommandKeys& b) { return LowerCase(a.Name) < LowerCase(b.Name); });
    return out;
}

std::string TOptionsModel::ApplyKeys(const std::vector<TCommandKeys>& commands) {
    std::unique_ptr<TKeyboardActionContoller> map(new TKeyboardActionContoller);
    try {
        for (const TCommandKeys& c : commands) {
            map->AddCommand(c.Id, c.Name);
            for (const TKeyPair& p : c.Pairs)
                if (p.Key1 != 0) map->AddKey(p.Key1, p.Key2, c.Id);
        }
    } catch (const Exception& e) {
        return e.Message();
    }
    copy_->KeyController->Assign(map.get());
    return std::string();
}
