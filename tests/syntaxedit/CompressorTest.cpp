#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Compressor.h"
#include "FastMemoryStream.h"
#include "SysUtils.h"
#include "TestSupport.h"

namespace {

std::string TextBytes(size_t n, uint32_t seed = 3) {
    static const char* words[] = {"PORT", "PASV", "227", "Entering", "Passive", "Mode", "RETR", "file.txt",
                                  "150", "Opening", "BINARY", "226", "Transfer", "complete", "> ", "< "};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += words[rng() % 16];
        s += rng() % 7 == 0 ? "\r\n" : " ";
    }
    s.resize(n);
    return s;
}

std::string RunCompressor(TCompressor& c, const std::string& in, bool pack) {
    TMemoryStream i, o;
    if (!in.empty()) i.WriteBuffer(in.data(), static_cast<int32_t>(in.size()));
    i.SetPosition(0);
    c.UseStreams = true;
    c.InputStream = &i;
    c.OutputStream = &o;
    int64_t n = pack ? c.Compress() : c.Decompress();
    EXPECT_EQ(n, o.Size());
    return std::string(reinterpret_cast<const char*>(o.Memory()), static_cast<size_t>(o.Size()));
}

std::string Pack(const std::string& in, uint8_t method) {
    TCompressor c;
    c.Method = method;
    return RunCompressor(c, in, true);
}

std::string Unpack(const std::string& in) {
    TCompressor c;
    return RunCompressor(c, in, false);
}

std::string LE32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; i++) s[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string Block(const std::string& data) {
    return std::string(1, static_cast<char>(data.size())) + static_cast<char>(data.size() >> 8) + data;
}

// A stream that takes only limit bytes.
class LimitedStream : public TMemoryStream {
public:
    explicit LimitedStream(int64_t limit) : limit_(limit) {}
    int32_t Write(const void* Buffer, int32_t Count) override {
        int64_t room = limit_ - Size();
        if (room <= 0) return 0;
        return TMemoryStream::Write(Buffer, static_cast<int32_t>(std::min<int64_t>(Count, room)));
    }

private:
    int64_t limit_;
};

}  // namespace

TEST(Compressor, RoundTrips) {
    const size_t sizes[] = {0, 1, 100, 32767, 32768, 65536, 98303, 98304};
    for (size_t n : sizes) {
        std::string inputs[] = {TextBytes(n), qftest::PatternBytes(n, static_cast<uint32_t>(n)), std::string(n, 'z')};
        for (const std::string& in : inputs)
            for (uint8_t method : {TCompressor::cmKH, TCompressor::cmLZH}) {
                std::string packed = Pack(in, method);
                EXPECT_EQ(packed.substr(0, 4), method == TCompressor::cmKH ? "WRZL" : "!HZL");
                EXPECT_EQ(packed.substr(4, 4), LE32(static_cast<uint32_t>(n)));
                EXPECT_EQ(Unpack(packed), in) << n << " bytes, method " << int(method);
            }
    }
}

TEST(Compressor, KHBlockShapes) {
    // Empty input: the header and one block made from no bytes.
    EXPECT_EQ(Pack("", TCompressor::cmKH), std::string("WRZL") + LE32(0) + std::string("\x01\x00\x80", 3));
    // A run of one value: a handful of run items per block.
    std::string runs = Pack(std::string(40000, '\x07'), TCompressor::cmKH);
    EXPECT_LT(runs.size(), 100u);
    // Random data: stored blocks of n + 1 bytes.
    std::string random = Pack(qftest::PatternBytes(40000, 9), TCompressor::cmKH);
    EXPECT_EQ(random.substr(8, 3), std::string("\x01\x80\x80", 3));  // length 32769, kind 128
    EXPECT_EQ(random.size(), 8u + 2 + 32769 + 2 + 7233);
    // A copy at distance 1 of length 18 repeats the previous byte.
    const uint8_t block[] = {64, 0x40, 0x00, 'q', 0x00, 0x1F};
    uint8_t out[TCompressor::kBufferSize];
    ASSERT_EQ(KHDecompressBlock(block, 6, out), 19);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 19), std::string(19, 'q'));
}

TEST(Compressor, LZHShapes) {
    // An empty input still codes one literal and flushes the bits.
    std::string empty = Pack("", TCompressor::cmLZH);
    EXPECT_GT(empty.size(), 8u);
    EXPECT_LE(empty.size(), 10u);
    EXPECT_EQ(Unpack(empty), "");
    // One repeated character: a literal, then matches of 60.
    std::string same = Pack(std::string(6000, 'a'), TCompressor::cmLZH);
    EXPECT_LT(same.size(), 200u);
    // Far repeats beyond the 4096-byte ring buffer.
    std::string far = qftest::PatternBytes(5000, 1) + TextBytes(20000) + qftest::PatternBytes(5000, 1);
    EXPECT_EQ(Unpack(Pack(far, TCompressor::cmLZH)), far);
}

TEST(Compressor, AdviseChoosesTheMethod) {
    TCompressor c;
    c.Method = TCompressor::cmAuto;
    std::string small = TextBytes(98303);
    std::string packed = RunCompressor(c, small, true);
    EXPECT_EQ(packed.substr(0, 4), "!HZL");  // too small to sample: LZH from now on
    EXPECT_EQ(c.Method, TCompressor::cmLZH);
    EXPECT_EQ(RunCompressor(c, std::string(200000, 'k'), true).substr(0, 4), "!HZL");

    TMemoryStream in;
    std::string repetitive;
    while (repetitive.size() < 200000) repetitive += "220 Service ready\r\n";
    in.WriteBuffer(repetitive.data(), static_cast<int32_t>(repetitive.size()));
    in.SetPosition(123);
    TCompressor a;
    a.UseStreams = true;
    a.InputStream = &in;
    EXPECT_TRUE(a.Advise());
    EXPECT_EQ(in.Position(), 123);  // left where it was
    EXPECT_EQ(a.Method, TCompressor::cmKH);
    TMemoryStream noise;
    std::string r = qftest::PatternBytes(200000, 4);
    noise.WriteBuffer(r.data(), static_cast<int32_t>(r.size()));
    a.InputStream = &noise;
    EXPECT_FALSE(a.Advise());
}

TEST(Compressor, StreamModeStartsAtThePosition) {
    std::string data = TextBytes(50000);
    for (uint8_t method : {TCompressor::cmKH, TCompressor::cmLZH}) {
        TMemoryStream in, out;
        in.WriteBuffer("0123456789", 10);
        in.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
        in.SetPosition(10);
        out.WriteBuffer("xy", 2);  // output goes after what is there
        TCompressor c;
        c.Method = method;
        c.UseStreams = true;
        c.InputStream = &in;
        c.OutputStream = &out;
        int64_t n = c.Compress();
        EXPECT_EQ(n, out.Size() - 2);
        std::string packed(reinterpret_cast<const char*>(out.Memory()) + 2, static_cast<size_t>(n));
        EXPECT_EQ(packed.substr(4, 4), LE32(50000));  // the size from the position on
        EXPECT_EQ(Unpack(packed), data);
    }
}

TEST(Compressor, CorruptInputsAreRefused) {
    const std::string readError = "Compressor : Error reading from input stream !";
    const std::string badBlock = "Compressor (decompression Compressor/KH) : Invalid compressed block !";
    const std::string khSize = "Compressor (decompression Compressor/KH) : Original and compressed sizes do not match !";
    const std::string lzhSize = "Compressor (LZH decompression) : Original and compressed sizes do not match !";
    const std::string lzhRead = "Compressor : Error reading from input stream ! (LZH)";
    std::string lzhText = Pack(TextBytes(5000), TCompressor::cmLZH);
    std::string lzhRun = Pack(std::string(200, 'a'), TCompressor::cmLZH);
    std::string run9;  // nine runs of 4095: more than a block holds
    for (int i = 0; i < 9; i++) run9 += std::string("\x00\x0F\xEF", 3) + "r";
    struct Case {
        const char* what;
        std::string input;
        std::string message;
    } cases[] = {
        {"empty", "", readError},
        {"short magic", "WRZ", readError},
        {"unknown magic", "ABCD" + LE32(0), "Compressor decompression : input stream contains no valid header !"},
        {"no block", "WRZL" + LE32(5), readError},
        {"block past the end", "WRZL" + LE32(5) + std::string("\x64\x00", 2) + "0123456789", readError},
        {"copy before the start", "WRZL" + LE32(5) + Block(std::string("\x40\x40\x00" "a\x00\x2F", 6)), badBlock},
        {"run beyond a block", "WRZL" + LE32(40000) + Block(std::string("\x40\xFF\x80", 3) + run9), badBlock},
        {"stored block too long", "WRZL" + LE32(40000) + Block("\x80" + std::string(40000, 's')), badBlock},
        {"control word cut", "WRZL" + LE32(5) + Block("\x40\x40"), badBlock},
        {"item cut", "WRZL" + LE32(5) + Block(std::string("\x40\x40\x00" "a\x00", 5)), badBlock},
        {"size larger than the data", "WRZL" + LE32(10) + Block("\x80hello"), khSize},
        {"size smaller than the data", "WRZL" + LE32(3) + Block("\x80hello"), khSize},
        {"LZH cut in half", lzhText.substr(0, lzhText.size() / 2), lzhRead},
        {"LZH claims 4 GB", "!HZL" + LE32(0xFFFFFFFF) + "abc", lzhRead},
        {"LZH run past the size", lzhRun.substr(0, 4) + LE32(2) + lzhRun.substr(8), lzhSize},
    };
    for (const Case& c : cases) {
        TMemoryStream in, out;
        if (!c.input.empty()) in.WriteBuffer(c.input.data(), static_cast<int32_t>(c.input.size()));
        in.SetPosition(0);
        TCompressor k;
        k.UseStreams = true;
        k.InputStream = &in;
        k.OutputStream = &out;
        try {
            k.Decompress();
            ADD_FAILURE() << c.what;
        } catch (const ECompressorException& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        if (c.message.find("no valid header") != std::string::npos) {
            EXPECT_EQ(out.Size(), 0);  // nothing written
        }
    }
}

TEST(Compressor, OutputErrorsAreRaised) {
    std::string data = TextBytes(100000);
    for (uint8_t method : {TCompressor::cmKH, TCompressor::cmLZH}) {
        for (int64_t limit : {0, 8, 2000}) {
            TMemoryStream in;
            in.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
            in.SetPosition(0);
            LimitedStream out(limit);
            TCompressor c;
            c.Method = method;
            c.UseStreams = true;
            c.InputStream = &in;
            c.OutputStream = &out;
            try {
                c.Compress();
                ADD_FAILURE() << limit;
            } catch (const ECompressorException& e) {
                EXPECT_EQ(e.Message(), "Compressor : Error writing to output stream !");
            }
        }
    }
    TMemoryStream in;
    in.WriteBuffer(data.data(), 100);
    in.SetPosition(0);
    TFastMemoryStream readOnly("");
    TCompressor c;
    c.UseStreams = true;
    c.InputStream = &in;
    c.OutputStream = &readOnly;
    EXPECT_THROW(c.Compress(), ECompressorException);
    c.OutputStream = nullptr;
    try {
        c.Compress();
        FAIL();
    } catch (const ECompressorException& e) {
        EXPECT_EQ(e.Message(), "Compressor (de)compression : Failed to initialize output stream !");
    }
}

TEST(Compressor, FileMode) {
    qftest::TempDir dir;
    std::string data = TextBytes(70000);
    qftest::WriteFileBytes(dir.File("in.txt"), data);
    TCompressor c;
    c.Method = TCompressor::cmLZH;
    c.InputFileName = dir.File("in.txt");
    c.OutputFileName = dir.File("packed.bin");
    int64_t n = c.Compress();
    EXPECT_EQ(static_cast<size_t>(n), qftest::ReadFileBytes(dir.File("packed.bin")).size());
    c.InputFileName = dir.File("packed.bin");
    c.OutputFileName = dir.File("out.txt");
    EXPECT_EQ(c.Decompress(), 70000);
    EXPECT_EQ(qftest::ReadFileBytes(dir.File("out.txt")), data);

    c.InputFileName = dir.File("missing.txt");
    try {
        c.Compress();
        FAIL();
    } catch (const ECompressorException& e) {
        EXPECT_EQ(e.Message(), "Compressor compression : Failed to obtain the size of : " + dir.File("missing.txt"));
    }
    // A damaged file leaves no partial output behind.
    std::string packed = qftest::ReadFileBytes(dir.File("packed.bin"));
    qftest::WriteFileBytes(dir.File("cut.bin"), packed.substr(0, packed.size() / 2));
    c.InputFileName = dir.File("cut.bin");
    c.OutputFileName = dir.File("partial.txt");
    try {
        c.Decompress();
        FAIL();
    } catch (const ECompressorException& e) {
        EXPECT_EQ(e.Message(), "Compressor : Error reading from input file : " + dir.File("cut.bin") + " (LZH)");
    }
    EXPECT_FALSE(FileExists(dir.File("partial.txt")));
    qftest::WriteFileBytes(dir.File("junk.bin"), "JUNK1234");
    c.InputFileName = dir.File("junk.bin");
    try {
        c.Decompress();
        FAIL();
    } catch (const ECompressorException& e) {
        EXPECT_EQ(e.Message(), dir.File("junk.bin") + " : Compressor decompression : this file has no valid header !");
    }
}
