// What the editor options dialog decides, without its window: a copy of one
// language's settings that the pages edit and that goes back to the original
// only on OK; the option check boxes, the margin rule, the highlighted
// elements, the auto-correct and template lists and the key pairs of each
// command. The window side sees only this header (no key-map headers), so it
// can include the window layer. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SyntaxMemoTypes.h"

class TSM_Settings;
class TSyntaxMemoCore;
class TSyntaxMemoParser;

// The pages the dialog may show (TSM_PropEdPages as a bit set).
enum : unsigned { ppOPTIONS = 1, ppHIGHLIGHTING = 2, ppKEYS = 4, ppAUTOCORRECT = 8, ppTEMPLATES = 16 };
const unsigned kAllPropEdPages = 31;

struct TOptionCheck {
    const char* Name;     // the check box
    int32_t Bit;          // its bit in the option word
    const char* Caption;
};
extern const TOptionCheck kOptionChecks[];
extern const int kOptionCheckCount;

// Element codes past the token styles.
enum : int32_t { kElemSelectedText = 16384, kElemLeftMargin = 16385, kElemGutter = 16386 };

struct TElementItem {
    std::string Name;
    int32_t Code;  // a style value, or one of the codes above
};

// What the highlighting page shows for one element.
struct TElementView {
    bool Bold = false, Italic = false, Underline = false;
    bool AttributesEnabled = true;  // only token styles have font attributes
    bool UseDefFore = false, UseDefBack = false;
    bool UseDefForeEnabled = true;
    bool ForeEnabled = true, BackEnabled = true;
    TColor Fore = 0, Back = 0;
};

struct TKeyPair {
    uint16_t Key1 = 0, Key2 = 0;  // shortcut values; Key2 0 for one stroke
};

struct TCommandKeys {
    int32_t Id = 0;
    std::string Name;
    std::vector<TKeyPair> Pairs;
    bool Changed = false;
};

class TOptionsModel {
public:
    // Copies own (the original stays untouched until Commit).
    explicit TOptionsModel(TSM_Settings& own);
    ~TOptionsModel();
    TSM_Settings& Copy() { return *copy_; }

    // Writes the copy out for Commit: the message of a failure, "" when it
    // could be written. The original is not touched.
    std::string PrepareCommit();
    // The original takes the copy (as prepared, else as it is now), all or
    // nothing: a copy that cannot be written raises before the original or
    // its fonts are touched.
    void Commit();
    // An editor shows the copy (the preview and the template editor).
    void ApplyTo(TSyntaxMemoCore& editor) const;

    std::string LanguageName() const;
    std::string ExampleText() const;
    std::string FontName() const;
    int32_t FontSize() const;
    void SetFont(const std::string& name, int32_t size);
    // Wrap column and indent step go through an editor (the preview), which
    // keeps each to its range; the copy stores what the editor took.
    int32_t WrapAtColumn() const;
    void SetWrapAtColumn(TSyntaxMemoCore& editor, int32_t v);
    int32_t IndentStep() const;
    void SetIndentStep(TSyntaxMemoCore& editor, int32_t v);
    // The copy's tab columns and default stop through an editor's rules
    // (ESyntaxMemo for bad columns or a stop below 1; nothing changes then).
    std::string TabColumns() const;
    int32_t TabDefault() const;
    void SetTabs(TSyntaxMemoCore& editor, const std::string& columns, int32_t tabDefault);

    // ---- options page
    int32_t Options() const;
    void SetOption(int32_t bit, bool on);
    int32_t Gutter() const;
    int32_t RightMargin() const;
    void SetGutter(int32_t v);
    void SetRightMargin(int32_t v);
    // A margin box's text as a value: 0 to 199, anything else 1.
    static int32_t MarginValue(const std::string& text);
    // A font size typed into its box: 1 to 999 points, -1 for anything else.
    static int32_t FontSizeValue(const std::string& text);
    // What a drop on the template editor takes: of HTML only the fragment,
    // of files only the names handed to the file handler (never the text).
    static uint16_t TemplateDropTypes(uint16_t sourceTypes);

    // ---- highlighting page
    std::vector<TElementItem> Elements() const;
    TElementView Element(int32_t code) const;
    // bit 1 bold, 2 italic, 4 underline.
    void SetFontStyle(int32_t code, uint8_t bit, bool on);
    // Each colour goes where its default flag is clear.
    void SetColours(int32_t code, TColor fore, TColor back);
    void SetUseDefault(int32_t code, bool fore, bool on);
    // The element that carries a token's style value (-1: none).
    int ElementOfToken(const std::vector<TElementItem>& elements, int token) const;

    // ---- auto-correct page: items "word TAB replacement", sorted
    std::vector<std::string> AutoCorrectItems() const;
    std::string ActivationKeys() const;
    // The table again: every item as a replacement, then the activation keys
    // (which may raise "Bad key specifier").
    void RebuildAutoCorrect(const std::vector<std::string>& items, const std::string& activationKeys);

    // ---- templates page: items "name TAB description", sorted
    std::vector<std::string> TemplateItems() const;
    bool FindTemplate(const std::string& name, std::string& text) const;
    void AddTemplate(const std::string& name, const std::string& description, const std::string& text);
    void DeleteTemplate(const std::string& name);
    uint16_t TemplateHotKey() const;

    // ---- key assignments page
    // Every command of the copy's key map, sorted by name, with its pairs.
    std::vector<TCommandKeys> Commands() const;
    // A new key map from the commands; the first failure (a duplicate key
    // sequence) leaves the copy's map alone and returns its message.
    std::string ApplyKeys(const std::vector<TCommandKeys>& commands);

private:
    TSM_Settings& own_;
    std::unique_ptr<TSM_Settings> copy_;
    std::string prepared_;  // the copy's stream form for Commit; empty when none
};

// The highlighter component whose settings the dialog edits.
struct TOptionsComponent {
    TSyntaxMemoParser* Parser = nullptr;
    // Puts the copy in force with a fresh editor list; null puts it all back.
    std::function<void(TSM_Settings* copy)> Install;
};

// The dialog on settings (OptionsDialog.cpp): true when closed with OK, which
// wrote the edits back. An empty page set returns false at once. With a
// component, the copy is its settings while the dialog runs and the preview
// and the template editor are its only editors.
bool ExecuteOptionsDialog(TSM_Settings& settings, unsigned visiblePages,
                          const TOptionsComponent* component = nullptr);
