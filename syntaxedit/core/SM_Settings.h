// What one language (or the editor's own defaults) decides about appearance
// and behaviour: the 256 token styles, the option word, margins, colours,
// font, tab columns, editable styles, key tables, auto-correct, templates and
// key map, with their stream form. No platform headers: fonts and system
// colours come from the installed TSettingsPlatform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CodeTemplates.h"
#include "KeyboardActionContoller.h"
#include "Keywords.h"
#include "SM_Base.h"
#include "SyntaxMemoTypes.h"

// Fonts and system colours for the settings; the Windows side installs one
// that makes real fonts. Without one no fonts are made and system colours stay
// symbolic (0x80000000 + index).
class TSettingsPlatform {
public:
    virtual ~TSettingsPlatform() = default;
    virtual uintptr_t CreateStyleFont(const std::string& face, int32_t size, uint8_t style, uint8_t charset,
                                      bool forPrinter) = 0;
    virtual void DeleteStyleFont(uintptr_t font) = 0;
    virtual TColor SystemColor(int index) = 0;
};
void SetSettingsPlatform(TSettingsPlatform* platform);  // null: the portable default
TSettingsPlatform& SettingsPlatform();

// System colour indices used by the defaults.
enum : int { COLOR_HIGHLIGHT_INDEX = 13, COLOR_HIGHLIGHTTEXT_INDEX = 14 };

struct TStyleEntry {
    uint8_t FontStyle = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    TColor TextColor = 0;
    TColor BackColor = 16777215;
    uint8_t UseDefaultText = 0;
    uint8_t UseDefaultBack = 0;
    uint8_t Hotspot = 0;
    int32_t Defined = 0;
    uintptr_t Font = 0;     // made while attached; never stored
};

struct TEditableStyle {
    std::string Name;       // at most 25 characters; empty ends the list
    uint8_t Value = 0;
};

struct TKeyTableDef {
    TStateSet States;
    std::string EndChars;   // character-set specifier
    uint8_t CaseSensitive = 0;
    std::vector<std::pair<std::string, int32_t>> Words;  // word, token number
};

class TSM_Settings : public TSM_Base {
public:
    static const int kEditableStyles = 25;
    static const int kTabColumns = 32;
    static const int kKeyTableSlots = 21;
    static const int32_t kDefaultOptions = 67099632;

    TSM_Settings();
    ~TSM_Settings() override;
    TSM_Settings(const TSM_Settings&) = delete;
    TSM_Settings& operator=(const TSM_Settings&) = delete;

    void Reset();
    void Attach();
    void Detach();
    void RebuildFonts();
    void DeleteFonts();

    void SetStyle(int n, const TStyleEntry& entry);
    TStyleEntry GetStyle(int n) const { return Styles[n & 255]; }
    void SetTokenMap(int n, uint8_t value) { TokenMap[n & 255] = value; }
    uint8_t GetTokenMap(int n) const { return TokenMap[n & 255]; }
    // i is 1..25; ESyntaxMemo outside.
    void SetEditableStyle(int i, const TEditableStyle& entry);
    TEditableStyle GetEditableStyle(int i) const;
    bool HasHotspots();

    // Binds a keyword table to scanner states. EKeywords "Ambigious key table
    // state definition" when the states overlap another table's without being
    // equal, "Too many keyword tables declared" past 21 tables. On failure the
    // existing tables stay as they were.
    void DefineKeyTable(const TStateSet& states, const std::string& endChars, bool caseSensitive,
                        const std::vector<std::pair<std::string, int32_t>>& words);

    void SaveToStream(TStream& s) const override;
    // Every count and length is checked against what the stream can hold; the
    // load fills a fresh object and is taken over only when it all succeeded.
    // AutoReplace, CodeTemplates and KeyController stay the same objects with
    // their handlers, hot key and flags; only their contents are replaced.
    void LoadFromStream(TStream& s) override;

    std::string ExampleText;
    std::string LanguageName;
    std::string WrapOverride;
    uint8_t FontCharset = 1;
    TEditableStyle EditableStyles[kEditableStyles];
    int32_t Options = kDefaultOptions;
    int32_t TabDefault = 4;
    int32_t Margin = 2;
    int32_t RightMargin = 80;
    int32_t WrapAtColumn = 0;
    int32_t Gutter = 34;
    int32_t IndentStep = 1;
    TColor MarginColor = 16777215;
    TColor GutterColor = -2147483633;
    TColor SelTextColor = 0;
    TColor SelTextBack = 0;
    int32_t TabColumns[kTabColumns];
    std::unique_ptr<TAutoReplace> AutoReplace;
    std::unique_ptr<TCodeTemplates> CodeTemplates;
    std::unique_ptr<TKeyboardActionContoller> KeyController;
    uint8_t TokenMap[256];
    TStyleEntry Styles[256];
    std::string FontName;
    int32_t FontSize = 10;
    int32_t AttachCount = 0;
    uint8_t MarginUseDefault = 0;
    uint8_t SelTextUseDefaultText = 0;
    uint8_t SelTextUseDefaultBack = 0;
    uint8_t GutterUseDefault = 0;
    uint8_t StylesChanged = 1;
    uint8_t HasHotspotCache = 0;
    uint8_t ForPrinter = 0;
    std::vector<std::unique_ptr<TKeyTableDef>> KeyTableStates;  // empty: none
    std::unique_ptr<TKeywords> KeyTables;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TSM_Settings); }

private:
    void ReadFrom(TStream& s);
    void SwapStored(TSM_Settings& o);
    static std::unique_ptr<TKeywords> BuildKeyTables(const std::vector<std::unique_ptr<TKeyTableDef>>& slots);
};
