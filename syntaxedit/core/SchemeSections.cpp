// The rule sections of the scheme compiler: handlers, tokens, map, effects,
// states and containers, keys, auto-correct and templates.
#include "SchemeCompiler.h"
#include "ScanRoutines.h"
#include "SyntaxMemoErrors.h"

void TSchemeCompiler::ReadBody(TTokenHandler& h) {
    if (Tok() == tkMatch) {
        Next();
        Expect(tkOpen, "'(' expected");
        h.BodyRoutine = Expression();
        Expect(tkClose, "')' expected");
        h.BodyIsRoutine = h.BodyIsCustom = 1;
        t_.UsesCustomParse = 1;
    } else if (Tok() == tkString) {
        h.BodySet = InternSpec();
    } else {
        h.BodyRoutine = Expression();
        h.BodyIsRoutine = 1;
    }
}

void TSchemeCompiler::Handlers() {
    while (AtValue()) {
        int32_t token = Value();
        std::unique_ptr<TTokenHandler> h(new TTokenHandler);
        h->BodySet = t_.Keywords->AddCharGroup(TSM_CharGroup());
        ReadBody(*h);
        if (Tok() == tkStar) {
            h->Star = 1;
            Next();
        }
        if (!h->BodyIsCustom) {
            if (Tok() == tkMatch) {
                Next();
                Expect(tkOpen, "'(' expected");
                h->End.EndRoutine = Expression();
                Expect(tkClose, "')' expected");
                h->End.EndIsRoutine = h->End.EndIsCustom = 1;
                t_.UsesCustomParse = 1;
                h->End.IncludeEnd = Expression() != 0;
            } else if (Tok() == tkString) {
                EndSetsValue(h->End);
                h->End.IncludeEnd = Expression() != 0;
            }
        }
        if (t_.TokenHandlers[token]) lex_.Error("Duplicate entry in %%handler table");
        t_.TokenHandlers[token] = std::move(h);
    }
}

void TSchemeCompiler::Tokens() {
    while (AtValue() || Tok() == tkQuery) {
        if (Tok() != tkQuery) {
            TokenEntry(-1);
            continue;
        }
        Next();
        int32_t state = Value();
        Expect(tkOpen, "'(' expected");
        while (AtValue()) TokenEntry(state);
        Expect(tkClose, "')' expected");
    }
}

void TSchemeCompiler::TokenEntry(int groupState) {
    std::unique_ptr<TStartRule> r(new TStartRule);
    r->Token = static_cast<uint8_t>(Value());
    r->Body.BodySet = t_.Keywords->AddCharGroup(TSM_CharGroup());
    TSM_CharGroup start;
    if (Tok() == tkString) {
        start = SpecValue();
        ReadBody(r->Body);
        if (!r->Body.BodyIsCustom) {
            if (Tok() == tkStar) {
                r->Body.Star = 1;
                Next();
            }
            TEndSpec& end = r->Body.End;
            if (Tok() == tkMatch) {
                Next();
                Expect(tkOpen, "'(' expected");
                end.EndRoutine = Expression();
                Expect(tkClose, "')' expected");
                end.EndIsRoutine = end.EndIsCustom = 1;
                t_.UsesCustomParse = 1;
            } else if (Tok() == tkString) {
                EndSetsValue(end);
            } else {
                end.EndRoutine = Expression();
                end.EndIsRoutine = 1;
            }
            end.IncludeEnd = Expression() != 0;
        }
    } else {
        int32_t routine = Expression();
        if (!IsScanRoutine(routine)) lex_.Error("Script syntax error");
        r->StartIsRoutine = 1;
        r->StartRoutine = routine;
        start.AddSet(RoutineStartChars(routine));
    }
    r->StartSet = t_.Keywords->AddCharGroup(start);
    r->ValidStates = TStateSet::Of({0});
    if (groupState >= 0) r->ValidStates.Include(static_cast<uint8_t>(groupState));
    if (Tok() == tkLBracket) r->ValidStates |= StateList();
    t_.TokenStateOf(r->Token).ValidStates |= r->ValidStates;
    std::unique_ptr<TStartRule>* table =
        groupState >= 0 ? t_.StateTable(static_cast<uint8_t>(groupState)).Rules : t_.StartRules;
    for (int c = 0; c < 256; c++)
        if (start.Contains(static_cast<uint8_t>(c)) && table[c]) lex_.Error("Ambigious start set in %%token table");
    for (int c = 0; c < 256; c++)
        if (start.Contains(static_cast<uint8_t>(c))) table[c].reset(new TStartRule(*r));
}

void TSchemeCompiler::Map() {
    while (AtValue()) {
        int32_t n = Value();
        int32_t m = Value();
        s_.SetTokenMap(n, static_cast<uint8_t>(m));
    }
}

void TSchemeCompiler::Effects() {
    while (AtValue()) {
        int32_t n = Value();
        TStyleEntry style;
        Expect(tkLBracket, "'[' expected");
        style.FontStyle = FontStyles();
        style.TextColor = Expression();
        if (Tok() == tkStar) {
            style.UseDefaultText = 1;
            Next();
        }
        style.BackColor = Expression();
        if (Tok() == tkStar) {
            style.UseDefaultBack = 1;
            Next();
        }
        if (Tok() == tkString && SameText(lex_.GetString(), "hotspot")) {
            style.Hotspot = 1;
            Next();
        }
        if (n != 0 && s_.Styles[n].Defined) lex_.Error("Duplicate %%effect entry");
        style.Defined = 1;
        s_.SetStyle(n, style);
    }
}

// "[" bit numbers separated by "," "]" (the "[" read): anything wrong in the
// list, an unknown word included, is a bad font style specifier.
uint8_t TSchemeCompiler::FontStyles() {
    uint8_t styles = 0;
    try {
        while (Tok() != tkRBracket) {
            if (!AtValue()) lex_.Error("Bad font style specifier");
            int32_t bit = Expression();
            if (bit >= 0 && bit <= 7) styles |= static_cast<uint8_t>(1u << bit);
            if (Tok() == tkComma) Next();
        }
    } catch (const ESYM_COMP_ERROR&) {
        lex_.Error("Bad font style specifier");
    }
    Next();
    return styles;
}

void TSchemeCompiler::States(bool containers) {
    while (AtValue()) {
        TTokenState& ts = t_.TokenStateOf(static_cast<uint8_t>(Value()));
        if (!containers && (Tok() == tkPush || Tok() == tkPop)) {
            ts.StackOps = Tok() == tkPush ? TTokenState::PushBefore : TTokenState::PopBefore;
            Next();
        }
        Expect(tkOpen, "'(' expected");
        while (Tok() == tkPlus || Tok() == tkMinus) {
            bool add = Tok() == tkPlus;
            Next();
            TStateSet items = Tok() == tkLBracket ? StateList() : TStateSet::Of({ItemValue()});
            (add ? ts.AddStates : ts.RemoveStates) |= items;
        }
        Expect(tkClose, "')' expected");
        if (!containers && (Tok() == tkPush || Tok() == tkPop)) {
            ts.StackOps = Tok() == tkPush ? TTokenState::PushAfter : TTokenState::PopAfter;
            if (Tok() == tkPop) {
                ts.AddStates.Clear();
                ts.RemoveStates.Clear();
            }
            Next();
        }
        if (containers) ts.IsContainer = 1;
        ts.NoChange = ts.AddStates.Empty() && ts.RemoveStates.Empty();
    }
}

uint8_t TSchemeCompiler::Modifiers() {
    uint8_t shift = 0;
    if (Tok() != tkLBracket) return 0;
    Next();
    while (Tok() == tkShift || Tok() == tkCtrl || Tok() == tkAlt) {
        shift |= Tok() == tkShift ? ssShift : Tok() == tkCtrl ? ssCtrl : ssAlt;
        Next();
        if (Tok() == tkComma) Next();
    }
    Expect(tkRBracket, "']' expected");
    return shift;
}

uint16_t TSchemeCompiler::KeyValue() {
    if (AtValue()) return static_cast<uint16_t>(Value());
    if (Tok() == tkString) {
        std::string s = lex_.GetString();
        if (s.size() != 1) lex_.Error("Single character specifier expected");
        Next();
        return static_cast<uint8_t>(UpperCase(s)[0]);
    }
    lex_.Error("Key specification required");
}

void TSchemeCompiler::Keys() {
    s_.KeyController->Clear();
    while (AtValue()) {
        int32_t command = Expression();
        if (Tok() == tkOpen) {
            Next();
            for (;;) {
                uint8_t shift = Modifiers();
                uint16_t first = ShortCut(KeyValue(), shift);
                uint16_t second = 0;
                if (Tok() == tkComma) {
                    Next();
                    second = KeyValue();
                }
                s_.KeyController->AddKey(first, second, command);
                if (Tok() != tkBar) break;
                Next();
            }
            Expect(tkClose, "')' expected");
        }
        if (Tok() == tkString) {
            std::string name = StringValue(false);
            if (name.empty()) lex_.Error("Key function name cannot be blank");
            s_.KeyController->AddCommand(command, name);
        }
    }
}

void TSchemeCompiler::AutoReplace() {
    s_.AutoReplace->Clear();
    for (;;) {
        if (Tok() == tkActionKeys) {
            Next();
            Expect(tkEquals, "'=' expected");
            s_.AutoReplace->SetActivationKeys(StringValue(true));
        } else if (Tok() == tkString) {
            std::string word = StringValue(false);
            Expect(tkEquals, "'=' expected");
            s_.AutoReplace->AddReplacement(word, StringValue(false));
        } else {
            return;
        }
    }
}

void TSchemeCompiler::Templates() {
    s_.CodeTemplates->Clear();
    for (;;) {
        if (Tok() == tkHotKey) {
            Next();
            Expect(tkEquals, "'=' expected");
            Expect(tkOpen, "'(' expected");
            uint8_t shift = Modifiers();
            s_.CodeTemplates->HotKey = ShortCut(KeyValue(), shift);
            Expect(tkClose, "')' expected");
        } else if (Tok() == tkString) {
            std::string name = StringValue(false);
            std::string description;
            if (Tok() == tkOpen) {
                Next();
                description = StringValue(false);
                Expect(tkClose, "')' expected");
            }
            Expect(tkEquals, "'=' expected");
            s_.CodeTemplates->AddTemplate(name, description, StringValue(false));
        } else {
            return;
        }
    }
}
