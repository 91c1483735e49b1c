// A read-only stream over a NUL-terminated buffer that the caller owns and
// keeps alive. No platform headers.
#pragma once

#include <cstdint>

#include "Stream.h"

class TFastMemoryStream : public TStream {
public:
    explicit TFastMemoryStream(const char* buffer);

    int32_t Read(void* Buffer, int32_t Count) override;
    // EStreamError "Cannot write to a read-only stream".
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return size_; }
    const char* Memory() const { return buffer_; }

private:
    const char* buffer_;
    int64_t size_;
    int64_t pos_ = 0;
};
