// A read-only character cursor over a text store's line nodes. A CR counts as
// one character, so positions are the editor's character offsets.
// No platform headers.
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
    int32_t GetPosition() const { return position_; }
    bool AtEnd() const { return position_ >= size_; }
    // Moves the cursor by walking the nodes; p is clamped to 0..Size.
    void MoveTo(int32_t p);
    void Next();
    void Prev();
    TLineNode* Node() const { return node_; }
    int32_t Offset() const { return offset_; }

    int32_t Read(void* Buffer, int32_t Count) override;
    // EStreamError "Cannot write to a read-only stream".
    int32_t Write(const void* Buffer, int32_t Count) override;
    // From the end: Size + Offset. The result is clamped to 0..Size.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return size_; }

private:
    TTextStore* store_ = nullptr;
    int32_t size_ = 0;
    TLineNode* node_ = nullptr;
    int32_t position_ = 0;
    int32_t offset_ = 0;
};
