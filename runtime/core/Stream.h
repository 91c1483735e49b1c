// Byte streams: the abstract stream, a memory stream and a file stream with
// share modes. Offsets are 64-bit. No platform headers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Component.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
public:
    virtual int32_t Read(void* Buffer, int32_t Count) = 0;   // bytes read, 0 at the end
    virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t p) { Seek(p, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);

    // Whole-count variants: EReadError / EWriteError when short.
    void ReadBuffer(void* Buffer, int32_t Count);
    void WriteBuffer(const void* Buffer, int32_t Count);
    // Copies Count bytes from Source (all of it from the start when Count is 0).
    int64_t CopyFrom(TStream& Source, int64_t Count);
};

class TMemoryStream : public TStream {
public:
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t NewSize) override;
    void Clear();

    const uint8_t* Memory() const { return data_.data(); }
    std::vector<uint8_t>& Bytes() { return data_; }
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s);

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

// Open modes and share modes combine with "|", as the file APIs expect.
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF,
};

class TFileStream : public TStream {
public:
    // EFCreateError "Cannot create file %s" / EFOpenError "Cannot open file %s".
    TFileStream(const std::string& FileName, uint16_t Mode);
    ~TFileStream() override;

    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    const std::string& FileName() const { return name_; }

private:
    std::string name_;
    FILE* f_ = nullptr;
    bool lastWrite_ = false;  // stdio needs a seek between a write and a read
};

bool FileExists(const std::string& FileName);
