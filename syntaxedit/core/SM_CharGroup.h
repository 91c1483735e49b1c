// Character sets of the highlighter: one set (TSM_CharGroup), the store that
// interns them by value (TSM_CharGroupManager) and the parser of the one-set
// specifier strings of a scheme. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SM_Base.h"
#include "SyntaxMemoTypes.h"

class TSM_CharGroup : public TSM_Base {
public:
    struct Range {
        uint16_t Low, High;
        bool operator==(const Range& o) const { return Low == o.Low && High == o.High; }
    };

    TSM_CharGroup() { Clear(); }
    void Clear();
    void AddRange(uint8_t low, uint8_t high);
    void AddChar(uint8_t c) { AddRange(c, c); }
    void AddSet(const TCharSet& set);
    bool Contains(uint8_t c) const { return Chars.Has(c) != (Negated != 0); }
    bool IsEmpty() const { return Chars.Empty() && Ranges.empty(); }
    bool Equals(const TSM_CharGroup& other) const;

    // 32 bytes Chars, int range count, byte Negated, then the ranges as words.
    void SaveToStream(TStream& s) const override;
    // Ranges beyond character 255 or upside down are refused (ESyntaxMemo).
    void LoadFromStream(TStream& s) override;

    TCharSet Chars;
    uint8_t Negated = 0;
    uint8_t Low = 255;   // lowest character ever added
    uint8_t High = 0;    // highest character ever added
    std::vector<Range> Ranges;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TSM_CharGroup); }
};

class TSM_CharGroupManager : public TSM_Base {
public:
    // Index of the first equal group held, else of a copy appended.
    int32_t Intern(const TSM_CharGroup& group);
    // ESyntaxMemo "Invalid Set ID (%d)" for an id outside 0..Count-1.
    TSM_CharGroup& Get(int32_t id) const;
    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    void Clear() { Items.clear(); }
    void Swap(TSM_CharGroupManager& o) { Items.swap(o.Items); }

    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;

    std::vector<std::unique_ptr<TSM_CharGroup>> Items;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override {
        return std::unique_ptr<TSM_Base>(new TSM_CharGroupManager);
    }
};

// Clears group, parses ONE specifier of text from the 1-based position and
// returns the position just after it. A specifier is a character, a range
// "a-z", or a bracket set "[...]" ("[^...]" negated); backslash escapes give
// octal codes, \b \e \n(13) \r(10) \s \t, and \x hexadecimal codes.
// Exception "Characters not in correct order for range specifier".
int ParseCharSpec(const std::string& text, int position, TSM_CharGroup& group);
