// The lexical layer of the scheme compiler: reads a scheme script, runs its
// small preprocessor (#define, #ifdef, #ifndef, #else, #endif, #include),
// skips comments and hands out one token at a time with the line and column
// for messages. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SysUtils.h"
#include "WordStore.h"

// Raised through TSYM_Compiler::Error: "** ERROR near line %d, Column %d: %s".
class ESYM_COMP_ERROR : public Exception {
public:
    using Exception::Exception;
};

// Token codes of the scheme language.
enum TSchemeToken : int {
    tkLanguage = 20, tkName, tkCase, tkOptions, tkWords, tkEquals, tkHandlers, tkTokens, tkMap, tkEffects,
    tkExampleText = 33, tkEditableStyles, tkOpen, tkClose, tkComma, tkPlus, tkMinus, tkLBracket, tkRBracket,
    tkQuery, tkWordWrapColumn, tkGutter, tkAnchor, tkStates, tkIndentStep, tkWrapOverride, tkContainers, tkKeys,
    tkShift, tkCtrl, tkAlt, tkStartState, tkSelTextColor, tkSelTextBack, tkRightMargin, tkFontName, tkFontSize,
    tkTabColumns, tkTabDefault, tkContextStates, tkInState, tkBoundStates, tkGutterColor, tkMatch, tkBar,
    tkAutoReplace, tkTemplates, tkMarginColor, tkMarginWidth, tkStar, tkActionKeys, tkHotKey, tkKwTables,
    tkForState, tkEndsWith, tkIs, tkPush, tkPop,
    tkIdentifier = 90, tkNumber, tkString, tkEndOfInput, tkBadChar,
};

class TSYM_Compiler {
public:
    // Reads an included file's whole text; false when it cannot be opened.
    using TFileReader = std::function<bool(const std::string& path, std::string& text)>;
    static const int kMaxIncludeDepth = 16;
    static const int kMaxExpansions = 100000;

    // reader null: the file system.
    TSYM_Compiler(const std::string& script, const std::string& scriptFolder, TFileReader reader = nullptr);

    // The next token code; ESYM_COMP_ERROR for unknown identifiers and characters.
    int ReadToken();
    // StringRaw with its escapes processed.
    std::string GetString() const { return ProcessEscapes(StringRaw); }
    [[noreturn]] void Error(const std::string& message) const;
    // Backslash escapes of a string literal; the value ends at an escaped code 0.
    static std::string ProcessEscapes(const std::string& raw);

    TWordStore MacroStore;
    TWordStore KeywordStore;
    int LastToken = 0;
    std::string StringRaw;
    std::string LastIdentifier;
    int32_t LastNumber = 0;
    uint8_t BadChar = 0;
    int Line = 0;    // 0-based; messages show both plus 1
    int Column = 0;
    std::string ScriptFolder;

private:
    enum : uint8_t { fInDirective = 1, fSkipping = 4 };
    struct Source {
        std::string Name;
        std::string Text;
        size_t Pos = 0;
        bool Counted = false;  // the script or an included file: lines and columns count
        int SavedLine = 0;     // the includer's position, restored when the file ends
        int SavedColumn = 0;
    };

    Source& Cur() { return sources_.back(); }
    bool AtSourceEnd() { return Cur().Pos >= Cur().Text.size(); }
    uint8_t Ch(size_t ahead = 0);
    void Advance();
    void SkipWhite();
    bool SkipComment();
    bool TryDirective();
    bool TryExpandMacro();
    int ScanToken();
    void ReadStringLiteral();
    std::string ReadIdent();
    void SkipLineBlanks();
    void SkipRestOfLine();
    void Define();
    void IfDef(bool wantDefined);
    void Else();
    void EndIf();
    void Include();

    std::vector<Source> sources_;
    std::vector<uint8_t> conditionals_;
    uint8_t flags_ = 0;
    int expansions_ = 0;
    TFileReader reader_;
};

// The scheme's keyword table and its predefined macros.
void AddSchemeKeywords(TWordStore& store);
void AddPredefinedMacros(TWordStore& store);
