// One search mask (a property template): its name, its values (keywords or
// patterns of the engine's mask language), its parent and its settings, and
// its two text forms: the mask string and the mask file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/MaskTokenReader.h"

class LineReader;
class LineWriter;

class SearchMask {
public:
    std::string MaskName;
    std::string DependOn;        // "" when the mask has no parent
    int32_t MaskType = 0;        // 0 text, 1 link, 2 address, 3 system generated
    int32_t DependType = 0;      // 0 none, 1 after the parent's values, 2 inside them
    int32_t BrowserType = 0;     // 0 list, 1 browser, 2 with the parent only
    int32_t Priority = 0;
    int32_t MaxFoundCount = 0;   // negative: no limit
    bool CanCompile = false;
    bool Hidden = false;
    bool SortAt = false;         // run-time marker, set by MaskCollection only

    void AddValue(const std::string& value) { values_.push_back(value); }
    int32_t ValueCount() const { return static_cast<int32_t>(values_.size()); }
    int32_t GetValueCount() const { return ValueCount(); }
    // 1-based; std::out_of_range outside 1 to ValueCount.
    const std::string& GetValue(int32_t i) const;
    const std::string& MaskValue(int32_t i) const { return GetValue(i); }
    void ClearValues() { values_.clear(); }
    const std::vector<std::string>& Values() const { return values_; }

    // 0-based index of the first character of text equal to ch, -1 when none
    // (only a single-character ch can match).
    static int32_t FoundChar(const std::string& text, const std::string& ch);

    // The token operations, shared with the window's state string.
    static void PutInt(int32_t value, std::string& text) { ::PutInt(value, text); }
    static int16_t GetInt(std::string& text) { return ::GetInt(text); }
    static void PutString(const std::string& value, std::string& text) { ::PutString(value, text); }
    static std::string GetString(std::string& text) { return ::GetString(text); }

    // The mask string of this mask (numbers cut to 16 bits).
    std::string PutMask() const;
    // Reads one mask string from the front of text into this mask (values
    // already held stay in front) and returns what is left; text loses the
    // mask string. Malformed text: MaskParseError, mask and text unchanged.
    std::string GetMask(std::string& text);
    // The same from a running reader; on failure the mask is unchanged.
    void GetMask(MaskTokenReader& reader);

    // False, writing nothing, when a name or a value holds a line break:
    // the file keeps one value a line and could not give it back.
    bool FitsMaskFile() const;
    bool SaveMask(LineWriter& file) const;
    // Reads a mask file written by SaveMask. A malformed number, a number
    // beyond 32 bits or a file that ends early: MaskParseError, mask unchanged.
    bool LoadMask(LineReader& file);

private:
    std::vector<std::string> values_;
};
