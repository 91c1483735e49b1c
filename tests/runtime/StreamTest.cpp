#include <gtest/gtest.h>

#include "Stream.h"
#include "SysUtils.h"
#include "TestSupport.h"

TEST(Stream, MemorySeekReadWrite) {
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Size(), 5);
    EXPECT_EQ(m.Seek(-2, soEnd), 3);
    char b[4] = {};
    EXPECT_EQ(m.Read(b, 4), 2);
    EXPECT_EQ(std::string(b, 2), "lo");
    EXPECT_EQ(m.Seek(-10, soCurrent), 0);
}

TEST(Stream, FileCreateWriteReopenAndShareModes) {
    qftest::TempDir dir;
    std::string path = dir.File("f.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.Seek(0, soBeginning), 0);
        char b[3];
        f.ReadBuffer(b, 3);
        EXPECT_EQ(std::string(b, 3), "abc");
        f.WriteBuffer("XY", 2);
    }
    EXPECT_EQ(qftest::ReadFileBytes(path), "abcXYf");
    {
        TFileStream r(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(r.Size(), 6);
        char b[10];
        EXPECT_THROW(r.ReadBuffer(b, 10), EReadError);
#if defined(_WIN32)
        // A second writer is refused while the first reader denies writing.
        EXPECT_THROW(TFileStream(path, fmOpenWrite | fmShareDenyNone), EFOpenError);
#endif
        TFileStream r2(path, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(r2.Size(), 6);
    }
    {
        TFileStream w(path, fmOpenReadWrite);
        w.SetSize(2);
    }
    EXPECT_EQ(qftest::ReadFileBytes(path), "ab");
    EXPECT_THROW(TFileStream(dir.File("missing"), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(dir.File("no/such/dir"), fmCreate), EFCreateError);
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(dir.Path()));
}
