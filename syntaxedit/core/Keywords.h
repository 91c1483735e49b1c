// Keyword tables: a character tree with a first-character index that finds the
// longest stored word at a text position (forwards, or backwards for the
// completion aids) valid in the scanner's current states. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "EdStream.h"
#include "SM_Base.h"
#include "SM_CharGroup.h"

struct KeywordEntry {
    TStateSet States;         // states in which the word is valid
    int32_t FollowGroup = 0;  // index into CharGroups
    intptr_t Data = 0;        // caller's value or reference
    KeywordEntry* Next = nullptr;
};

struct KeywordNode {
    uint8_t Ch = 0;
    KeywordNode* Next = nullptr;     // next node of the same sibling list
    KeywordNode* Child = nullptr;    // characters that may follow
    KeywordEntry* Entries = nullptr; // words ending here, in order of addition
    TStateSet States;                // union of the states of the words through here
};

class TKeywords : public TSM_Base {
public:
    TKeywords();
    ~TKeywords() override;
    TKeywords(const TKeywords&) = delete;
    TKeywords& operator=(const TKeywords&) = delete;

    // Frees every node and entry (each entry's data to OnDeleteData) and every
    // character group, index 0 included.
    void Clear();
    int32_t AddCharGroup(const TSM_CharGroup& group) { return CharGroups.Intern(group); }
    // Stores word (lower-cased when not case-sensitive). EKeywords "Duplicate
    // keyword - '%s'" when the word is stored already in a state of states.
    virtual void AddKeyword(const std::string& word, bool caseSensitive, intptr_t data, const TStateSet& states,
                            const TSM_CharGroup& followGroup);
    // The entry of the longest word at the stream's position, or null (the
    // stream then stands one character on, length 1). Backwards (forward false)
    // the word is read from right to left and length is startPos - the end.
    virtual KeywordEntry* MatchKeyword(TEdStream& stream, bool caseSensitive, int32_t& length, int32_t& startPos,
                                       int32_t& startOffset, bool forward);
    // The node of the longest stored prefix of word (null when even its first
    // character is unknown); followed counts the characters followed.
    KeywordNode* FindPrefix(const std::string& word, int32_t& followed, bool caseSensitive) const;

    bool CaseSensitive = false;
    TSM_CharGroupManager CharGroups;
    KeywordNode* Root = nullptr;
    KeywordNode* FirstChar[256] = {};
    std::function<void(intptr_t)> OnDeleteData;
    TStateSet ActiveStates;  // the states in which recognition is on

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TKeywords); }
    // Exchanges the stored words with another table's (not ActiveStates or events).
    void SwapTree(TKeywords& o);
};
