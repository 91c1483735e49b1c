#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "masks/core/AddFilterMaskModel.h"
#include "masks/core/FilterBlock.h"
#include "masks/core/FilterDialogModel.h"
#include "masks/core/MaskCollection.h"

namespace {
MaskCollection ThreeMasks() {
    MaskCollection c;
    c.Add("Link", "", 1, 0, 1, 3, false, false, -1);
    c.Add("Frame", "", 1, 0, 1, 3, false, true, -1);  // hidden
    c.Add("Link Image", "Link", 2, 1, 1, 2, false, false, 1);
    return c;
}

ValueCountOf Record(std::map<std::string, int32_t> counts) {
    return [counts](const std::string& name) {
        auto it = counts.find(name);
        return it == counts.end() ? 0 : it->second;
    };
}

std::string Describe(const std::vector<FilterBlock>& filters) {
    std::string s;
    for (const FilterBlock& b : filters) {
        s += "[";
        for (const FilterItem& c : b) s += (c.FlagNot ? "!" : "") + c.Name + "#" + std::to_string(c.Index) + " ";
        s += "]";
    }
    return s;
}

std::string View(const FilterDialogModel& d) {
    std::string s = d.Caption() + (d.PreviousEnabled() ? " P" : " -") + (d.NextEnabled() ? "N" : "-") +
                    (d.AddEnabled() ? "A" : "-") + (d.RemoveMaskEnabled() ? "R" : "-") + " :";
    for (const FilterRow& r : d.Rows()) s += " " + r.Status + "/" + r.Name + "/" + std::to_string(r.Tag);
    return s;
}
}  // namespace

TEST(FilterBlock, KeysPositionsAndRemoval) {
    FilterBlock b;
    FilterItem& first = b.Add(3, "Link Image", true);
    EXPECT_EQ(3, first.Index);
    EXPECT_TRUE(first.FlagNot);
    b.Add(1, "Link", false, "k");
    EXPECT_THROW(b.Add(1, "Link", false, "K"), std::invalid_argument);
    EXPECT_EQ("Link", b.Item("K").Name);
    EXPECT_THROW(b.Item(""), std::out_of_range);
    EXPECT_THROW(b.Item(3), std::out_of_range);
    b.Remove("k");
    EXPECT_EQ(1, b.Count());
    b.Remove(1);
    EXPECT_EQ(0, b.Count());
}

TEST(FilterBlock, WhichRecordsPass) {
    const MaskCollection masks = ThreeMasks();
    FilterBlock noImage;
    noImage.Add(3, "Link Image", true);
    FilterBlock hasLink;
    hasLink.Add(1, "Link", false);
    FilterBlock empty;
    FilterBlock stale;  // mask 7 was deleted after the filter was made
    stale.Add(7, "Gone", false);
    FilterBlock staleNot;
    staleNot.Add(-1, "", true);

    struct Case {
        const char* what;
        std::vector<FilterBlock> filters;
        std::map<std::string, int32_t> record;
        bool passes;
    } cases[] = {
        {"no blocks", {}, {}, true},
        {"an empty block", {empty}, {}, true},
        {"not: record without the mask", {noImage}, {{"Link", 2}}, true},
        {"not: record with the mask", {noImage}, {{"Link Image", 1}}, false},
        {"both blocks hold", {noImage, hasLink}, {{"Link", 1}}, true},
        {"second block fails", {noImage, hasLink}, {}, false},
        {"stale index: no values", {stale}, {{"Gone", 5}, {"Link", 1}}, false},
        {"stale index negated", {staleNot}, {}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.passes, FilterPasses(c.filters, masks, Record(c.record))) << c.what;
}

TEST(FilterDialog, ButtonSequence) {
    const MaskCollection masks = ThreeMasks();
    FilterDialogModel d;
    d.Fill({}, masks);
    d.Load();
    EXPECT_EQ("Filter 0 of 0 ---- :", View(d));
    d.New();
    EXPECT_EQ("Filter 1 of 1 --AR :", View(d));

    // The add dialog offers visible masks only, under their true indices.
    EXPECT_EQ((std::vector<std::pair<std::string, int32_t>>{{"Link", 1}, {"Link Image", 3}}), d.OfferedRows());
    AddFilterMaskModel add;
    add.Clear();
    for (const auto& r : d.OfferedRows()) add.AddMask(r.first, r.second);
    add.Load();
    add.Close(DialogClose::Ok, 2, true);
    ASSERT_TRUE(add.Ok());
    d.AddCondition(add.ActiveMask(), add.FlagNot());
    EXPECT_EQ("Filter 1 of 1 --AR : Not/Link Image/3", View(d));
    d.AddCondition(2, false);  // the hidden mask is not on offer
    d.AddCondition(9, false);  // nor is a position beyond the masks
    EXPECT_EQ("Filter 1 of 1 --AR : Not/Link Image/3", View(d));

    d.New();
    d.AddCondition(1, false);
    d.New();
    EXPECT_EQ("Filter 3 of 3 P-AR :", View(d));
    d.Previous();
    EXPECT_EQ("Filter 2 of 3 PNAR : /Link/1", View(d));
    d.Remove();  // the former third block is shown under the same number
    EXPECT_EQ("Filter 2 of 2 P-AR :", View(d));
    d.Next();    // clamped
    EXPECT_EQ("Filter 2 of 2 P-AR :", View(d));
    d.Remove();  // the last block: the new last is shown
    EXPECT_EQ("Filter 1 of 1 --AR : Not/Link Image/3", View(d));
    d.Remove();
    EXPECT_EQ("Filter 0 of 0 ---- :", View(d));
    d.Remove();
    d.Previous();
    EXPECT_EQ("Filter 0 of 0 ---- :", View(d));
}

// With two conditions on the same mask, Remove takes the selected row.
TEST(FilterDialog, RemoveTakesTheSelectedRow) {
    FilterDialogModel d;
    d.SetElement(1, 1, 1, "Link", false);
    d.SetElement(1, 2, 1, "Link", true);
    d.SetElement(1, 3, 3, "Link Image", false);
    d.Load();
    d.RemoveCondition(2);
    EXPECT_EQ("Filter 1 of 1 --AR : /Link/1 /Link Image/3", View(d));
    d.RemoveCondition(0);  // nothing selected
    d.RemoveCondition(5);
    EXPECT_EQ(2, d.itemCount(1));
}

TEST(FilterDialog, SetElementPadsWithPlaceholders) {
    FilterDialogModel d;
    d.SetElement(2, 3, 1, "Link", true);
    EXPECT_EQ(2, d.blockCount());
    EXPECT_EQ(0, d.itemCount(1));
    EXPECT_EQ(3, d.itemCount(2));
    EXPECT_EQ(-1, d.Mask(2, 1).Index);
    EXPECT_EQ("", d.Mask(2, 2).Name);
    EXPECT_TRUE(d.Mask(2, 3).FlagNot);
    EXPECT_THROW(d.SetElement(0, 1, 1, "", false), std::out_of_range);
    EXPECT_THROW(d.Mask(3, 1), std::out_of_range);
}

// OK rebuilds the window's filter exactly as shown; Cancel or the close box
// leave it, even after an earlier OK.
TEST(FilterDialog, OkRebuildsCancelKeeps) {
    const MaskCollection masks = ThreeMasks();
    std::vector<FilterBlock> filters(3);
    filters[0].Add(3, "Link Image", true);
    filters[0].Add(1, "Link", false);
    filters[2].Add(1, "Link", true);
    const std::string before = Describe(filters);

    FilterDialogModel d;
    d.Fill(filters, masks);
    d.Load();
    d.Close(DialogClose::Ok);
    ASSERT_TRUE(d.Ok());
    EXPECT_EQ(before, Describe(d.Rebuild()));

    for (DialogClose how : {DialogClose::Cancel, DialogClose::CloseBox}) {
        d.Fill(filters, masks);
        d.Load();
        d.New();
        d.Close(how);
        EXPECT_FALSE(d.Ok());
    }
    AddFilterMaskModel add;
    add.AddMask("Link", 1);
    add.Load();
    add.Close(DialogClose::Ok, 1, false);
    add.Load();
    add.Close(DialogClose::CloseBox, 1, true);
    EXPECT_FALSE(add.Ok());
    EXPECT_FALSE(add.FlagNot());
    add.Close(DialogClose::Cancel, 0, false);
    EXPECT_EQ(-1, add.ActiveMask());
}
