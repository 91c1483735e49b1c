#include "core/CountedString.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"

namespace {
// A file holding bytes, opened for binary reading.
class BytesFile {
public:
    explicit BytesFile(const std::string& bytes) : path_(dir_.File("data.bin")) {
        qftest::WriteFileBytes(path_, bytes);
        f_ = std::fopen(path_.c_str(), "rb");
    }
    ~BytesFile() {
        if (f_) std::fclose(f_);
    }
    std::FILE* get() const { return f_; }

private:
    qftest::TempDir dir_;
    std::string path_;
    std::FILE* f_ = nullptr;
};

std::string Units(const std::u16string& s) {
    std::string b;
    for (char16_t c : s) {
        b.push_back(static_cast<char>(c & 0xFF));
        b.push_back(static_cast<char>(c >> 8));
    }
    return b;
}

std::string Count(uint32_t n) {
    return std::string{static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF),
                       static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24 & 0xFF)};
}
}  // namespace

TEST(CountedString, WritesCountThenUnitsLittleEndian) {
    qftest::TempDir dir;
    std::string path = dir.File("out.bin");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    EXPECT_TRUE(WriteCountedString(f, u"abc"));
    EXPECT_TRUE(WriteCountedString(f, u""));
    EXPECT_TRUE(WriteCountedString(f, std::u16string(u"ab\0cd", 5)));  // up to the first NUL
    EXPECT_TRUE(WriteCountedString(f, u"\u20AC"));
    std::fclose(f);
    EXPECT_EQ(std::string("\x03\x00\x00\x00" "a\x00" "b\x00" "c\x00", 10) + std::string(4, '\0') +
                  std::string("\x02\x00\x00\x00" "a\x00" "b\x00", 8) + std::string("\x01\x00\x00\x00\xAC\x20", 6),
              qftest::ReadFileBytes(path));
}

TEST(CountedString, ReadsWhatTheCountPromisesOrNothing) {
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        std::u16string text;
    } cases[] = {
        {"empty file", "", false, u""},
        {"short count", std::string("\x03\x00", 2), false, u""},
        {"zero count", Count(0), true, u""},
        {"abc", Count(3) + Units(u"abc"), true, u"abc"},
        {"more bytes follow", Count(2) + Units(u"abc"), true, u"ab"},
        {"count 5, 4 units", Count(5) + Units(u"abcd"), false, u""},
        {"odd byte short", Count(2) + Units(u"a") + "b", false, u""},
        {"count FFFFFFFF", Count(0xFFFFFFFFu) + Units(u"ab"), false, u""},
        {"count 7FFFFFFF, nothing", Count(0x7FFFFFFFu), false, u""},
        {"count 80000000", Count(0x80000000u) + Units(u"abcdef"), false, u""},
        {"ends at a NUL", Count(3) + Units(std::u16string(u"a\0c", 3)), true, u"a"},
        {"surrogates kept", Count(2) + Units(u"\U0001F600"), true, u"\U0001F600"},
    };
    for (const Case& c : cases) {
        BytesFile f(c.bytes);
        ASSERT_NE(nullptr, f.get());
        std::u16string s = u"old";
        EXPECT_EQ(c.ok, ReadCountedString(f.get(), s)) << c.what;
        EXPECT_EQ(c.text, s) << c.what;
    }
}

TEST(CountedString, LongRecordsSpanChunks) {
    std::u16string big;
    for (int i = 0; i < 100000; ++i) big.push_back(static_cast<char16_t>(u'A' + i % 26));
    BytesFile f(Count(100000) + Units(big) + Count(1) + Units(u"z"));
    std::u16string s;
    ASSERT_TRUE(ReadCountedString(f.get(), s));
    EXPECT_EQ(big, s);
    ASSERT_TRUE(ReadCountedString(f.get(), s));
    EXPECT_EQ(u"z", s);
    EXPECT_FALSE(ReadCountedString(f.get(), s));
}
