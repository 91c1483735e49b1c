#include "Stream.h"

#include <algorithm>
#include <cstring>

#include "SysUtils.h"

#if defined(_WIN32)
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#define QF_FSEEK _fseeki64
#define QF_FTELL _ftelli64
#else
#include <sys/stat.h>
#include <unistd.h>
#define QF_FSEEK fseeko
#define QF_FTELL ftello
#endif

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
    if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(Count > 0 ? Count : 1, 65536)));
    int64_t left = Count;
    while (left > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(left, static_cast<int64_t>(buf.size())));
        Source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return Count;
}

// ---- TMemoryStream

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0 || pos_ >= Size()) return 0;
    int64_t n = std::min<int64_t>(Count, Size() - pos_);
    memcpy(Buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0) return 0;
    int64_t end = pos_ + Count;
    if (end > Size()) data_.resize(static_cast<size_t>(end));
    memcpy(data_.data() + pos_, Buffer, static_cast<size_t>(Count));
    pos_ = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? pos_ : Size();
    int64_t p = base + Offset;
    pos_ = p < 0 ? 0 : p;
    return pos_;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    data_.resize(static_cast<size_t>(NewSize < 0 ? 0 : NewSize));
    if (pos_ > Size()) pos_ = Size();
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& s) {
    s.SetPosition(0);
    int64_t n = s.Size();
    data_.resize(static_cast<size_t>(n));
    if (n > 0) s.ReadBuffer(data_.data(), static_cast<int32_t>(n));
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& s) {
    if (!data_.empty()) s.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
}

// ---- TFileStream

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : name_(FileName) {
    const char* how;
    if (Mode == fmCreate) how = "w+b";
    else if ((Mode & 3) == fmOpenRead) how = "rb";
    else how = "r+b";  // write and read-write keep the contents
#if defined(_WIN32)
    int share = _SH_DENYNO;
    switch (Mode == fmCreate ? fmShareExclusive : (Mode & 0xF0)) {
        case fmShareExclusive: share = _SH_DENYRW; break;
        case fmShareDenyWrite: share = _SH_DENYWR; break;
        case fmShareDenyRead: share = _SH_DENYRD; break;
        default: share = _SH_DENYNO; break;
    }
    f_ = _fsopen(FileName.c_str(), how, share);
#else
    f_ = fopen(FileName.c_str(), how);
#endif
    if (!f_) {
        if (Mode == fmCreate) throw EFCreateError(Format("Cannot create file %s", FileName.c_str()));
        throw EFOpenError(Format("Cannot open file %s", FileName.c_str()));
    }
}

TFileStream::~TFileStream() {
    if (f_) fclose(f_);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0) return 0;
    if (lastWrite_) {
        fflush(f_);
        lastWrite_ = false;
    }
    return static_cast<int32_t>(fread(Buffer, 1, static_cast<size_t>(Count), f_));
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0) return 0;
    if (!lastWrite_) {
        QF_FSEEK(f_, 0, SEEK_CUR);
        lastWrite_ = true;
    }
    size_t n = fwrite(Buffer, 1, static_cast<size_t>(Count), f_);
    // A full disk may surface only on flush; report it here, not later as success.
    if (n == static_cast<size_t>(Count) && fflush(f_) != 0) return 0;
    return static_cast<int32_t>(n);
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (lastWrite_) fflush(f_);
    lastWrite_ = false;
    if (QF_FSEEK(f_, Offset, whence) != 0) return -1;
    return QF_FTELL(f_);
}

void TFileStream::SetSize(int64_t NewSize) {
    fflush(f_);
#if defined(_WIN32)
    if (_chsize_s(_fileno(f_), NewSize) != 0) throw EStreamError("Stream size cannot be changed");
#else
    if (ftruncate(fileno(f_), NewSize) != 0) throw EStreamError("Stream size cannot be changed");
#endif
    if (Position() > NewSize) Seek(NewSize, soBeginning);
}

bool FileExists(const std::string& FileName) {
#if defined(_WIN32)
    struct _stati64 st;
    return _stati64(FileName.c_str(), &st) == 0 && (st.st_mode & _S_IFDIR) == 0;
#else
    struct stat st;
    return stat(FileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}
