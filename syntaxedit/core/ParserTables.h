// The compiled tables of a highlighting scheme: keywords, token handlers,
// start rules (plain and per state), token states and the state sets, with
// their stream form. The scheme compiler fills them, the token scanner reads
// them. No platform headers.
#pragma once

#include <cstdint>
#include <memory>

#include "Stream.h"
#include "SyntaxKeywords.h"
#include "SyntaxMemoTypes.h"

struct TEndSpec {
    uint8_t IncludeEnd = 0;   // the end sequence belongs to the token
    uint8_t EndIsRoutine = 0;
    uint8_t EndCount = 0;     // 0..4 end sets
    uint8_t EndIsCustom = 0;
    int32_t EndSets[4] = {};  // set ids, one per end character
    int32_t EndRoutine = 0;
};

// How a token continues after it has been recognised.
struct TTokenHandler {
    uint8_t Star = 0;         // try the end before the first body step
    int32_t BodySet = 0;      // set id
    uint8_t BodyIsRoutine = 0;
    uint8_t BodyIsCustom = 0;
    int32_t BodyRoutine = 0;  // routine number, or the number handed to the custom event
    TEndSpec End;
};

// How a token begins with a given first character.
struct TStartRule {
    int32_t StartSet = 0;
    uint8_t StartIsRoutine = 0;
    int32_t StartRoutine = 0;  // 10..20
    TStateSet ValidStates;
    TTokenHandler Body;        // Star, body and end as in a handler
    uint8_t Token = 0;
};

struct TTokenState {
    enum : uint8_t { PushBefore = 1, PopBefore = 2, PushAfter = 4, PopAfter = 8 };
    TStateSet ValidStates = TStateSet::Of({0});
    TStateSet AddStates;
    TStateSet RemoveStates;
    uint8_t IsContainer = 0;
    uint8_t NoChange = 1;
    uint8_t StackOps = 0;
};

// A state's own start rules (the extra ranges are never filled).
struct TStateRuleTable {
    std::unique_ptr<TStartRule> Rules[256];
};

class TParserTables {
public:
    static const uint16_t kStreamVersion = 49;

    TParserTables() { ClearTables(); }
    TParserTables(const TParserTables&) = delete;
    TParserTables& operator=(const TParserTables&) = delete;

    // Back to the empty tables: every character scans as token 0.
    void ClearTables();
    TSM_CharGroup& Group(int32_t id) const { return Keywords->CharGroups.Get(id); }
    // The rule table a state's rules go to, made on first use.
    TStateRuleTable& StateTable(uint8_t state);
    // TokenStates[token], made with the defaults when missing.
    TTokenState& TokenStateOf(uint8_t token);

    // The table data (no version word, not compressed), in the order the
    // "Parser" property keeps it, after the settings.
    void SaveToStream(TStream& s) const;
    // Every count and set id is checked; a damaged stream raises and leaves
    // these tables cleared.
    void LoadFromStream(TStream& s);

    std::unique_ptr<TSyntaxKeywords> Keywords;
    std::unique_ptr<TTokenHandler> TokenHandlers[256];
    std::unique_ptr<TStartRule> StartRules[256];
    std::unique_ptr<TStateRuleTable> StateStartRules[256];
    TStateSet StatesWithRules;
    uint8_t NoStateRules = 1;
    std::unique_ptr<TTokenState> TokenStates[256];
    TStateSet ContextStates[256];
    TStateSet AnchorStates;
    TStateSet BoundStates;
    TStateSet StartStates;
    uint8_t CaseSensitive = 0;
    uint8_t UsesCustomParse = 0;

private:
    void ReadFrom(TStream& s);
};
