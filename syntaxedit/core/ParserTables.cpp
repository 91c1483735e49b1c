#include "ParserTables.h"

#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"

void TParserTables::ClearTables() {
    StartStates = TStateSet::Of({0});
    for (int i = 0; i < 256; i++) {
        TokenHandlers[i].reset();
        StartRules[i].reset();
        StateStartRules[i].reset();
        TokenStates[i].reset();
        ContextStates[i].Clear();
    }
    StatesWithRules.Clear();
    BoundStates.Clear();
    NoStateRules = 1;
    Keywords.reset(new TSyntaxKeywords);
    AnchorStates = TStateSet::Of({0});
    CaseSensitive = 0;
    UsesCustomParse = 0;
}

TStateRuleTable& TParserTables::StateTable(uint8_t state) {
    if (!StateStartRules[state]) StateStartRules[state].reset(new TStateRuleTable);
    StatesWithRules.Include(state);
    NoStateRules = 0;
    return *StateStartRules[state];
}

TTokenState& TParserTables::TokenStateOf(uint8_t token) {
    if (!TokenStates[token]) TokenStates[token].reset(new TTokenState);
    return *TokenStates[token];
}

namespace {

void WriteHandler(TStream& s, const TParserTables& t, const TTokenHandler& h) {
    WriteByte(s, h.Star);
    t.Group(h.BodySet).SaveToStream(s);
    WriteByte(s, h.BodyIsRoutine);
    if (h.BodyIsRoutine) {
        WriteByte(s, h.BodyIsCustom);
        WriteInt(s, h.BodyRoutine);
    }
    WriteByte(s, h.End.IncludeEnd);
    WriteByte(s, h.End.EndIsRoutine);
    if (h.End.EndIsRoutine) {
        WriteByte(s, h.End.EndIsCustom);
        WriteInt(s, h.End.EndRoutine);
    } else {
        WriteByte(s, h.End.EndCount);
        for (int i = 0; i < h.End.EndCount && i < 4; i++) t.Group(h.End.EndSets[i]).SaveToStream(s);
    }
}

void WriteRule(TStream& s, const TParserTables& t, const TStartRule& r) {
    WriteByte(s, 0);
    t.Group(r.StartSet).SaveToStream(s);
    WriteByte(s, r.StartIsRoutine);
    if (r.StartIsRoutine) {
        WriteByte(s, 0);
        WriteInt(s, r.StartRoutine);
    }
    WriteSet(s, r.ValidStates);
    WriteHandler(s, t, r.Body);
    WriteByte(s, r.Token);
}

int32_t ReadGroup(TStream& s, TParserTables& t) {
    TSM_CharGroup g;
    g.LoadFromStream(s);
    return t.Keywords->AddCharGroup(g);
}

void ReadHandler(TStream& s, TParserTables& t, TTokenHandler& h) {
    h.Star = ReadByte(s);
    h.BodySet = ReadGroup(s, t);
    h.BodyIsRoutine = ReadByte(s);
    if (h.BodyIsRoutine) {
        h.BodyIsCustom = ReadByte(s);
        h.BodyRoutine = ReadInt(s);
    }
    h.End.IncludeEnd = ReadByte(s);
    h.End.EndIsRoutine = ReadByte(s);
    if (h.End.EndIsRoutine) {
        h.End.EndIsCustom = ReadByte(s);
        h.End.EndRoutine = ReadInt(s);
    } else {
        h.End.EndCount = ReadByte(s);
        if (h.End.EndCount > 4) throw ESyntaxMemo(Format("Invalid end set count in stream: %d", h.End.EndCount));
        for (int i = 0; i < h.End.EndCount; i++) h.End.EndSets[i] = ReadGroup(s, t);
    }
}

std::unique_ptr<TStartRule> ReadRule(TStream& s, TParserTables& t) {
    std::unique_ptr<TStartRule> r(new TStartRule);
    ReadByte(s);
    r->StartSet = ReadGroup(s, t);
    r->StartIsRoutine = ReadByte(s);
    if (r->StartIsRoutine) {
        ReadByte(s);
        r->StartRoutine = ReadInt(s);
    }
    r->ValidStates = ReadSet(s);
    ReadHandler(s, t, r->Body);
    r->Token = ReadByte(s);
    return r;
}

template <class T>
int32_t CountOf(const std::unique_ptr<T> (&items)[256]) {
    int32_t n = 0;
    for (const auto& p : items)
        if (p) n++;
    return n;
}

}  // namespace

void TParserTables::SaveToStream(TStream& s) const {
    Keywords->SaveToStream(s);
    WriteInt(s, CountOf(TokenHandlers));
    for (int i = 0; i < 256; i++)
        if (TokenHandlers[i]) {
            WriteByte(s, static_cast<uint8_t>(i));
            WriteHandler(s, *this, *TokenHandlers[i]);
        }
    WriteInt(s, CountOf(StartRules));
    for (int i = 0; i < 256; i++)
        if (StartRules[i]) {
            WriteByte(s, static_cast<uint8_t>(i));
            WriteRule(s, *this, *StartRules[i]);
        }
    int32_t contexts = 0;
    for (const TStateSet& c : ContextStates)
        if (c != StartStates) contexts++;
    WriteInt(s, contexts);
    for (int i = 0; i < 256; i++)
        if (ContextStates[i] != StartStates) {
            WriteByte(s, static_cast<uint8_t>(i));
            WriteSet(s, ContextStates[i]);
        }
    WriteInt(s, CountOf(TokenStates));
    for (int i = 0; i < 256; i++)
        if (const TTokenState* ts = TokenStates[i].get()) {
            WriteByte(s, static_cast<uint8_t>(i));
            WriteSet(s, ts->ValidStates);
            WriteSet(s, ts->AddStates);
            WriteSet(s, ts->RemoveStates);
            WriteByte(s, ts->IsContainer);
            WriteByte(s, ts->NoChange);
            WriteByte(s, ts->StackOps);
        }
    WriteInt(s, NoStateRules ? 0 : CountOf(StateStartRules));
    if (!NoStateRules)
        for (int st = 0; st < 256; st++)
            if (const TStateRuleTable* table = StateStartRules[st].get()) {
                WriteByte(s, static_cast<uint8_t>(st));
                WriteInt(s, CountOf(table->Rules));
                for (int c = 0; c < 256; c++)
                    if (table->Rules[c]) {
                        WriteByte(s, static_cast<uint8_t>(c));
                        WriteRule(s, *this, *table->Rules[c]);
                    }
                WriteInt(s, 0);
            }
    WriteSet(s, AnchorStates);
    WriteSet(s, BoundStates);
    WriteSet(s, StartStates);
    WriteByte(s, UsesCustomParse);
}

void TParserTables::LoadFromStream(TStream& s) {
    ClearTables();
    try {
        ReadFrom(s);
    } catch (...) {
        ClearTables();
        throw;
    }
}

void TParserTables::ReadFrom(TStream& s) {
    Keywords->LoadFromStream(s);
    int32_t n = ReadCount(s, 256, 1 + 1 + 37 + 1 + 2, "token handler");
    for (int32_t i = 0; i < n; i++) {
        uint8_t token = ReadByte(s);
        TokenHandlers[token].reset(new TTokenHandler);
        ReadHandler(s, *this, *TokenHandlers[token]);
    }
    n = ReadCount(s, 256, 1 + 1 + 37 + 1 + 32 + 41 + 1, "start rule");
    for (int32_t i = 0; i < n; i++) {
        uint8_t c = ReadByte(s);
        StartRules[c] = ReadRule(s, *this);
    }
    n = ReadCount(s, 256, 33, "context state");
    for (int32_t i = 0; i < n; i++) {
        uint8_t token = ReadByte(s);
        ContextStates[token] = ReadSet(s);
    }
    n = ReadCount(s, 256, 1 + 96 + 3, "token state");
    for (int32_t i = 0; i < n; i++) {
        TTokenState& ts = TokenStateOf(ReadByte(s));
        ts.ValidStates = ReadSet(s);
        ts.AddStates = ReadSet(s);
        ts.RemoveStates = ReadSet(s);
        ts.IsContainer = ReadByte(s);
        ts.NoChange = ReadByte(s);
        ts.StackOps = ReadByte(s);
    }
    n = ReadCount(s, 256, 5, "state table");
    for (int32_t i = 0; i < n; i++) {
        TStateRuleTable& table = StateTable(ReadByte(s));
        int32_t rules = ReadCount(s, 256, 1 + 1 + 37 + 1 + 32 + 41 + 1, "state rule");
        for (int32_t r = 0; r < rules; r++) {
            uint8_t c = ReadByte(s);
            table.Rules[c] = ReadRule(s, *this);
        }
        if (ReadInt(s) != 0) throw ESyntaxMemo("Invalid character range count in stream");
    }
    AnchorStates = ReadSet(s);
    BoundStates = ReadSet(s);
    StartStates = ReadSet(s);
    UsesCustomParse = ReadByte(s);
    NoStateRules = StatesWithRules.Empty() ? 1 : 0;
    // Tokens not listed share the start states, as after a compile; the
    // scanner reads an empty set the same way, and the stream stays stable.
    for (TStateSet& c : ContextStates)
        if (c.Empty()) c = StartStates;
    // The scheme's case rule travels with the words it shaped.
    CaseSensitive = Keywords->CaseSensitive ? 1 : 0;
}
