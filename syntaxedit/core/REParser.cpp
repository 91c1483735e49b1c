#include "REParser.h"

#include <cstring>

#include "RECompiler.h"
#include "SysUtils.h"

namespace {

const uint8_t kCR = 13;

// The first index from i below len whose character the table holds, else len.
int32_t ScanTable(const uint8_t* text, int32_t i, int32_t len, const bool* table) {
    for (; i + 4 <= len; i += 4) {
        if (table[text[i]]) return i;
        if (table[text[i + 1]]) return i + 1;
        if (table[text[i + 2]]) return i + 2;
        if (table[text[i + 3]]) return i + 3;
    }
    for (; i < len; i++)
        if (table[text[i]]) return i;
    return len;
}

}  // namespace

std::string TREParser::MessageText(int code) {
    switch (code) {
    case reNoErrors: return "No errors detected";
    case reNotFound: return "Expression not found";
    case reInvalidParameter: return "Invalid parameter";
    case reTooComplex: return "Expression too complex";
    case reOutOfMemory: return "Out of memory";
    case reTooManySubexpressions: return "Too many sub-expressions";
    case reUnmatchedParenthesis: return "Unmatched parenthesis";
    case reInvalidRepeat: return "Invalid repeat";
    case reNestedRepeat: return "Nested repeat";
    case reInvalidRange: return "Invalid range";
    case reUnmatchedBracket: return "Unmatched bracket";
    case reHexDigitExpected: return "Hex digit expected";
    case reUnexpectedEnd: return "Unexpected end of input";
    case reQuoteExpected: return "' expected";
    case reIndexRange: return "Index range error";
    case reInternal: return "Internal error";
    default: return std::string();
    }
}

bool TREParser::SetPattern(const std::string& text) {
    if (!text.empty() && text == pattern_ && !program_.empty()) return true;
    pattern_.clear();
    program_.clear();
    classes_.clear();
    classIndex_.clear();
    starts_.reset();
    start_ = second_ = TREStart();
    skip_ = useSecond_ = false;
    startChar_ = -1;
    TRECompiler compiler;
    error_ = compiler.Compile(text, program_, errorPos_);
    if (error_ != reNoErrors) return false;
    pattern_ = text;
    BuildClasses();
    Analyse();
    return true;
}

// Bit sets of the classes, so matching a class costs one look-up.
void TREParser::BuildClasses() {
    for (int32_t p = 1; p + 3 <= static_cast<int32_t>(program_.size());) {
        uint8_t op = program_[static_cast<size_t>(p)];
        p += 3;
        if (op != opExactly && op != opAnyOf && op != opAnyBut) continue;
        if (op != opExactly) {
            classIndex_.resize(program_.size(), -1);
            classIndex_[static_cast<size_t>(p - 3)] = static_cast<int32_t>(classes_.size() / 32);
            classes_.resize(classes_.size() + 32);
            uint8_t* bits = &classes_[classes_.size() - 32];
            for (int32_t q = p; program_[static_cast<size_t>(q)]; q++)
                bits[program_[static_cast<size_t>(q)] >> 3] |= static_cast<uint8_t>(1 << (program_[static_cast<size_t>(q)] & 7));
        }
        while (program_[static_cast<size_t>(p)]) p++;
        p++;
    }
}

// What a match can start with, so most positions need no try at all; and,
// for every choice, what each alternative can start with.
void TREParser::Analyse() {
    starts_.reset(new TREStartSets(program_));
    start_ = starts_->From(1);
    for (int32_t p = 1; p + 3 <= static_cast<int32_t>(program_.size());) {
        uint8_t op = program_[static_cast<size_t>(p)];
        if (op == opBranch) starts_->From(p + 3);
        p += 3;
        if (op == opExactly || op == opAnyOf || op == opAnyBut) {
            while (static_cast<size_t>(p) < program_.size() && program_[static_cast<size_t>(p)]) p++;
            p++;
        }
    }
    second_ = starts_->SecondFrom(1);
    // A set of most characters skips too little to pay for the look.
    skip_ = !start_.Anything() && start_.Count() <= 128;
    useSecond_ = skip_ && !second_.Anything();
    for (int c = 0; c < 256; c++) {
        startTable_[c] = start_.Has(static_cast<uint8_t>(c));
        secondTable_[c] = second_.Has(static_cast<uint8_t>(c));
    }
    startChar_ = -1;
    if (start_.Count() == 1)
        for (int c = 0; c < 256; c++)
            if (startTable_[c]) startChar_ = c;
}

bool TREParser::AltAdmits(int32_t branch, uint8_t c) const {
    const TREStart* s = starts_ ? starts_->Known(branch + 3) : nullptr;
    return !s || s->Admits(c);
}

int32_t TREParser::NextNode(int32_t p) const { return TRECompiler::NextNode(program_, p); }

const uint8_t* TREParser::ClassOf(int32_t node) const {
    return &classes_[static_cast<size_t>(classIndex_[static_cast<size_t>(node)]) * 32];
}

void TREParser::Fail(int code) { throw TSearchError{code}; }

void TREParser::Step(int64_t n) {
    steps_ += n;
    if (steps_ > stepLimit_) Fail(reTooComplex);
}

// Comparing characters in a row costs far less than a node; kScanPerStep of
// them count as one step.
void TREParser::Scan(int64_t n) {
    scanned_ += n;
    if (scanned_ >= kScanPerStep) {
        Step(scanned_ / kScanPerStep);
        scanned_ %= kScanPerStep;
    }
}

void TREParser::Log(int32_t pos) {
    if (logCount_ >= kLogSize - 1) Fail(reIndexRange);
    log_[logCount_++] = pos;
}

uint8_t TREParser::CharAt(int32_t pos) {
    if (pos < 0 || pos >= size_) return 0;
    stream_->MoveTo(pos);
    return stream_->CurChar();
}

int32_t TREParser::MatchPosition(int index) const {
    if (index < 0 || index >= kLogSize) throw Exception(MessageText(reIndexRange));
    return log_[index];
}

void TREParser::Reset() {
    for (int32_t& e : log_) e = -1;
    logCount_ = 0;
    group1Count_ = -1;
}

void TREParser::Raise(int code) {
    error_ = code;
    Reset();
    throw Exception(MessageText(code));
}

bool TREParser::Search(TEdStream* stream, bool forward) {
    error_ = reNone;
    errorPos_ = 0;
    matchStart_ = matchEnd_ = -1;
    steps_ = scanned_ = 0;
    stepLimit_ = kBaseSteps;
    Reset();
    try {
        if (!stream || program_.size() < 4 || program_[0] != kMagic) Fail(reInvalidParameter);
        stream_ = stream;
        size_ = static_cast<int32_t>(stream->Size());
        int32_t pos = stream->GetPosition();
        if (forward) {
            for (int32_t p = SkipTo(pos, true); p < size_; p = SkipTo(p + 1, true)) {
                stepLimit_ += kStepsPerTry;
                if (TryAt(p)) return true;
            }
        } else {
            if (pos >= size_) {
                if (size_ == 0) return false;
                pos = size_ - 1;
            }
            for (int32_t p = SkipTo(pos, false); p >= 0; p = SkipTo(p - 1, false)) {
                stepLimit_ += kStepsPerTry;
                if (TryAt(p)) return true;
            }
        }
    } catch (const TSearchError& e) {
        Raise(e.code);
    } catch (const std::bad_alloc&) {
        Raise(reOutOfMemory);
    }
    Reset();
    return false;
}

// The first position from pos on (or back from pos) where a match can start:
// one holding a character of the start set, or the text's start when a line
// start begins the pattern.
int32_t TREParser::SkipTo(int32_t pos, bool forward) {
    if (!skip_) return pos;
    if (start_.AtTextStart && pos == 0) return 0;
    if (forward) return SkipForward(pos);
    for (; pos > 0 && !startTable_[CharAt(pos)]; pos--) {
    }
    return pos;
}

// Forwards a line at a time through the stream's own nodes: to a start
// character whose follower (when there is one) can be a match's second.
int32_t TREParser::SkipForward(int32_t pos) {
    if (pos >= size_) return size_;
    stream_->MoveTo(pos);
    const TLineNode* node = stream_->Node();
    int32_t offset = stream_->Offset();
    for (; node && pos < size_; node = node->Next, offset = 0) {
        const uint8_t* text = reinterpret_cast<const uint8_t*>(node->Text);
        const int32_t len = node->Len;
        for (int32_t i = offset; i < len;) {
            if (startChar_ >= 0) {
                const void* hit = memchr(text + i, startChar_, static_cast<size_t>(len - i));
                if (!hit) break;
                i = static_cast<int32_t>(static_cast<const uint8_t*>(hit) - text);
            } else {
                i = ScanTable(text, i, len, startTable_);
                if (i >= len) break;
            }
            const int32_t at = pos + (i - offset);
            if (at >= size_) return size_;
            if (!useSecond_) return at;
            const TLineNode* after = i + 1 < len ? node : node->Next;
            const int32_t j = i + 1 < len ? i + 1 : 0;
            if (at + 1 >= size_ || !after || j >= after->Len ||
                secondTable_[static_cast<uint8_t>(after->Text[j])])
                return at;
            i++;
        }
        if (len > offset) pos += len - offset;
    }
    return pos < size_ ? pos : size_;
}

bool TREParser::InClass(int32_t node, uint8_t c) const {
    const uint8_t* bits = ClassOf(node);
    return (bits[c >> 3] >> (c & 7)) & 1;
}

// Characters from pos that the single-character node matches, read straight
// from the line nodes.
int32_t TREParser::RunLength(int32_t opNode, int32_t pos) {
    uint8_t op = program_[static_cast<size_t>(opNode)];
    uint8_t literal = program_[static_cast<size_t>(opNode) + 3];
    if (pos >= size_) return 0;
    stream_->MoveTo(pos);
    const TLineNode* node = stream_->Node();
    int32_t offset = stream_->Offset(), q = pos;
    for (bool stopped = false; node && !stopped && q < size_; node = node->Next, offset = 0) {
        const uint8_t* text = reinterpret_cast<const uint8_t*>(node->Text);
        int32_t i = offset;
        if (op == opAny) {
            const void* cr = memchr(text + offset, kCR, static_cast<size_t>(node->Len - offset));
            i = cr ? static_cast<int32_t>(static_cast<const uint8_t*>(cr) - text) : node->Len;
        } else {
            for (; i < node->Len; i++) {
                bool ok = op == opExactly ? text[i] == literal : InClass(opNode, text[i]) == (op == opAnyOf);
                if (!ok) break;
            }
        }
        q += i - offset;
        stopped = i < node->Len;
    }
    if (q > size_) q = size_;
    Scan(q - pos);
    return q - pos;
}

// The last position from hi down to lo holding c, or -1.
int32_t TREParser::FindBack(int32_t hi, int32_t lo, uint8_t c) {
    if (hi >= size_) hi = size_ - 1;
    if (hi < lo) return -1;
    stream_->MoveTo(hi);
    const TLineNode* node = stream_->Node();
    int32_t offset = stream_->Offset(), pos = hi;
    for (; node && pos >= lo; node = node->Prev, offset = node ? node->Len - 1 : 0) {
        for (int32_t i = offset; i >= 0 && pos >= lo; i--, pos--)
            if (static_cast<uint8_t>(node->Text[i]) == c) {
                Scan(hi - pos + 1);
                return pos;
            }
    }
    Scan(hi - lo + 1);
    return -1;
}

// Tries the next shorter run a STAR/PLUS can keep; when a literal follows the
// loop, only runs its first character follows.
bool TREParser::GiveBack(TChoice& choice, int32_t& pc, int32_t& pos) {
    int32_t least = program_[static_cast<size_t>(choice.node)] == opPlus ? 1 : 0;
    int32_t next = NextNode(choice.node);
    if (next < 0) Fail(reInvalidParameter);
    int follow = -1;
    if (program_[static_cast<size_t>(next)] == opExactly && program_[static_cast<size_t>(next) + 3])
        follow = program_[static_cast<size_t>(next) + 3];
    int32_t k = choice.taken - 1;
    if (follow >= 0 && k >= least) {
        int32_t at = FindBack(choice.pos + k, choice.pos + least, static_cast<uint8_t>(follow));
        k = at < 0 ? least - 1 : at - choice.pos;
    }
    if (k >= least) {
        Step();
        choice.taken = k;
        stack_.push_back(choice);
        pos = choice.pos + k;
        pc = next;
        return true;
    }
    return false;
}

// Resumes at the latest choice left; false when none is.
bool TREParser::Backtrack(int32_t& pc, int32_t& pos) {
    while (!stack_.empty()) {
        TChoice choice = stack_.back();
        stack_.pop_back();
        logCount_ = choice.count;
        group1Count_ = choice.group1;
        if (program_[static_cast<size_t>(choice.node)] == opBranch) {
            pc = choice.node;
            pos = choice.pos;
            return true;
        }
        if (GiveBack(choice, pc, pos)) return true;
    }
    return false;
}

// One match attempt at start, node by node, depth first, with an explicit
// stack of choices instead of recursion so no pattern can exhaust the call stack.
bool TREParser::TryAt(int32_t start) {
    logCount_ = 0;
    group1Count_ = -1;
    stack_.clear();
    int32_t pc = 1, pos = start;
    for (;;) {
        Step();
        uint8_t op = program_[static_cast<size_t>(pc)];
        if (op == opEnd) {
            for (int i = logCount_; i < kLogSize; i++) log_[i] = pos;
            matchStart_ = start;
            matchEnd_ = pos;
            return true;
        }
        int32_t next = NextNode(pc);
        if (op == opStar || op == opPlus) {
            int32_t run = RunLength(pc + 3, pos);
            Log(pos);
            TChoice choice{pc, pos, logCount_, group1Count_, run + 1};
            if (GiveBack(choice, pc, pos)) continue;
        } else if (op == opBranch) {
            // Alternatives that cannot start with the character here are
            // passed over (the text's first and last positions are left to
            // the nodes: a line start or end matches there without one).
            int32_t b = pc;
            if (pos > 0 && pos < size_) {
                uint8_t c = CharAt(pos);
                while (b >= 0 && !AltAdmits(b, c)) {
                    int32_t n = NextNode(b);
                    b = n >= 0 && program_[static_cast<size_t>(n)] == opBranch ? n : -1;
                }
            }
            if (b >= 0) {
                int32_t n = NextNode(b);
                if (n >= 0 && program_[static_cast<size_t>(n)] == opBranch)
                    stack_.push_back(TChoice{n, pos, logCount_, group1Count_, 0});
                pc = b + 3;
                continue;
            }
        } else if (MatchNode(pc, pos)) {
            if (next < 0) Fail(reInvalidParameter);
            pc = next;
            continue;
        }
        if (!Backtrack(pc, pos)) return false;
    }
}

// A node that consumes characters or marks a group; false when it fails here.
bool TREParser::MatchNode(int32_t pc, int32_t& pos) {
    uint8_t op = program_[static_cast<size_t>(pc)];
    switch (op) {
    case opBol:  // a line break, or the start of line 1
        if (pos < size_ && CharAt(pos) == kCR) pos++;
        else return pos == 0;
        return true;
    case opEol:  // a line break, or the end of the last line
        if (pos < size_ && CharAt(pos) == kCR) pos++;
        else return pos == size_;
        return true;
    case opAny:
    case opAnyOf:
    case opAnyBut: {
        uint8_t c = CharAt(pos);
        if (pos >= size_ || !(op == opAny ? c != kCR : InClass(pc, c) == (op == opAnyOf))) return false;
        Log(pos);
        pos++;
        return true;
    }
    case opExactly: {
        int32_t q = pos;
        for (size_t i = static_cast<size_t>(pc) + 3; program_[i]; i++, q++)
            if (q >= size_ || CharAt(q) != program_[i]) {
                Scan(q - pos);
                return false;
            }
        Scan(q - pos);
        Log(pos);
        pos = q;
        return true;
    }
    case opNothing:
    case opBack:
        return true;
    default:
        break;
    }
    if (op == opOpen + 1) {
        // Group 1 is one log entry as a whole.
        Log(pos);
        group1Count_ = logCount_;
    } else if (op == opClose + 1) {
        if (group1Count_ >= 0) logCount_ = group1Count_;
    } else if (!(op > opOpen && op <= opOpen + kMaxGroups) && !(op > opClose && op <= opClose + kMaxGroups)) {
        Fail(reInvalidParameter);
    }
    return true;
}
