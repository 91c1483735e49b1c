// The interpreter of the mask language: finds the next match of a pattern
// in a text from a start position, with the matcher state (flags, hook
// lists, choice stack) that every attempt starts afresh. It counts its
// steps and gives up when they pass the budget it was given.
// No platform headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "InfoAddress.h"
#include "MaskPattern.h"

// Where a search may look.
struct MatchScope {
    size_t startLimit = SIZE_MAX;  // start positions stop before it
    size_t textEnd = SIZE_MAX;     // the text ends here for a match
    // More text is coming: an attempt that ran into the end of the text may
    // match once more has come, so the search stops at its start.
    bool hold = false;
};

class MaskMatcher {
public:
    // Searches text for pattern at start positions from pos within scope.
    // Found: 1, the capture, and pos after the match (one further when it
    // consumed nothing). Not found: 0, and pos at the first start position
    // not tried, so a later scan resumes there (or at the start held).
    long FindNext(const std::string& text, size_t& pos, const MaskPattern& pattern, std::string& capture,
                  const MatchScope& scope, uint64_t budget, const std::atomic<long>& stop);

    size_t MatchStart() const { return matchStart_; }  // where the last match found began
    uint64_t Steps() const { return steps_; }  // taken by the last FindNext
    bool Held() const { return held_; }         // the last FindNext stopped at a start that wants more text
    bool GaveUp() const { return aborted_; }    // the last FindNext ran out of budget or nesting
    // The last reason a pattern could not be followed ("" when none).
    const std::string& LastError() const { return lastError_; }
    void SetError(const std::string& why) { lastError_ = why; }

    static constexpr int kMaxNesting = 48;  // hooks, wildcards and sub-patterns inside each other
    static constexpr int kStackSize = 16;

private:
    struct Hook {
        char key;
        uint32_t begin, end;  // the entry's pattern inside the current pattern
    };
    struct Choice {
        char c;
        bool taken;
    };
    struct State {
        bool w = true, u = false, g = false, r = false;
        std::vector<Hook> before, after;
        Choice stack[kStackSize];
        int top = -1;
    };

    bool Match(size_t i, size_t end, std::string& capture);
    enum Outcome { kFail, kNext, kDone };
    Outcome Element(size_t k, size_t end, std::string& capture, size_t& next);
    bool Consume(std::string& capture, bool withCapture = true);
    static void CopyState(const State& from, State& to);
    bool RunHooks(bool before, char c, std::string& capture);
    void Capture(std::string& capture, char c) const;
    bool Same(char a, char b) const { return st_.g ? a == b : UpperChar(a) == UpperChar(b); }
    bool Abort(const char* why);
    static size_t LeadWildcard(const MaskPattern& pattern);
    static bool SameState(const State& a, const State& b);
    void MarkDead();
    bool Dead(size_t at) const { return at - firstStart_ < dead_.size() && dead_[at - firstStart_]; }

    // the running attempt
    const std::string* text_ = nullptr;
    size_t end_ = 0;  // the text ends here for the running attempt
    size_t pos_ = 0;
    const MaskPattern* pat_ = nullptr;
    State st_;
    bool error_ = false;
    size_t errorPos_ = 0;
    int depth_ = 0;
    uint64_t steps_ = 0;
    uint64_t budget_ = 0;
    bool aborted_ = false;
    std::string lastError_;
    size_t matchStart_ = 0;
    // start positions known to fail (see MarkDead)
    size_t leadStar_ = SIZE_MAX;
    size_t firstStart_ = 0;
    std::vector<size_t> marks_;  // of the running attempt
    std::vector<char> dead_;     // from firstStart_ on
    bool deadRanOut_ = false;    // an attempt behind a dead start ran into the end of the text
    bool ranOut_ = false;        // the running attempt wanted text past the end
    bool held_ = false;
};
