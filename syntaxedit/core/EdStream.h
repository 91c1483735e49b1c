// A read-only character cursor over a text store's line nodes. A CR counts as
// one character, so positions are the editor's character offsets. A stream
// kept across an edit of its store finds its node again (by position, clamped
// to the new size) before its next use. No platform headers.
#pragma once

#include <cstdint>

#include "Stream.h"
#include "TextStore.h"

class TEdStream : public TStream {
public:
    explicit TEdStream(TTextStore* store = nullptr);

    TTextStore* Store() const { return store_; }
    // Aims the stream at another store; the cursor is cleared.
    void SetStore(TTextStore* store);
    // Aims the cursor at offsetInNode of node, whose first character is at
    // nodeStart, and takes the text's size again.
    void StartAt(TLineNode* node, int32_t offsetInNode, int32_t nodeStart);

    // The character at the cursor; 0 past the end of a line or of the text.
    uint8_t CurChar() const;
    int32_t GetPosition() const {
        Sync();
        return position_;
    }
    bool AtEnd() const {
        Sync();
        return position_ >= size_;
    }
    // Moves the cursor by walking the nodes; p is clamped to 0..Size.
    void MoveTo(int32_t p);
    void Next();
    void Prev();
    TLineNode* Node() const {
        Sync();
        return node_;
    }
    int32_t Offset() const {
        Sync();
        return offset_;
    }

    int32_t Read(void* Buffer, int32_t Count) override;
    // EStreamError "Cannot write to a read-only stream".
    int32_t Write(const void* Buffer, int32_t Count) override;
    // From the end: Size + Offset. The result is clamped to 0..Size.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override {
        Sync();
        return size_;
    }

private:
    // Re-aims the cursor when the store was edited since it was aimed.
    void Sync() const {
        if (store_ && seen_ != store_->EditCount()) Reaim();
    }
    void Reaim() const;

    TTextStore* store_ = nullptr;
    // The cursor is re-aimed lazily, from const readers too.
    mutable uint32_t seen_ = 0;
    mutable int32_t size_ = 0;
    mutable TLineNode* node_ = nullptr;
    mutable int32_t position_ = 0;
    mutable int32_t offset_ = 0;
};
