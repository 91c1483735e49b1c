// Turns a pattern into TREParser's node program: a magic byte, then nodes of
// an opcode and a 16-bit offset to the next node (high byte first), EXACTLY,
// ANYOF and ANYBUT followed by a zero-terminated operand. Two passes: the first
// only sizes the program, so an oversized one is refused before it is built.
// No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TRECompiler {
public:
    // reNoErrors and the program, or the error and its 1-based place.
    int Compile(const std::string& pattern, std::vector<uint8_t>& program, int& errorPos);

    // The node after p (-1 for none); BACK nodes point backwards.
    static int32_t NextNode(const std::vector<uint8_t>& prog, int32_t p);

private:
    enum TFlags { fWidth = 1, fSimple = 2, fStartsWithRepeat = 4 };
    struct TError {
        int code;
    };

    [[noreturn]] void Fail(int code);
    uint8_t Peek() const;
    bool AtEnd() const { return Peek() == 0; }
    void Pass();

    int32_t Reg(bool paren, int& flags);
    int32_t Branch(int& flags);
    int32_t Piece(int& flags);
    int32_t Atom(int& flags);
    int32_t ClassAtom();
    int32_t QuotedAtom(int& flags);
    uint8_t Escape();
    uint8_t ClassChar();

    int32_t Node(uint8_t op);
    void Byte(uint8_t b);
    void Insert(uint8_t op, int32_t at);
    void Tail(int32_t p, int32_t val);
    void OpTail(int32_t p, int32_t val);

    const std::string* pattern_ = nullptr;
    size_t pos_ = 0;
    bool emit_ = false;
    int32_t size_ = 0;
    int groups_ = 0;
    std::vector<uint8_t> prog_;
};
