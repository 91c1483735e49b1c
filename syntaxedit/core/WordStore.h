// A case-insensitive character trie of the scheme lexer: macro names to their
// replacement text, and keywords and punctuation to token codes.
// No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct TWordNode {
    uint8_t Ch = 0;  // lower-cased
    TWordNode* Sibling = nullptr;
    TWordNode* Child = nullptr;
    bool IsWordEnd = false;
    int32_t Value = -1;
    std::unique_ptr<std::string> Text;
};

class TWordStore {
public:
    TWordStore() = default;
    ~TWordStore();
    TWordStore(const TWordStore&) = delete;
    TWordStore& operator=(const TWordStore&) = delete;

    // Adding a stored word again replaces its text or value.
    void AddText(const std::string& word, const std::string& text);
    void AddValue(const std::string& word, int32_t value);
    // The text of exactly this word (any case), or null.
    const std::string* FindText(const std::string& word) const;
    bool Contains(const std::string& word) const;
    // The value of the longest word at text[pos] that does not end inside an
    // identifier (letters, digits, "_"); pos moves past it. -1 and pos kept
    // when none.
    int32_t MatchLongest(const std::string& text, size_t& pos) const;

    TWordNode* Root = nullptr;
    TWordNode* Index[256] = {};

private:
    TWordNode* Find(const std::string& word) const;
    TWordNode* Insert(const std::string& word);
    static void FreeList(TWordNode* n);
};

inline bool IsIdentChar(uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
inline bool IsIdentStart(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
