#include "MacroExpansion.h"

#include <algorithm>

#include "PlainSearch.h"
#include "SM_Settings.h"
#include "SysUtils.h"

namespace {

uint8_t FoldChar(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }

bool WordChar(uint8_t c) { return DefaultCharStartsWord(c) || DefaultCharIsInWord(c); }

// The caret's line from its start up to the caret, and where it starts.
std::string LineBeforeCaret(TSyntaxMemoCore& core, int32_t& lineStart) {
    lineStart = 0;
    if (core.LineCount() == 0) return std::string();
    core.Store().NodeAtOffset(core.Caret(), &lineStart);
    return core.Store().GetText(lineStart, core.Caret());
}

uint8_t CharAt(TSyntaxMemoCore& core, int32_t offset) {
    if (offset < 0 || offset >= core.TextLength()) return 0;
    std::string c = core.Store().GetText(offset, offset + 1);
    return c.empty() ? 0 : static_cast<uint8_t>(c[0]);
}

}  // namespace

TMacroMatch MatchMacroAtCaret(TSyntaxMemoCore& core, const TMacroKeywords& macros) {
    TMacroMatch m;
    int32_t lineStart = 0;
    std::string before = LineBeforeCaret(core, lineStart);
    // Names are stored reversed: walk the tree from the caret backwards and
    // keep the deepest node that ends a name.
    const KeywordNode* node = nullptr;
    const KeywordEntry* best = nullptr;
    size_t bestLen = 0;
    for (size_t k = 1; k <= before.size(); k++) {
        uint8_t ch = FoldChar(static_cast<uint8_t>(before[before.size() - k]));
        const KeywordNode* c = node ? node->Child : macros.FirstChar[ch];
        while (c && c->Ch != ch) c = c->Next;
        if (!c) break;
        node = c;
        if (node->Entries) best = node->Entries, bestLen = k;
    }
    if (!best) return m;
    m.Found = true;
    m.Start = core.Caret() - static_cast<int32_t>(bestLen);
    m.Word = before.substr(before.size() - bestLen);
    if (const std::string* t = reinterpret_cast<const std::string*>(best->Data)) m.Text = *t;
    return m;
}

std::string TypedWordBefore(TSyntaxMemoCore& core) {
    if (WordChar(CharAt(core, core.Caret()))) return std::string();
    int32_t lineStart = 0;
    std::string before = LineBeforeCaret(core, lineStart);
    size_t p = before.size();
    while (p > 0 && WordChar(static_cast<uint8_t>(before[p - 1]))) p--;
    return LowerCase(before.substr(p));
}

bool AutoReplaceAllowed(TSyntaxMemoCore& core, int32_t wordStart, const std::string& word, const std::string& text) {
    if (!word.empty() && DefaultCharIsInWord(static_cast<uint8_t>(word.back())) &&
        DefaultCharIsInWord(CharAt(core, wordStart + static_cast<int32_t>(word.size()))))
        return false;
    if (!text.empty() && wordStart > 0 && DefaultCharStartsWord(static_cast<uint8_t>(text[0])) &&
        DefaultCharIsInWord(CharAt(core, wordStart - 1)))
        return false;
    return true;
}

std::string PrepareMacroText(const std::string& text, int32_t indent, bool indentLines, bool caretMarker,
                             int32_t& caretOffset) {
    caretOffset = -1;
    std::string out;
    if (indentLines && indent > 0) {
        const std::string pad(static_cast<size_t>(indent), ' ');
        for (char c : text) {
            out += c;
            if (c == '\r') out += pad;
        }
    } else {
        out = text;
    }
    if (caretMarker) {
        size_t bar = out.find('|');
        if (bar != std::string::npos) {
            caretOffset = static_cast<int32_t>(bar);
            out.erase(bar, 1);
        }
    }
    return out;
}

int32_t ColumnOfOffset(TSyntaxMemoCore& core, int32_t offset) {
    if (core.LineCount() == 0) return 0;
    int32_t lineStart = 0;
    const TLineNode* n = core.Store().NodeAtOffset(offset, &lineStart);
    return core.DisplayColumn(n, offset - lineStart);
}

void InsertMacroText(TSyntaxMemoCore& core, int32_t start, int32_t end, const std::string& text,
                     int32_t caretOffset) {
    TUndoRecorder& undo = core.Undo();
    undo.OpenGroup(kMacroUndoGroup);
    // The group is closed however the insertion ends, so undo stays usable.
    struct Closer {
        TUndoRecorder& u;
        ~Closer() { u.CloseGroup(kMacroUndoGroup); }
    } closer{undo};
    core.SetSelection(start, end, false);
    core.InsertAtCaret(text);
    if (caretOffset >= 0) core.SetSelection(start + caretOffset, start + caretOffset);
    core.UpdateScrollBars();
    core.ScrollIntoView(core.Caret());
    core.Change();
}

TKeyScanFunction SetMacroKeyScan(TKeyScanFunction f) {
    TKeyScanFunction old = KeyScanChar;
    KeyScanChar = f ? f : KeyScanUS;
    return old;
}

void InstallPlatformKeyScan(TKeyScanFunction f) {
    if (KeyScanChar == KeyScanUS) KeyScanChar = f;
}

TMacroKeywords& TMacroKeyHandler::Table(TMacroTable table) const {
    TSM_Settings& s = core_.Settings();
    if (table == TMacroTable::Templates) return *s.CodeTemplates;
    return *s.AutoReplace;
}

bool TMacroKeyHandler::KeyDown(uint16_t key, uint8_t shift, bool& handled) {
    if (ProcessKey(TMacroTable::Templates, key, handled, shift)) return true;
    ProcessKey(TMacroTable::AutoCorrect, key, handled, shift);
    return false;
}

bool TMacroKeyHandler::ProcessKey(TMacroTable table, uint16_t key, bool& handled, uint8_t shift) {
    TMacroKeywords& macros = Table(table);
    std::string& typed = typedWord_[static_cast<int>(table)];
    typed.clear();
    handled = false;
    // A read-only text is never changed by a macro.
    if (core_.ReadOnly || !macros.IsHotKey(key, shift)) return false;
    TMacroMatch m = core_.TextLength() > 0 ? MatchMacroAtCaret(core_, macros) : TMacroMatch();
    if (m.Found) {
        if (macros.OnExpand) macros.OnExpand(&macros, m.Word, m.Text);
        else ExpandMacro(table, m.Word, m.Text);
        handled = macros.ConsumeKey;
        return true;
    }
    typed = TypedWordBefore(core_);
    if (!macros.Macros || !macros.ShowList || !OnShowList) return false;
    savedHideSelection_ = core_.HideSelection;
    if (!typed.empty()) {
        auto sel = OrderPair({core_.Anchor(), core_.Caret()});
        core_.SetSelection(sel.second - static_cast<int32_t>(typed.size()), sel.second);
        core_.HideSelection = false;
    }
    listOpen_ = true;
    OnShowList(table);
    return false;
}

void TMacroKeyHandler::ExpandMacro(TMacroTable table, const std::string& word, std::string& text) {
    TMacroKeywords& macros = Table(table);
    auto sel = OrderPair({core_.Anchor(), core_.Caret()});
    int32_t start = sel.first, end = sel.second;
    const int32_t len = static_cast<int32_t>(word.size());
    if (table == TMacroTable::Templates) {
        if (OnTemplateEvent) OnTemplateEvent(word, text);
    } else {
        bool replace = AutoReplaceAllowed(core_, start - len, word, text);
        if (OnAutoReplace) {
            TEdStream stream(&core_.Store());
            stream.MoveTo(std::max(0, start - len));
            OnAutoReplace(stream, replace, text, word);
        }
        if (!replace) return;
    }
    if (start >= len) start -= len;
    int32_t caretOffset = -1;
    std::string put = PrepareMacroText(text, ColumnOfOffset(core_, start), macros.IndentLines, macros.CaretMarker,
                                       caretOffset);
    InsertMacroText(core_, start, end, put, caretOffset);
}

std::vector<TMacroListItem> TMacroKeyHandler::ListItems(TMacroTable table) const {
    std::vector<TMacroListItem> items;
    const TMacroKeywords& macros = Table(table);
    if (!macros.Macros) return items;
    for (int i = 0; i < macros.Macros->Count(); i++) {
        const TMacroRecord* r = static_cast<const TMacroRecord*>(macros.Macros->Objects(i));
        items.push_back({macros.Macros->Strings(i), r && r->Description ? *r->Description : std::string()});
    }
    return items;
}

int TMacroKeyHandler::PreselectedItem(TMacroTable table, const std::vector<TMacroListItem>& items) const {
    const std::string& typed = TypedWord(table);
    if (!typed.empty())
        for (size_t i = 0; i < items.size(); i++)
            if (items[i].Name.find(typed) != std::string::npos) return static_cast<int>(i);
    return 0;
}

void TMacroKeyHandler::Accept(TMacroTable table, const std::string& name) {
    TMacroKeywords& macros = Table(table);
    int i;
    std::string key = LowerCase(name);
    if (!macros.Macros || !macros.Macros->Find(key, i)) return;
    const TMacroRecord* r = static_cast<const TMacroRecord*>(macros.Macros->Objects(i));
    std::string text = r && r->Text ? *r->Text : std::string();
    // A name that does not continue the typed word leaves the word standing.
    if (key.find(TypedWord(table)) == std::string::npos) core_.SetSelection(core_.Caret(), core_.Caret());
    if (macros.OnExpand) macros.OnExpand(&macros, std::string(), text);
    else ExpandMacro(table, std::string(), text);
}

void TMacroKeyHandler::ListClosed() {
    if (!listOpen_) return;
    listOpen_ = false;
    core_.HideSelection = savedHideSelection_;
    int32_t end = std::max(core_.Anchor(), core_.Caret());
    core_.SetSelection(end, end);
}

void TMacroKeyHandler::AddTemplate(const std::string& name, const std::string& description, const std::string& text) {
    core_.Settings().CodeTemplates->AddTemplate(name, description, text);
}

void TMacroKeyHandler::AddReplacement(const std::string& word, const std::string& text) {
    core_.Settings().AutoReplace->AddReplacement(word, text);
}

void TMacroKeyHandler::SetActivationKeys(const std::string& keys) { core_.Settings().AutoReplace->SetActivationKeys(keys); }

void TMacroKeyHandler::RefreshActivationKeys() {
    TAutoReplace& a = *core_.Settings().AutoReplace;
    a.SetActivationKeys(a.ActivationKeys);
}

void TMacroKeyHandler::SetFlags(TMacroTable table, bool consumeKey, bool indentLines, bool caretMarker,
                                bool showList) {
    TMacroKeywords& t = Table(table);
    t.ConsumeKey = consumeKey;
    t.IndentLines = indentLines;
    t.CaretMarker = caretMarker;
    t.ShowList = showList;
}

uint16_t TMacroKeyHandler::TemplateHotKey() const { return core_.Settings().CodeTemplates->HotKey; }
