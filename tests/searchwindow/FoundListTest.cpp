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
