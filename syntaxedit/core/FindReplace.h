// Find next, replace with confirmation and replace all, over a small editor
// seam so the logic runs without a window. The search text is used whole:
// nothing is cut to a fixed length. No platform headers.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

#include "EdStream.h"
#include "PlainSearch.h"
#include "REParser.h"
#include "SearchOptions.h"
#include "ui/core/Prompter.h"

// What the editor control offers the find and replace driver.
class TSearchEditor {
public:
    virtual ~TSearchEditor() = default;
    // The text searched; edits go through ReplaceRange only.
    virtual TTextStore& Store() = 0;
    // Anchor and caret; start may lie after end.
    virtual void GetSelection(int32_t& start, int32_t& end) = 0;
    virtual void SetSelection(int32_t start, int32_t end) = 0;
    // Replaces [start, end) with text as one edit.
    virtual void ReplaceRange(int32_t start, int32_t end, const std::string& text) = 0;
    // Edits between these undo as one step.
    virtual void BeginUndoGroup(int group) = 0;
    virtual void EndUndoGroup() = 0;
    // True when the control reported the failure itself (OnSearchFail);
    // false lets the driver show the "not found." box.
    virtual bool SearchFailHandled(const std::string& searchString) = 0;
    // Word tests for whole-word search; null for the defaults.
    virtual const TWordTests* WordTests() { return nullptr; }
    // The change notice after a find.
    virtual void Changed() {}
    virtual void Beep() {}
};

// What a find or replace dialog asks for.
struct TFindRequest {
    std::string Text;
    std::string ReplaceText;
    bool Down = true;
    bool MatchCase = false;
    bool WholeWord = false;
    bool RegExpr = false;
    // Replace: move to the next occurrence before replacing.
    bool FindNextFirst = false;
};

// The confirmation box's answers: Yes, No, Cancel (platform numbers) and All
// (the window layer's mrAll).
const int idFindYes = 6;
const int idFindNo = 7;
const int idFindCancel = 2;
const int idFindAll = 8;
// MB_YESNOCANCEL | MB_ICONQUESTION.
const unsigned mbReplaceQuestion = 0x03 | 0x20;
// Undo group of a replace-all run.
const int ugReplaceAll = 20;

class TFindReplace {
public:
    enum TReplaceResult { rrDone, rrNotFound, rrCancelled, rrError };

    TFindReplace(TSearchEditor& editor, TPrompter& prompter);

    // SMM_FIND with sfFindAtOnce: the match start or -1. A regular-expression
    // match is selected; a plain one is not.
    int32_t FindDirect(uint32_t flags, const std::string& text);
    // The text a find or replace dialog opens with; forgets the last match.
    std::string DialogText(uint32_t flags, const std::string& given);
    // The dialogs' find next; true when a match was selected.
    bool FindNext(const TFindRequest& request);
    // The replace dialog's replace (all = false: each occurrence confirmed).
    TReplaceResult Replace(const TFindRequest& request, bool all);

    TREParser& Parser() { return parser_; }
    int32_t LastMatch() const { return lastMatch_; }
    const std::string& LastSearch() const { return lastSearch_; }

private:
    // Start of the next match from pos, or -1; length in len. Error: -2.
    // Backwards, a regular-expression match must end at or before limit.
    int32_t Locate(const TFindRequest& r, int32_t pos, int32_t& len, std::string* replacement,
                   int32_t limit = INT32_MAX);
    // Where a confirmed run searches on after the occurrence at m, len long
    // (replaced, or passed over).
    static int32_t NextFrom(const TFindRequest& r, int32_t m, int32_t len);
    TReplaceResult ReplaceAll(const TFindRequest& r, int32_t from);
    TReplaceResult ReplaceConfirmed(const TFindRequest& r, int32_t pos);
    void ReportFail(const std::string& text);
    void ReportRegExprError(const std::string& pattern);
    int32_t TextSize();
    void Ordered(int32_t& start, int32_t& end);

    TSearchEditor& editor_;
    TPrompter& prompter_;
    TEdStream stream_;
    TREParser parser_;
    TSearchTables tables_;
    int32_t lastMatch_ = -1;
    std::string lastSearch_;
    bool lastRegExpr_ = false;
};
