// The file object through its vtable, by name and by dispatch id.
#include <gtest/gtest.h>

#include <set>

#include "Bindings.h"
#include "ComTest.h"
#include "TestSupport.h"

namespace {
class KesFileTest : public ComTest {
protected:
    // Runs body once per binding on a fresh object, in a fresh folder.
    template <class F>
    void ForEachBinding(F body) {
        for (Binding b : AllBindings()) {
            SCOPED_TRACE(BindingName(b));
            qftest::TempDir dir;
            std::unique_ptr<FileApi> f = FileApi::Make(b);
            body(*f, dir);
        }
    }
};

std::string Bytes(const char* s, size_t n) { return std::string(s, n); }
}  // namespace

TEST_F(KesFileTest, TextLinesGetCrLfAndReadBackWithout) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string path = dir.File("report.txt");
        EXPECT_EQ(1, f.Open(path, 0));
        EXPECT_EQ(1, f.WriteString(L"a"));
        EXPECT_EQ(1, f.PutBR());
        EXPECT_EQ(1, f.WriteString(L"b"));
        EXPECT_EQ(1, f.PutBR());
        f.Close();
        EXPECT_EQ("a\r\nb\r\n", qftest::ReadFileBytes(path));
        EXPECT_EQ(1, f.Open(path, 1));
        EXPECT_EQ(L"a", f.ReadString().ToWide());
        EXPECT_EQ(L"b", f.ReadString().ToWide());
        WideString end = f.ReadString();
        EXPECT_FALSE(end.IsNull());  // at the end: empty, not null
        EXPECT_EQ(0u, end.Length());
        f.Close();
    });
}

TEST_F(KesFileTest, LineEndsLongLinesAndAnsiText) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string path = dir.File("in.txt");
        std::string longLine(70000, 'q');
        qftest::WriteFileBytes(path, "x\r\r\ny\n" + longLine + "\r\ncaf\xE9\r\n");
        EXPECT_EQ(1, f.Open(path, 1));
        EXPECT_EQ(L"x", f.ReadString().ToWide());
        EXPECT_EQ(L"y", f.ReadString().ToWide());
        EXPECT_EQ(longLine, f.ReadString().ToAnsi());
        EXPECT_EQ(L"caf\u00E9", f.ReadString().ToWide());
        f.Close();

        EXPECT_EQ(1, f.Open(path, 0));
        EXPECT_EQ(1, f.WriteString(L"\u00E9t\u00E9"));
        f.Close();
        EXPECT_EQ("\xE9t\xE9", qftest::ReadFileBytes(path));
    });
}

TEST_F(KesFileTest, CountedStrings) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string path = dir.File("rec.bin");
        EXPECT_EQ(1, f.Open(path, 0));
        EXPECT_EQ(1, f.PutString(L"abc"));
        EXPECT_EQ(1, f.PutString(WideString(L"de\0f", 4)));  // up to the first NUL
        EXPECT_EQ(1, f.PutString(WideString()));              // null: count 0
        EXPECT_EQ(1, f.PutString(L"\u20AC"));
        f.Close();
        EXPECT_EQ(Bytes("\x03\x00\x00\x00" "a\x00" "b\x00" "c\x00", 10) + Bytes("\x02\x00\x00\x00" "d\x00" "e\x00", 8) +
                      Bytes("\x00\x00\x00\x00", 4) + Bytes("\x01\x00\x00\x00\xAC\x20", 6),
                  qftest::ReadFileBytes(path));
        EXPECT_EQ(1, f.Open(path, 1));
        EXPECT_EQ(L"abc", f.GetString().ToWide());
        EXPECT_EQ(L"de", f.GetString().ToWide());
        WideString empty = f.GetString();
        EXPECT_FALSE(empty.IsNull());
        EXPECT_EQ(0u, empty.Length());
        EXPECT_EQ(L"\u20AC", f.GetString().ToWide());
        EXPECT_TRUE(NullOrEmpty(f, f.GetString()));  // nothing left
        f.Close();
    });
}

// A count beyond the bytes left (up to 0xFFFFFFFF) gives a null string and
// reserves nothing large.
TEST_F(KesFileTest, CountedStringWithABadCount) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        struct Case {
            const char* what;
            std::string bytes;
        } cases[] = {
            {"count 5, 4 units", Bytes("\x05\x00\x00\x00" "a\x00" "b\x00" "c\x00" "d\x00", 12)},
            {"count FFFFFFFF", Bytes("\xFF\xFF\xFF\xFF" "a\x00" "b\x00", 8)},
            {"count 7FFFFFFF", Bytes("\xFF\xFF\xFF\x7F", 4)},
            {"count 40000000", Bytes("\x00\x00\x00\x40" "z\x00", 6)},
            {"half a count", Bytes("\x01\x00", 2)},
        };
        for (const Case& c : cases) {
            std::string path = dir.File("bad.bin");
            qftest::WriteFileBytes(path, c.bytes);
            EXPECT_EQ(1, f.Open(path, 1)) << c.what;
            EXPECT_TRUE(NullOrEmpty(f, f.GetString())) << c.what;
            f.Close();
        }
    });
}

TEST_F(KesFileTest, Positions) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string path = dir.File("pos.txt");
        EXPECT_EQ(1, f.Open(path, 3));  // w+
        EXPECT_EQ(0, f.Position());
        EXPECT_EQ(1, f.WriteString(L"hello"));
        EXPECT_EQ(5, f.Position());
        f.SetPosition(1);
        EXPECT_EQ(1, f.Position());
        EXPECT_EQ(L"ello", f.ReadString().ToWide());
        f.SetPosition(0);
        EXPECT_EQ(1, f.WriteString(L"J"));
        f.Close();
        EXPECT_EQ("Jello", qftest::ReadFileBytes(path));

        // Read a line, then write where reading stopped.
        qftest::WriteFileBytes(path, "hello\r\nworld\r\n");
        EXPECT_EQ(1, f.Open(path, 4));  // r+
        EXPECT_EQ(L"hello", f.ReadString().ToWide());
        EXPECT_EQ(7, f.Position());
        EXPECT_EQ(1, f.WriteString(L"W"));
        EXPECT_EQ(L"orld", f.ReadString().ToWide());
        f.Close();
        EXPECT_EQ("hello\r\nWorld\r\n", qftest::ReadFileBytes(path));
    });
}

TEST_F(KesFileTest, OpenModes) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string path = dir.File("m.txt");
        EXPECT_EQ(0, f.Open(dir.File("missing.txt"), 1));  // r
        EXPECT_EQ(0, f.Open(dir.File("no/such/dir.txt"), 0));
        qftest::WriteFileBytes(path, "x");
        EXPECT_EQ(1, f.Open(path, 2));  // a
        f.WriteString(L"y");
        f.PutBR();
        f.Close();
        EXPECT_EQ("xy\r\n", qftest::ReadFileBytes(path));
        EXPECT_EQ(1, f.Open(path, 7));  // anything else: w+b, so no CR
        f.WriteString(L"z");
        f.PutBR();
        f.Close();
        EXPECT_EQ("z\n", qftest::ReadFileBytes(path));
        EXPECT_EQ(1, f.Open(path, 0));  // w empties
        f.Close();
        EXPECT_EQ("", qftest::ReadFileBytes(path));
    });
}

TEST_F(KesFileTest, CheckExistsLeavesTheOwnStreamAlone) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        qftest::WriteFileBytes(dir.File("here.mask"), "x");
        EXPECT_EQ(1, f.CheckExists(dir.File("here.mask")));
        EXPECT_EQ(0, f.CheckExists(dir.File("gone.mask")));
        EXPECT_EQ(1, f.Open(dir.File("out.txt"), 0));
        EXPECT_EQ(1, f.WriteString(L"a"));
        EXPECT_EQ(1, f.CheckExists(dir.File("here.mask")));
        EXPECT_EQ(1, f.WriteString(L"b"));
        f.Close();
        EXPECT_EQ("ab", qftest::ReadFileBytes(dir.File("out.txt")));
    });
}

// Without an open file (never opened, closed, or after a failed open) every
// member does nothing: no crash, writes report 0.
TEST_F(KesFileTest, WithNoOpenFileMembersDoNothing) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(round);
            EXPECT_EQ(0, f.WriteString(L"x"));
            EXPECT_EQ(0, f.PutBR());
            EXPECT_EQ(0, f.PutString(L"x"));
            WideString line = f.ReadString();
            EXPECT_FALSE(line.IsNull());
            EXPECT_EQ(0u, line.Length());
            EXPECT_TRUE(NullOrEmpty(f, f.GetString()));
            EXPECT_EQ(0, f.Position());
            f.SetPosition(10);
            EXPECT_EQ(0, f.Position());
            f.Close();
            f.Close();
            if (round == 0) {
                EXPECT_EQ(1, f.Open(dir.File("a.txt"), 0));
                f.Close();
            } else if (round == 1) {
                EXPECT_EQ(0, f.Open(dir.File("missing.txt"), 1));
            }
        }
    });
}

// Opening again closes the stream opened before: its text is written out and
// the file is free to delete.
TEST_F(KesFileTest, OpenAgainClosesThePreviousFile) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        std::string a = dir.File("a.txt"), b = dir.File("b.txt");
        EXPECT_EQ(1, f.Open(a, 0));
        EXPECT_EQ(1, f.WriteString(L"first"));
        EXPECT_EQ(1, f.Open(b, 0));
        EXPECT_EQ("first", qftest::ReadFileBytes(a));
        EXPECT_TRUE(DeleteFileA(a.c_str()));
        EXPECT_EQ(1, f.WriteString(L"second"));
        EXPECT_EQ(0, f.Open(dir.File("missing.txt"), 1));  // fails, and b is closed too
        EXPECT_EQ("second", qftest::ReadFileBytes(b));
        EXPECT_EQ(0, f.WriteString(L"lost"));
        EXPECT_TRUE(DeleteFileA(b.c_str()));
    });
}

TEST_F(KesFileTest, FileSearch) {
    ForEachBinding([](FileApi& f, qftest::TempDir& dir) {
        for (const char* n : {"one.mask", "two.mask", "note.txt"})
            qftest::WriteFileBytes(dir.File(n), "x");
        std::set<std::wstring> found;
        WideString name = f.FindFirst(dir.File("*.mask"));
        while (!NullOrEmpty(f, name)) {
            found.insert(name.ToWide());
            name = f.FindNext();
        }
        EXPECT_EQ((std::set<std::wstring>{L"one.mask", L"two.mask"}), found);
        EXPECT_TRUE(NullOrEmpty(f, f.FindNext()));  // stays at the end
        EXPECT_TRUE(NullOrEmpty(f, f.FindFirst(dir.File("*.none"))));
        EXPECT_TRUE(NullOrEmpty(f, f.FindNext()));

        // A new search replaces the one before.
        EXPECT_EQ(L"note.txt", f.FindFirst(dir.File("note.*")).ToWide());
        EXPECT_EQ(L"one.mask", f.FindFirst(dir.File("one.*")).ToWide());
        EXPECT_TRUE(NullOrEmpty(f, f.FindNext()));
    });
}

// Searches give their handles back: a new search, the end of a search and
// the object's release each close the one before. The system hands out the
// lowest free handle slot, so a leaked handle shows as a moved slot.
TEST_F(KesFileTest, FileSearchHandlesAreClosed) {
    qftest::TempDir dir;
    qftest::WriteFileBytes(dir.File("a.txt"), "x");
    qftest::WriteFileBytes(dir.File("b.txt"), "x");
    auto NextSlot = [] {
        HANDLE h = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(h);
        return h;
    };
    std::unique_ptr<FileApi> f = FileApi::Make(Binding::Vtable);
    // A whole search first, to warm up whatever the system keeps for good.
    f->FindFirst(dir.File("*.txt"));
    while (!f->FindNext().IsNull()) {
    }
    HANDLE before = NextSlot();
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(f->FindFirst(dir.File("*.txt")).IsNull());
    while (!f->FindNext().IsNull()) {
    }
    EXPECT_EQ(before, NextSlot()) << "the finished search kept its handle";
    for (int i = 0; i < 5; ++i) f->FindFirst(dir.File("*.txt"));
    f.reset();
    EXPECT_EQ(before, NextSlot()) << "the released object kept its handle";
}
