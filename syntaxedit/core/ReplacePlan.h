// Replace all, planned before anything changes: every occurrence is found in
// the text as it stands, so a replacement that contains the searched text is
// never found again. The control then applies the items in order inside one
// undo group. Also the replace template of regular-expression replacements.
// No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EdStream.h"
#include "PlainSearch.h"
#include "REParser.h"

struct TReplaceItem {
    int32_t Start = 0;   // in the text before any replacement
    int32_t Length = 0;
    std::string Text;
    int32_t At = 0;      // where it starts when its turn comes, after the items before it
};

class TReplacePlan {
public:
    enum TResult { rpPlanned, rpNotFound, rpBadPattern, rpSearchError };

    // In the order they are applied.
    std::vector<TReplaceItem> Items;

    // Every match from the stream's position in the direction given, up to the
    // first empty one; each replacement built from the template. Backwards, a
    // match that reaches into the one after it, or past the stream's starting
    // position, is passed over. rpBadPattern:
    // the pattern does not compile; rpSearchError: matching failed (the parser
    // keeps the error) and nothing is planned.
    TResult PlanRegExpr(TREParser& parser, const std::string& pattern, TEdStream& stream, bool forward,
                        const std::string& replaceTemplate);
    // Every occurrence of text from `from` to the end, each search going on
    // after the previous occurrence.
    TResult PlanPlain(TEdStream& stream, TSearchTables& tables, const TWordTests* words, const std::string& text,
                      bool wholeWord, bool matchCase, int32_t from, const std::string& replacement);

    // Where the caret ends: the last replacement's start, or -1.
    int32_t CaretAfter() const { return Items.empty() ? -1 : Items.back().At; }

    // The replacement for the parser's last match: "%%" and a trailing "%" give
    // "%", "%N" (1..255) the text between log entries N-1 and N, "%" before
    // anything else that character; backslash escapes as in patterns. An octal
    // code of 0 or above 255, or "\x" without a digit, ends the text there.
    static std::string ExpandTemplate(const std::string& replaceTemplate, const TREParser& parser,
                                      TEdStream& stream);

private:
    void Add(int32_t start, int32_t length, std::string text, bool forward);
};
