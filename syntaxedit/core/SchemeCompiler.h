// Turns a scheme script into highlighter tables and the language's settings,
// section by section. Grammar errors go through the lexer's Error ("** ERROR
// near line %d, Column %d: %s"); range and re-specification errors are
// ESyntaxMemo, key-table errors EKeywords. No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ParserTables.h"
#include "SM_Settings.h"
#include "SYM_Compiler.h"

class TSchemeCompiler {
public:
    // Fills tables and settings, which the caller has cleared and reset.
    TSchemeCompiler(TSYM_Compiler& lexer, TParserTables& tables, TSM_Settings& settings)
        : lex_(lexer), t_(tables), s_(settings) {}
    // Compiles sections until the end of input; raises at the first error.
    void CompileAll();

    std::string CompileContext = "Header";

private:
    // The current token, read when first looked at: a word the lexer does
    // not know is then reported where the grammar meets it (inside an
    // expression as "Expression expected").
    int Tok() {
        if (pending_) {
            pending_ = false;
            tok_ = lex_.ReadToken();
        }
        return tok_;
    }
    // Done with the current token.
    void Next() {
        Tok();
        pending_ = true;
    }
    void Expect(int token, const char* message);
    bool AtValue() { return Tok() == tkNumber || Tok() == tkOpen; }
    int32_t Expression();
    int32_t ExpressionInner(int depth);
    int32_t Value();
    TStateSet StateList();
    TStateSet ValueOrStateList(bool& single);
    std::string StringValue(bool raw);
    int32_t ItemValue();
    // A raw string holding one character-set specifier, checked before the
    // next token is read so that errors point at it.
    TSM_CharGroup SpecValue();
    int32_t InternSpec() { return t_.Keywords->AddCharGroup(SpecValue()); }
    // A raw string of up to 4 specifiers, one per end character.
    void EndSetsValue(TEndSpec& end);
    uint8_t Modifiers();
    uint16_t KeyValue();

    void Language();
    bool LanguageStatement();
    void EditableStyles();
    void ColourStatement(TColor& colour, uint8_t& useDefault);
    void ContextStatesStatement();
    void TabColumnsStatement();
    void Words();
    void KwTables();
    void Handlers();
    void ReadBody(TTokenHandler& h);
    void Tokens();
    void TokenEntry(int groupState);
    void Map();
    void Effects();
    uint8_t FontStyles();
    void States(bool containers);
    void Keys();
    void AutoReplace();
    void Templates();

    TSYM_Compiler& lex_;
    TParserTables& t_;
    TSM_Settings& s_;
    int tok_ = 0;
    bool pending_ = true;
};
