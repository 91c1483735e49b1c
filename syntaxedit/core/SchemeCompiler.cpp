#include "SchemeCompiler.h"

#include "SyntaxMemoErrors.h"

namespace {

const int kMaxNesting = 64;

[[noreturn]] void RangeError(int low, int high) {
    throw ESyntaxMemo(Format("Range error, value outwith %d .. %d", low, high));
}

}  // namespace

void TSchemeCompiler::CompileAll() {
    t_.AnchorStates.Clear();
    Next();
    while (tok_ != tkEndOfInput) {
        int section = tok_;
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
    if (tok_ != token) lex_.Error(message);
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
            if (tok_ != tkPlus && tok_ != tkMinus) return static_cast<int32_t>(v);
            minus = tok_ == tkMinus;
            Next();
        }
        uint32_t term;
        if (tok_ == tkNumber) {
            term = static_cast<uint32_t>(lex_.LastNumber);
            Next();
        } else if (tok_ == tkOpen) {
            Next();
            term = static_cast<uint32_t>(ExpressionInner(depth + 1));
            if (tok_ != tkClose) lex_.Error("Expression expected");
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
    while (tok_ != tkRBracket) {
        if (!AtValue()) lex_.Error("']' expected");
        set.Include(static_cast<uint8_t>(Value()));
        if (tok_ == tkComma) Next();
    }
    Next();
    return set;
}

TStateSet TSchemeCompiler::ValueOrStateList(bool& single) {
    single = tok_ != tkLBracket;
    if (!single) return StateList();
    return TStateSet::Of({Value()});
}

std::string TSchemeCompiler::StringValue(bool raw) {
    if (tok_ != tkString) lex_.Error("String value expected");
    std::string s = raw ? lex_.StringRaw : lex_.GetString();
    Next();
    return s;
}

int32_t TSchemeCompiler::ItemValue() {
    // One term: in "+ 1 - 2" the "-" starts the next item, not a subtraction.
    int32_t v = 0;
    if (tok_ == tkNumber) {
        v = lex_.LastNumber;
        Next();
    } else if (tok_ == tkOpen) {
        Next();
        v = Expression();
        if (tok_ != tkClose) lex_.Error("Expression expected");
        Next();
    } else {
        lex_.Error("Expression expected");
    }
    if (v < 0 || v > 255) RangeError(0, 255);
    return v;
}

TSM_CharGroup TSchemeCompiler::SpecValue() {
    if (tok_ != tkString) lex_.Error("String value expected");
    const std::string& spec = lex_.StringRaw;
    TSM_CharGroup g;
    if (ParseCharSpec(spec, 1, g) <= static_cast<int>(spec.size())) lex_.Error("Single character specifier expected");
    Next();
    return g;
}

void TSchemeCompiler::EndSetsValue(TEndSpec& end) {
    if (tok_ != tkString) lex_.Error("String value expected");
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
    int key = tok_;
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
        case tkTabColumns: ParseTabColumns(StringValue(true), s_.TabColumns); break;
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
        if (tok_ != tkComma) return;
        Next();
    }
}

void TSchemeCompiler::ColourStatement(TColor& colour, uint8_t& useDefault) {
    useDefault = 0;
    if (tok_ == tkLBracket) {
        Next();
        if (tok_ == tkStar) {
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
            if (tok_ == tkComma) Next();
        }
        TStateSet set;
        if (tok_ == tkLBracket) set = StateList();
        Expect(tkClose, "')' expected");
        for (int32_t token : tokens) {
            if (!t_.ContextStates[token].Empty())
                throw ESyntaxMemo(Format("Token value %d re-specified in ContextState", token));
            t_.ContextStates[token] = set;
        }
        if (tok_ != tkComma) break;
        Next();
    }
    for (TStateSet& c : t_.ContextStates)
        if (c.Empty()) c = t_.StartStates;
}

void TSchemeCompiler::Words() {
    while (tok_ == tkString) {
        std::string word = StringValue(false);
        TSM_CharGroup follow = SpecValue();
        int32_t token = Value();
        TStateSet states = TStateSet::Of({0});
        if (tok_ == tkLBracket) states = StateList();
        try {
            t_.Keywords->AddKeyword(word, t_.CaseSensitive != 0, token, states, follow);
        } catch (const EKeywords&) {
            lex_.Error("Duplicate entry in %%word table");
        }
        t_.TokenStateOf(static_cast<uint8_t>(token)).ValidStates |= states;
    }
}

void TSchemeCompiler::KwTables() {
    while (tok_ == tkForState) {
        Next();
        Expect(tkLBracket, "'[' expected");
        TStateSet states;
        while (tok_ != tkRBracket) {
            if (!AtValue()) lex_.Error("']' expected");
            states.Include(static_cast<uint8_t>(Value()));
            if (tok_ == tkComma) Next();
        }
        Next();
        if (states.Empty()) states = TStateSet::Of({0});
        Expect(tkEndsWith, "'endswith' expected");
        std::string endChars = StringValue(true);
        Expect(tkOpen, "'(' expected");
        std::vector<std::pair<std::string, int32_t>> words;
        while (tok_ != tkClose) {
            if (!AtValue()) lex_.Error("')' expected");
            int32_t token = Value();
            Expect(tkIs, "'is' expected");
            words.emplace_back(StringValue(true), token);
            while (tok_ == tkComma) {
                Next();
                words.emplace_back(StringValue(true), token);
            }
        }
        Next();
        s_.DefineKeyTable(states, endChars, t_.CaseSensitive != 0, words);
    }
}

void ParseTabColumns(const std::string& text, int32_t (&columns)[TSM_Settings::kTabColumns]) {
    int32_t table[TSM_Settings::kTabColumns];
    for (int32_t& c : table) c = -1;
    int count = 0;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ';' || text[i] == '\t')) i++;
        if (i >= text.size()) break;
        if (text[i] < '0' || text[i] > '9') throw Exception("Tab stop column value expected");
        int64_t v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            v = v * 10 + (text[i++] - '0');
            if (v > 1000000) v = 1000000;
        }
        if (count == TSM_Settings::kTabColumns)
            throw Exception(Format("Too many tab stops - maximum of %d", TSM_Settings::kTabColumns));
        if (v <= 1) throw Exception("Tab column must be > 1");
        if (count > 0 && v - 1 <= table[count - 1]) throw Exception("Tab columns must be in order and unique");
        table[count++] = static_cast<int32_t>(v - 1);
    }
    for (int k = 0; k < TSM_Settings::kTabColumns; k++) columns[k] = table[k];
}
