#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#if !defined(_WIN32)
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "InfoDatabase.h"
#include "SearchFile.h"
#include "TestSupport.h"

namespace {

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string Hex(const char* hex) {
    std::string out;
    int hi = -1;
    for (const char* p = hex; *p; ++p) {
        int v;
        if (*p >= '0' && *p <= '9') v = *p - '0';
        else if (*p >= 'a' && *p <= 'f') v = *p - 'a' + 10;
        else continue;
        if (hi < 0) {
            hi = v;
        } else {
            out += char(hi * 16 + v);
            hi = -1;
        }
    }
    return out;
}

// One record "h" with a property "A" = "v": written out by hand from the layout.
const char kGolden[] =
    "02000000 5500 4400"                       // user data "UD"
    "01000000"                                 // one record
    "00000000 ffffffff 00000000 00000000"      // Key 0, Source -1, Level 0, Status 0
    "ffffffff ffffffff"                        // Reserved1, Reserved2
    "01000000 6800"                            // Value "h"
    "00000000 00000000"                        // Parent, Reserved3: null
    "02000000"                                 // two properties
    "02000000 00000000 01000000 4100 00000000" // type 2, flags 0, "A", no depend name
    "01000000 00000000 ffffffff 01000000 7600" // one value: id 0, depend -1, "v"
    "00000000 01000000 0a000000"               // type 0, flags 1, "Properties"
    "5000 7200 6f00 7000 6500 7200 7400 6900 6500 7300"
    "00000000 02000000"                        // no depend name, two values
    "00000000 ffffffff 01000000 4100"          // id 0: "A"
    "01000000 ffffffff 0a000000"               // id 1: "Properties"
    "5000 7200 6f00 7000 6500 7200 7400 6900 6500 7300";

// Offsets of every count in the golden file.
const size_t kCountOffsets[] = {0, 8, 36, 42, 46, 50, 62, 68, 72, 84, 98, 122, 126, 138, 152};

void FillGolden(InfoDatabase& db) {
    long key = 0;
    db.Add(std::u16string(u"h"), BStr(), 0, -1, 1, key);
    long c = 0;
    db.FindRecordByKey(key, c);
    db.AddValue(c, std::u16string(u"A"), BStr(), 2, 0, std::u16string(u"v"), 0, -1);
    db.DestroyCursor(c);
}

// Two records the failing opens must leave alone.
void FillOther(InfoDatabase& db) {
    long key = 0;
    db.Add(std::u16string(u"keep-1"), BStr(), 0, -1, 1, key);
    db.Add(std::u16string(u"keep-2"), BStr(), 1, -1, 1, key);
}

void ExpectOther(InfoDatabase& db) {
    ASSERT_EQ(db.Size(), 2);
    long c = 0;
    db.FindRecord(std::u16string(u"keep-2"), c);
    EXPECT_EQ(db.get_Level(c), 1);
    db.DestroyCursor(c);
}

long Save(InfoDatabase& db, const std::string& path, const BStr& user) {
    long r = 0;
    db.Save(U16(path), user, r);
    return r;
}

}  // namespace

TEST(SearchFile, GoldenFile) {
    qftest::TempDir dir;
    InfoDatabase db;
    FillGolden(db);
    const std::string path = dir.File("golden.search");
    ASSERT_EQ(Save(db, path, std::u16string(u"UD")), 1);
    EXPECT_EQ(qftest::ReadFileBytes(path), Hex(kGolden));

    InfoDatabase back;
    BStr user;
    long r = 0;
    back.Open(U16(path), user, r);
    ASSERT_EQ(r, 1);
    EXPECT_EQ(*user, u"UD");
    long c = 0;
    back.FindRecord(std::u16string(u"h"), c);
    ASSERT_NE(c, InfoDatabase::kNone);
    EXPECT_EQ(back.get_Key(c), 0);
    EXPECT_EQ(back.get_Source(c), -1);
    EXPECT_EQ(back.get_Type(c), 0);  // not stored
    EXPECT_EQ(*back.get_Parent(c), u"");  // null comes back empty
    long n = 0;
    back.GetValueCount(c, std::u16string(u"Properties"), n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(back.get_PropertyType(c, std::u16string(u"A")), 2);
}

TEST(SearchFile, EmptyDatabaseAndNullUserData) {
    qftest::TempDir dir;
    InfoDatabase db;
    const std::string path = dir.File("empty.search");
    ASSERT_EQ(Save(db, path, BStr()), 1);
    EXPECT_EQ(qftest::ReadFileBytes(path), Hex("00000000 00000000"));
    ASSERT_EQ(Save(db, path, std::u16string(u"x")), 1);
    EXPECT_EQ(qftest::ReadFileBytes(path), Hex("01000000 7800 00000000"));
    ASSERT_EQ(Save(db, path, BStr()), 1);
    BStr user;
    long r = 0;
    db.Open(U16(path), user, r);
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(user.has_value());
    EXPECT_EQ(*user, u"");
}

TEST(SearchFile, SaveOpenAndAddFileRoundTrip) {
    qftest::TempDir dir;
    InfoDatabase db;
    long key = 0, c = 0;
    const std::u16string wide = u"http://h/\u0416\U0001F600";
    for (int i = 0; i < 5; ++i) db.Add(wide + char16_t(u'0' + i), std::u16string(u"p"), i, -1, 4, key);
    db.FindRecordByKey(3, c);
    db.put_Status(c, 1);
    db.put_Reserved1(c, 42);
    db.put_Reserved3(c, std::u16string(u"mark"));
    db.AddValue(c, std::u16string(u"Link"), std::u16string(u"Row"), 1, 1, std::u16string(u"a"), 0, 2);
    db.AddValue(c, std::u16string(u"Link"), std::u16string(u"Row"), 1, 1, BStr(), 1, 3);
    const std::string path = dir.File("round.search");
    const std::u16string user = u"state\u00e9";
    ASSERT_EQ(Save(db, path, user), 1);
    const std::string first = qftest::ReadFileBytes(path);

    InfoDatabase back;
    BStr got;
    long r = 0;
    back.Open(U16(path), got, r);
    ASSERT_EQ(r, 1);
    EXPECT_EQ(*got, user);
    EXPECT_EQ(back.Size(), 5);
    long bc = 0;
    back.FindRecordByKey(3, bc);
    EXPECT_EQ(*back.get_Value(bc), wide + u"3");
    EXPECT_EQ(back.get_Status(bc), 1);
    EXPECT_EQ(back.get_Reserved1(bc), 42);
    EXPECT_EQ(back.get_Level(bc), 3);
    EXPECT_EQ(back.get_Type(bc), 0);
    BStr v;
    long id = 0, dep = 0;
    back.GetValue(bc, std::u16string(u"Link"), 1, v, id, dep);
    EXPECT_EQ(*v, u"");
    EXPECT_EQ(id, 1);
    EXPECT_EQ(dep, 3);
    // Saving what was read gives the same bytes.
    ASSERT_EQ(Save(back, path, user), 1);
    EXPECT_EQ(qftest::ReadFileBytes(path), first);

    // AddFile appends: every record twice, with equal keys.
    back.AddFile(U16(path), got, r);
    ASSERT_EQ(r, 1);
    EXPECT_EQ(back.Size(), 10);
    long k1 = 0, k2 = 0, cur = 0, ok = 0;
    back.CreateCursor(cur);
    for (int i = 0; i < 5; ++i) back.NextRecord(cur);
    back.TestCursor(cur, ok);
    ASSERT_EQ(ok, 1);
    k2 = back.get_Key(cur);
    back.FindRecordByKey(k2, c);
    k1 = back.get_Key(c);
    EXPECT_EQ(k1, k2);
    // Keys given out later never collide with keys that were read.
    back.Add(std::u16string(u"new"), BStr(), 0, -1, 1, key);
    EXPECT_EQ(key, 5);
    InfoDatabase fresh;
    fresh.AddFile(U16(path), got, r);
    fresh.Add(std::u16string(u"new"), BStr(), 0, -1, 1, key);
    EXPECT_EQ(key, 5);
}

// Every prefix of a file and every count set to 0xFFFFFFFF fails cleanly and
// leaves the open database as it was.
TEST(SearchFile, TruncatedAndHostileFilesFailCleanly) {
    qftest::TempDir dir;
    const std::string golden = Hex(kGolden);
    const std::string path = dir.File("bad.search");
    InfoDatabase db;
    FillOther(db);
    for (size_t len = 0; len < golden.size(); ++len) {
        qftest::WriteFileBytes(path, golden.substr(0, len));
        BStr user = std::u16string(u"before");
        long r = 7;
        db.Open(U16(path), user, r);
        EXPECT_EQ(r, 0) << "length " << len;
        EXPECT_FALSE(user.has_value());
        db.AddFile(U16(path), user, r);
        EXPECT_EQ(r, 0) << "length " << len;
        ExpectOther(db);
    }
    for (size_t at : kCountOffsets) {
        std::string bad = golden;
        bad.replace(at, 4, "\xff\xff\xff\xff");
        qftest::WriteFileBytes(path, bad);
        BStr user;
        long r = 7;
        db.Open(U16(path), user, r);
        EXPECT_EQ(r, 0) << "count at " << at;
        ExpectOther(db);
    }
    // Anything else may load or fail, but never harms what is open.
    for (size_t at = 0; at + 4 <= golden.size(); ++at) {
        std::string bad = golden;
        bad.replace(at, 4, "\xff\xff\xff\xff");
        std::u16string user;
        RecordList records;
        std::string error;
        bool ok = SearchFile::Parse(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), user, records, error);
        EXPECT_EQ(ok, error.empty()) << at;
    }
    // A missing file, too.
    BStr user;
    long r = 7;
    db.Open(U16(dir.File("missing.search")), user, r);
    EXPECT_EQ(r, 0);
    ExpectOther(db);
}

TEST(SearchFile, WriteErrorsReportFailure) {
    qftest::TempDir dir;
    InfoDatabase db;
    FillOther(db);
    EXPECT_EQ(Save(db, dir.File("no-such-folder/x.search"), BStr()), 0);
    EXPECT_EQ(Save(db, dir.Path(), BStr()), 0);  // a folder
#if !defined(_WIN32)
    EXPECT_EQ(Save(db, "/dev/full", BStr()), 0);  // every write fails: disk full
    struct stat st;
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // a device is written in place, never replaced
#endif
}

// Saving while another thread adds records never writes a torn file.
TEST(SearchFile, SaveDuringAdds) {
    qftest::TempDir dir;
    InfoDatabase db;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 3000; ++i) {
            long key = 0, c = 0;
            db.Add(std::u16string(u"r"), BStr(), 0, -1, 1, key);
            db.FindRecordByKey(key, c);
            db.AddValue(c, std::u16string(u"P"), BStr(), 0, 0, std::u16string(u"value"), 0, -1);
            db.DestroyCursor(c);
        }
        done = true;
    });
    const std::string path = dir.File("live.search");
    int saves = 0, bad = 0;
    while (!done || saves < 2) {
        if (Save(db, path, BStr()) != 1) ++bad;
        std::string bytes = qftest::ReadFileBytes(path);
        std::u16string user;
        RecordList records;
        std::string error;
        if (!SearchFile::Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), user, records, error))
            ++bad;
        // A record is saved before or after its value went in, never half way.
        for (const auto& r : records)
            if (r->Properties.size() != 0 && r->Properties.size() != 2) ++bad;
        ++saves;
    }
    writer.join();
    EXPECT_EQ(bad, 0);
}

#if !defined(_WIN32)
// A save that fails part-way (the disk fills up: here a file-size limit of
// the process) leaves the previous file whole, and no temporary file behind.
TEST(SearchFile, FailedSaveKeepsThePreviousFile) {
    qftest::TempDir dir;
    const std::string path = dir.File("s.search");
    InfoDatabase small;
    FillOther(small);
    ASSERT_EQ(Save(small, path, BStr()), 1);
    const std::string before = qftest::ReadFileBytes(path);

    InfoDatabase big;
    long key = 0;
    for (int i = 0; i < 2000; ++i) big.Add(U16("http://h/page-" + std::to_string(i)), BStr(), 0, -1, 1, key);
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit low = old;
    low.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    const long r = Save(big, path, BStr());
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(qftest::ReadFileBytes(path), before);
    InfoDatabase back;
    BStr user;
    long opened = 0;
    back.Open(U16(path), user, opened);
    ASSERT_EQ(opened, 1);
    ExpectOther(back);
    std::vector<std::string> left;
    if (DIR* d = opendir(dir.Path().c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') left.push_back(e->d_name);
        closedir(d);
    }
    EXPECT_EQ(left, (std::vector<std::string>{"s.search"}));
    // A whole save replaces it.
    ASSERT_EQ(Save(big, path, BStr()), 1);
    EXPECT_GT(qftest::ReadFileBytes(path).size(), before.size());
}
#endif
