#include "REStartSet.h"

#include "RECompiler.h"
#include "REParser.h"

namespace {

using Op = TREParser::TOpcode;
const uint8_t kLineBreak = 13;

bool PassesThrough(uint8_t op) {
    return op == Op::opNothing || op == Op::opBack || (op > Op::opOpen && op <= Op::opOpen + TREParser::kMaxGroups) ||
           (op > Op::opClose && op <= Op::opClose + TREParser::kMaxGroups);
}

void MergeStart(TREStart& into, const TREStart& s) {
    for (int i = 0; i < 32; i++) into.Bits[i] |= s.Bits[i];
    into.MatchesEmpty = into.MatchesEmpty || s.MatchesEmpty;
    into.AtTextStart = into.AtTextStart || s.AtTextStart;
}

}  // namespace

int TREStart::Count() const {
    int n = 0;
    for (uint8_t b : Bits)
        for (; b; b &= static_cast<uint8_t>(b - 1)) n++;
    return n;
}

TREStartSets::TREStartSets(const std::vector<uint8_t>& program)
    : prog_(program), index_{std::vector<int32_t>(program.size(), -1), std::vector<int32_t>(program.size(), -1)} {}

TREStart TREStartSets::Everything() {
    TREStart s;
    for (uint8_t& b : s.Bits) b = 0xFF;
    s.MatchesEmpty = s.AtTextStart = true;
    return s;
}

const TREStart* TREStartSets::Known(int32_t p) const {
    const std::vector<int32_t>& index = index_[0];
    if (p < 0 || static_cast<size_t>(p) >= index.size() || index[static_cast<size_t>(p)] < 0) return nullptr;
    return &sets_[static_cast<size_t>(index[static_cast<size_t>(p)])];
}

TREStart TREStartSets::From(int32_t p) { return Memo(p, false); }
TREStart TREStartSets::SecondFrom(int32_t p) { return Memo(p, true); }

TREStart TREStartSets::Memo(int32_t p, bool second) {
    std::vector<int32_t>& index = index_[second ? 1 : 0];
    if (p < 1 || static_cast<size_t>(p) >= index.size()) return Everything();
    if (index[static_cast<size_t>(p)] >= 0) return sets_[static_cast<size_t>(index[static_cast<size_t>(p)])];
    // Back here before taking a character: a loop of nothing; skip nothing.
    if (index[static_cast<size_t>(p)] == -2) return Everything();
    index[static_cast<size_t>(p)] = -2;
    TREStart s = Walk(p, second);
    if (second) s.AtTextStart = false;  // the second character is never at the start
    index[static_cast<size_t>(p)] = static_cast<int32_t>(sets_.size());
    sets_.push_back(s);
    return s;
}

// The characters a single-character node (ANY, ANYOF, ANYBUT, EXACTLY) takes.
void TREStartSets::AddNode(TREStart& s, int32_t p) const {
    uint8_t op = prog_[static_cast<size_t>(p)];
    if (op == Op::opExactly) {
        s.Add(prog_[static_cast<size_t>(p) + 3]);
        return;
    }
    bool member[256] = {};
    for (size_t q = static_cast<size_t>(p) + 3; q < prog_.size() && prog_[q]; q++) member[prog_[q]] = true;
    for (int c = 0; c < 256; c++) {
        bool takes = op == Op::opAny ? c != kLineBreak : member[c] == (op == Op::opAnyOf);
        if (takes) s.Add(static_cast<uint8_t>(c));
    }
}

// Node p takes the first character: adds what that character (or, for
// second, the one after it) can be. False for a node that takes none.
bool TREStartSets::Took(TREStart& s, int32_t p, int32_t next, bool second) {
    const size_t at = static_cast<size_t>(p);
    switch (prog_[at]) {
    case Op::opBol:  // a line break (at the text's start it takes none)
        if (!second) s.AtTextStart = true;
        // fall through
    case Op::opEol:  // a line break (the text's end starts no match)
        if (second) MergeStart(s, From(next));
        else s.Add(kLineBreak);
        return true;
    case Op::opAny:
    case Op::opAnyOf:
    case Op::opAnyBut:
        if (second) MergeStart(s, From(next));
        else AddNode(s, p);
        return true;
    case Op::opPlus:
    case Op::opStar:  // the runs that take at least one character
        AddNode(s, p + 3);
        if (second) MergeStart(s, From(next));
        return true;
    case Op::opExactly:
        if (!prog_[at + 3]) return false;
        if (!second) s.Add(prog_[at + 3]);
        else if (prog_[at + 4]) s.Add(prog_[at + 4]);
        else MergeStart(s, From(next));
        return true;
    default:
        return false;
    }
}

// Follows the nodes from p until one must take a character; every
// alternative of a choice is followed (through the rest of the program).
TREStart TREStartSets::Walk(int32_t p, bool second) {
    TREStart s;
    const int32_t size = static_cast<int32_t>(prog_.size());
    for (int32_t guard = 0; guard <= size; guard++) {
        if (p < 1 || p + 3 > size) return Everything();
        const uint8_t op = prog_[static_cast<size_t>(p)];
        const int32_t next = TRECompiler::NextNode(prog_, p);
        const bool operand = op == Op::opStar || op == Op::opPlus || op == Op::opExactly;
        if (operand && p + (op == Op::opExactly ? 5 : 6) > size) return Everything();
        if (op == Op::opEnd) {
            s.MatchesEmpty = true;
            return s;
        }
        if (op == Op::opBranch) {
            for (int32_t b = p; b >= 0;) {
                MergeStart(s, Memo(b + 3, second));
                int32_t n = TRECompiler::NextNode(prog_, b);
                b = n >= 0 && prog_[static_cast<size_t>(n)] == Op::opBranch ? n : -1;
            }
            return s;
        }
        if (Took(s, p, next, second)) {
            // A STAR may also take nothing: the walk goes on past it.
            if (op != Op::opStar) return s;
        } else if (op != Op::opExactly && !PassesThrough(op)) {
            return Everything();
        }
        p = next;
    }
    return Everything();
}
