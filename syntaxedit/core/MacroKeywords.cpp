#include "MacroKeywords.h"

#include "LineNode.h"
#include "SysUtils.h"

namespace {
const TStateSet kState0 = TStateSet::Of({0});

intptr_t TextRef(const TMacroRecord* r) { return reinterpret_cast<intptr_t>(r->Text.get()); }
}  // namespace

TMacroKeywords::TMacroKeywords() { ActiveStates = kState0; }

TMacroKeywords::~TMacroKeywords() { ClearMacros(); }

void TMacroKeywords::ClearMacros() {
    TKeywords::Clear();
    if (Macros)
        for (int i = 0; i < Macros->Count(); i++) FreeRecord(Macros->Objects(i));
    Macros.reset();
}

void TMacroKeywords::AddMacro(const std::string& name, const std::string& description, bool caseSensitive,
                              const std::string& text) {
    // Names and descriptions are kept to what their length bytes hold, so
    // that the table can always be written.
    std::string key = (caseSensitive ? name : LowerCase(name)).substr(0, kMaxNameLength);
    std::string reversed = ReverseString(key);
    if (!Macros) {
        Macros.reset(new TStringList);
        Macros->SetSorted(true);
        Macros->SetDuplicates(dupAccept);
    }
    int i;
    if (Macros->Find(key, i)) {
        // The tree refers to the old record's text: take it out of the tree
        // too before the record goes.
        FreeRecord(Macros->Objects(i));
        Macros->Delete(i);
        RebuildTree();
    }
    std::unique_ptr<TMacroRecord> r(new TMacroRecord);
    if (!description.empty()) r->Description.reset(new std::string(description.substr(0, kMaxNameLength)));
    if (!text.empty()) r->Text.reset(new std::string(NormalizeInsertText(text)));
    Macros->AddObject(key, r.get());
    TMacroRecord* record = r.release();
    AddKeyword(reversed, caseSensitive, TextRef(record), kState0, TSM_CharGroup());
}

void TMacroKeywords::RebuildTree() {
    TKeywords::Clear();
    if (Macros)
        for (int i = 0; i < Macros->Count(); i++)
            AddKeyword(ReverseString(Macros->Strings(i)), false,
                       TextRef(static_cast<TMacroRecord*>(Macros->Objects(i))), kState0, TSM_CharGroup());
}

void TMacroKeywords::SwapMacros(TMacroKeywords& o) {
    SwapTree(o);
    std::swap(Macros, o.Macros);
}
