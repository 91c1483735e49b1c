#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "InfoDatabase.h"

namespace {

const long kNone = InfoDatabase::kNone;

long AddRecord(InfoDatabase& db, const char16_t* value, long level = 0) {
    long key = 0;
    db.Add(std::u16string(value), BStr(), level, -1, 1, key);
    return key;
}

long Find(InfoDatabase& db, const BStr& value) {
    long c = 0;
    db.FindRecord(value, c);
    return c;
}

// A database with one record "r0"; the cursor on it in c.
struct OneRecord {
    OneRecord() {
        AddRecord(db, u"r0");
        c = Find(db, std::u16string(u"r0"));
    }
    InfoDatabase db;
    long c = 0;
};

std::vector<std::u16string> ValuesOf(InfoDatabase& db, long cursor, const char16_t* name) {
    long n = 0;
    db.GetValueCount(cursor, std::u16string(name), n);
    std::vector<std::u16string> out;
    for (long i = 0; i < n; ++i) {
        BStr v;
        long id = 0, dep = 0;
        db.GetValue(cursor, std::u16string(name), i, v, id, dep);
        out.push_back(v.value_or(u"<null>"));
    }
    return out;
}

}  // namespace

TEST(InfoDatabase, CreateDestroyAndFreshState) {
    InfoDatabase db;
    long r = 0;
    db.Destroy(r);
    EXPECT_EQ(r, 0);
    db.Create(r);
    EXPECT_EQ(r, 1);
    db.Create(r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(db.Size(), 0);
    long c = 0;
    db.CreateCursor(c);
    EXPECT_EQ(c, 0);
    db.TestCursor(c, r);
    EXPECT_EQ(r, 0);  // no record at position 0
    AddRecord(db, u"a");
    db.Destroy(r);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(db.Size(), 0);
}

TEST(InfoDatabase, RecordsKeysAndFields) {
    InfoDatabase db;
    long r = 0;
    db.Create(r);
    long k0 = AddRecord(db, u"http://h/a", 2);
    long k1 = AddRecord(db, u"http://h/b");
    long k2 = AddRecord(db, u"http://h/a");
    EXPECT_EQ(k0, 0);
    EXPECT_EQ(k1, 1);
    EXPECT_EQ(k2, 2);
    long c = Find(db, std::u16string(u"http://h/a"));
    ASSERT_NE(c, kNone);
    EXPECT_EQ(db.get_Key(c), 0);  // the older of two equal addresses
    EXPECT_EQ(db.get_Level(c), 2);
    EXPECT_EQ(db.get_Source(c), -1);
    EXPECT_EQ(db.get_Type(c), 1);
    EXPECT_EQ(db.get_Status(c), 0);
    EXPECT_EQ(db.get_Reserved1(c), -1);
    EXPECT_EQ(db.get_Reserved2(c), -1);
    EXPECT_FALSE(db.get_Reserved3(c).has_value());
    EXPECT_FALSE(db.get_Parent(c).has_value());
    db.put_Level(c, 5);
    db.put_Source(c, 7);
    db.put_Status(c, 1);
    db.put_Reserved1(c, 11);
    db.put_Reserved2(c, 12);
    db.put_Reserved3(c, std::u16string(u"note"));
    db.put_Parent(c, std::u16string(u"http://h/"));
    EXPECT_EQ(db.get_Level(c), 5);
    EXPECT_EQ(db.get_Source(c), 7);
    EXPECT_EQ(db.get_Status(c), 1);
    EXPECT_EQ(db.get_Reserved1(c), 11);
    EXPECT_EQ(db.get_Reserved2(c), 12);
    EXPECT_EQ(*db.get_Reserved3(c), u"note");
    EXPECT_EQ(*db.get_Parent(c), u"http://h/");
    EXPECT_EQ(*db.get_Value(c), u"http://h/a");

    long ck = 0;
    db.FindRecordByKey(1, ck);
    EXPECT_EQ(*db.get_Value(ck), u"http://h/b");
    db.FindRecordByKey(99, ck);
    EXPECT_EQ(ck, kNone);
    EXPECT_EQ(Find(db, std::u16string(u"http://h/none")), kNone);

    // Empty keeps the key counter.
    db.Empty();
    EXPECT_EQ(db.Size(), 0);
    EXPECT_EQ(AddRecord(db, u"x"), 3);
}

// Addresses are compared as wide strings: two that differ only in
// characters outside the ANSI code page are different records.
TEST(InfoDatabase, FindRecordComparesWideStrings) {
    InfoDatabase db;
    AddRecord(db, u"http://h/\u0416");
    AddRecord(db, u"http://h/\u0417");
    long c = Find(db, std::u16string(u"http://h/\u0417"));
    EXPECT_EQ(db.get_Key(c), 1);
    EXPECT_EQ(Find(db, std::u16string(u"http://h/?")), kNone);
    AddRecord(db, u"");
    EXPECT_EQ(db.get_Key(Find(db, BStr())), 2);  // a null address finds an empty one
}

TEST(InfoDatabase, CursorsReuseSlotsAndShrink) {
    InfoDatabase db;
    long a = 0, b = 0, c = 0, d = 0, r = 0;
    db.CreateCursor(a);
    db.CreateCursor(b);
    db.CreateCursor(c);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(c, 2);
    db.DestroyCursor(b);
    db.CreateCursor(d);
    EXPECT_EQ(d, 1);  // the freed middle slot
    db.DestroyCursor(c);
    db.DestroyCursor(d);
    db.CreateCursor(d);
    EXPECT_EQ(d, 1);  // the table was shortened to end at slot 0
    // Walking: NextRecord past the end makes TestCursor 0.
    AddRecord(db, u"r0");
    AddRecord(db, u"r1");
    db.TestCursor(a, r);
    EXPECT_EQ(r, 1);
    db.NextRecord(a);
    EXPECT_EQ(*db.get_Value(a), u"r1");
    db.NextRecord(a);
    db.TestCursor(a, r);
    EXPECT_EQ(r, 0);
}

// A cursor id that is not in use has no effect and reads as missing.
TEST(InfoDatabase, BadCursorsReadAsMissing) {
    InfoDatabase db;
    AddRecord(db, u"r0");
    long freed = 0, r = 0;
    db.CreateCursor(freed);
    long keep = 0;
    db.CreateCursor(keep);
    db.DestroyCursor(freed);
    for (long bad : {-1L, kNone, 999L, freed}) {
        db.TestCursor(bad, r);
        EXPECT_EQ(r, 0);
        EXPECT_FALSE(db.get_Value(bad).has_value());
        EXPECT_EQ(db.get_Key(bad), kNone);
        EXPECT_EQ(db.get_Level(bad), kNone);
        EXPECT_EQ(db.get_Type(bad), kNone);
        db.put_Level(bad, 9);
        db.NextRecord(bad);
        db.RemoveRecord(bad);
        db.AddValue(bad, std::u16string(u"P"), BStr(), 0, 0, std::u16string(u"v"), 0, -1);
        db.AddProperty(bad, std::u16string(u"Q"), BStr(), 0, 0);
        db.DestroyCursor(bad);
        long n = 5;
        db.GetValueCount(bad, std::u16string(u"P"), n);
        EXPECT_EQ(n, 0);
        EXPECT_EQ(db.get_PropertyFlags(bad, std::u16string(u"P")), -200);
    }
    EXPECT_EQ(db.Size(), 1);
    EXPECT_EQ(db.get_Level(keep), 0);
    long n = 0;
    db.GetValueCount(keep, std::u16string(u"Properties"), n);
    EXPECT_EQ(n, 0);
}

TEST(InfoDatabase, PropertiesAndValues) {
    OneRecord one;
    InfoDatabase& db = one.db;
    const long c = one.c;
    db.AddValue(c, std::u16string(u"Address"), BStr(), 2, 0, std::u16string(u"r0"), 0, -1);
    // The first property comes first, "Properties" lists itself second.
    EXPECT_EQ(ValuesOf(db, c, u"Properties"), (std::vector<std::u16string>{u"Address", u"Properties"}));
    BStr v;
    long id = 0, dep = 0;
    db.GetValue(c, std::u16string(u"Properties"), 1, v, id, dep);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(dep, -1);
    EXPECT_EQ(db.get_PropertyFlags(c, std::u16string(u"Properties")), 1);
    EXPECT_EQ(db.get_PropertyType(c, std::u16string(u"Properties")), 0);

    db.AddValue(c, std::u16string(u"Link"), std::u16string(u"Row"), 1, 0, std::u16string(u"l0"), 0, 3);
    db.AddValue(c, std::u16string(u"Link"), std::u16string(u"Other"), 4, 1, std::u16string(u"l1"), 1, 4);
    EXPECT_EQ(ValuesOf(db, c, u"Link"), (std::vector<std::u16string>{u"l0", u"l1"}));
    EXPECT_EQ(ValuesOf(db, c, u"Depends"), (std::vector<std::u16string>{u"Row"}));
    BStr parent;
    long type = 0, flags = 0;
    db.GetProperty(c, std::u16string(u"Link"), parent, type, flags);
    EXPECT_EQ(*parent, u"Row");  // the depend name given when it was made
    EXPECT_EQ(type, 4);
    EXPECT_EQ(flags, 1);

    db.AddProperty(c, std::u16string(u"Empty"), BStr(), 7, 0);
    db.AddProperty(c, std::u16string(u"Empty"), BStr(), 8, 1);  // exists: nothing
    EXPECT_EQ(db.get_PropertyType(c, std::u16string(u"Empty")), 7);
    db.put_PropertyType(c, std::u16string(u"Empty"), 9);
    db.put_PropertyFlags(c, std::u16string(u"Empty"), 3);
    EXPECT_EQ(db.get_PropertyType(c, std::u16string(u"Empty")), 9);
    EXPECT_EQ(db.get_PropertyFlags(c, std::u16string(u"Empty")), 3);
    // A null name is a name of its own.
    db.AddValue(c, BStr(), BStr(), 0, 0, std::u16string(u"nameless"), 0, -1);
    long n = 0;
    db.GetValueCount(c, BStr(), n);
    EXPECT_EQ(n, 1);
    db.GetValueCount(c, std::u16string(), n);
    EXPECT_EQ(n, 0);

    db.EmptyProperty(c, std::u16string(u"Link"));
    db.GetValueCount(c, std::u16string(u"Link"), n);
    EXPECT_EQ(n, 0);
    db.RemoveProperty(c, std::u16string(u"Link"));
    EXPECT_EQ(db.get_PropertyFlags(c, std::u16string(u"Link")), -200);
    EXPECT_EQ(ValuesOf(db, c, u"Properties").size(), 6u);  // the lists stay
    db.EmptyProps(c);
    db.GetValueCount(c, std::u16string(u"Properties"), n);
    EXPECT_EQ(n, 0);
}

TEST(InfoDatabase, MissingThingsRead) {
    OneRecord one;
    InfoDatabase& db = one.db;
    const long c = one.c;
    const BStr name = std::u16string(u"Missing");
    long n = 9;
    db.GetValueCount(c, name, n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(db.get_PropertyType(c, name), 0);
    EXPECT_EQ(db.get_PropertyFlags(c, name), -200);
    BStr parent = std::u16string(u"x");
    long type = 5, flags = 5;
    db.GetProperty(c, name, parent, type, flags);
    EXPECT_FALSE(parent.has_value());
    EXPECT_EQ(type, -1);
    EXPECT_EQ(flags, 0);
    db.AddValue(c, std::u16string(u"P"), BStr(), 0, 0, std::u16string(u"v"), 0, -1);
    for (long number : {-1L, 1L, 1000L}) {
        BStr v = std::u16string(u"x");
        long id = 5, dep = 5;
        db.GetValue(c, std::u16string(u"P"), number, v, id, dep);
        EXPECT_FALSE(v.has_value());
        EXPECT_EQ(id, -1);
        EXPECT_EQ(dep, -1);
    }
    db.EmptyProperty(c, name);
    db.RemoveProperty(c, name);
    db.put_PropertyType(c, name, 3);
    EXPECT_EQ(db.get_PropertyType(c, name), 0);
}

TEST(InfoDatabase, RemoveRecordLeavesCursorsInPlace) {
    InfoDatabase db;
    for (const char16_t* v : {u"r0", u"r1", u"r2"}) AddRecord(db, v);
    long first = Find(db, std::u16string(u"r0"));
    long last = Find(db, std::u16string(u"r2"));
    long middle = Find(db, std::u16string(u"r1"));
    db.RemoveRecord(middle);
    EXPECT_EQ(db.Size(), 2);
    EXPECT_EQ(*db.get_Value(middle), u"r2");  // the next record moved under it
    long r = 0;
    db.TestCursor(last, r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(*db.get_Value(first), u"r0");
    EXPECT_EQ(Find(db, std::u16string(u"r1")), kNone);
    long k = 0;
    db.FindRecordByKey(2, k);
    EXPECT_EQ(*db.get_Value(k), u"r2");
}

// One thread adds records with values while another walks them with cursors.
TEST(InfoDatabase, AddWhileWalkingCursors) {
    InfoDatabase db;
    const int kRecords = 4000;
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::thread writer([&] {
        for (int i = 0; i < kRecords; ++i) {
            std::u16string v = u"http://h/" + std::u16string(1, char16_t(u'a' + i % 26)) + char16_t(u'0' + i % 10);
            long key = 0;
            db.Add(v, BStr(), i % 7, -1, 1, key);
            long c = 0;
            db.FindRecordByKey(key, c);
            db.AddValue(c, std::u16string(u"Address"), BStr(), 2, 0, v, 0, -1);
            db.DestroyCursor(c);
        }
        done = true;
    });
    long walks = 0;
    while (!done || walks < 3) {
        long c = 0, ok = 0;
        db.CreateCursor(c);
        long seen = 0;
        for (db.TestCursor(c, ok); ok; db.NextRecord(c), db.TestCursor(c, ok)) {
            BStr v = db.get_Value(c);
            if (!v || v->compare(0, 9, u"http://h/") != 0) ++bad;
            long n = 0;
            db.GetValueCount(c, std::u16string(u"Properties"), n);
            if (n != 0 && n != 2) ++bad;
            ++seen;
        }
        db.DestroyCursor(c);
        ++walks;
    }
    writer.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(db.Size(), kRecords);
}
