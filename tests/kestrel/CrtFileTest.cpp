#include "core/CrtFile.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {
// What a line feed written in text mode becomes in the file.
#if defined(_WIN32)
const std::string kNl = "\r\n";
#else
const std::string kNl = "\n";
#endif

std::vector<std::string> ReadAll(CrtFile& f) {
    std::vector<std::string> lines;
    std::string line;
    while (f.ReadLine(line)) lines.push_back(line);
    EXPECT_EQ("", line);
    return lines;
}
}  // namespace

TEST(CrtFile, ModeNumbers) {
    struct Case {
        long flags;
        const char* mode;
    } cases[] = {{0, "w"}, {1, "r"}, {2, "a"}, {3, "w+"}, {4, "r+"}, {5, "w+b"}, {-1, "w+b"}, {100, "w+b"}};
    for (const Case& c : cases) EXPECT_STREQ(c.mode, CrtFile::ModeOf(c.flags)) << c.flags;
}

TEST(CrtFile, WithNoFileEveryMemberDoesNothing) {
    qftest::TempDir dir;
    CrtFile f;
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(f.IsOpen());
        EXPECT_FALSE(f.WriteText("x"));
        EXPECT_FALSE(f.PutLineFeed());
        std::string line = "old";
        EXPECT_FALSE(f.ReadLine(line));
        EXPECT_EQ("", line);
        EXPECT_FALSE(f.PutString(u"x"));
        std::u16string s = u"old";
        EXPECT_FALSE(f.GetString(s));
        EXPECT_EQ(u"", s);
        EXPECT_EQ(0, f.Position());
        EXPECT_FALSE(f.SetPosition(3));
        f.Close();
        // Second round: after a file was opened and closed.
        ASSERT_TRUE(f.Open(dir.File("a.txt"), 0));
        f.Close();
    }
}

TEST(CrtFile, LinesWrittenAndReadBack) {
    qftest::TempDir dir;
    std::string path = dir.File("lines.txt");
    CrtFile f;
    ASSERT_TRUE(f.Open(path, 0));
    EXPECT_TRUE(f.WriteText("a"));
    EXPECT_TRUE(f.PutLineFeed());
    EXPECT_TRUE(f.WriteText(std::string("b\0hidden", 8)));  // C text: up to the NUL
    EXPECT_TRUE(f.PutLineFeed());
    EXPECT_TRUE(f.WriteText(""));
    f.Close();
    EXPECT_EQ("a" + kNl + "b" + kNl, qftest::ReadFileBytes(path));
    ASSERT_TRUE(f.Open(path, 1));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), ReadAll(f));
}

TEST(CrtFile, LineEndsAndOddLines) {
    qftest::TempDir dir;
    std::string path = dir.File("odd.txt");
    std::string longLine(100000, 'x');
    qftest::WriteFileBytes(path, "x\r\r\ny\n\n" + std::string("p\0q\r\n", 5) + "\r\n" + longLine + "\nlast");
    CrtFile f;
    ASSERT_TRUE(f.Open(path, 1));
    EXPECT_EQ((std::vector<std::string>{"x", "y", "", "p", "", longLine, "last"}), ReadAll(f));
}

TEST(CrtFile, OpenClosesThePreviousStream) {
    qftest::TempDir dir;
    CrtFile f;
    ASSERT_TRUE(f.Open(dir.File("a.txt"), 0));
    EXPECT_TRUE(f.WriteText("first"));
    ASSERT_TRUE(f.Open(dir.File("b.txt"), 0));
    EXPECT_EQ("first", qftest::ReadFileBytes(dir.File("a.txt")));  // flushed and closed
    EXPECT_TRUE(f.WriteText("second"));
    // A failed open leaves no stream, the previous one closed too.
    EXPECT_FALSE(f.Open(dir.File("missing/c.txt"), 1));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.WriteText("lost"));
    EXPECT_EQ("second", qftest::ReadFileBytes(dir.File("b.txt")));
}

TEST(CrtFile, PositionsAndDirectionChanges) {
    qftest::TempDir dir;
    std::string path = dir.File("pos.txt");
    CrtFile f;
    ASSERT_TRUE(f.Open(path, 3));  // w+
    EXPECT_TRUE(f.WriteText("hello"));
    EXPECT_EQ(5, f.Position());
    EXPECT_TRUE(f.SetPosition(1));
    std::string line;
    EXPECT_TRUE(f.ReadLine(line));
    EXPECT_EQ("ello", line);
    EXPECT_FALSE(f.SetPosition(-1));
    f.Close();

    ASSERT_TRUE(f.Open(path, 0));
    f.WriteText("hello");
    f.PutLineFeed();
    f.WriteText("world");
    f.PutLineFeed();
    ASSERT_TRUE(f.Open(path, 4));  // r+: read a line, then write where reading stopped
    EXPECT_TRUE(f.ReadLine(line));
    EXPECT_EQ("hello", line);
    EXPECT_TRUE(f.WriteText("W"));
    EXPECT_TRUE(f.ReadLine(line));
    EXPECT_EQ("orld", line);
    f.Close();
    EXPECT_EQ("hello" + kNl + "World" + kNl, qftest::ReadFileBytes(path));

    ASSERT_TRUE(f.Open(path, 2));  // a
    EXPECT_TRUE(f.WriteText("!"));
    f.Close();
    EXPECT_EQ("hello" + kNl + "World" + kNl + "!", qftest::ReadFileBytes(path));
}

TEST(CrtFile, CountedStringsRoundTrip) {
    qftest::TempDir dir;
    CrtFile f;
    ASSERT_TRUE(f.Open(dir.File("rec.bin"), 9));  // w+b
    EXPECT_TRUE(f.PutString(u"one"));
    EXPECT_TRUE(f.PutString(u""));
    EXPECT_TRUE(f.PutString(u"\u00E9t\u00E9"));
    EXPECT_EQ(4 + 6 + 4 + 4 + 6, f.Position());
    ASSERT_TRUE(f.SetPosition(0));
    std::u16string s;
    EXPECT_TRUE(f.GetString(s));
    EXPECT_EQ(u"one", s);
    EXPECT_TRUE(f.GetString(s));
    EXPECT_EQ(u"", s);
    EXPECT_TRUE(f.GetString(s));
    EXPECT_EQ(u"\u00E9t\u00E9", s);
    EXPECT_FALSE(f.GetString(s));
}

TEST(CrtFile, ExistenceTest) {
    qftest::TempDir dir;
    qftest::WriteFileBytes(dir.File("here.txt"), "x");
    EXPECT_TRUE(CrtFile::CanOpenForReading(dir.File("here.txt")));
    EXPECT_FALSE(CrtFile::CanOpenForReading(dir.File("gone.txt")));
    EXPECT_FALSE(CrtFile::CanOpenForReading(""));
}
