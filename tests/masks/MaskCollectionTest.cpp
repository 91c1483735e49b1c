#include "masks/core/MaskCollection.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "MaskFakes.h"
#include "masks/core/MaskParseError.h"

namespace {
SearchMask& AddPlain(MaskCollection& c, const std::string& name) {
    return c.Add(name, "", 0, 0, 0, 2, false, false, -1);
}

std::vector<bool> Markers(const MaskCollection& c) {
    std::vector<bool> v;
    for (const auto& m : c) v.push_back(m->SortAt);
    return v;
}
}  // namespace

TEST(MaskCollection, AddClearsDependTypeWithoutParent) {
    MaskCollection c;
    SearchMask& a = c.Add("A", "", 1, 2, 1, 3, true, true, 5);
    EXPECT_EQ(0, a.DependType);
    EXPECT_EQ(1, a.MaskType);
    EXPECT_EQ(5, a.MaxFoundCount);
    EXPECT_TRUE(a.CanCompile && a.Hidden);
    EXPECT_EQ(2, c.Add("B", "A", 0, 2, 0, 0, false, false, 0).DependType);
    EXPECT_EQ(0, c.Add("C", "A", 0, 0, 0, 0, false, false, 0).DependType);
}

TEST(MaskCollection, FindMaskAndIndexFailures) {
    MaskCollection c;
    AddPlain(c, "Same");
    AddPlain(c, "same");
    AddPlain(c, "Same");
    EXPECT_EQ(1, c.FindMask("Same"));
    EXPECT_EQ(2, c.FindMask("same"));
    EXPECT_EQ(-1, c.FindMask("None"));
    EXPECT_THROW(c.AddValue("None", "v"), std::out_of_range);
    EXPECT_THROW(c.Item(0), std::out_of_range);
    EXPECT_THROW(c.Remove(4), std::out_of_range);
    EXPECT_EQ(3, c.Count());
    c.AddValue("same", "v");
    c.AddVal(3, "w");
    EXPECT_EQ("v", c.GetValue(2, 1));
    EXPECT_EQ(1, c.GetValueCount(3));
    c.ClearValues(3);
    EXPECT_EQ(0, c.GetValueCount(3));
}

TEST(MaskCollection, ApplySendsEveryValueInOrder) {
    MaskCollection c;
    c.Add("One", "", 0, 0, 0, 2, true, false, 1);
    SearchMask& two = c.Add("Two", "One", 1, 2, 1, 3, false, true, -1);
    two.AddValue("a");
    two.AddValue("b");
    two.AddValue("a");
    c.Add("Three", "", 3, 0, 1, 1, false, false, -1);
    RecordingSearch search;
    c.Apply(search);
    EXPECT_EQ((std::vector<std::string>{
                  "EmptyMasks",
                  "AddMask(One|||0|0|2|1|-1|0)",
                  "AddMask(Two|a|One|1|2|3|-1|0|-1)",
                  "AddMask(Two|b|One|1|2|3|-1|0|-1)",
                  "AddMask(Two|a|One|1|2|3|-1|0|-1)",
                  "AddMask(Three|||3|0|1|-1|0|0)",
              }),
              search.Log);

    // The mask handed out by Item is the collection's own.
    c.Item(1).MaskName = "Renamed";
    c.Item(1).Priority = 70000;  // the engine gets all 32 bits
    search.Log.clear();
    c.Apply(search);
    EXPECT_EQ("AddMask(Renamed|||0|0|70000|1|-1|0)", search.Log.at(1));
}

TEST(MaskCollection, ApplySendsNothingWhileASearchRuns) {
    MaskCollection c;
    AddPlain(c, "A").AddValue("x");
    for (int32_t status : {1, 3, 4, -1}) {
        RecordingSearch search;
        search.StatusValue = status;
        c.Apply(search);
        EXPECT_TRUE(search.Log.empty()) << "Status " << status;
    }
    MaskCollection empty;
    RecordingSearch search;
    empty.Apply(search);
    EXPECT_EQ((std::vector<std::string>{"EmptyMasks"}), search.Log);
}

TEST(MaskCollection, SortAtMarkers) {
    MaskCollection c;
    for (const char* n : {"A", "B", "C"}) AddPlain(c, n);
    c.SetSortAt(2);
    EXPECT_EQ((std::vector<bool>{false, true, false}), Markers(c));
    c.SetSortAt(0);
    EXPECT_EQ((std::vector<bool>{false, false, false}), Markers(c));
    c.SetSortAt(9);
    EXPECT_EQ((std::vector<bool>{false, false, false}), Markers(c));

    // Remove leaves the index and the markers as they were.
    c.SetSortAt(2);
    c.Remove(1);
    EXPECT_EQ(2, c.SortAt());
    EXPECT_EQ((std::vector<bool>{true, false}), Markers(c));

    // After Clear the index stays: RestoreMask marks the third mask, Add does not.
    c.SetSortAt(3);
    c.Clear();
    EXPECT_EQ(3, c.SortAt());
    AddPlain(c, "A");
    AddPlain(c, "B");
    AddPlain(c, "C");
    EXPECT_FALSE(c.Item(3).SortAt);
    c.Clear();
    AddPlain(c, "A");
    AddPlain(c, "B");
    std::string text = "1/C0/0/0/0/0/0/0/0/0/";
    EXPECT_EQ(3, c.RestoreMask(text));
    EXPECT_TRUE(c.Item(3).SortAt);
}

TEST(MaskCollection, RestoreMaskReadsOneAfterAnother) {
    MaskCollection c;
    c.SetSortAt(1);
    std::string text = "1/A0/0/0/0/0/0/0/0/1/1/x" "1/B1/A1/1/0/0/0/0/0/0/";
    EXPECT_EQ(1, c.RestoreMask(text));
    EXPECT_TRUE(c.Item(1).SortAt);
    EXPECT_EQ(2, c.RestoreMask(text));
    EXPECT_EQ("", text);
    EXPECT_EQ("A", c.Item(2).DependOn);
    EXPECT_FALSE(c.Item(2).SortAt);

    std::string bad = "1/C0/0/0/z/";
    EXPECT_THROW(c.RestoreMask(bad), MaskParseError);
    EXPECT_EQ("1/C0/0/0/z/", bad);
    EXPECT_EQ(2, c.Count());
}

// Paste and opening a search read a count and that many masks: all of them
// arrive, or (one malformed) none of them and the text stays as it was.
TEST(MaskCollection, RestoreMasksIsAllOrNothing) {
    MaskCollection source;
    AddPlain(source, "A").AddValue("1");
    AddPlain(source, "B");
    const std::string copied = source.PutMasks({1, 2});
    EXPECT_EQ("2/1/A0/0/0/0/2/-1/0/0/1/1/11/B0/0/0/0/2/-1/0/0/0/", copied);

    MaskCollection c;
    AddPlain(c, "Mine");
    std::string text = copied + "tail";
    EXPECT_EQ(2, c.RestoreMasks(text));
    EXPECT_EQ("tail", text);
    EXPECT_EQ(3, c.Count());
    EXPECT_EQ("B", c.Item(3).MaskName);

    std::string damaged = copied.substr(0, copied.size() - 4) + "x/0/";
    const std::string kept = damaged;
    EXPECT_THROW(c.RestoreMasks(damaged), MaskParseError);
    EXPECT_EQ(kept, damaged);
    EXPECT_EQ(3, c.Count());
}

// A text that is no mask sequence, or stops short of its count, is refused
// whole: no empty mask read from the end of the text.
TEST(MaskCollection, RestoreMasksRefusesMalformedSequences) {
    MaskCollection source;
    AddPlain(source, "A").AddValue("1");
    const std::string one = source.PutMasks({1}).substr(2);  // one mask string, no count
    const std::string cases[] = {
        "2/this is not a mask",
        "1/this is not a mask",
        "this is not a mask",
        "2/" + one,                              // fewer masks than the count
        "1/" + one.substr(0, one.size() - 2),    // a length without its "/"
        "1/1/A0/0/0/0/2/-1/0/0/2/1/1",           // fewer values than their count
        "-1/",
        "1/x/",
    };
    for (const std::string& bad : cases) {
        MaskCollection c;
        AddPlain(c, "Mine");
        std::string text = bad;
        EXPECT_THROW(c.RestoreMasks(text), MaskParseError) << bad;
        EXPECT_EQ(bad, text);
        EXPECT_EQ(1, c.Count()) << bad;
    }
    const std::pair<std::string, int32_t> good[] = {{"", 0}, {"0/", 0}, {"1/" + one, 1}, {"2/" + one + one, 2}};
    for (const auto& g : good) {
        MaskCollection c;
        std::string text = g.first;
        EXPECT_EQ(g.second, c.RestoreMasks(text)) << g.first;
        EXPECT_EQ(g.second, c.Count());
        EXPECT_EQ("", text);
    }
}
