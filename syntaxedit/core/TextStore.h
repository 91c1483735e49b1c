// The editor's text: a doubly linked list of line nodes, edited by character
// offset. Every line but the last ends with one CR; the last line never does
// (a text ending in CR has an empty last line); an empty text has no nodes.
// A long line is held in pieces, the later ones marked gmContinuation: editing
// cuts at kMaxLinePiece, the layout re-cuts a line at any column. The controls
// that show a store watch it through TTextStoreWatcher. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "LineIndex.h"
#include "LineNode.h"

class TTextStore;

// The longest node the layout may make (Len is 16 bits).
const int kMaxNodeLength = 65535;

// One change of a store: the text at Offset lost Removed characters and gained
// Inserted ones; the nodes FirstLine .. FirstLine + LinesRemoved - 1 were
// replaced by LinesAdded nodes starting with First (null when none). First
// may be the node that was there, its text changed in place.
struct TStoreEdit {
    int32_t Offset = 0;
    int32_t Removed = 0;
    int32_t Inserted = 0;
    int32_t FirstLine = 0;
    int32_t LinesRemoved = 0;
    int32_t LinesAdded = 0;
    TLineNode* First = nullptr;
};

// What a store tells the controls that show it. A watcher must drop every
// pointer it keeps to a replaced node: such a node may have been freed.
class TTextStoreWatcher {
public:
    virtual ~TTextStoreWatcher() = default;
    virtual void StoreEdited(TTextStore& store, const TStoreEdit& edit) = 0;
    // For the owner of the lines' TrackData: track now belongs to node, as
    // the node it belonged to was replaced.
    virtual void TrackDataMoved(TObject* /*track*/, TLineNode* /*node*/) {}
    // The line of track went away; the owner releases it. This comes while
    // the store is being changed: do not call back into the store here.
    virtual void TrackDataFreed(TObject* track) { delete track; }
};

// Logical-line cutter for RewrapLine: the length of the next piece of the
// len characters (and their style bytes, or null) that are left.
using TPieceCutter = std::function<int32_t(const char* text, const uint8_t* styles, int32_t len)>;

class TTextStore : public TObject {
public:
    TTextStore() = default;
    ~TTextStore() override;
    TTextStore(const TTextStore&) = delete;
    TTextStore& operator=(const TTextStore&) = delete;

    TLineNode* Head() const { return head_; }
    TLineNode* Tail() const { return tail_; }
    // Takes over a chain (the old one is freed) and recounts it.
    void SetHead(TLineNode* node);

    // The controls that show this store; each is listed once.
    void AddWatcher(TTextStoreWatcher* watcher);
    void RemoveWatcher(TTextStoreWatcher* watcher);
    const std::vector<TTextStoreWatcher*>& Watchers() const { return watchers_; }
    // Receives the TrackData notices; without one a freed line's track data
    // is deleted.
    void SetTrackOwner(TTextStoreWatcher* owner) { trackOwner_ = owner; }
    TTextStoreWatcher* TrackOwner() const { return trackOwner_; }
    // Goes up with every change of the text or of the node chain, so that a
    // cursor kept across edits knows to find its node again.
    uint32_t EditCount() const { return editCount_; }
    // Goes up only when characters went in or out: a re-wrap, which moves
    // line boundaries alone, leaves it.
    uint32_t TextEditCount() const { return textEditCount_; }

    int32_t TextLength() const { return textLength_; }  // every CR counts one
    int32_t LineCount() const { return lineCount_; }    // number of nodes

    // The node holding offset (clamped to 0..TextLength; the text's end belongs
    // to the last node), its first character's offset and its index. Walks from
    // the nearest of the first node, the last node, the last node found and
    // the line index's positions, so work at the end of the text or near the
    // previous lookup costs no walk, and elsewhere a short one.
    TLineNode* NodeAtOffset(int32_t offset, int32_t* lineStart = nullptr, int32_t* lineIndex = nullptr);
    // The node of line index, clamped to 0..LineCount - 1; null for an empty
    // text. walked is the index reached, so a caller can tell the clamp.
    TLineNode* NodeAtLine(int32_t index, int32_t* lineStart = nullptr, int32_t* walked = nullptr);
    // The node of line index, or null when there is no such line.
    TLineNode* LineAt(int32_t index, int32_t* lineStart = nullptr);
    // The offset of line index's first character; -1 past the last line or
    // below 0, but 0 for line 0 of an empty text.
    int32_t LineStart(int32_t index);
    // Nodes stepped over by the last lookup (a cost figure for tests).
    int32_t LastWalk() const { return lastWalk_; }

    // Inserts text whose line breaks are single CRs (see NormalizeInsertText) at
    // offset. The first new node keeps the old line's marks, colours and track
    // data; the others start without. Returns the first node changed.
    TLineNode* InsertText(int32_t offset, const char* text, int32_t count);
    TLineNode* InsertText(int32_t offset, const std::string& text) {
        return InsertText(offset, text.data(), static_cast<int32_t>(text.size()));
    }
    // Deletes [start, end) (either order). The joined line keeps the first
    // line's marks, colours and track data. Returns it, or null when none is left.
    TLineNode* DeleteText(int32_t start, int32_t end);
    // The characters of [start, end), CRs as they are stored.
    std::string GetText(int32_t start = 0, int32_t end = INT32_MAX);
    void Clear();

    // Pieces of a logical line. The text does not change; style bytes, flags
    // other than lfRescan, marks, colours and track data go with the first
    // piece, which keeps its node. Later pieces get gmContinuation, no line
    // marks, BackColor and TextColor -1 and no track data. Every piece is
    // flagged lfRepaint + lfChanged (and lfHasTab when it holds a TAB).

    // Cuts line index at column (1..Len - 1); returns the new second piece,
    // or null when the column is outside the line.
    TLineNode* SplitLine(int32_t index, int32_t column);
    // Joins the pieces of the logical line holding line index into one node
    // (a line longer than kMaxNodeLength stays cut there). Returns its index.
    int32_t JoinLine(int32_t index);
    // Joins the logical line holding line index and cuts it again where cut
    // says (each answer is kept to 1..min(left, kMaxNodeLength)). Returns the
    // index of its first piece; pieces receives their number.
    int32_t RewrapLine(int32_t index, const TPieceCutter& cut, int32_t* pieces = nullptr);
    // RewrapLine with pieces of width characters (the last one shorter).
    int32_t CutLine(int32_t index, int32_t width, int32_t* pieces = nullptr);
    // The index of the first piece of the logical line holding line index.
    int32_t LogicalLineStart(int32_t index);

    // Checks the links, counts, line ends and continuation marks; empty when
    // all is well, else what is wrong.
    std::string CheckInvariants() const;

private:
    struct Pieces {
        TLineNode* first = nullptr;
        TLineNode* last = nullptr;
        int32_t count = 0;
    };
    Pieces Cut(const char* text, size_t len, bool lastLine, const TLineNode* inheritFrom);
    void Link(TLineNode* before, const Pieces& p, TLineNode* after);
    void ReleaseTrack(TObject* t);
    void MoveTrack(TObject* t, TLineNode* node);
    void Remember(TLineNode* n, int32_t start, int32_t index);
    void Forget() { cache_ = nullptr; }
    // Brings the line index up to date, tells the track owner where movedTrack
    // went (to edit.First), then the watchers.
    void Notify(const TStoreEdit& edit, TObject* movedTrack = nullptr);
    // Walks from n towards line target (or offset target), leaving positions
    // in the line index on long walks.
    TLineNode* WalkToLine(TLineNode* n, int32_t& start, int32_t& index, int32_t target);
    TLineNode* WalkToOffset(TLineNode* n, int32_t& start, int32_t& index, int32_t target);
    TLineNode* LogicalFirst(TLineNode* n, int32_t& start, int32_t& index);

    TLineNode* head_ = nullptr;
    TLineNode* tail_ = nullptr;
    std::vector<TTextStoreWatcher*> watchers_;
    TTextStoreWatcher* trackOwner_ = nullptr;
    uint32_t editCount_ = 0;
    uint32_t textEditCount_ = 0;
    int32_t textLength_ = 0;
    int32_t lineCount_ = 0;
    TLineNode* cache_ = nullptr;  // last node found, with its offset and index
    int32_t cacheStart_ = 0;
    int32_t cacheIndex_ = 0;
    int32_t lastWalk_ = 0;
    TLineIndex index_;
};
