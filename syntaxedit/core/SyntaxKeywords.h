// The highlighter's keyword table: TKeywords plus the end styles of the words
// as added, and the stream form of the compiled scheme. No platform headers.
#pragma once

#include "Keywords.h"
#include "StringList.h"

class TEndStyleObject : public TObject {
public:
    TSM_CharGroup Group;
    TStateSet States;
    int32_t Value = 0;
};

class TSyntaxKeywords : public TKeywords {
public:
    TSyntaxKeywords();
    ~TSyntaxKeywords() override;

    void ClearEndStyles();
    // The end style is listed only once the word went into the tree; an
    // empty word is skipped.
    void AddKeyword(const std::string& word, bool caseSensitive, intptr_t data, const TStateSet& states,
                    const TSM_CharGroup& followGroup) override;

    // int case flag, int count, per end style: short string word, its group,
    // 32-byte states, int value; then an empty short string.
    void SaveToStream(TStream& s) const override;
    // Loads into a fresh table and takes it over only when the whole stream
    // was good, so a failed load leaves this table as it was.
    void LoadFromStream(TStream& s) override;

    TStringList EndStyles;  // words as added; objects are their TEndStyleObject

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override {
        return std::unique_ptr<TSM_Base>(new TSyntaxKeywords);
    }
};
