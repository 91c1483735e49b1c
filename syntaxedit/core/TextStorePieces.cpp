// The layout side of the text store: the pieces of a logical line joined,
// split and cut again, with their style bytes, marks, colours and track data.
#include <algorithm>
#include <cstring>

#include "TextStore.h"

namespace {

// Sets a piece's text and, when given, a copy of its style bytes.
void SetPiece(TLineNode* n, const char* text, const uint8_t* styles, int32_t len) {
    SetLineText(n, text, len);
    if (styles) {
        n->Styles = new uint8_t[static_cast<size_t>(len) + 1];
        if (len > 0) memcpy(n->Styles, styles, static_cast<size_t>(len));
    }
}

// Joins the text and style bytes of the logical line from first (style 0
// where a piece has none); returns its last piece.
TLineNode* GatherLine(TLineNode* first, std::string& text, std::vector<uint8_t>& styles, int32_t& count,
                      bool& styled) {
    TLineNode* last = first;
    for (TLineNode* p = first;; p = p->Next) {
        count++;
        styled = styled || p->Styles;
        last = p;
        if (p->EndsWithCR() || !p->Next) break;
    }
    for (TLineNode* p = first;; p = p->Next) {
        text.append(p->Text, p->Len);
        if (styled) {
            if (p->Styles) styles.insert(styles.end(), p->Styles, p->Styles + p->Len);
            else styles.resize(styles.size() + p->Len, 0);
        }
        if (p == last) break;
    }
    return last;
}

// Where cut says to cut the line (the empty last line stays one piece).
std::vector<int32_t> PieceLengths(const std::string& text, const uint8_t* styles, const TPieceCutter& cut) {
    const int32_t total = static_cast<int32_t>(text.size());
    std::vector<int32_t> lengths;
    for (int32_t done = 0; done < total;) {
        int32_t left = total - done;
        int32_t k = cut ? cut(text.data() + done, styles ? styles + done : nullptr, left) : left;
        k = std::max(1, std::min(k, std::min(left, kMaxNodeLength)));
        lengths.push_back(k);
        done += k;
    }
    if (lengths.empty()) lengths.push_back(0);
    return lengths;
}

}  // namespace

TLineNode* TTextStore::LogicalFirst(TLineNode* n, int32_t& start, int32_t& index) {
    while (n->Prev && !n->Prev->EndsWithCR()) {
        n = n->Prev;
        start -= n->Len;
        index--;
    }
    return n;
}

int32_t TTextStore::LogicalLineStart(int32_t index) {
    int32_t start, at;
    TLineNode* n = NodeAtLine(index, &start, &at);
    if (!n) return 0;
    LogicalFirst(n, start, at);
    return at;
}

TLineNode* TTextStore::SplitLine(int32_t index, int32_t column) {
    int32_t start;
    TLineNode* node = LineAt(index, &start);
    if (!node || column < 1 || column >= node->Len) return nullptr;
    TLineNode* second = new TLineNode;
    SetPiece(second, node->Text + column, node->Styles ? node->Styles + column : nullptr, node->Len - column);
    second->GutterMarks = gmContinuation;
    second->Flags |= lfRepaint | lfChanged;
    std::string head(node->Text, static_cast<size_t>(column));
    std::vector<uint8_t> headStyles;
    if (node->Styles) headStyles.assign(node->Styles, node->Styles + column);
    uint32_t rescan = node->Flags & lfRescan;
    SetPiece(node, head.data(), node->Styles ? headStyles.data() : nullptr, column);
    node->Flags = (node->Flags & lfHasTab) | rescan | lfRepaint | lfChanged;
    second->Prev = node;
    second->Next = node->Next;
    if (node->Next) node->Next->Prev = second;
    else tail_ = second;
    node->Next = second;
    lineCount_++;
    Forget();
    Remember(node, start, index);
    TStoreEdit e;
    e.Offset = start;
    e.FirstLine = index;
    e.LinesRemoved = 1;
    e.LinesAdded = 2;
    e.First = node;
    Notify(e);
    return second;
}

int32_t TTextStore::JoinLine(int32_t index) { return RewrapLine(index, nullptr); }

int32_t TTextStore::CutLine(int32_t index, int32_t width, int32_t* pieces) {
    width = std::max(1, width);
    return RewrapLine(index, [width](const char*, const uint8_t*, int32_t) { return width; }, pieces);
}

int32_t TTextStore::RewrapLine(int32_t index, const TPieceCutter& cut, int32_t* pieces) {
    if (pieces) *pieces = 0;
    int32_t start, at;
    TLineNode* n = NodeAtLine(index, &start, &at);
    if (!n) return 0;
    TLineNode* first = LogicalFirst(n, start, at);
    std::string text;
    std::vector<uint8_t> styles;
    int32_t old = 0;
    bool styled = false;
    TLineNode* last = GatherLine(first, text, styles, old, styled);
    std::vector<int32_t> lengths = PieceLengths(text, styled ? styles.data() : nullptr, cut);

    // The first piece keeps its node; the rest are made anew.
    TLineNode* after = last->Next;
    for (TLineNode* p = first->Next; p != after;) {
        TLineNode* next = p->Next;
        ReleaseTrack(p->TrackData);
        FreeLineNode(p);
        p = next;
    }
    uint32_t rescan = first->Flags & lfRescan;
    SetPiece(first, text.data(), styled ? styles.data() : nullptr, lengths[0]);
    first->Flags = (first->Flags & lfHasTab) | rescan | lfRepaint | lfChanged;
    first->GutterMarks &= static_cast<uint16_t>(~gmContinuation);
    TLineNode* prev = first;
    int32_t done = lengths[0];
    for (size_t i = 1; i < lengths.size(); i++) {
        TLineNode* piece = new TLineNode;
        SetPiece(piece, text.data() + done, styled ? styles.data() + done : nullptr, lengths[i]);
        piece->GutterMarks = gmContinuation;
        piece->Flags |= lfRepaint | lfChanged;
        piece->Prev = prev;
        prev->Next = piece;
        prev = piece;
        done += lengths[i];
    }
    prev->Next = after;
    if (after) after->Prev = prev;
    else tail_ = prev;
    int32_t made = static_cast<int32_t>(lengths.size());
    lineCount_ += made - old;
    Forget();
    Remember(first, start, at);
    if (pieces) *pieces = made;
    TStoreEdit e;
    e.Offset = start;
    e.FirstLine = at;
    e.LinesRemoved = old;
    e.LinesAdded = made;
    e.First = first;
    Notify(e);
    return at;
}
