#include "EdStream.h"

#include <algorithm>
#include <cstring>

#include "SysUtils.h"

TEdStream::TEdStream(TTextStore* store) { SetStore(store); }

void TEdStream::SetStore(TTextStore* store) {
    store_ = store;
    size_ = store ? store->TextLength() : 0;
    seen_ = store ? store->EditCount() : 0;
    node_ = nullptr;
    position_ = offset_ = 0;
}

void TEdStream::StartAt(TLineNode* node, int32_t offsetInNode, int32_t nodeStart) {
    node_ = node;
    offset_ = offsetInNode;
    position_ = offsetInNode + nodeStart;
    size_ = store_ ? store_->TextLength() : 0;
    seen_ = store_ ? store_->EditCount() : 0;
}

void TEdStream::Reaim() const {
    seen_ = store_->EditCount();
    size_ = store_->TextLength();
    position_ = std::max(0, std::min(position_, size_));
    if (!node_ && position_ == 0) return;  // still cleared
    int32_t start;
    node_ = store_->NodeAtOffset(position_, &start);
    offset_ = node_ ? position_ - start : 0;
    if (!node_) position_ = 0;
}

uint8_t TEdStream::CurChar() const {
    Sync();
    if (!node_ || offset_ < 0 || offset_ >= node_->Len) return 0;
    return static_cast<uint8_t>(node_->Text[offset_]);
}

void TEdStream::MoveTo(int32_t p) {
    Sync();
    p = std::max(0, std::min(p, size_));
    if (!node_) {
        // A cleared cursor starts at the first character.
        node_ = store_ ? store_->Head() : nullptr;
        position_ = offset_ = 0;
    }
    int32_t d = p - position_;
    if (d < 0) {
        int32_t left = -d;
        while (left > 0 && node_) {
            if (left <= offset_) {
                offset_ -= left;
                break;
            }
            if (!node_->Prev) {
                offset_ = 0;
                break;
            }
            left -= offset_ + 1;
            node_ = node_->Prev;
            offset_ = node_->Len - 1;
        }
    } else {
        while (d > 0 && node_) {
            int32_t rest = node_->Len - offset_;
            if (d < rest) {
                offset_ += d;
                break;
            }
            if (node_->Next) {
                d -= rest;
                node_ = node_->Next;
                offset_ = 0;
            } else {
                offset_ = node_->Len;
                break;
            }
        }
    }
    position_ = p;
}

void TEdStream::Next() {
    Sync();
    if (!node_) return;
    if (offset_ >= node_->Len - 1) {
        if (node_->Next) {
            node_ = node_->Next;
            offset_ = 0;
            position_++;
        } else {
            if (offset_ == node_->Len - 1) position_++;
            offset_ = node_->Len;
        }
    } else {
        offset_++;
        position_++;
    }
}

void TEdStream::Prev() {
    Sync();
    if (!node_) return;
    if (offset_ == 0) {
        if (!node_->Prev) return;
        node_ = node_->Prev;
        offset_ = node_->Len;
    }
    offset_--;
    position_--;
}

int32_t TEdStream::Read(void* Buffer, int32_t Count) {
    char* out = static_cast<char*>(Buffer);
    int32_t done = 0;
    Sync();
    if (!node_ && store_ && position_ == 0) node_ = store_->Head();
    while (Count > 0 && position_ < size_ && node_) {
        int32_t rest = std::max(0, node_->Len - offset_);
        if (rest < Count) {
            memcpy(out + done, node_->Text + offset_, static_cast<size_t>(rest));
            done += rest;
            position_ += rest;
            Count -= rest;
            if (!node_->Next) {
                offset_ = node_->Len;
                break;
            }
            node_ = node_->Next;
            offset_ = 0;
        } else {
            memcpy(out + done, node_->Text + offset_, static_cast<size_t>(Count));
            done += Count;
            offset_ += Count;
            position_ += Count;
            Count = 0;
            // A read that ends with its node leaves the cursor on the next
            // one, so that CurChar and Next see the character at Position.
            if (offset_ == node_->Len && node_->Next) {
                node_ = node_->Next;
                offset_ = 0;
            }
        }
    }
    return done;
}

int32_t TEdStream::Write(const void*, int32_t) { throw EStreamError("Cannot write to a read-only stream"); }

int64_t TEdStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    Sync();
    int64_t target = Origin == soBeginning ? Offset : Origin == soCurrent ? position_ + Offset : size_ + Offset;
    if (Origin != soCurrent || Offset != 0)
        MoveTo(static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(target, size_))));
    return position_;
}
