#include "SchemeCompiler.h"

#include <algorithm>

#include "SyntaxMemoCore.h"
#include "SyntaxMemoErrors.h"

namespace {

const int kMaxNesting = 64;

[[noreturn]] void RangeError(int low, int high) {
    throw ESyntaxMemo(Format("Range error, value outwith %d .. %d", low, high));
}

}  // namespace

void TSchemeCompiler::CompileAll() {
    t_.AnchorStates.Clear();
    while (Tok() != tkEndOfInput) {
        int section = Tok();
        Next();
        switch (section) {
            case tkLanguage: CompileContext = "%%language"; Language(); break;
            case tkWords: CompileContext = "%%words"; Words(); break;
            case tkKwTables: CompileContext = "%%kwTables"; KwTables(); break;
            case tkHandlers: CompileContext = "%%handlers"; Handlers(); break;
            case tkTokens: CompileContext = "%%tokens"; Tokens(); break;
            case tkMap: CompileContext = "%%map"; Map(); break;
            case tkEffects: CompileContext = "%%effects"; Effects(); break;
            case tkStates: CompileContext = "%%states"; States(false); break;
            case tkContainers: CompileContext = "%%containers"; States(true); break;
            case tkKeys: CompileContext = "%%keys"; Keys(); break;
            case tkAutoReplace: CompileContext = "%%autoreplace"; AutoReplace(); break;
            case tkTemplates: CompileContext = "%%templates"; Templates(); break;
            default: lex_.Error("Script syntax error");
        }
    }
    if (t_.AnchorStates.Empty()) t_.AnchorStates = TStateSet::Of({0});
    for (TStateSet& c : t_.ContextStates)
        if (c.Empty()) c = t_.StartStates;
    t_.NoStateRules = t_.StatesWithRules.Empty() ? 1 : 0;
}

void TSchemeCompiler::Expect(int token, const char* message) {
    if (Tok() != token) lex_.Error(message);
    Next();
}

int32_t TSchemeCompiler::Expression() {
    try {
        return ExpressionInner(0);
    } catch (const ESYM_COMP_ERROR&) {
        lex_.Error("Expression expected");
    }
}

int32_t TSchemeCompiler::ExpressionInner(int depth) {
    // Nesting is bounded so that a script of brackets cannot exhaust the stack.
    if (depth > kMaxNesting) lex_.Error("Expression expected");
    uint32_t v = 0;
    for (bool first = true;; first = false) {
        bool minus = false;
        if (!first) {
            if (Tok() != tkPlus && Tok() != tkMinus) return static_cast<int32_t>(v);
            minus = Tok() == tkMinus;
            Next();
        }
        uint32_t term;
        if (Tok() == tkNumber) {
            term = static_cast<uint32_t>(lex_.LastNumber);
            Next();
        } else if (Tok() == tkOpen) {
            Next();
            term = static_cast<uint32_t>(ExpressionInner(depth + 1));
            if (Tok() != tkClose) lex_.Error("Expression expected");
            Next();
        } else {
            lex_.Error("Expression expected");
        }
        v = minus ? v - term : v + term;  // 32-bit arithmetic, wrapping
    }
}

int32_t TSchemeCompiler::Value() {
    int32_t v = Expression();
    if (v < 0 || v > 255) RangeError(0, 255);
    return v;
}

TStateSet TSchemeCompiler::StateList() {
    TStateSet set;
    Next();  // "["
    while (Tok() != tkRBracket) {
        if (!AtValue()) lex_.Error("']' expected");
        set.Include(static_cast<uint8_t>(Value()));
        if (Tok() == tkComma) Next();
    }
    Next();
    return set;
}

TStateSet TSchemeCompiler::ValueOrStateList(bool& single) {
    single = Tok() != tkLBracket;
    if (!single) return StateList();
    return TStateSet::Of({Value()});
}

std::string TSchemeCompiler::StringValue(bool raw) {
    if (Tok() != tkString) lex_.Error("String value expected");
    std::string s = raw ? lex_.StringRaw : lex_.GetString();
    Next();
    return s;
}

int32_t TSchemeCompiler::ItemValue() {
    // One term: in "+ 1 - 2" the "-" starts the next item, not a subtraction.
    int32_t v = 0;
    if (Tok() == tkNumber) {
        v = lex_.LastNumber;
        Next();
    } else if (Tok() == tkOpen) {
        Next();
        v = Expression();
        if (Tok() != tkClose) lex_.Error("Expression expected");
        Next();
    } else {
        lex_.Error("Expression expected");
    }
    if (v < 0 || v > 255) RangeError(0, 255);
    return v;
}

TSM_CharGroup TSchemeCompiler::SpecValue() {
    if (Tok() != tkString) lex_.Error("String value expected");
    const std::string& spec = lex_.StringRaw;
    TSM_CharGroup g;
    if (ParseCharSpec(spec, 1, g) <= static_cast<int>(spec.size())) lex_.Error("Single character specifier expected");
    Next();
    return g;
}

void TSchemeCompiler::EndSetsValue(TEndSpec& end) {
    if (Tok() != tkString) lex_.Error("String value expected");
    const std::string text = lex_.StringRaw;
    end.EndIsRoutine = 0;
    end.EndCount = 0;
    int pos = 1;
    while (pos <= static_cast<int>(text.size())) {
        if (end.EndCount == 4) lex_.Error("Maximum of 4 character specifier allowed");
        TSM_CharGroup g;
        int next = ParseCharSpec(text, pos, g);
        if (next <= pos) break;
        end.EndSets[end.EndCount++] = t_.Keywords->AddCharGroup(g);
        pos = next;
    }
    Next();
}

void TSchemeCompiler::Language() {
    while (LanguageStatement()) {
    }
}

bool TSchemeCompiler::LanguageStatement() {
    int key = Tok();
    switch (key) {
        case tkName: case tkCase: case tkOptions: case tkExampleText: case tkWordWrapColumn: case tkGutter:
        case tkAnchor: case tkIndentStep: case tkWrapOverride: case tkStartState: case tkSelTextColor:
        case tkSelTextBack: case tkGutterColor: case tkMarginColor: case tkRightMargin: case tkFontSize:
        case tkTabDefault: case tkMarginWidth: case tkFontName: case tkTabColumns: case tkBoundStates:
        case tkContextStates: break;
        case tkEditableStyles: Next(); EditableStyles(); return true;
        default: return false;
    }
    Next();
    Expect(tkEquals, "'=' expected");
    bool single = false;
    switch (key) {
        case tkName: s_.LanguageName = StringValue(false).substr(0, 35); break;
        case tkCase: t_.CaseSensitive = Expression() != 0; break;
        case tkOptions: s_.Options = Expression(); break;
        case tkExampleText: s_.ExampleText = StringValue(false); break;
        case tkWordWrapColumn: s_.WrapAtColumn = Expression(); break;
        case tkGutter: s_.Gutter = Expression(); break;
        case tkAnchor: t_.AnchorStates |= ValueOrStateList(single); break;
        case tkIndentStep:
            s_.IndentStep = Expression();
            if (s_.IndentStep < 0 || s_.IndentStep > 20) RangeError(0, 20);
            break;
        case tkWrapOverride: s_.WrapOverride = StringValue(false).substr(0, 35); break;
        case tkStartState: {
            TStateSet set = ValueOrStateList(single);
            if (single) set.Include(0);
            t_.StartStates = set;
            break;
        }
        case tkSelTextColor: ColourStatement(s_.SelTextColor, s_.SelTextUseDefaultText); break;
        case tkSelTextBack: ColourStatement(s_.SelTextBack, s_.SelTextUseDefaultBack); break;
        case tkGutterColor: ColourStatement(s_.GutterColor, s_.GutterUseDefault); break;
        case tkMarginColor: ColourStatement(s_.MarginColor, s_.MarginUseDefault); break;
        case tkRightMargin: s_.RightMargin = Expression(); break;
        case tkFontSize: s_.FontSize = Expression(); break;
        case tkTabDefault: s_.TabDefault = Expression(); break;
        case tkMarginWidth: s_.Margin = Expression(); break;
        case tkFontName: s_.FontName = StringValue(false); break;
        case tkTabColumns: TabColumnsStatement(); break;
        case tkBoundStates: t_.BoundStates |= ValueOrStateList(single); break;
        case tkContextStates: ContextStatesStatement(); break;
    }
    return true;
}

void TSchemeCompiler::EditableStyles() {
    int used = 0;
    while (used < TSM_Settings::kEditableStyles && !s_.EditableStyles[used].Name.empty()) used++;
    for (;;) {
        Expect(tkOpen, "'(' expected");
        std::string name = StringValue(false);
        Expect(tkComma, "',' expected");
        int32_t v = Expression();
        if (v < 0 || v > 255) lex_.Error("Value must be 0..255");
        if (used >= TSM_Settings::kEditableStyles) lex_.Error("Too many editable styles");
        s_.EditableStyles[used].Name = name.substr(0, 25);
        s_.EditableStyles[used].Value = static_cast<uint8_t>(v);
        used++;
        Expect(tkClose, "')' expected");
        if (Tok() != tkComma) return;
        Next();
    }
}

void TSchemeCompiler::ColourStatement(TColor& colour, uint8_t& useDefault) {
    useDefault = 0;
    if (Tok() == tkLBracket) {
        Next();
        if (Tok() == tkStar) {
            useDefault = 1;
            Next();
        }
        Expect(tkRBracket, "']' expected");
    }
    colour = Expression();
}

void TSchemeCompiler::ContextStatesStatement() {
    for (;;) {
        Expect(tkOpen, "'(' expected");
        std::vector<int32_t> tokens;
        while (AtValue()) {
            tokens.push_back(Value());
            if (Tok() == tkComma) Next();
        }
        TStateSet set;
        if (Tok() == tkLBracket) set = StateList();
        Expect(tkClose, "')' expected");
        for (int32_t token : tokens) {
            if (!t_.ContextStates[token].Empty())
                throw ESyntaxMemo(Format("Token value %d re-specified in ContextState", token));
            t_.ContextStates[token] = set;
        }
        if (Tok() != tkComma) break;
        Next();
    }
    for (TStateSet& c : t_.ContextStates)
        if (c.Empty()) c = t_.StartStates;
}

void TSchemeCompiler::Words() {
    while (Tok() == tkString) {
        std::string word = StringValue(false);
        TSM_CharGroup follow = SpecValue();
        int32_t token = Value();
        TStateSet states = TStateSet::Of({0});
        if (Tok() == tkLBracket) states = StateList();
        try {
            t_.Keywords->AddKeyword(word, t_.CaseSensitive != 0, token, states, follow);
        } catch (const EKeywords&) {
            lex_.Error("Duplicate entry in %%word table");
        }
        t_.TokenStateOf(static_cast<uint8_t>(token)).ValidStates |= states;
    }
}

void TSchemeCompiler::KwTables() {
    while (Tok() == tkForState) {
        Next();
        // The messages are the established ones, misplaced as they are.
        Expect(tkLBracket, "']' expected");
        TStateSet states;
        while (Tok() != tkRBracket) {
            if (!AtValue()) lex_.Error("']' expected");
            states.Include(static_cast<uint8_t>(Value()));
            if (Tok() == tkComma) Next();
        }
        Next();
        if (states.Empty()) states = TStateSet::Of({0});
        Expect(tkEndsWith, "'[' expected");
        std::string endChars = StringValue(true);
        Expect(tkOpen, "'(' expected");
        std::vector<std::pair<std::string, int32_t>> words;
        while (Tok() != tkClose) {
            if (!AtValue()) lex_.Error("')' expected");
            int32_t token = Value();
            Expect(tkIs, "String value expected");
            words.emplace_back(StringValue(true), token);
            while (Tok() == tkComma) {
                Next();
                words.emplace_back(StringValue(true), token);
            }
        }
        Next();
        s_.DefineKeyTable(states, endChars, t_.CaseSensitive != 0, words);
    }
}

void TSchemeCompiler::TabColumnsStatement() {
    std::string text = StringValue(true);
    // The editor's own parser reads them, so a scheme takes exactly what the
    // editor's TabColumns takes; its message gets the place in the script.
    TSyntaxMemoCore editor;
    try {
        editor.SetTabColumns(text);
    } catch (const ESyntaxMemo& e) {
        lex_.Error(e.Message());
    }
    std::copy(std::begin(editor.Settings().TabColumns), std::end(editor.Settings().TabColumns), s_.TabColumns);
}
