#include "TokenScanner.h"

#include "ScanRoutines.h"
#include "SysUtils.h"

TStateSet TRTStack::Pop() {
    if (items_.empty()) throw Exception("Stack underflow");
    TStateSet s = items_.back();
    items_.pop_back();
    return s;
}

TTokenScanner::TTokenScanner(TParserTables* tables, TSM_Settings* settings)
    : tables_(tables), settings_(settings), startTable_(nullptr) {
    if (tables_) ResetState(0);
}

void TTokenScanner::SetTables(TParserTables* tables) {
    tables_ = tables;
    ResetState(0);
}

void TTokenScanner::SelectStartTable() {
    startTable_ = tables_->StartRules;
    if (tables_->NoStateRules) return;
    for (int s = 0; s < 256; s++)
        if (CurrentStates.Has(static_cast<uint8_t>(s)) && tables_->StatesWithRules.Has(static_cast<uint8_t>(s)) &&
            tables_->StateStartRules[s]) {
            startTable_ = tables_->StateStartRules[s]->Rules;
            return;
        }
}

void TTokenScanner::SyncStates() {
    tables_->Keywords->ActiveStates = CurrentStates;
    if (settings_ && settings_->KeyTables) settings_->KeyTables->ActiveStates = CurrentStates;
}

void TTokenScanner::ResetState(int token) {
    const TStateSet& context = tables_->ContextStates[token & 255];
    CurrentStates = context.Empty() ? tables_->StartStates : context;
    ContainerActive = ContainerWasActive = 0;
    StateStack.Clear();
    SelectStartTable();
    SyncStates();
}

bool TTokenScanner::CustomParse(int32_t id, TEdStream& stream, int32_t& token, int32_t& length) {
    if (!OnCustomParse || Designing) return false;
    return OnCustomParse(id, stream, length, token);
}

namespace {

// Body routines 0..9 are the built-ins 10..19; end routines 0..10 are 10..20.
int BodyRoutineNumber(int32_t n) { return n >= 0 && n <= 9 ? n + 10 : n; }
int EndRoutineNumber(int32_t n) { return n >= 0 && n <= 10 ? n + 10 : -1; }

}  // namespace

bool TTokenScanner::EndTest(const TEndSpec& end, TEdStream& st, int32_t& length, int32_t token) {
    int32_t pos = st.GetPosition();
    if (end.EndIsRoutine) {
        int32_t n = 0;
        int32_t value = token;
        bool ok = end.EndIsCustom ? CustomParse(end.EndRoutine, st, value, n)
                                  : RunScanRoutine(EndRoutineNumber(end.EndRoutine), st, n);
        if (ok) {
            length += n;  // a routine's characters always count
            return true;
        }
        st.MoveTo(pos);
        return false;
    }
    for (int i = 0; i < end.EndCount && i < 4; i++) {
        if (st.AtEnd() || !tables_->Group(end.EndSets[i]).Contains(st.CurChar())) {
            st.MoveTo(pos);
            return false;
        }
        st.Next();
    }
    if (end.IncludeEnd) length += end.EndCount;
    else st.MoveTo(pos);
    return true;
}

bool TTokenScanner::BodyStep(const TTokenHandler& h, TEdStream& st, int32_t& length, int32_t& token) {
    if (h.BodyIsCustom) return CustomParse(h.BodyRoutine, st, token, length);
    if (h.BodyIsRoutine) return RunScanRoutine(BodyRoutineNumber(h.BodyRoutine), st, length);
    if (st.AtEnd() || !tables_->Group(h.BodySet).Contains(st.CurChar())) return false;
    st.Next();
    length++;
    return true;
}

TTokenScanner::TPassEnd TTokenScanner::Extend(const TTokenHandler& h, bool rule, TEdStream& st, int32_t& length,
                                              int32_t& token) {
    // A rule always tests its end (an empty one matches at once); a handler
    // only when it has one.
    bool hasEnd = rule || h.End.EndIsRoutine || h.End.EndCount > 0;
    bool builtinBody = h.BodyIsRoutine && !h.BodyIsCustom && IsScanRoutine(BodyRoutineNumber(h.BodyRoutine));
    for (int pass = 0;; pass++) {
        if (st.AtEnd()) return TPassEnd::TextEnded;
        if (hasEnd && (pass > 0 || h.Star) && EndTest(h.End, st, length, token)) return TPassEnd::EndMatched;
        int32_t before = st.GetPosition();
        if (!BodyStep(h, st, length, token)) return TPassEnd::GivenUp;
        if (!hasEnd || builtinBody || h.BodyIsCustom) return st.AtEnd() ? TPassEnd::TextEnded : TPassEnd::BodyEnded;
        // A body that accepts nothing would never reach its end.
        if (st.GetPosition() == before) return TPassEnd::BodyEnded;
    }
}

int32_t TTokenScanner::MatchWords(TEdStream& st, int32_t start, int32_t& length) {
    int32_t sp = 0, so = 0;
    KeywordEntry* e = tables_->Keywords->MatchKeyword(st, tables_->Keywords->CaseSensitive, length, sp, so, true);
    if (!e && settings_ && settings_->KeyTables) {
        st.MoveTo(start);
        e = settings_->KeyTables->MatchKeyword(st, tables_->CaseSensitive != 0, length, sp, so, true);
    }
    return e ? static_cast<int32_t>(e->Data & 255) : -1;
}

int TTokenScanner::NextToken(TEdStream& st, int32_t& length) {
    int32_t start = st.GetPosition();
    uint8_t c = st.CurChar();
    int32_t token = MatchWords(st, start, length);
    bool givenUp = false;
    if (token >= 0) {
        if (const TTokenHandler* h = tables_->TokenHandlers[token].get())
            givenUp = Extend(*h, false, st, length, token) == TPassEnd::GivenUp;
    } else {
        token = 0;
        st.MoveTo(start);
        const TStartRule* r = st.AtEnd() ? nullptr : startTable_[c].get();
        if (r && r->ValidStates.Meets(CurrentStates)) {
            length = 0;
            if (r->StartIsRoutine) {
                givenUp = !RunScanRoutine(r->StartRoutine, st, length);
                token = r->Token;
            } else {
                st.Next();
                length = 1;
                // A custom body leaves its own token; others take the rule's
                // only when the end test matched or the text ended (a
                // built-in routine's one call is no end: token 0).
                token = r->Body.BodyIsCustom ? 0 : r->Token;
                TPassEnd how = Extend(r->Body, true, st, length, token);
                givenUp = how == TPassEnd::GivenUp;
                if (how == TPassEnd::BodyEnded && !r->Body.BodyIsCustom) token = 0;
            }
        } else {
            givenUp = true;
        }
    }
    if (!ContainerActive) SavedStates = CurrentStates;
    const TTokenState* ts = tables_->TokenStates[token & 255].get();
    if (givenUp || st.GetPosition() <= start || (ts && !ts->ValidStates.Meets(CurrentStates))) {
        bool invalid = !givenUp && st.GetPosition() > start;
        st.MoveTo(start + 1);
        length = 1;
        token = 0;
        ts = invalid ? nullptr : tables_->TokenStates[0].get();
    }
    token &= 255;
    if (ts) Transitions(*ts);
    int32_t pos = st.GetPosition();
    if (ContainerActive) {
        if (pos >= ContainerEnd || st.AtEnd()) {
            CurrentStates = SavedStates;
            SelectStartTable();
            SyncStates();
        }
    } else if (ts && ts->IsContainer) {
        ContainerEnd = pos;
        ContainerToken = static_cast<uint8_t>(token);
    }
    ContainerActive = ContainerActive ? pos < ContainerEnd : (ts && ts->IsContainer);
    ContainerWasActive = ContainerActive;
    return token;
}

void TTokenScanner::PopStates() {
    // A pop with nothing pushed comes from the user's text, not the scheme:
    // the states stay as they are.
    if (!StateStack.Empty()) CurrentStates = StateStack.Pop();
}

void TTokenScanner::Transitions(const TTokenState& ts) {
    if (ts.StackOps & TTokenState::PopBefore) PopStates();
    else if (ts.StackOps & TTokenState::PushBefore) StateStack.Push(CurrentStates);
    if (!ts.NoChange) {
        CurrentStates |= ts.AddStates;
        for (int i = 0; i < 32; i++) CurrentStates.Bits[i] &= static_cast<uint8_t>(~ts.RemoveStates.Bits[i]);
    }
    if (ts.StackOps & TTokenState::PopAfter) PopStates();
    else if (ts.StackOps & TTokenState::PushAfter) StateStack.Push(CurrentStates);
    SelectStartTable();
    SyncStates();
}
