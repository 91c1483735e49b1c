#include "SearchOptions.h"

#include "REParser.h"

TSearchOptions TSearchOptions::FromFlags(uint32_t flags) {
    TSearchOptions o;
    o.FindAtOnce = (flags & sfFindAtOnce) != 0;
    o.MatchCase = (flags & sfMatchCase) != 0;
    o.RegExpr = (flags & sfRegExpr) != 0;
    o.WholeWord = (flags & sfWholeWord) != 0;
    o.Backward = (flags & sfBackward) != 0;
    return o;
}

uint32_t TSearchOptions::Flags() const {
    return (FindAtOnce ? sfFindAtOnce : 0) | (MatchCase ? sfMatchCase : 0) | (RegExpr ? sfRegExpr : 0) |
           (WholeWord ? sfWholeWord : 0) | (Backward ? sfBackward : 0);
}

std::string SearchFailText(const std::string& searchString) {
    return "Search string \"" + searchString + "\" not found.";
}

std::string ReplaceQuestionText(const std::string& findText, const std::string& replacement) {
    return "Replace this occurence of '" + findText + "' with '" + replacement + "' ?";
}

std::string RegExprErrorText(const TREParser& parser, const std::string& pattern) {
    std::string text = parser.ErrorMessage() + "\n" + pattern;
    if (parser.ErrorPosition() > 0)
        text += "\n" + std::string(static_cast<size_t>(parser.ErrorPosition() - 1), ' ') + "^";
    return text;
}
