#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "searchwindow/core/FoundList.h"

namespace {
struct Fixture {
    std::vector<std::string> log;
    MemoryDatabase db{log};
    MaskCollection masks;
    std::vector<FilterBlock> filters;
    FoundList list;
    Fixture() {
        masks.Add("Page title", "", 0, 0, 0, 2, true, false, -1);
        masks.Add("Size", "", 0, 0, 0, 2, true, false, -1);
    }
    void Fill() { list.FillFoundList(db, masks, filters); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const FoundItem& i : list.Items()) t.push_back(i.Text);
        return t;
    }
};
}  // namespace

TEST(FoundList, CaptionsFromPageTitleDisplayAndAddress) {
    Fixture f;
    f.db.Add("http://a/", {{"Page title", {"Title A"}}});
    f.db.Add("http://b/", {{"Display", {"Shown B"}}});
    f.db.Add("http://c/");
    f.Fill();
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"Title A", "Shown B", "http://c/"}));
    // A late title re-captions the record that showed its address.
    f.db.Records[2].Props["Page title"] = {"Title C"};
    f.Fill();
    EXPECT_EQ(f.Texts()[2], "Title C");
    EXPECT_TRUE(f.list.SearchModified);
}

TEST(FoundList, UpdatesAfterASortedInsertReachTheirOwnItem) {
    Fixture f;
    f.masks.SetSortAt(2);
    f.db.Add("http://small/", {{"Size", {"5"}}});
    f.Fill();
    f.db.Add("http://big/", {{"Size", {"100"}}});  // sorts before the first
    f.Fill();
    ASSERT_EQ(f.Texts(), (std::vector<std::string>{"http://big/", "http://small/"}));
    // The first record's caption arrives; its remembered position (1) now
    // holds the other record.
    f.db.Records[0].Props["Page title"] = {"Small page"};
    f.db.Records[0].Props["Connect status"] = {"true"};
    f.Fill();
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"http://big/", "Small page"}));
    EXPECT_EQ(f.list.Items()[1].Icon, 2);
    EXPECT_EQ(f.list.Items()[0].Icon, 1);
}

TEST(FoundList, SortOrderMoreValuesLongerGreaterAndEqualFirst) {
    Fixture f;
    f.masks.SetSortAt(2);
    f.db.Add("http://one/", {{"Size", {"10"}}});
    f.db.Add("http://two-values/", {{"Size", {"1", "2"}}});
    f.db.Add("http://three-digits/", {{"Size", {"100"}}});
    f.db.Add("http://greater/", {{"Size", {"20"}}});
    f.db.Add("http://equal/", {{"Size", {"20"}}});
    f.db.Add("http://none/");
    f.Fill();
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"http://two-values/", "http://three-digits/", "http://equal/",
                                                   "http://greater/", "http://one/", "http://none/"}));
}

TEST(FoundList, SortAtThatNamesNoMaskSortsNothing) {
    Fixture f;
    f.masks.SetSortAt(2);
    f.masks.Remove(2);  // SortAt 2 now names nothing
    f.db.Add("http://a/", {{"Size", {"1"}}});
    f.db.Add("http://b/", {{"Size", {"22"}}});
    f.Fill();
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"http://a/", "http://b/"}));
}

TEST(FoundList, FilterAndFirstRecordAndCount) {
    Fixture f;
    FilterBlock b;
    b.Add(2, "Size", true);  // only records without Size
    f.filters.push_back(b);
    f.db.Add("http://sized/", {{"Size", {"1"}}});
    f.db.Add("http://plain/");
    const FoundListEvents ev = f.list.FillFoundList(f.db, f.masks, f.filters);
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"http://plain/"}));
    EXPECT_TRUE(ev.FirstSelected);
    EXPECT_EQ(ev.SelectedKey, 2);
    EXPECT_EQ(f.list.ShownFoundCount, 2) << "filtered-out records count too";
    // A condition on a mask that no longer exists counts as no value.
    FilterBlock stale;
    stale.Add(9, "Gone", false);
    Fixture g;
    g.filters.push_back(stale);
    g.db.Add("http://x/");
    g.Fill();
    EXPECT_TRUE(g.list.Items().empty());
}

namespace {
// The list on screen as the sink builds it, with what it was told.
struct MirrorSink : FoundListSink {
    std::vector<FoundItem> Shown;
    int Inserts = 0, Changes = 0, Clears = 0;
    void FoundInserted(int32_t at, const FoundItem& item) override {
        ++Inserts;
        Shown.insert(Shown.begin() + at, item);
    }
    void FoundChanged(int32_t at, const FoundItem& item) override {
        ++Changes;
        Shown.at(static_cast<size_t>(at)) = item;
    }
    void FoundCleared() override {
        ++Clears;
        Shown.clear();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const FoundItem& i : Shown) t.push_back(i.Text);
        return t;
    }
};

// The fill timer's walk: one record a tick, the cursor made again at the end.
struct FillWalk {
    int32_t Cursor = DatabaseCalls::kNoCursor, Record = 0;
    void Tick(Fixture& f) {
        if (Cursor < 0) {
            Cursor = f.db.CreateCursor();
            Record = 0;
        }
        if (f.db.TestCursor(Cursor)) {
            f.list.AddFoundRecord(f.db, Cursor, Record++, f.masks, f.filters);
            f.db.NextRecord(Cursor);
        } else {
            f.db.DestroyCursor(Cursor);
            Cursor = DatabaseCalls::kNoCursor;
        }
    }
};
}  // namespace

TEST(FoundList, ACrawlOfTwoThousandRecordsIsTwoThousandInsertsAndNoClear) {
    Fixture f;
    MirrorSink sink;
    f.list.SetSink(&sink);
    FillWalk walk;
    for (int i = 0; i < 2000; ++i) {
        f.db.Add("http://h/" + std::to_string(i));
        walk.Tick(f);
        walk.Tick(f);
    }
    // The walk starts again at each end of the records: let it catch up.
    for (int i = 0; i < 4100; ++i) walk.Tick(f);
    EXPECT_EQ(sink.Inserts, 2000);
    EXPECT_EQ(sink.Clears, 0);
    EXPECT_EQ(sink.Changes, 0);
    ASSERT_EQ(f.list.Items().size(), 2000u);
    // The end of the run: captions and icons again, still no clear.
    f.db.Records[7].Props["Page title"] = {"Seventh"};
    f.db.Records[7].Props["Connect status"] = {"true"};
    FoundList::ClearRecordListMarks(f.db);
    f.Fill();
    EXPECT_EQ(sink.Inserts, 2000);
    EXPECT_EQ(sink.Clears, 0);
    EXPECT_EQ(sink.Texts(), f.Texts());
    EXPECT_EQ(sink.Shown[7].Text, "Seventh");
    EXPECT_EQ(sink.Shown[7].Icon, 2);
}

TEST(FoundList, SortedInsertsReachTheListAtTheirPlace) {
    Fixture f;
    MirrorSink sink;
    f.list.SetSink(&sink);
    f.masks.SetSortAt(2);
    FillWalk walk;
    for (const char* size : {"5", "100", "7", "42"}) {
        f.db.Add(std::string("http://") + size + "/", {{"Size", {size}}});
        for (int i = 0; i < 3; ++i) walk.Tick(f);
    }
    f.db.Records[0].Props["Page title"] = {"Five"};
    for (int i = 0; i < 6; ++i) walk.Tick(f);
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"http://100/", "http://42/", "http://7/", "Five"}));
    EXPECT_EQ(sink.Texts(), f.Texts());
    EXPECT_EQ(sink.Inserts, 4);
    EXPECT_EQ(sink.Clears, 0);
}

// A merge of a second file brings its keys again: each item still follows
// its own record.
TEST(FoundList, RecordsThatShareAKeyEachKeepTheirOwnItem) {
    Fixture f;
    f.db.Add("http://first/");
    f.db.Add("http://merged/");
    f.db.Records[1].Key = f.db.Records[0].Key;
    f.Fill();
    ASSERT_EQ(f.Texts(), (std::vector<std::string>{"http://first/", "http://merged/"}));
    f.db.Records[1].Props["Page title"] = {"Merged page"};
    f.db.Records[1].Props["Connect status"] = {"false"};
    f.Fill();
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"http://first/", "Merged page"}));
    EXPECT_EQ(f.list.Items()[0].Icon, 1);
    EXPECT_EQ(f.list.Items()[1].Icon, 3);
    EXPECT_EQ(f.list.Items()[1].Record, 1);
    // A click on the second item opens the second record, not the first of its key.
    const int32_t c = FoundList::OpenRecord(f.db, f.list.Items()[1].Record);
    ASSERT_GE(c, 0);
    EXPECT_EQ(f.db.Value(c), "http://merged/");
    f.db.DestroyCursor(c);
    EXPECT_EQ(FoundList::OpenRecord(f.db, 2), DatabaseCalls::kNoCursor);
}
