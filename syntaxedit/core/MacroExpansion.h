// The window-free half of expanding code templates and auto-correct words at
// the editor's caret: the key test, finding the name that ends at the caret,
// the partial word the completion list starts from, the auto-correct boundary
// rule, and putting the text in as one undo step. The window side (the pop-up
// list) sees only this header, which keeps the key-map headers out of the
// window's translation units. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "EdStream.h"
#include "SyntaxMemoCore.h"

class TMacroKeywords;

// Undo group of a macro expansion.
const int32_t kMacroUndoGroup = 16;

enum class TMacroTable { Templates, AutoCorrect };

struct TMacroMatch {
    bool Found = false;
    int32_t Start = 0;  // offset of the name's first character
    std::string Word;   // the name as it stands in the text
    std::string Text;   // the macro's text (empty when it has none)
};

struct TMacroListItem {
    std::string Name;         // lower-cased
    std::string Description;  // may be empty
};

// The longest macro name that ends at the caret, matched without case.
TMacroMatch MatchMacroAtCaret(TSyntaxMemoCore& core, const TMacroKeywords& macros);

// The word characters before the caret, lower-cased, when the character at the
// caret neither starts nor continues a word; empty otherwise.
std::string TypedWordBefore(TSyntaxMemoCore& core);

// Whether an auto-correct word at wordStart may be replaced by text: a word
// that ends in a word character must not run on into another, and a text that
// starts a word must not be glued to a word character before it.
bool AutoReplaceAllowed(TSyntaxMemoCore& core, int32_t wordStart, const std::string& word, const std::string& text);

// The text as it goes in: with indentLines every line after the first starts
// with indent spaces; with caretMarker the first "|" is taken out and its
// index returned in caretOffset (-1 when there is none or the marker is off).
std::string PrepareMacroText(const std::string& text, int32_t indent, bool indentLines, bool caretMarker,
                             int32_t& caretOffset);

// The display column at an offset (TAB stops counted).
int32_t ColumnOfOffset(TSyntaxMemoCore& core, int32_t offset);

// Replaces start..end with text in one undo group; the caret lands at
// start + caretOffset, or after the text when caretOffset is negative.
void InsertMacroText(TSyntaxMemoCore& core, int32_t start, int32_t end, const std::string& text,
                     int32_t caretOffset);

// Translates a character into its key (virtual key, shift state in the high
// byte as the platform gives it); installs f and returns the previous one.
// Activation keys made afterwards use it.
using TKeyScanFunction = int16_t (*)(char c);
TKeyScanFunction SetMacroKeyScan(TKeyScanFunction f);
// Installs f only while the portable default is in force (a test's own stays).
void InstallPlatformKeyScan(TKeyScanFunction f);

// The editor's key handling for the macro tables of its settings in force.
class TMacroKeyHandler {
public:
    explicit TMacroKeyHandler(TSyntaxMemoCore& core) : core_(core) {}

    // The editor's OnTemplateEvent and OnAutoReplace.
    std::function<void(const std::string& word, std::string& text)> OnTemplateEvent;
    std::function<void(TEdStream& stream, bool& replace, std::string& text, const std::string& word)> OnAutoReplace;
    // Shows the completion list of a table; its typed word is selected already.
    std::function<void(TMacroTable table)> OnShowList;

    // Offers a key first to the code templates, then to the auto-correct
    // table. True when a template was expanded (key handling stops there).
    bool KeyDown(uint16_t key, uint8_t shift, bool& handled);
    // True when a macro of the table was expanded.
    bool ProcessKey(TMacroTable table, uint16_t key, bool& handled, uint8_t shift);
    // Puts the text in place of word before the caret (the selection when
    // word is empty), as the table's flags say.
    void ExpandMacro(TMacroTable table, const std::string& word, std::string& text);

    // The completion list: every macro in name order, and the item to start
    // on (the first whose name contains the typed word, else 0).
    std::vector<TMacroListItem> ListItems(TMacroTable table) const;
    int PreselectedItem(TMacroTable table, const std::vector<TMacroListItem>& items) const;
    // The list's choice: expands the named macro over the selected typed word
    // (kept when the name does not contain it).
    void Accept(TMacroTable table, const std::string& name);
    // The list went away: HideSelection back, the selection collapsed to its end.
    void ListClosed();

    // What the window side sets up (the tables belong to the settings in force).
    void AddTemplate(const std::string& name, const std::string& description, const std::string& text);
    void AddReplacement(const std::string& word, const std::string& text);
    void SetActivationKeys(const std::string& keys);
    // The activation keys again, through the key translation now in force.
    void RefreshActivationKeys();
    void SetFlags(TMacroTable table, bool consumeKey, bool indentLines, bool caretMarker, bool showList);
    void SetTemplateFlags(bool consumeKey, bool indentLines, bool caretMarker, bool showList) {
        SetFlags(TMacroTable::Templates, consumeKey, indentLines, caretMarker, showList);
    }
    uint16_t TemplateHotKey() const;

    // The partial word before the caret when the table last opened its list.
    const std::string& TypedWord(TMacroTable table) const { return typedWord_[static_cast<int>(table)]; }

private:
    TMacroKeywords& Table(TMacroTable table) const;
    TSyntaxMemoCore& core_;
    std::string typedWord_[2];
    bool savedHideSelection_ = true;
    bool listOpen_ = false;
};
