#include "TextStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "SyntaxMemoErrors.h"

TTextStore::~TTextStore() {
    // The controls go before their store: tell only the track owner.
    watchers_.clear();
    Clear();
}

void TTextStore::ReleaseTrack(TObject* t) {
    if (!t) return;
    if (trackOwner_) trackOwner_->TrackDataFreed(t);
    else delete t;
}

void TTextStore::MoveTrack(TObject* t, TLineNode* node) {
    if (t && trackOwner_) trackOwner_->TrackDataMoved(t, node);
}

void TTextStore::Notify(const TStoreEdit& edit, TObject* movedTrack) {
    editCount_++;
    if (edit.Removed || edit.Inserted) textEditCount_++;
    index_.Edited(edit);
    MoveTrack(movedTrack, edit.First);
    // A watcher may leave the list while it is told.
    std::vector<TTextStoreWatcher*> told = watchers_;
    for (TTextStoreWatcher* w : told) w->StoreEdited(*this, edit);
}

void TTextStore::Clear() {
    if (!head_) return;
    for (TLineNode* n = head_; n; n = n->Next) {
        ReleaseTrack(n->TrackData);
        n->TrackData = nullptr;
    }
    FreeLineChain(head_);
    TStoreEdit e;
    e.Removed = textLength_;
    e.LinesRemoved = lineCount_;
    head_ = tail_ = nullptr;
    textLength_ = lineCount_ = 0;
    Forget();
    Notify(e);
}

void TTextStore::SetHead(TLineNode* node) {
    if (node == head_) return;
    Clear();
    head_ = node;
    if (node) node->Prev = nullptr;
    for (TLineNode* n = node; n; n = n->Next) {
        textLength_ += n->Len;
        lineCount_++;
        tail_ = n;
    }
    TStoreEdit e;
    e.Inserted = textLength_;
    e.LinesAdded = lineCount_;
    e.First = head_;
    Notify(e);
}

void TTextStore::AddWatcher(TTextStoreWatcher* watcher) {
    if (watcher && std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end())
        watchers_.push_back(watcher);
}

void TTextStore::RemoveWatcher(TTextStoreWatcher* watcher) {
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), watcher), watchers_.end());
    if (trackOwner_ == watcher) trackOwner_ = nullptr;
}

void TTextStore::Remember(TLineNode* n, int32_t start, int32_t index) {
    cache_ = n;
    cacheStart_ = start;
    cacheIndex_ = index;
}

TLineNode* TTextStore::NodeAtOffset(int32_t offset, int32_t* lineStart, int32_t* lineIndex) {
    if (!head_) {
        if (lineStart) *lineStart = 0;
        if (lineIndex) *lineIndex = 0;
        return nullptr;
    }
    offset = std::max(0, std::min(offset, textLength_));
    // Start from whichever known node lies nearest.
    TLineNode* n = head_;
    int32_t start = 0, index = 0;
    int32_t tailStart = textLength_ - tail_->Len;
    int64_t best = offset;
    if (std::llabs(static_cast<int64_t>(offset) - tailStart) < best) {
        n = tail_, start = tailStart, index = lineCount_ - 1;
        best = std::llabs(static_cast<int64_t>(offset) - tailStart);
    }
    if (cache_ && std::llabs(static_cast<int64_t>(offset) - cacheStart_) < best) {
        n = cache_, start = cacheStart_, index = cacheIndex_;
        best = std::llabs(static_cast<int64_t>(offset) - cacheStart_);
    }
    TLineIndex::Mark m;
    if (index_.NearestOffset(offset, m) && std::llabs(static_cast<int64_t>(offset) - m.Start) < best)
        n = m.Node, start = m.Start, index = m.Index;
    n = WalkToOffset(n, start, index, offset);
    Remember(n, start, index);
    if (lineStart) *lineStart = start;
    if (lineIndex) *lineIndex = index;
    return n;
}

TLineNode* TTextStore::NodeAtLine(int32_t index, int32_t* lineStart, int32_t* walked) {
    if (!head_) {
        if (lineStart) *lineStart = 0;
        if (walked) *walked = 0;
        return nullptr;
    }
    index = std::max(0, std::min(index, lineCount_ - 1));
    TLineNode* n = head_;
    int32_t start = 0, at = 0;
    int32_t best = index;
    if (lineCount_ - 1 - index < best) {
        n = tail_, start = textLength_ - tail_->Len, at = lineCount_ - 1;
        best = lineCount_ - 1 - index;
    }
    if (cache_ && std::abs(index - cacheIndex_) < best) {
        n = cache_, start = cacheStart_, at = cacheIndex_;
        best = std::abs(index - cacheIndex_);
    }
    TLineIndex::Mark m;
    if (index_.NearestLine(index, m) && std::abs(index - m.Index) < best) n = m.Node, start = m.Start, at = m.Index;
    n = WalkToLine(n, start, at, index);
    Remember(n, start, at);
    if (lineStart) *lineStart = start;
    if (walked) *walked = index;
    return n;
}

TLineNode* TTextStore::WalkToLine(TLineNode* n, int32_t& start, int32_t& index, int32_t target) {
    int32_t steps = 0;
    while (index < target) {
        start += n->Len;
        n = n->Next;
        index++;
        if (++steps % TLineIndex::kSpacing == 0) index_.Add({n, start, index});
    }
    while (index > target) {
        n = n->Prev;
        start -= n->Len;
        index--;
        if (++steps % TLineIndex::kSpacing == 0) index_.Add({n, start, index});
    }
    lastWalk_ = steps;
    return n;
}

TLineNode* TTextStore::WalkToOffset(TLineNode* n, int32_t& start, int32_t& index, int32_t target) {
    int32_t steps = 0;
    while (target >= start + n->Len && n->Next) {
        start += n->Len;
        n = n->Next;
        index++;
        if (++steps % TLineIndex::kSpacing == 0) index_.Add({n, start, index});
    }
    while (target < start && n->Prev) {
        n = n->Prev;
        start -= n->Len;
        index--;
        if (++steps % TLineIndex::kSpacing == 0) index_.Add({n, start, index});
    }
    lastWalk_ = steps;
    return n;
}

TLineNode* TTextStore::LineAt(int32_t index, int32_t* lineStart) {
    if (index < 0 || index >= lineCount_) {
        if (lineStart) *lineStart = -1;
        return nullptr;
    }
    return NodeAtLine(index, lineStart);
}

int32_t TTextStore::LineStart(int32_t index) {
    if (!head_) return index == 0 ? 0 : -1;
    int32_t start;
    return LineAt(index, &start) ? start : -1;
}

// Cuts text into nodes: at each CR (kept at the end of its line) and after
// kMaxLinePiece characters. On the last line a final CR is followed by an empty
// line. The first piece takes the attributes of inheritFrom.
TTextStore::Pieces TTextStore::Cut(const char* text, size_t len, bool lastLine, const TLineNode* inheritFrom) {
    Pieces p;
    auto append = [&](const char* s, size_t n) {
        TLineNode* node = NewLineNode(s, static_cast<int>(n));
        node->Flags |= lfChanged;
        if (!p.first) {
            if (inheritFrom) {
                node->GutterMarks = inheritFrom->GutterMarks;
                node->LineMarks = inheritFrom->LineMarks;
                node->BackColor = inheritFrom->BackColor;
                node->TextColor = inheritFrom->TextColor;
                node->TrackData = inheritFrom->TrackData;
            }
            p.first = node;
        } else {
            if (!p.last->EndsWithCR()) node->GutterMarks = gmContinuation;
            p.last->Next = node;
            node->Prev = p.last;
        }
        p.last = node;
        p.count++;
    };
    size_t i = 0;
    while (i < len) {
        size_t limit = std::min(len, i + kMaxLinePiece);
        size_t k = i;
        while (k < limit)
            if (text[k++] == '\r') break;
        append(text + i, k - i);
        i = k;
    }
    if (lastLine && (len == 0 || text[len - 1] == '\r')) append("", 0);
    return p;
}

void TTextStore::Link(TLineNode* before, const Pieces& p, TLineNode* after) {
    p.first->Prev = before;
    if (before) before->Next = p.first;
    else head_ = p.first;
    p.last->Next = after;
    if (after) after->Prev = p.last;
    else tail_ = p.last;
}

TLineNode* TTextStore::InsertText(int32_t offset, const char* text, int32_t count) {
    if (count <= 0) return nullptr;
    if (count > INT32_MAX - textLength_) throw ESyntaxMemo("Not enough memory for operation");
    TStoreEdit e;
    e.Inserted = count;
    if (!head_) {
        Pieces p = Cut(text, static_cast<size_t>(count), true, nullptr);
        Link(nullptr, p, nullptr);
        lineCount_ = p.count;
        textLength_ = count;
        Remember(p.first, 0, 0);
        e.LinesAdded = p.count;
        e.First = p.first;
        Notify(e);
        return p.first;
    }
    int32_t start, index;
    TLineNode* node = NodeAtOffset(offset, &start, &index);
    int32_t at = std::max(0, std::min(offset, textLength_)) - start;
    e.Offset = start + at;
    e.FirstLine = index;
    e.LinesRemoved = 1;

    if (count == 1 && text[0] != '\r' && node->Len + 1 <= kMaxLinePiece) {
        // One character into a line: rebuild that line in place.
        std::string s(node->Text, node->Len);
        s.insert(static_cast<size_t>(at), 1, text[0]);
        SetLineText(node, s.data(), static_cast<int>(s.size()));
        node->Flags |= lfRepaint | lfChanged;
        textLength_ += 1;
        e.LinesAdded = 1;
        e.First = node;
        Notify(e);
        return node;
    }
    std::string joined;
    joined.reserve(static_cast<size_t>(node->Len) + static_cast<size_t>(count));
    joined.append(node->Text, static_cast<size_t>(at));
    joined.append(text, static_cast<size_t>(count));
    joined.append(node->Text + at, static_cast<size_t>(node->Len - at));
    TLineNode* before = node->Prev;
    TLineNode* after = node->Next;
    Pieces p = Cut(joined.data(), joined.size(), after == nullptr, node);
    Link(before, p, after);
    TObject* track = node->TrackData;
    FreeLineNode(node);  // its track data moved to the first piece
    lineCount_ += p.count - 1;
    textLength_ += count;
    Remember(p.first, start, index);
    e.LinesAdded = p.count;
    e.First = p.first;
    Notify(e, track);
    return p.first;
}

TLineNode* TTextStore::DeleteText(int32_t start, int32_t end) {
    if (!head_) return nullptr;
    if (start > end) std::swap(start, end);
    start = std::max(0, std::min(start, textLength_));
    end = std::max(0, std::min(end, textLength_));
    if (start == end) return nullptr;

    int32_t firstStart, firstIndex, lastStart, lastIndex;
    TLineNode* first = NodeAtOffset(start, &firstStart, &firstIndex);
    TLineNode* last = NodeAtOffset(end, &lastStart, &lastIndex);
    std::string joined(first->Text, static_cast<size_t>(start - firstStart));
    joined.append(last->Text + (end - lastStart), static_cast<size_t>(last->Len - (end - lastStart)));
    TLineNode* before = first->Prev;
    TLineNode* after = last->Next;
    TObject* kept = first->TrackData;
    TLineNode keep;  // the attributes the joined line inherits
    keep.GutterMarks = first->GutterMarks;
    keep.LineMarks = first->LineMarks;
    keep.BackColor = first->BackColor;
    keep.TextColor = first->TextColor;
    keep.TrackData = kept;

    for (TLineNode* n = first;;) {
        TLineNode* next = n->Next;
        bool lastOne = n == last;
        if (n != first) ReleaseTrack(n->TrackData);
        FreeLineNode(n);
        if (lastOne) break;
        n = next;
    }
    int32_t removed = lastIndex - firstIndex + 1;
    textLength_ -= end - start;
    Forget();
    TStoreEdit e;
    e.Offset = start;
    e.Removed = end - start;
    e.FirstLine = firstIndex;
    e.LinesRemoved = removed;

    Pieces p;
    if (!joined.empty() || (!after && before && before->EndsWithCR()))
        p = Cut(joined.data(), joined.size(), after == nullptr, &keep);
    if (p.count == 0) {
        // Nothing left of these lines: either no text at all, or the cut piece
        // before them becomes the last line.
        ReleaseTrack(kept);
        if (before) before->Next = after;
        else head_ = after;
        if (after) after->Prev = before;
        else tail_ = before;
        lineCount_ -= removed;
        Notify(e);
        return nullptr;
    }
    Link(before, p, after);
    lineCount_ += p.count - removed;
    Remember(p.first, firstStart, firstIndex);
    e.LinesAdded = p.count;
    e.First = p.first;
    Notify(e, kept);
    return p.first;
}

std::string TTextStore::GetText(int32_t start, int32_t end) {
    start = std::max(0, std::min(start, textLength_));
    end = std::max(start, std::min(end, textLength_));
    std::string out;
    if (start == end) return out;
    out.reserve(static_cast<size_t>(end - start));
    int32_t ns;
    TLineNode* n = NodeAtOffset(start, &ns, nullptr);
    int32_t at = start - ns;
    while (n && static_cast<int32_t>(out.size()) < end - start) {
        int32_t take = std::min<int32_t>(n->Len - at, end - start - static_cast<int32_t>(out.size()));
        out.append(n->Text + at, static_cast<size_t>(take));
        at = 0;
        n = n->Next;
    }
    return out;
}

std::string TTextStore::CheckInvariants() const {
    auto fail = [](int32_t line, const char* what) { return "line " + std::to_string(line) + ": " + what; };
    if (!head_ != !tail_ || (!head_ && (lineCount_ || textLength_))) return "empty store with lines or text";
    int32_t len = 0, index = 0;
    bool cacheSeen = !cache_;
    const TLineNode* prev = nullptr;
    for (const TLineNode* n = head_; n; prev = n, n = n->Next, index++) {
        if (n->Prev != prev) return fail(index, "Prev does not lead back");
        if (!n->Text || n->Text[n->Len] != 0) return fail(index, "text not terminated");
        const void* cr = memchr(n->Text, '\r', n->Len);
        if (cr && cr != n->Text + n->Len - 1) return fail(index, "CR inside the line");
        bool tab = memchr(n->Text, '\t', n->Len) != nullptr;
        if (tab != ((n->Flags & lfHasTab) != 0)) return fail(index, "lfHasTab wrong");
        bool continues = (n->GutterMarks & gmContinuation) != 0;
        if (!prev && continues) return fail(index, "first line marked as continuation");
        if (prev && continues == prev->EndsWithCR()) return fail(index, "continuation mark wrong");
        if (n->Next && n->Len == 0) return fail(index, "empty line before the last");
        if (!n->Next && n->EndsWithCR()) return fail(index, "last line ends in CR");
        if (n == cache_) {
            if (cacheIndex_ != index || cacheStart_ != len) return fail(index, "stale lookup cache");
            cacheSeen = true;
        }
        len += n->Len;
        if (index >= lineCount_) return "more nodes than LineCount";
    }
    if (prev != tail_) return "Tail is not the last node";
    if (index != lineCount_) return "LineCount " + std::to_string(lineCount_) + ", nodes " + std::to_string(index);
    if (len != textLength_) return "TextLength " + std::to_string(textLength_) + ", text " + std::to_string(len);
    if (!cacheSeen) return "lookup cache outside the chain";
    return index_.Check(head_);
}
