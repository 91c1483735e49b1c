// The editor's search flags (wParam of SMM_FIND and SMM_FINDDIALOG) and the
// texts its find and replace commands show. No platform headers.
#pragma once

#include <cstdint>
#include <string>

class TREParser;

const uint32_t sfFindAtOnce = 0x08;  // SMM_FIND: search now; without it the find dialog opens
const uint32_t sfMatchCase = 0x10;
const uint32_t sfRegExpr = 0x20;
const uint32_t sfWholeWord = 0x40;
const uint32_t sfBackward = 0x80;

struct TSearchOptions {
    bool FindAtOnce = false;
    bool MatchCase = false;
    bool RegExpr = false;
    bool WholeWord = false;
    bool Backward = false;

    static TSearchOptions FromFlags(uint32_t flags);
    uint32_t Flags() const;
};

// Search string "text" not found.
std::string SearchFailText(const std::string& searchString);
// The question asked before each confirmed replacement.
std::string ReplaceQuestionText(const std::string& findText, const std::string& replacement);
// The error text, the pattern, and a caret under the failing place (no caret
// line for errors that arose while matching).
std::string RegExprErrorText(const TREParser& parser, const std::string& pattern);
