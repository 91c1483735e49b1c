#include "RECompiler.h"

#include <cctype>
#include <new>

#include "REParser.h"

namespace {

using Op = TREParser::TOpcode;

bool IsRepeat(uint8_t c) { return c == '*' || c == '+' || c == '?'; }

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int TRECompiler::Compile(const std::string& pattern, std::vector<uint8_t>& program, int& errorPos) {
    program.clear();
    errorPos = 0;
    pattern_ = &pattern;
    if (pattern.empty()) {
        errorPos = 1;
        return reInvalidParameter;
    }
    try {
        emit_ = false;
        size_ = 0;
        Pass();
        if (size_ > TREParser::kMaxProgram) {
            errorPos = 1;
            return reTooComplex;
        }
        emit_ = true;
        Pass();
    } catch (const TError& e) {
        errorPos = static_cast<int>(pos_) + 1;
        prog_.clear();
        return e.code;
    } catch (const std::bad_alloc&) {
        errorPos = static_cast<int>(pos_) + 1;
        prog_.clear();
        return reOutOfMemory;
    }
    program.swap(prog_);
    prog_.clear();
    return reNoErrors;
}

int32_t TRECompiler::NextNode(const std::vector<uint8_t>& prog, int32_t p) {
    if (p < 0 || static_cast<size_t>(p) + 3 > prog.size()) return -1;
    int32_t offset = (prog[static_cast<size_t>(p) + 1] << 8) | prog[static_cast<size_t>(p) + 2];
    if (offset == 0) return -1;
    return prog[static_cast<size_t>(p)] == Op::opBack ? p - offset : p + offset;
}

void TRECompiler::Fail(int code) { throw TError{code}; }

// A NUL ends the pattern as the end does; what follows it is then left over.
uint8_t TRECompiler::Peek() const {
    return pos_ < pattern_->size() ? static_cast<uint8_t>((*pattern_)[pos_]) : 0;
}

void TRECompiler::Pass() {
    pos_ = 0;
    groups_ = 0;
    prog_.clear();
    if (emit_) prog_.push_back(TREParser::kMagic);
    int flags = 0;
    Reg(false, flags);
}

// An expression: alternatives, optionally in a group, ending in CLOSE or END.
int32_t TRECompiler::Reg(bool paren, int& flags) {
    flags = fWidth;
    int32_t ret = -1;
    int group = 0;
    if (paren) {
        if (groups_ >= TREParser::kMaxGroups) Fail(reTooManySubexpressions);
        group = ++groups_;
        ret = Node(static_cast<uint8_t>(Op::opOpen + group));
    }
    for (bool first = true;; first = false) {
        if (!first) pos_++;  // the '|'
        int branchFlags = 0;
        int32_t br = Branch(branchFlags);
        if (ret < 0) ret = br;
        else Tail(ret, br);
        if (!(branchFlags & fWidth)) flags &= ~fWidth;
        flags |= branchFlags & fStartsWithRepeat;
        if (Peek() != '|') break;
    }
    int32_t ender = Node(paren ? static_cast<uint8_t>(Op::opClose + group) : static_cast<uint8_t>(Op::opEnd));
    Tail(ret, ender);
    if (emit_)
        for (int32_t br = ret; br >= 0; br = NextNode(prog_, br)) OpTail(br, ender);
    if (paren) {
        if (Peek() != ')') Fail(reUnmatchedParenthesis);
        pos_++;
    } else if (pos_ < pattern_->size()) {
        if (Peek() == ')') Fail(reUnmatchedParenthesis);
        Fail(reInternal);
    }
    return ret;
}

// One alternative: a BRANCH node and a chain of pieces (NOTHING when empty).
int32_t TRECompiler::Branch(int& flags) {
    flags = 0;
    int32_t ret = Node(Op::opBranch);
    int32_t chain = -1;
    for (uint8_t c = Peek(); c != 0 && c != '|' && c != ')'; c = Peek()) {
        int pieceFlags = 0;
        int32_t latest = Piece(pieceFlags);
        flags |= pieceFlags & fWidth;
        if (chain < 0) flags |= pieceFlags & fStartsWithRepeat;
        else Tail(chain, latest);
        chain = latest;
    }
    if (chain < 0) Node(Op::opNothing);
    return ret;
}

// An atom with an optional repeat. Single-character atoms repeat through STAR
// and PLUS; others through BRANCH loops back to the atom.
int32_t TRECompiler::Piece(int& flags) {
    int atomFlags = 0;
    int32_t ret = Atom(atomFlags);
    uint8_t op = Peek();
    if (!IsRepeat(op)) {
        flags = atomFlags;
        return ret;
    }
    if (!(atomFlags & fWidth) && op != '?') Fail(reInvalidRepeat);
    flags = op != '+' ? fStartsWithRepeat : (fWidth | fStartsWithRepeat);
    if (op == '*' && (atomFlags & fSimple)) {
        Insert(Op::opStar, ret);
    } else if (op == '*') {
        // x* : a branch offering x, which loops back, or nothing.
        Insert(Op::opBranch, ret);
        OpTail(ret, Node(Op::opBack));
        OpTail(ret, ret);
        Tail(ret, Node(Op::opBranch));
        Tail(ret, Node(Op::opNothing));
    } else if (op == '+' && (atomFlags & fSimple)) {
        Insert(Op::opPlus, ret);
    } else if (op == '+') {
        // x+ : x, then a branch that loops back to x or goes on.
        int32_t next = Node(Op::opBranch);
        Tail(ret, next);
        Tail(Node(Op::opBack), ret);
        Tail(next, Node(Op::opBranch));
        Tail(ret, Node(Op::opNothing));
    } else {
        // x? : a branch offering x or nothing.
        Insert(Op::opBranch, ret);
        Tail(ret, Node(Op::opBranch));
        int32_t next = Node(Op::opNothing);
        Tail(ret, next);
        OpTail(ret, next);
    }
    pos_++;
    if (IsRepeat(Peek())) Fail(reNestedRepeat);
    return ret;
}

int32_t TRECompiler::Atom(int& flags) {
    flags = 0;
    uint8_t c = Peek();
    switch (c) {
    case '^':
        pos_++;
        return Node(Op::opBol);
    case '$':
        pos_++;
        return Node(Op::opEol);
    case '.':
        pos_++;
        flags = fWidth | fSimple;
        return Node(Op::opAny);
    case '[':
        pos_++;
        flags = fWidth | fSimple;
        return ClassAtom();
    case '(': {
        pos_++;
        int groupFlags = 0;
        int32_t ret = Reg(true, groupFlags);
        flags = groupFlags & (fWidth | fStartsWithRepeat);
        return ret;
    }
    case '"':
        pos_++;
        return QuotedAtom(flags);
    case 0:
    case '|':
    case ')':
        Fail(reInternal);  // Branch stops before these
    case '*':
    case '+':
    case '?':
        Fail(reInvalidRepeat);
    default:
        break;
    }
    pos_++;
    if (c == '\\') c = Escape();
    int32_t ret = Node(Op::opExactly);
    Byte(c);
    Byte(0);
    flags = fWidth | fSimple;
    return ret;
}

// [set] or [^set]: characters and ranges, stored as the zero-terminated list
// of the member characters.
int32_t TRECompiler::ClassAtom() {
    bool negate = Peek() == '^';
    if (negate) pos_++;
    bool member[256] = {};
    for (bool first = true;; first = false) {
        uint8_t c = Peek();
        if (c == 0 || (first && c == ']')) Fail(reUnmatchedBracket);
        if (c == ']') break;
        uint8_t lo = ClassChar();
        uint8_t hi = lo;
        if (Peek() == '-') {
            pos_++;
            if (Peek() == 0 || Peek() == ']') Fail(reInvalidRange);
            hi = ClassChar();
            if (hi < lo) Fail(reInvalidRange);
        }
        for (int x = lo; x <= hi; x++) member[x] = true;
    }
    pos_++;  // the ']'
    int32_t ret = Node(negate ? Op::opAnyBut : Op::opAnyOf);
    for (int x = 1; x < 256; x++)
        if (member[x]) Byte(static_cast<uint8_t>(x));
    Byte(0);
    return ret;
}

// "text": a literal string (escapes allowed) as one EXACTLY node.
int32_t TRECompiler::QuotedAtom(int& flags) {
    std::string text;
    for (;;) {
        uint8_t c = Peek();
        if (c == 0) Fail(reQuoteExpected);
        pos_++;
        if (c == '"') break;
        text += static_cast<char>(c == '\\' ? Escape() : c);
    }
    int32_t ret = Node(Op::opExactly);
    for (char ch : text) Byte(static_cast<uint8_t>(ch));
    Byte(0);
    flags = text.empty() ? 0 : text.size() == 1 ? (fWidth | fSimple) : fWidth;
    return ret;
}

uint8_t TRECompiler::ClassChar() {
    uint8_t c = Peek();
    pos_++;
    return c == '\\' ? Escape() : c;
}

// The character after a backslash (already read). Code 0 would end the
// zero-terminated operand early, so it is refused like an octal code above 255.
uint8_t TRECompiler::Escape() {
    uint8_t c = Peek();
    if (c == 0) Fail(reUnexpectedEnd);
    if (c >= '0' && c <= '7') {
        int v = 0;
        for (int i = 0; i < 3 && Peek() >= '0' && Peek() <= '7'; i++, pos_++) v = v * 8 + (Peek() - '0');
        if (v == 0 || v > 255) Fail(reInvalidRange);
        return static_cast<uint8_t>(v);
    }
    pos_++;
    switch (std::tolower(c)) {
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 13;  // the editor's line end
    case 'r': return 10;
    case 's': return 32;
    case 't': return 9;
    case 'x': {
        int v = 0, digits = 0;
        for (; digits < 2 && HexValue(Peek()) >= 0; digits++, pos_++) v = v * 16 + HexValue(Peek());
        if (digits == 0) Fail(reHexDigitExpected);
        if (v == 0) Fail(reInvalidRange);
        return static_cast<uint8_t>(v);
    }
    default:
        return c;
    }
}

int32_t TRECompiler::Node(uint8_t op) {
    if (!emit_) {
        int32_t ret = size_ + 1;
        size_ += 3;
        return ret;
    }
    int32_t ret = static_cast<int32_t>(prog_.size());
    prog_.push_back(op);
    prog_.push_back(0);
    prog_.push_back(0);
    return ret;
}

void TRECompiler::Byte(uint8_t b) {
    if (!emit_) size_++;
    else prog_.push_back(b);
}

// Puts a node in front of the operand at `at`, moving it up three bytes.
void TRECompiler::Insert(uint8_t op, int32_t at) {
    if (!emit_) {
        size_ += 3;
        return;
    }
    const uint8_t node[3] = {op, 0, 0};
    prog_.insert(prog_.begin() + at, node, node + 3);
}

// Points the last node of the chain starting at p to val.
void TRECompiler::Tail(int32_t p, int32_t val) {
    if (!emit_ || p < 0) return;
    int32_t scan = p;
    for (int32_t next = NextNode(prog_, scan); next >= 0; next = NextNode(prog_, scan)) scan = next;
    int32_t offset = prog_[static_cast<size_t>(scan)] == Op::opBack ? scan - val : val - scan;
    prog_[static_cast<size_t>(scan) + 1] = static_cast<uint8_t>((offset >> 8) & 0xFF);
    prog_[static_cast<size_t>(scan) + 2] = static_cast<uint8_t>(offset & 0xFF);
}

// Tail of the operand of a BRANCH node; other nodes have none.
void TRECompiler::OpTail(int32_t p, int32_t val) {
    if (!emit_ || p < 0 || prog_[static_cast<size_t>(p)] != Op::opBranch) return;
    Tail(p + 3, val);
}
