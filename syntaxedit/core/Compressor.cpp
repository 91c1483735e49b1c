#include "Compressor.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const char kMagicKH[4] = {'W', 'R', 'Z', 'L'};
const char kMagicLZH[4] = {'!', 'H', 'Z', 'L'};

// The container's input and output: streams or files, with the messages of each.
class Io {
public:
    Io(TCompressor& c, bool forAdvise) : c_(c), streams_(c.UseStreams), advise_(forAdvise) {}
    ~Io() { Abandon(); }

    void OpenInput() {
        if (streams_) {
            if (!c_.InputStream)
                Fail(advise_ ? "Compressor edvise : can not initialize the input stream!"
                             : "Compressor (de)compression : Failed to initialize input stream !");
            in_ = c_.InputStream;
            return;
        }
        try {
            inFile_.reset(new TFileStream(c_.InputFileName, fmOpenRead | fmShareDenyWrite));
        } catch (const EStreamError&) {
            Fail(advise_ ? "Compressor advise : can open input file : " + c_.InputFileName
                         : "Compressor (de)compression : Failed to open input file : " + c_.InputFileName);
        }
        in_ = inFile_.get();
    }

    void OpenOutput() {
        if (streams_) {
            if (!c_.OutputStream) Fail("Compressor (de)compression : Failed to initialize output stream !");
            out_ = c_.OutputStream;
            return;
        }
        try {
            outFile_.reset(new TFileStream(c_.OutputFileName, fmCreate));
        } catch (const EStreamError&) {
            Fail("Compressor (de)compression : Failed to open output file : " + c_.OutputFileName);
        }
        out_ = outFile_.get();
    }

    // Bytes from the input position to its end.
    int64_t InputSize() {
        try {
            int64_t n = in_->Size() - in_->Position();
            if (n >= 0 && n <= 0xFFFFFFFFll) return n;
        } catch (const Exception&) {
        }
        if (advise_)
            Fail(streams_ ? std::string("Compressor advise : can not get size of inputstream !")
                          : "Compressor advise : can not get the size of : " + c_.InputFileName);
        Fail(streams_ ? std::string("Compressor compression : Failed to obtain the size of the input stream !")
                      : "Compressor compression : Failed to obtain the size of : " + c_.InputFileName);
    }

    // Reads up to n bytes; fewer only at the end of the input.
    int ReadSome(void* buf, int n, const char* method) {
        int done = 0;
        try {
            while (done < n) {
                int32_t got = in_->Read(static_cast<char*>(buf) + done, n - done);
                if (got <= 0) break;
                done += got;
            }
        } catch (const Exception&) {
            FailRead(method);
        }
        return done;
    }

    // Reads exactly n bytes of a header field, block length or block.
    void ReadExact(void* buf, int n) {
        if (ReadSome(buf, n, nullptr) != n) FailRead(nullptr);
    }

    [[noreturn]] void FailRead(const char* method) {
        std::string tag = method ? std::string(" (") + method + ")" : std::string();
        if (advise_)
            Fail(streams_ ? std::string("Compressor advise : input stream read error !")
                          : "Compressor advise : read error on input file : " + c_.InputFileName);
        Fail(streams_ ? "Compressor : Error reading from input stream !" + tag
                      : "Compressor : Error reading from input file : " + c_.InputFileName + tag);
    }

    void Write(const void* buf, int n) {
        int32_t done = 0;
        try {
            done = out_->Write(buf, n);
        } catch (const Exception&) {
        }
        if (done != n)
            Fail(streams_ ? std::string("Compressor : Error writing to output stream !")
                          : "Compressor : Error writing to output file : " + c_.OutputFileName);
        written_ += n;
    }

    void SeekInput(int64_t p) { in_->Seek(p, soBeginning); }
    int64_t InputPosition() { return in_->Position(); }
    int64_t Written() const { return written_; }
    bool Streams() const { return streams_; }
    const std::string& InputName() const { return c_.InputFileName; }

    // Success: close the files.
    void Finish() {
        inFile_.reset();
        outFile_.reset();
    }

    [[noreturn]] static void Fail(const std::string& message) { throw ECompressorException(message); }

private:
    // Failure: close both files and delete a partial output file.
    void Abandon() {
        inFile_.reset();
        if (outFile_) {
            outFile_.reset();
            remove(c_.OutputFileName.c_str());
        }
    }

    TCompressor& c_;
    bool streams_;
    bool advise_;
    TStream* in_ = nullptr;
    TStream* out_ = nullptr;
    std::unique_ptr<TFileStream> inFile_, outFile_;
    int64_t written_ = 0;
};

// Buffered byte source and sink of the LZH coder.
class Reader : public TLzhSource {
public:
    explicit Reader(Io& io) : io_(io), buf_(TCompressor::kBufferSize) {}
    int GetByte() override {
        if (pos_ == len_) {
            if (ended_) return -1;
            len_ = io_.ReadSome(buf_.data(), TCompressor::kBlockSize, "LZH");
            pos_ = 0;
            if (len_ < TCompressor::kBlockSize) ended_ = true;
            if (len_ == 0) return -1;
        }
        return buf_[static_cast<size_t>(pos_++)];
    }
    [[noreturn]] void InputExhausted() override { io_.FailRead("LZH"); }

private:
    Io& io_;
    std::vector<uint8_t> buf_;
    int pos_ = 0, len_ = 0;
    bool ended_ = false;
};

class Writer : public TLzhSink {
public:
    explicit Writer(Io& io) : io_(io), buf_(TCompressor::kBufferSize) {}
    void PutByte(uint8_t b) override {
        buf_[static_cast<size_t>(len_++)] = b;
        count_++;
        if (len_ == TCompressor::kBlockSize) Flush();
    }
    void Flush() {
        if (len_ > 0) io_.Write(buf_.data(), len_);
        len_ = 0;
    }
    uint64_t Count() const { return count_; }

private:
    Io& io_;
    std::vector<uint8_t> buf_;
    int len_ = 0;
    uint64_t count_ = 0;
};

void PutLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

int KHCompressBlock(const uint8_t* in, int n, uint8_t* out) {
    uint16_t table[4096];
    memset(table, 0xFF, sizeof table);  // every entry empty
    out[0] = 64;
    int ctrlPos = 1, o = 3, items = 0, p = 0;
    uint32_t ctrl = 0;
    while (p < n && o <= n) {
        if (items == 16) {
            out[ctrlPos] = static_cast<uint8_t>(ctrl >> 8);
            out[ctrlPos + 1] = static_cast<uint8_t>(ctrl);
            ctrlPos = o;
            o += 2;
            ctrl = 0;
            items = 0;
        }
        items++;
        uint8_t b = in[p];
        int run = 1;
        while (p + run < n && run < 4095 && in[p + run] == b) run++;
        if (run >= 16) {
            ctrl = (ctrl << 1) | 1;
            out[o++] = 0;
            out[o++] = static_cast<uint8_t>((run - 16) >> 8);
            out[o++] = static_cast<uint8_t>(run - 16);
            out[o++] = b;
            p += run;
            continue;
        }
        if (p + 2 < n) {
            uint32_t h = ((((static_cast<uint32_t>(b) << 4) ^ in[p + 1]) << 4) ^ in[p + 2]) * 40543u;
            h = (h >> 4) & 0xFFF;
            int cand = table[h] == 0xFFFF ? -1 : table[h];
            table[h] = static_cast<uint16_t>(p);
            if (cand >= 0 && p - cand <= 4095) {
                int len = 0;
                while (len < 18 && p + len < n && in[cand + len] == in[p + len]) len++;
                if (len >= 3) {
                    uint32_t v = (static_cast<uint32_t>(p - cand) << 4) | static_cast<uint32_t>(len - 3);
                    ctrl = (ctrl << 1) | 1;
                    out[o++] = static_cast<uint8_t>(v >> 8);
                    out[o++] = static_cast<uint8_t>(v);
                    p += len;
                    continue;
                }
            }
        }
        ctrl <<= 1;
        out[o++] = b;
        p++;
    }
    ctrl <<= 16 - items;
    out[ctrlPos] = static_cast<uint8_t>(ctrl >> 8);
    out[ctrlPos + 1] = static_cast<uint8_t>(ctrl);
    if (o <= n) return o;
    out[0] = 128;
    if (n > 0) memcpy(out + 1, in, static_cast<size_t>(n));
    return n + 1;
}

int KHDecompressBlock(const uint8_t* data, int length, uint8_t* out) {
    const int cap = TCompressor::kBlockSize;
    if (length < 2) return 0;
    if (data[0] == 128) {
        if (length - 1 > cap) return -1;
        memcpy(out, data + 1, static_cast<size_t>(length - 1));
        return length - 1;
    }
    if (length < 3) return -1;
    uint32_t ctrl = (static_cast<uint32_t>(data[1]) << 8) | data[2];
    int pos = 3, items = 0, n = 0;
    while (pos < length) {
        if (items == 16) {
            if (pos + 2 > length) return -1;
            ctrl = (static_cast<uint32_t>(data[pos]) << 8) | data[pos + 1];
            pos += 2;
            items = 0;
            if (pos >= length) break;
        }
        items++;
        bool copy = (ctrl & 0x8000) != 0;
        ctrl <<= 1;
        if (!copy) {
            if (n >= cap) return -1;
            out[n++] = data[pos++];
            continue;
        }
        if (pos + 2 > length) return -1;
        uint32_t v = (static_cast<uint32_t>(data[pos]) << 8) | data[pos + 1];
        pos += 2;
        int d = static_cast<int>(v >> 4);
        if (d == 0) {
            if (pos + 2 > length) return -1;
            int run = static_cast<int>(((v & 0xFF) << 8) | data[pos]) + 16;
            uint8_t b = data[pos + 1];
            pos += 2;
            if (run > cap - n) return -1;
            memset(out + n, b, static_cast<size_t>(run));
            n += run;
        } else {
            int len = static_cast<int>(v & 15) + 3;
            if (d > n || len > cap - n) return -1;
            for (int i = 0; i < len; i++, n++) out[n] = out[n - d];
        }
    }
    return n;
}

int64_t TCompressor::Compress() {
    bool kh = Method == cmAuto ? Advise() : Method == cmKH;
    Io io(*this, false);
    if (!UseStreams && !FileExists(InputFileName))
        Io::Fail("Compressor compression : Failed to obtain the size of : " + InputFileName);
    io.OpenInput();
    int64_t size = io.InputSize();
    io.OpenOutput();

    uint8_t header[8];
    memcpy(header, kh ? kMagicKH : kMagicLZH, 4);
    PutLE32(header + 4, static_cast<uint32_t>(size));
    io.Write(header, 8);
    if (kh) {
        std::vector<uint8_t> in(kBufferSize), out(kBufferSize);
        int n;
        do {
            n = io.ReadSome(in.data(), kBlockSize, "Compressor/KH");
            int len = KHCompressBlock(in.data(), n, out.data());
            uint8_t lenBytes[2] = {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8)};
            io.Write(lenBytes, 2);
            io.Write(out.data(), len);
        } while (n == kBlockSize);
    } else {
        Reader reader(io);
        Writer writer(io);
        LzhEncode(reader, writer);
        writer.Flush();
    }
    io.Finish();
    return io.Written();
}

int64_t TCompressor::Decompress() {
    Io io(*this, false);
    io.OpenInput();
    io.OpenOutput();
    uint8_t head[4];
    io.ReadExact(head, 4);
    bool kh = memcmp(head, kMagicKH, 4) == 0;
    if (!kh && memcmp(head, kMagicLZH, 4) != 0)
        Io::Fail(UseStreams ? std::string("Compressor decompression : input stream contains no valid header !")
                            : InputFileName + " : Compressor decompression : this file has no valid header !");
    io.ReadExact(head, 4);
    uint32_t size = GetLE32(head);
    if (kh) {
        const char* mismatch = "Compressor (decompression Compressor/KH) : Original and compressed sizes do not match !";
        std::vector<uint8_t> block(65535), out(kBufferSize);
        int n;
        do {
            uint8_t lenBytes[2];
            io.ReadExact(lenBytes, 2);
            int len = lenBytes[0] | (lenBytes[1] << 8);
            io.ReadExact(block.data(), len);
            n = KHDecompressBlock(block.data(), len, out.data());
            if (n < 0) Io::Fail("Compressor (decompression Compressor/KH) : Invalid compressed block !");
            io.Write(out.data(), n);
            if (io.Written() > size) Io::Fail(mismatch);
        } while (n == kBlockSize);
        if (io.Written() != size) Io::Fail(mismatch);
    } else {
        Reader reader(io);
        Writer writer(io);
        LzhDecode(reader, writer, size);
        writer.Flush();
        if (writer.Count() != size)
            Io::Fail("Compressor (LZH decompression) : Original and compressed sizes do not match !");
    }
    io.Finish();
    return io.Written();
}

bool TCompressor::Advise() {
    Io io(*this, true);
    if (!UseStreams && !FileExists(InputFileName))
        Io::Fail("Compressor advise : can not get the size of : " + InputFileName);
    io.OpenInput();
    int64_t base = io.InputPosition();
    int64_t size = io.InputSize();
    bool result = false;
    if (size < 3 * kBlockSize) {
        Method = cmLZH;
    } else {
        std::vector<uint8_t> in(kBufferSize), out(kBufferSize);
        int64_t total = 0;
        for (int64_t at : {size / 3, size * 2 / 3}) {
            io.SeekInput(base + (at / kBlockSize) * kBlockSize);
            io.ReadExact(in.data(), kBlockSize);
            total += KHCompressBlock(in.data(), kBlockSize, out.data());
        }
        result = total < static_cast<int64_t>(2 * kBlockSize) * AdvisePercent / 100;
    }
    if (UseStreams) io.SeekInput(base);
    io.Finish();
    return result;
}
