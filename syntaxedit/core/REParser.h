// The editor's regular-expression engine: compiles a pattern into a small node
// program and matches it by backtracking against the text through a TEdStream,
// forwards or backwards from the stream's position. Line ends are single CRs:
// "\n" is the CR, "^" and "$" match a CR (and the start and end of the text),
// and double-quoted strings are literals. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EdStream.h"
#include "REStartSet.h"

// Error numbers; the texts come from TREParser::MessageText.
enum TREError : int {
    reNone = 0,                  // a search has started
    reNoErrors = 4246,           // "No errors detected": compiled
    reNotFound = 4247,
    reInvalidParameter = 4248,
    reTooComplex = 4249,         // program above 4096 bytes, or the match ran out of steps
    reOutOfMemory = 4250,
    reTooManySubexpressions = 4251,
    reUnmatchedParenthesis = 4252,
    reInvalidRepeat = 4253,
    reNestedRepeat = 4254,
    reInvalidRange = 4255,       // also an escape giving code 0 or an octal code above 255
    reUnmatchedBracket = 4256,
    reHexDigitExpected = 4258,
    reUnexpectedEnd = 4259,
    reQuoteExpected = 4260,
    reIndexRange = 4261,
    reInternal = 4262,
};

class TREParser {
public:
    // Opcodes of the node program.
    enum TOpcode : uint8_t {
        opEnd = 0, opBol = 1, opEol = 2, opAny = 3, opAnyOf = 4, opAnyBut = 5, opBranch = 6, opBack = 7,
        opExactly = 8, opNothing = 9, opStar = 10, opPlus = 11, opOpen = 20, opClose = 30,
    };
    static constexpr uint8_t kMagic = 156;
    static constexpr int kMaxProgram = 4096;  // bytes after the magic byte
    static constexpr int kLogSize = 256;      // position log entries
    static constexpr int kMaxGroups = 9;
    // A search gives up with reTooComplex after kBaseSteps steps plus
    // kStepsPerTry for every position it tried, so no pattern can hang it.
    // A step is a node tried or kScanPerStep characters compared in a row.
    static constexpr int64_t kBaseSteps = 10000000;
    static constexpr int64_t kStepsPerTry = 64;
    static constexpr int64_t kScanPerStep = 16;

    TREParser() { Reset(); }
    TREParser(const TREParser&) = delete;
    TREParser& operator=(const TREParser&) = delete;

    // Compiles text unless it is the pattern compiled already. False on a
    // compile error: the pattern is cleared and ErrorCode/ErrorPosition say why.
    bool SetPattern(const std::string& text);
    const std::string& Pattern() const { return pattern_; }

    // Searches from the stream's position up to the size the stream took at
    // SetStore/StartAt (call one after an edit); true on a match. Raises Exception
    // with the error's text on a search error (no program or stream, a log
    // above 255 entries, too many steps); the error state stays readable.
    bool Search(TEdStream* stream, bool forward);

    int32_t MatchStart() const { return matchStart_; }
    int32_t MatchEnd() const { return matchEnd_; }
    // Entry index of the position log (0: the first element's start; after
    // the last element: the match end). Raises "Index range error" outside 0..255.
    int32_t MatchPosition(int index) const;
    int LogCount() const { return logCount_; }

    int ErrorCode() const { return error_; }
    int ErrorPosition() const { return errorPos_; }  // 1-based place in the pattern
    std::string ErrorMessage() const { return MessageText(error_); }
    static std::string MessageText(int code);

    // Steps the last search took (the fuzz target checks the bound).
    int64_t Steps() const { return steps_; }
    int64_t StepLimit() const { return stepLimit_; }
    const std::vector<uint8_t>& Program() const { return program_; }
    // The characters a match of the compiled pattern can start with, and
    // its second character (for a match inside the text with a character
    // after its first).
    const TREStart& StartSet() const { return start_; }
    const TREStart& SecondSet() const { return second_; }

private:
    // A place to come back to: the next alternative of a BRANCH chain, or a
    // STAR/PLUS run to give back one more character of.
    struct TChoice {
        int32_t node;
        int32_t pos;
        int32_t count;   // log entries
        int32_t group1;  // log count at the opening of group 1
        int32_t taken;   // STAR/PLUS: characters the current try keeps
    };
    struct TSearchError {
        int code;
    };

    void Analyse();
    void BuildClasses();
    [[noreturn]] void Fail(int code);
    void Reset();
    bool TryAt(int32_t start);
    bool MatchNode(int32_t pc, int32_t& pos);
    bool Backtrack(int32_t& pc, int32_t& pos);
    bool GiveBack(TChoice& choice, int32_t& pc, int32_t& pos);
    int32_t SkipTo(int32_t pos, bool forward);
    int32_t SkipForward(int32_t pos);
    bool AltAdmits(int32_t branch, uint8_t c) const;
    [[noreturn]] void Raise(int code);
    void Log(int32_t pos);
    void Step(int64_t n = 1);
    void Scan(int64_t n);
    int32_t NextNode(int32_t p) const;
    const uint8_t* ClassOf(int32_t node) const;
    uint8_t CharAt(int32_t pos);
    int32_t RunLength(int32_t opNode, int32_t pos);
    int32_t FindBack(int32_t hi, int32_t lo, uint8_t c);
    bool InClass(int32_t node, uint8_t c) const;

    std::string pattern_;
    std::vector<uint8_t> program_;        // magic byte first
    std::vector<uint8_t> classes_;        // 32-byte bit sets of the class nodes
    std::vector<int32_t> classIndex_;     // per program byte: its class's index, or -1
    std::unique_ptr<TREStartSets> starts_;  // per alternative of each choice
    TREStart start_;                      // what a whole match can start with
    TREStart second_;
    bool skip_ = false;                   // start_ leaves characters out
    int startChar_ = -1;                  // the one character start_ holds, else -1
    bool startTable_[256] = {};           // start_ as a table
    bool useSecond_ = false;              // the second character narrows the starts too
    bool secondTable_[256] = {};          // what a match's second character can be
    int error_ = reNone;
    int errorPos_ = 0;

    TEdStream* stream_ = nullptr;
    int32_t size_ = 0;
    int32_t matchStart_ = -1;
    int32_t matchEnd_ = -1;
    int32_t log_[kLogSize] = {};
    int logCount_ = 0;
    int group1Count_ = -1;
    int64_t steps_ = 0;
    int64_t scanned_ = 0;
    int64_t stepLimit_ = 0;
    std::vector<TChoice> stack_;
};
