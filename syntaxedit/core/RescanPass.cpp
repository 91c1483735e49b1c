#include "RescanPass.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "EdStream.h"

namespace {
// A handler that edits on every pass must not keep the pass going for ever.
const int kMaxRestarts = 4;
}

void TRescanPass::Attach(TTextStore* store, TSchemeHighlighter* highlighter) {
    Done();
    store_ = store;
    highlighter_ = highlighter;
    if (store_) store_->AddWatcher(this);
}

void TRescanPass::Done() {
    if (store_) store_->RemoveWatcher(this);
    store_ = nullptr;
    highlighter_ = nullptr;
    lo_ = hi_ = requested_ = -1;
    markedFrom_ = INT32_MAX;
}

void TRescanPass::StoreEdited(TTextStore& store, const TStoreEdit& edit) {
    if (&store != store_) return;
    int32_t first = edit.FirstLine;
    int32_t lastNew = first + std::max(edit.LinesAdded, 1) - 1;
    if (markedFrom_ != INT32_MAX && first <= markedFrom_) {
        // A removed marked line leaves its mark on the edit's first line.
        markedFrom_ = first + edit.LinesRemoved > markedFrom_
                          ? first
                          : markedFrom_ + edit.LinesAdded - edit.LinesRemoved;
    }
    if (lo_ < 0) {
        lo_ = first;
        hi_ = lastNew;
        return;
    }
    // Lines below the edit move with it.
    if (hi_ >= first + edit.LinesRemoved) hi_ += edit.LinesAdded - edit.LinesRemoved;
    if (lo_ >= first + edit.LinesRemoved) lo_ += edit.LinesAdded - edit.LinesRemoved;
    lo_ = std::min(std::max(lo_, 0), first);
    hi_ = std::max(hi_, lastNew);
}

void TRescanPass::Merge(int32_t line) {
    lo_ = lo_ < 0 ? line : std::min(lo_, line);
    hi_ = std::max(hi_, line);
}

void TRescanPass::Rescan(int32_t line) {
    if (!store_) return;
    TLineNode* n = line >= 0 ? store_->LineAt(line) : nullptr;
    if (!n) {
        lo_ = hi_ = -1;
        return;
    }
    Mark(n, line);
    RunFrom(line, VisibleLines + 2);
}

void TRescanPass::Run() {
    if (lo_ < 0) return;
    // Lines a lazy pass left for later above the edit are stale, and a
    // restart among them would lose what they carry: begin at the first.
    int32_t marked = FirstMarked(lo_);
    RunFrom(marked >= 0 ? marked : lo_, VisibleLines + 2);
}

void TRescanPass::RescanAll() {
    if (!store_ || !highlighter_ || running_) return;
    // Lines an edit left without styles are stale too. A pass may end where
    // the styles agree above further waiting lines: each gets its own.
    int32_t i = 0;
    for (TLineNode* n = store_->Head(); n; n = n->Next, i++) {
        if (!(n->Flags & (lfRescan | lfChanged))) continue;
        RunFrom(i, INT32_MAX);
        // A handler's edit may have replaced the nodes: find the line again.
        n = store_->LineAt(i);
        if (!n || !highlighter_) return;
    }
}

int32_t TRescanPass::FirstMarked(int32_t upTo) {
    if (!store_ || markedFrom_ == INT32_MAX || markedFrom_ > upTo) return -1;
    int32_t i = markedFrom_;
    TLineNode* n = store_->LineAt(i);
    for (; n && i <= upTo; n = n->Next, i++)
        if (n->Flags & lfRescan) return markedFrom_ = i;
    markedFrom_ = n ? i : INT32_MAX;
    return -1;
}

bool TRescanPass::Continue(int32_t upTo) {
    if (!highlighter_) return false;
    int32_t i = FirstMarked(upTo);
    if (i < 0) return false;
    // Up to a line far below: one pass there, not a page at a time (each of
    // which would scan a long token again from its start).
    int32_t budget = VisibleLines + 2;
    if (upTo != INT32_MAX) budget = std::max(budget, upTo - i + 2);
    RunFrom(i, budget);
    return true;
}

int32_t TRescanPass::CatchUp(int32_t upTo) {
    int32_t runs = 0;
    for (int32_t last = -1; Continue(upTo); last = markedFrom_) {
        runs++;
        // Every step clears the mark it starts from; a step that could not
        // (the pass ran already) must not spin here.
        if (markedFrom_ == last || running_) break;
    }
    return runs;
}

void TRescanPass::Mark(TLineNode* n, int32_t index) {
    n->Flags |= lfRescan;
    markedFrom_ = std::min(markedFrom_, index);
}

void TRescanPass::RunFrom(int32_t line, int32_t budget) {
    if (running_) {
        // Asked from a handler during a pass: done right after it.
        requested_ = requested_ < 0 ? line : std::min(requested_, line);
        return;
    }
    Merge(line);
    stats_ = TRescanStats();
    running_ = true;
    for (int round = 0; lo_ >= 0 && round <= kMaxRestarts; round++) {
        if (round > 0 && store_) {
            // The lines left from the ended pass may be restyled already.
            if (TLineNode* n = store_->LineAt(lo_)) Mark(n, lo_);
        }
        bool finished = Pass(budget);
        if (!store_) break;
        if (finished) {
            lo_ = hi_ = -1;
            if (requested_ < 0) break;
            Merge(requested_);
            requested_ = -1;
        } else {
            stats_.Restarts++;
        }
    }
    running_ = false;
}

bool TRescanPass::Pass(int32_t budget) {
    if (!store_ || !highlighter_ || !store_->Head()) return true;
    editSeen_ = store_->EditCount();
    TCursor c;
    int32_t walked = 0;
    c.node = store_->NodeAtLine(lo_, &c.start, &walked);
    c.index = walked;
    if (!(c.node->Flags & (lfChanged | lfRescan))) return true;
    int32_t reach = std::min(hi_, store_->LineCount() - 1);
    if (c.node->Prev) {
        c.node = c.node->Prev;
        c.start -= c.node->Len;
        c.index--;
        c.counter = -1;
    }
    int32_t startToken = -1;
    if (!Fire(startToken, -1, -1)) return false;
    if (!Scan(c, budget, reach)) return false;
    int32_t endToken = -2;
    return Fire(endToken, -2, -2);
}

TRescanPass::TCursor TRescanPass::RestartPoint(TCursor c, int& style) const {
    style = 0;
    if (!c.node->Styles || c.node->Len == 0) {
        c.off = 0;
        return c;
    }
    // One character back, into earlier lines while they have styles.
    auto back = [](TCursor& q) {
        if (q.off > 0) {
            q.off--;
            return true;
        }
        TLineNode* prev = q.node->Prev;
        if (!prev || !prev->Styles || prev->Len == 0) return false;
        q.node = prev;
        q.start -= prev->Len;
        q.index--;
        q.counter--;
        q.off = prev->Len - 1;
        return true;
    };
    const TStateSet anchors = highlighter_->GetAnchors();
    c.off = c.node->Len - 1;
    while (!anchors.Has(c.node->Styles[c.off]))
        if (!back(c)) {
            // No anchor before: the earliest styled line's start.
            c.off = 0;
            return c;
        }
    style = c.node->Styles[c.off];
    for (TCursor q = c; back(q) && q.node->Styles[q.off] == style;) c = q;
    return c;
}

void TRescanPass::LoadBuffer(const TLineNode* n) {
    buf_.assign(n->Len, 0);
    if (n->Styles && n->Len) memcpy(buf_.data(), n->Styles, n->Len);
    stats_.LinesScanned++;
}

bool TRescanPass::Fire(int32_t& token, int32_t start, int32_t end) {
    if (!OnTokenSeen) return true;
    tokenText_.clear();
    if (WantTokenText && start >= 0) {
        // A second stream follows the scanner's over the token.
        if (tokenText_.capacity() < static_cast<size_t>(end - start))
            tokenText_.reserve(2 * static_cast<size_t>(end - start));
        TEdStream text(store_);
        text.MoveTo(start);
        for (int32_t i = start; i < end && !text.AtEnd(); i++, text.Next())
            tokenText_ += static_cast<char>(text.CurChar());
    }
    OnTokenSeen(token, start, end);
    return !Edited();
}

bool TRescanPass::Scan(TCursor& c, int32_t budget, int32_t reach) {
    int style = 0;
    c = RestartPoint(c, style);
    TEdStream st(store_);
    st.StartAt(c.node, c.off, c.start);
    LoadBuffer(c.node);
    highlighter_->ResetState(style);
    bool inContainer = false;
    TFinish end = TFinish::Next;
    while (c.node && end == TFinish::Next && !st.AtEnd()) {
        const TCursor at = c;
        int32_t from = c.start + c.off;
        int32_t len = 0;
        int32_t token = highlighter_->NextToken(st, len);
        if (Edited()) return false;
        if (len <= 0) {
            st.MoveTo(from + 1);
            len = 1;
        }
        if (!Fire(token, from, from + len)) return false;
        token &= 255;
        // A container's second scan keeps the container's style under token 0.
        bool keep = inContainer && token == 0;
        for (int32_t left = len; left > 0 && end == TFinish::Next;) {
            int32_t n = std::min(left, c.node->Len - c.off);
            if (!keep && n > 0) memset(buf_.data() + c.off, token, static_cast<size_t>(n));
            c.off += n;
            left -= n;
            if (c.off >= c.node->Len) end = FinishLine(c, budget, reach, left > 0);
        }
        if (end != TFinish::Next) break;
        if (!inContainer && highlighter_->ContainerPending()) {
            // Scan the container's characters again, from its start.
            Install(c.node, c.index);
            c.node->Flags |= lfChanged;
            c = at;
            st.StartAt(c.node, c.off, c.start);
            buf_.assign(c.node->Styles, c.node->Styles + c.node->Len);
            inContainer = true;
        } else if (inContainer) {
            inContainer = highlighter_->ContainerPending();
        }
    }
    // The text ended inside a line (or on the empty last line).
    if (c.node && end == TFinish::Next) end = FinishLine(c, INT32_MAX, -1, false);
    highlighter_->ResetState(0);
    if (Lazy && c.node && end != TFinish::TextEnd) MarkLazyRest(c, end == TFinish::Stopped, reach);
    return true;
}

TRescanPass::TFinish TRescanPass::FinishLine(TCursor& c, int32_t budget, int32_t reach, bool runsOn) {
    TLineNode* n = c.node;
    TLineNode* next = n->Next;
    bool same = n->Styles && (n->Len == 0 || memcmp(n->Styles, buf_.data(), n->Len) == 0);
    if (same && !runsOn && !highlighter_->ContainerPending() && !highlighter_->InBoundState()) {
        bool quiet = !(n->Flags & lfRescan) && c.counter > 0 && c.index >= reach && (!next || next->Styles);
        // A lazy pass asked to go further than a page (to lines being
        // painted) may stop where the styles agree, past its first page.
        bool lazyStop = Lazy && (c.counter > budget || (quiet && c.counter > VisibleLines + 2));
        if (lazyStop || (!Lazy && quiet)) {
            stats_.EndedUnchanged = true;
            return TFinish::Unchanged;
        }
    }
    if (!same) Install(n, c.index);
    n->Flags = (n->Flags & ~(lfChanged | lfRescan)) | lfRepaint;
    if (!next) {
        c.node = nullptr;
        return TFinish::TextEnd;
    }
    if (Lazy && c.counter > budget) return TFinish::Stopped;
    c.start += n->Len;
    c.node = next;
    c.off = 0;
    c.index++;
    c.counter++;
    LoadBuffer(next);
    return TFinish::Next;
}

void TRescanPass::Install(TLineNode* n, int32_t index) {
    delete[] n->Styles;
    n->Styles = new uint8_t[static_cast<size_t>(n->Len) + 1];
    if (n->Len) memcpy(n->Styles, buf_.data(), n->Len);
    n->Styles[n->Len] = 0;
    n->Flags |= lfRepaint;
    stats_.LinesRestyled++;
    if (stats_.FirstRestyled < 0 || index < stats_.FirstRestyled) stats_.FirstRestyled = index;
    stats_.LastRestyled = std::max(stats_.LastRestyled, index);
}

void TRescanPass::MarkLazyRest(const TCursor& c, bool stopped, int32_t reach) {
    TLineNode* n = c.node->Next;
    int32_t i = c.index + 1;
    if (stopped)
        for (int32_t k = 0; n && k < VisibleLines; k++, n = n->Next, i++) Mark(n, i);
    // Lines edited beyond where the budget ended still wait for their step.
    for (; n && i <= reach; n = n->Next, i++)
        if (n->Flags & lfChanged) Mark(n, i);
}
