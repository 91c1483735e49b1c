// The mask list's and found list's key tables, the toolbar drop-downs, and
// the two reports over a fixture database.
#include <gtest/gtest.h>

#include "EngineFakes.h"
#include "masks/core/ReportTable.h"
#include "searchwindow/core/MaskReports.h"
#include "searchwindow/core/ToolbarCommands.h"

namespace {
class TableSink : public ReportSink {
public:
    ReportTable Table;
    int32_t AddValue(const std::string& text) override { return Table.AddValue(text); }
    void AddSubValue(int32_t row, const std::string& value, const std::string& header) override {
        Table.AddSubValue(row, value, header);
    }
    int32_t GetValueCount() const override { return Table.GetValueCount(); }
    const std::string& GetValue(int32_t row) const override { return Table.GetValue(row); }
};

std::vector<std::string> Texts(const std::vector<DropDownEntry>& entries) {
    std::vector<std::string> t;
    for (const DropDownEntry& e : entries) t.push_back(e.Text + " #" + std::to_string(e.Tag));
    return t;
}
}  // namespace

TEST(MaskListKeys, KeyTable) {
    struct Row {
        const char* name;
        uint16_t key;
        bool ctrl, shift;
        WindowCommand want;
    } rows[] = {
        {"Ctrl+Insert", 45, true, false, WindowCommand::CopyMasks},
        {"Ctrl+Shift+Insert", 45, true, true, WindowCommand::CopyMasks},
        {"Shift+Insert", 45, false, true, WindowCommand::PasteMasks},
        {"Insert alone", 45, false, false, WindowCommand::None},
        {"Delete", 46, false, false, WindowCommand::DeleteMasks},
        {"Shift+Delete", 46, false, true, WindowCommand::DeleteMasks},
        {"Ctrl+C", 'C', true, false, WindowCommand::CopyMasks},
        {"C alone", 'C', false, false, WindowCommand::None},
        {"Ctrl+V", 'V', true, false, WindowCommand::PasteMasks},
        {"Ctrl+X", 'X', true, false, WindowCommand::CutMasks},
        {"Shift+X", 'X', false, true, WindowCommand::None},
        {"Ctrl+A", 'A', true, false, WindowCommand::None},
    };
    for (const Row& r : rows) EXPECT_EQ(MaskListKeyCommand(r.key, r.ctrl, r.shift), r.want) << r.name;
    // What may not run while a search runs, and what may.
    for (WindowCommand c : {WindowCommand::PasteMasks, WindowCommand::DeleteMasks, WindowCommand::CutMasks})
        EXPECT_TRUE(RefusedWhileRunning(c)) << static_cast<int>(c);
    EXPECT_FALSE(RefusedWhileRunning(WindowCommand::CopyMasks));
}

TEST(FoundListKeys, OnlyWithCtrl) {
    struct Row {
        const char* name;
        uint16_t key;
        bool ctrl;
        WindowCommand want;
    } rows[] = {
        {"Ctrl+1", '1', true, WindowCommand::FoundViewLarge}, {"Ctrl+2", '2', true, WindowCommand::FoundViewSmall},
        {"Ctrl+3", '3', true, WindowCommand::FoundViewList},  {"Ctrl+C", 'C', true, WindowCommand::SaveSearch},
        {"Ctrl+N", 'N', true, WindowCommand::NewSearch},      {"Ctrl+O", 'O', true, WindowCommand::NewAndMergeSearch},
        {"O alone", 'O', false, WindowCommand::None},          {"Ctrl+4", '4', true, WindowCommand::None},
    };
    for (const Row& r : rows) EXPECT_EQ(FoundListKeyCommand(r.key, r.ctrl), r.want) << r.name;
}

TEST(ToolbarDropDowns, SortAndViewMenus) {
    MaskCollection masks;
    masks.Add("Page title", "", 0, 0, 0, 2, true, false, -1);
    masks.Add("Frame", "", 0, 0, 0, 2, true, true, -1);
    masks.Add("Link Text", "", 0, 0, 2, 2, true, false, -1);
    EXPECT_EQ(Texts(SortMenuEntries(masks)),
              (std::vector<std::string>{"+  As reseaved #0", "    Page title #1", "    Link Text #3"}));
    masks.SetSortAt(3);
    EXPECT_EQ(Texts(SortMenuEntries(masks)),
              (std::vector<std::string>{"    As reseaved #0", "    Page title #1", "+  Link Text #3"}));
    EXPECT_EQ(Texts(ViewMenuEntries(masks, "Page title")),
              (std::vector<std::string>{"+  Page title #4", "    Link Text #6"}));
    EXPECT_EQ(Texts(ViewModeEntries(2)),
              (std::vector<std::string>{"    Large icons #-1", "    Small icons #-1", "+  List #-1"}));
    // Tags from the menus dispatch back to the sort and the caption mask.
    EXPECT_EQ(MenuTagAction(0, 3).kind, TagAction::SortAt);
    EXPECT_EQ(MenuTagAction(6, 3).kind, TagAction::CaptionMask);
    EXPECT_EQ(MenuTagAction(6, 3).Value, 3);
    EXPECT_EQ(MenuTagAction(-1, 3).kind, TagAction::Nothing);
}

class MaskReportsTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    MemoryDatabase db{log};
    MaskCollection masks;
    void SetUp() override {
        masks.Add("Link", "", 1, 0, 0, 2, true, false, -1);
        masks.Add("Link Text", "Link", 0, 2, 2, 2, true, false, -1);
        masks.Add("Hidden step", "Link", 0, 2, 0, 2, true, true, -1);
        masks.Add("Under hidden", "Hidden step", 0, 2, 0, 2, true, false, -1);
        masks.Add("Never found", "Link", 0, 2, 0, 2, true, false, -1);
        masks.Add("Self", "Self", 0, 2, 0, 2, true, false, -1);
        auto& a = db.Add("http://a/");
        a.Props["Link"] = {"http://b/", "http://c/", "http://b/"};
        a.Ids["Link"] = {{10, -1}, {11, -1}, {12, -1}};
        a.Props["Link Text"] = {"to b", "first to c", "second to c"};
        a.Ids["Link Text"] = {{20, 10}, {21, 11}, {22, 11}};
        a.Props["Hidden step"] = {"x"};
        a.Ids["Hidden step"] = {{30, 11}};
        a.Props["Under hidden"] = {"seen through"};
        a.Ids["Under hidden"] = {{40, 30}};
        a.Props["Self"] = {"s"};
        a.Ids["Self"] = {{50, 50}};
        auto& b = db.Add("http://b/");
        b.Props["Link"] = {"http://B/", "http://b/ "};
        b.Ids["Link"] = {{10, -1}, {11, -1}};
    }
};

TEST_F(MaskReportsTest, ValuesReportWithDependentColumns) {
    TableSink report;
    int steps = 0;
    // Key 9 is a found item whose record is gone: skipped, still a step.
    BuildValuesReport(db, {1, 9, 2}, masks, 1, report, [&] { ++steps; });
    EXPECT_EQ(steps, 3);
    const ReportTable& t = report.Table;
    ASSERT_EQ(t.GetValueCount(), 5);
    EXPECT_EQ(t.ColumnCount(), 3);  // Link, Link Text, Under hidden: no hidden or empty columns
    EXPECT_EQ(t.Header(2), "Link Text");
    EXPECT_EQ(t.Header(3), "Under hidden");
    EXPECT_EQ(t.Cell(1, 2), "to b");
    EXPECT_EQ(t.Cell(2, 2), "first to c");  // two values under one parent: the first keeps the cell
    EXPECT_EQ(t.Cell(2, 3), "seen through");
    EXPECT_EQ(t.GetValue(3), "http://b/");  // repeated in one document: its own row
    EXPECT_EQ(t.GetValue(4), "http://B/");
    EXPECT_TRUE(db.Cursors.empty()) << "every cursor destroyed";
    // A mask depending on itself ends.
    TableSink self;
    BuildValuesReport(db, {1}, masks, 6, self, nullptr);
    EXPECT_EQ(self.Table.GetValueCount(), 1);
}

TEST_F(MaskReportsTest, UniqueValuesReport) {
    TableSink report;
    BuildUniqueValuesReport(db, {1, 2}, masks, 1, report, nullptr);
    const ReportTable& t = report.Table;
    ASSERT_EQ(t.GetValueCount(), 4);  // case and a trailing blank make rows of their own
    EXPECT_EQ(t.GetValue(1), "http://b/");
    EXPECT_EQ(t.GetValue(2), "http://c/");
    EXPECT_EQ(t.GetValue(3), "http://B/");
    EXPECT_EQ(t.GetValue(4), "http://b/ ");
    EXPECT_EQ(t.ColumnCount(), 1);
    // A mask index that names nothing reports nothing.
    TableSink none;
    BuildUniqueValuesReport(db, {1, 2}, masks, 7, none, nullptr);
    EXPECT_EQ(none.Table.GetValueCount(), 0);
}
