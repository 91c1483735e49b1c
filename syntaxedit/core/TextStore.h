// The editor's text: a doubly linked list of line nodes, edited by character
// offset. Every line but the last ends with one CR; the last line never does
// (a text ending in CR has an empty last line); an empty text has no nodes.
// A line longer than kMaxLinePiece is cut into pieces, the later ones marked
// gmContinuation. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "LineNode.h"

class TSyntaxMemo;

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
    void AddMemo(TSyntaxMemo* memo);
    const std::vector<TSyntaxMemo*>& Memos() const { return memos_; }

    int32_t TextLength() const { return textLength_; }  // every CR counts one
    int32_t LineCount() const { return lineCount_; }    // number of nodes

    // The node holding offset (clamped to 0..TextLength; the text's end belongs
    // to the last node), its first character's offset and its index. Walks from
    // the nearest of the first node, the last node and the last node found, so
    // work at the end of the text or near the previous edit costs no walk.
    TLineNode* NodeAtOffset(int32_t offset, int32_t* lineStart = nullptr, int32_t* lineIndex = nullptr);
    // The node of line index, clamped to the last line; null for an empty text.
    TLineNode* NodeAtLine(int32_t index, int32_t* lineStart = nullptr, int32_t* walked = nullptr);

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

    // Releases the track data of a line that goes away; deletes it when unset.
    std::function<void(TObject*)> OnTrackFree;

private:
    struct Pieces {
        TLineNode* first = nullptr;
        TLineNode* last = nullptr;
        int32_t count = 0;
    };
    Pieces Cut(const char* text, size_t len, bool lastLine, const TLineNode* inheritFrom);
    void Link(TLineNode* before, const Pieces& p, TLineNode* after);
    void ReleaseTrack(TObject* t);
    void Remember(TLineNode* n, int32_t start, int32_t index);
    void Forget() { cache_ = nullptr; }

    TLineNode* head_ = nullptr;
    TLineNode* tail_ = nullptr;
    std::vector<TSyntaxMemo*> memos_;
    int32_t textLength_ = 0;
    int32_t lineCount_ = 0;
    TLineNode* cache_ = nullptr;  // last node found, with its offset and index
    int32_t cacheStart_ = 0;
    int32_t cacheIndex_ = 0;
};
