#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "searchwindow/core/MaskListOps.h"
#include "searchwindow/core/PropertyTable.h"

namespace {
MaskCollection FiveMasks() {
    MaskCollection m;
    for (const char* n : {"A", "B", "C", "D", "E"}) m.Add(n, "", 0, 0, 0, 2, true, false, -1);
    return m;
}
}  // namespace

TEST(MaskListOps, RemovingMasksShiftsFilterAndSort) {
    struct Row {
        const char* name;
        int16_t sortAt;
        int32_t removed;
        int16_t wantSortAt;
    } rows[] = {
        {"sort mask after the removed one", 4, 2, 3},
        {"sort mask removed", 3, 3, 0},
        {"sort mask before", 1, 2, 1},
        {"no sort", 0, 2, 0},
    };
    for (const Row& r : rows) {
        MaskCollection m = FiveMasks();
        m.SetSortAt(r.sortAt);
        std::vector<FilterBlock> filters(1);
        filters[0].Add(2, "B", false);
        filters[0].Add(4, "D", true);
        filters[0].Add(2, "B", true);
        RemoveMaskAt(m, filters, r.removed);
        EXPECT_EQ(m.SortAt(), r.wantSortAt) << r.name;
        if (r.wantSortAt > 0) {
            EXPECT_TRUE(m.Item(r.wantSortAt).SortAt) << r.name;
        }
    }
    // Masks 2 and 3 of five removed: the filter item on 4 now points to 2.
    MaskCollection m = FiveMasks();
    std::vector<FilterBlock> filters(1);
    filters[0].Add(2, "B", false);
    filters[0].Add(4, "D", true);
    filters[0].Add(3, "C", false);
    RemoveMaskAt(m, filters, 3);
    RemoveMaskAt(m, filters, 2);
    ASSERT_EQ(filters[0].Count(), 1);
    EXPECT_EQ(filters[0].Item(1).Index, 2);
    EXPECT_EQ(m.Item(2).MaskName, "D");
}

TEST(MaskListOps, TemplateFileNames) {
    struct Row {
        const char* chosen;
        int32_t type;
        const char* want;
    } rows[] = {
        {"C:\\m\\a.mask", 0, "C:\\m\\a.maskt"}, {"C:\\m\\a.maskt", 0, "C:\\m\\a.maskt"},
        {"a.maskl", 1, "a.maskl"},             {"a.maskt", 2, "a.maskta"},
        {"a.mask", 3, "a.maskg"},              {"plain", 0, "plaint"},
    };
    for (const Row& r : rows) EXPECT_EQ(MaskFileName(r.chosen, r.type), r.want) << r.chosen;
}

TEST(PropertyTable, DependentColumnsAndCycles) {
    std::vector<std::string> log;
    MemoryDatabase db(log);
    MaskCollection masks;
    masks.Add("Link", "", 1, 0, 0, 2, true, false, -1);
    masks.Add("Link Text", "Link", 0, 2, 2, 2, true, false, -1);
    masks.Add("Hidden step", "Link", 0, 2, 0, 2, true, true, -1);
    masks.Add("Under hidden", "Hidden step", 0, 2, 0, 2, true, false, -1);
    masks.Add("Self", "Self", 0, 2, 0, 2, true, false, -1);
    masks.Add("Ping", "Pong", 0, 2, 0, 2, true, false, -1);
    masks.Add("Pong", "Ping", 0, 2, 0, 2, true, false, -1);
    auto& r = db.Add("http://a/");
    r.Props["Link"] = {"http://b/", "http://c/"};
    r.Ids["Link"] = {{10, -1}, {11, -1}};
    r.Props["Link Text"] = {"to b", "to c"};
    r.Ids["Link Text"] = {{20, 10}, {21, 11}};
    r.Props["Hidden step"] = {"x"};
    r.Ids["Hidden step"] = {{30, 11}};
    r.Props["Under hidden"] = {"seen through"};
    r.Ids["Under hidden"] = {{40, 30}};
    r.Props["Self"] = {"s"};
    r.Ids["Self"] = {{50, 50}};
    r.Props["Ping"] = {"p"};
    r.Ids["Ping"] = {{60, 70}};
    r.Props["Pong"] = {"q"};
    r.Ids["Pong"] = {{70, 60}};
    const int32_t c = db.FindRecordByKey(1);
    const PropertyTable t = BuildPropertyTable(db, c, masks, 1);
    EXPECT_EQ(t.Columns, (std::vector<std::string>{"Link", "Link Text", "Under hidden"}));
    ASSERT_EQ(t.Rows.size(), 2u);
    EXPECT_EQ(t.Rows[0].Cells, (std::vector<std::string>{"http://b/", "to b", ""}));
    EXPECT_EQ(t.Rows[1].Cells, (std::vector<std::string>{"http://c/", "to c", "seen through"}));
    // Self and a cycle end instead of recursing without end.
    EXPECT_EQ(BuildPropertyTable(db, c, masks, 5).Rows.size(), 1u);
    const PropertyTable ping = BuildPropertyTable(db, c, masks, 6);
    EXPECT_EQ(ping.Columns, (std::vector<std::string>{"Ping", "Pong"}));
    EXPECT_EQ(ping.Rows[0].Cells, (std::vector<std::string>{"p", "q"}));
}

// Every visible template under the chosen one gets its column once a row
// reaches it, whether the record holds a value of it or not.
TEST(PropertyTable, ADependentWithoutValuesStillGetsItsColumn) {
    std::vector<std::string> log;
    MemoryDatabase db(log);
    MaskCollection masks;
    masks.Add("Link", "", 1, 0, 0, 2, true, false, -1);
    masks.Add("Link Text", "Link", 0, 2, 2, 2, true, false, -1);
    masks.Add("Link Title", "Link", 0, 2, 0, 2, true, false, -1);
    masks.Add("Secret", "Link", 0, 2, 0, 2, true, true, -1);
    auto& r = db.Add("http://a/");
    r.Props["Link"] = {"http://b/"};
    r.Ids["Link"] = {{10, -1}};
    r.Props["Link Text"] = {"to b"};
    r.Ids["Link Text"] = {{20, 10}};
    const int32_t c = db.FindRecordByKey(1);
    const PropertyTable t = BuildPropertyTable(db, c, masks, 1);
    EXPECT_EQ(t.Columns, (std::vector<std::string>{"Link", "Link Text", "Link Title"}));
    ASSERT_EQ(t.Rows.size(), 1u);
    EXPECT_EQ(t.Rows[0].Cells, (std::vector<std::string>{"http://b/", "to b", ""}));
    // No value of the chosen template: no row, and only its own column.
    const PropertyTable empty = BuildPropertyTable(db, c, masks, 3);
    EXPECT_EQ(empty.Columns, (std::vector<std::string>{"Link Title"}));
    EXPECT_TRUE(empty.Rows.empty());
}

TEST(PropertyTable, FirstColumnTakesWhatTheOthersLeave) {
    struct Row {
        float table;
        std::vector<float> others;
        float want;
    } rows[] = {
        {6000, {1500, 1500}, 2920},
        {6000, {}, 5920},
        {3080, {1500}, -1},        // 1500 left: not above 1500, kept as it was
        {3081, {1500}, 1501},
        {6000, {1000.4f, 1000.4f}, 3920},  // each addition rounded
    };
    for (const Row& r : rows) EXPECT_FLOAT_EQ(PropertyFirstColumnWidth(r.table, r.others), r.want) << r.table;
}
