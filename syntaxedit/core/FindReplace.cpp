#include "FindReplace.h"

#include "ReplacePlan.h"
#include "SysUtils.h"

namespace {
const unsigned kMbOk = 0x00;
const unsigned kMbIconError = 0x10;
const unsigned kMbIconInformation = 0x40;
}  // namespace

TFindReplace::TFindReplace(TSearchEditor& editor, TPrompter& prompter) : editor_(editor), prompter_(prompter) {}

int32_t TFindReplace::TextSize() {
    stream_.SetStore(&editor_.Store());
    return static_cast<int32_t>(stream_.Size());
}

void TFindReplace::Ordered(int32_t& start, int32_t& end) {
    editor_.GetSelection(start, end);
    if (start > end) std::swap(start, end);
}

void TFindReplace::ReportFail(const std::string& text) {
    if (!editor_.SearchFailHandled(text)) prompter_.ShowMessageBox(SearchFailText(text), "", kMbOk | kMbIconInformation);
}

void TFindReplace::ReportRegExprError(const std::string& pattern) {
    prompter_.ShowMessageBox(RegExprErrorText(parser_, pattern), "", kMbOk | kMbIconError);
}

int32_t TFindReplace::Locate(const TFindRequest& r, int32_t pos, int32_t& len, std::string* replacement,
                             int32_t limit) {
    int32_t size = TextSize();
    if (r.Text.empty() || size == 0) return -1;
    if (r.RegExpr) {
        if (!parser_.SetPattern(r.Text)) return -2;
        try {
            for (;;) {
                if (pos < 0) return -1;
                stream_.MoveTo(pos);
                if (!parser_.Search(&stream_, r.Down)) return -1;
                // Backwards a match that runs on past the limit (into what was
                // replaced or passed over) is skipped, as plain search does.
                if (r.Down || parser_.MatchEnd() <= limit) break;
                pos = parser_.MatchStart() - 1;
            }
        } catch (const Exception&) {
            return -2;
        }
        len = parser_.MatchEnd() - parser_.MatchStart();
        if (len <= 0) return -1;
        if (replacement) *replacement = TReplacePlan::ExpandTemplate(r.ReplaceText, parser_, stream_);
        return parser_.MatchStart();
    }
    int32_t found = FindText(editor_.WordTests(), stream_, size - 1, tables_, r.WholeWord, r.MatchCase, !r.Down, pos,
                             r.Text);
    if (found < 0 || found >= size) return -1;
    len = static_cast<int32_t>(r.Text.size());
    if (replacement) *replacement = r.ReplaceText;
    return found;
}

int32_t TFindReplace::FindDirect(uint32_t flags, const std::string& text) {
    TSearchOptions o = TSearchOptions::FromFlags(flags);
    lastRegExpr_ = o.RegExpr;
    int32_t size = TextSize();
    if (text.empty() || size == 0) return -1;
    int32_t s, e;
    Ordered(s, e);
    if ((o.Backward && s == 0) || (!o.Backward && e >= size)) return -1;
    TFindRequest r;
    r.Text = text;
    r.Down = !o.Backward;
    r.MatchCase = o.MatchCase;
    r.WholeWord = o.WholeWord;
    r.RegExpr = o.RegExpr;
    lastSearch_ = text;
    int32_t len = 0;
    int32_t m = Locate(r, o.RegExpr ? e : s, len, nullptr);
    if (m == -2) {
        ReportRegExprError(text);
        return -1;
    }
    if (m >= 0 && o.RegExpr) {
        editor_.SetSelection(m, m + len);
        lastMatch_ = m;
    }
    return m;
}

std::string TFindReplace::DialogText(uint32_t flags, const std::string& given) {
    lastMatch_ = -1;
    if (!given.empty()) return given;
    if (flags & sfRegExpr) return std::string();
    int32_t s, e;
    Ordered(s, e);
    if (s == e) return std::string();
    // The whole selection: a cut search text would report prefix matches.
    return editor_.Store().GetText(s, e);
}

bool TFindReplace::FindNext(const TFindRequest& r) {
    lastSearch_ = r.Text;
    lastRegExpr_ = r.RegExpr;
    int32_t size = TextSize();
    int32_t s, e;
    Ordered(s, e);
    bool found = false;
    if ((!r.Down && s == 0) || (r.Down && e >= size)) {
        ReportFail(r.Text);
    } else if (s == lastMatch_ && !r.Down && r.RegExpr && s == 0) {
        ReportFail(r.Text);
    } else {
        if (s == lastMatch_) {
            if (!r.Down) {
                s -= 1;
            } else {
                s += 1;
                if (e < s) e = s;
            }
        }
        int32_t len = 0;
        int32_t m = Locate(r, r.RegExpr && r.Down ? e : s, len, nullptr);
        if (m >= 0) {
            editor_.SetSelection(m, m + len);
            lastMatch_ = m;
            found = true;
        } else if (m == -2) {
            ReportRegExprError(r.Text);
        } else {
            ReportFail(r.Text);
        }
    }
    editor_.Changed();
    return found;
}

TFindReplace::TReplaceResult TFindReplace::Replace(const TFindRequest& r, bool all) {
    // Nothing further to find was reported once already: the run stops there.
    if (r.FindNextFirst && !FindNext(r)) return rrNotFound;
    lastSearch_ = r.Text;
    lastRegExpr_ = r.RegExpr;
    int32_t s, e;
    Ordered(s, e);
    // The selected occurrence is offered first.
    int32_t from = r.Down ? s : e;
    return all ? ReplaceAll(r, from) : ReplaceConfirmed(r, from);
}

TFindReplace::TReplaceResult TFindReplace::ReplaceAll(const TFindRequest& r, int32_t from) {
    TReplacePlan plan;
    TReplacePlan::TResult res = TReplacePlan::rpNotFound;
    TextSize();
    if (r.RegExpr) {
        stream_.MoveTo(from);
        res = plan.PlanRegExpr(parser_, r.Text, stream_, r.Down, r.ReplaceText);
        if (res == TReplacePlan::rpBadPattern) {
            editor_.Beep();
            return rrError;
        }
        if (res == TReplacePlan::rpSearchError) {
            ReportRegExprError(r.Text);
            return rrError;
        }
    } else if (!r.Text.empty()) {
        res = plan.PlanPlain(stream_, tables_, editor_.WordTests(), r.Text, r.WholeWord, r.MatchCase, from,
                             r.ReplaceText);
    }
    if (res != TReplacePlan::rpPlanned || plan.Items.empty()) {
        ReportFail(r.Text);
        return rrNotFound;
    }
    editor_.BeginUndoGroup(ugReplaceAll);
    for (const TReplaceItem& item : plan.Items) editor_.ReplaceRange(item.At, item.At + item.Length, item.Text);
    editor_.SetSelection(plan.CaretAfter(), plan.CaretAfter());
    editor_.EndUndoGroup();
    lastMatch_ = plan.CaretAfter();
    return rrDone;
}

int32_t TFindReplace::NextFrom(const TFindRequest& r, int32_t m, int32_t len) {
    if (r.Down) return m + len;
    // A backward regular-expression search tries its start position first;
    // plain search finds only what ends there.
    return r.RegExpr ? m - 1 : m;
}

TFindReplace::TReplaceResult TFindReplace::ReplaceConfirmed(const TFindRequest& r, int32_t pos) {
    bool confirm = true;
    TReplaceResult result = rrNotFound;
    // Every round replaces or passes over at least one character; the bound
    // only guards against a pattern that keeps matching the same place.
    int64_t guard = 2 * static_cast<int64_t>(TextSize()) + 16;
    // Upwards nothing at or after this offset is offered again: the start of
    // the last occurrence replaced or passed over.
    int32_t limit = pos;
    for (; guard > 0; guard--) {
        int32_t len = 0;
        std::string repl;
        int32_t m = Locate(r, pos, len, &repl, limit);
        if (m == -2) {
            ReportRegExprError(r.Text);
            result = rrError;
            break;
        }
        if (m < 0) {
            ReportFail(r.Text);
            if (result != rrNotFound) result = rrDone;
            break;
        }
        if (confirm) {
            editor_.SetSelection(m, m + len);
            int a = prompter_.ShowMessageBox(ReplaceQuestionText(r.Text, repl), "Confirm", mbReplaceQuestion);
            if (a == idFindNo) {
                lastMatch_ = m;
                pos = NextFrom(r, m, len);
                limit = m;
                result = rrDone;
                continue;
            }
            if (a != idFindYes && a != idFindAll) {
                result = rrCancelled;
                break;
            }
            if (a == idFindAll) {
                // The rest of the run undoes as one step.
                confirm = false;
                editor_.BeginUndoGroup(ugReplaceAll);
            }
        }
        editor_.ReplaceRange(m, m + len, repl);
        editor_.SetSelection(m, m + static_cast<int32_t>(repl.size()));
        lastMatch_ = m;
        pos = NextFrom(r, m, static_cast<int32_t>(repl.size()));
        limit = m;
        result = rrDone;
    }
    if (!confirm) editor_.EndUndoGroup();
    return result;
}
