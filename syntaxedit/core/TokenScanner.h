// The highlighter at run time: over a character stream it answers one token
// number and length after another from the compiled tables, keeping the set of
// scanner states that %%states and %%containers change, with a stack for push
// and pop. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "EdStream.h"
#include "ParserTables.h"
#include "SM_Settings.h"

// A stack of saved state sets.
class TRTStack {
public:
    void Push(const TStateSet& set) { items_.push_back(set); }
    // Exception "Stack underflow" when empty.
    TStateSet Pop();
    bool Empty() const { return items_.empty(); }
    size_t Count() const { return items_.size(); }
    void Clear() { items_.clear(); }

private:
    std::vector<TStateSet> items_;
};

// The scheme's "match" routines: number, stream at the position, length to add
// to, token value; true when it accepted. The component hands them to its
// OnCustomParse.
using TScanParseEvent = std::function<bool(int32_t parseId, TEdStream& stream, int32_t& length, int32_t& value)>;

class TTokenScanner {
public:
    // Neither is owned; both must outlive the scanner or be replaced first.
    TTokenScanner(TParserTables* tables, TSM_Settings* settings);
    void SetTables(TParserTables* tables);

    // The token at the stream's position (0..255); the stream stands after it
    // and length holds its character count (at least 1 before the text's end).
    int NextToken(TEdStream& stream, int32_t& length);
    // Restarts from a token's context states (StartStates when it has none).
    void ResetState(int token);
    TStateSet GetAnchors() const { return tables_->AnchorStates; }
    bool InBoundState() const { return CurrentStates.Meets(tables_->BoundStates); }
    bool ContainerPending() const { return ContainerWasActive != 0; }
    // False when no handler is set or while designing.
    bool CustomParse(int32_t id, TEdStream& stream, int32_t& token, int32_t& length);

    TStateSet CurrentStates;
    TRTStack StateStack;
    uint8_t ContainerActive = 0;
    uint8_t ContainerWasActive = 0;
    int32_t ContainerEnd = 0;
    uint8_t ContainerToken = 0;
    TStateSet SavedStates;
    TScanParseEvent OnCustomParse;
    bool Designing = false;

private:
    // How extending a token stopped: its end test matched, the text ended,
    // the body's one step ended it, or the body refused (the token is given up).
    enum class TPassEnd { EndMatched, TextEnded, BodyEnded, GivenUp };
    void SelectStartTable();
    void SyncStates();
    TPassEnd Extend(const TTokenHandler& h, bool rule, TEdStream& st, int32_t& length, int32_t& token);
    bool EndTest(const TEndSpec& end, TEdStream& st, int32_t& length, int32_t token);
    bool BodyStep(const TTokenHandler& h, TEdStream& st, int32_t& length, int32_t& token);
    int32_t MatchWords(TEdStream& st, int32_t start, int32_t& length);
    void Transitions(const TTokenState& ts);
    void PopStates();

    TParserTables* tables_;
    TSM_Settings* settings_;
    const std::unique_ptr<TStartRule>* startTable_;
};
