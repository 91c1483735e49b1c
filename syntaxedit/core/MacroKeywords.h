// A keyword table of named texts (macros), stored by reversed name so that a
// backward match from the caret finds the name that ends there. This is the
// data side; the expansion at the caret and the pop-up list belong to the
// editor control. No platform headers.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "EditorKeys.h"
#include "Keywords.h"
#include "StringList.h"

class TMacroRecord : public TObject {
public:
    std::unique_ptr<std::string> Description;  // null: none
    std::unique_ptr<std::string> Text;         // null: none; line breaks are single CRs
};

// Expansion event: Sender, the word found, the text to insert (may be changed).
using TMacroFireEvent = std::function<void(TObject* Sender, const std::string& Word, std::string& Text)>;

class TMacroKeywords : public TKeywords {
public:
    TMacroKeywords();
    ~TMacroKeywords() override;

    void ClearMacros();
    // The most characters of a name or a description: its stream form's length byte.
    static const size_t kMaxNameLength = 255;

    // Adds (or replaces) a macro. Name and description are cut to
    // kMaxNameLength characters.
    void AddMacro(const std::string& name, const std::string& description, bool caseSensitive,
                  const std::string& text);
    // Rebuilds the tree from Macros.
    void RebuildTree();
    virtual bool IsHotKey(uint16_t key, TShiftState shift) const { return ShortCut(key, shift) == HotKey; }

    std::unique_ptr<TStringList> Macros;  // sorted names; objects are TMacroRecord
    uint16_t HotKey = scCtrl | 'J';
    TMacroFireEvent OnExpand;
    bool ConsumeKey = true;   // the activation key counts as handled after an expansion
    bool IndentLines = true;  // continuation lines get the caret's indentation
    bool CaretMarker = true;  // the first "|" marks the caret after insertion
    bool ShowList = true;     // open the list when no name matches

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TMacroKeywords); }
    void SwapMacros(TMacroKeywords& o);
    static void FreeRecord(TObject* record) { delete record; }
};
