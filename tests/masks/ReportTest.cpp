#include <gtest/gtest.h>

#include <stdexcept>

#include "MaskFakes.h"
#include "masks/core/FileNames.h"
#include "masks/core/ReportSaver.h"
#include "masks/core/ReportTable.h"

namespace {
std::string Cells(const ReportTable& t, int32_t row) {
    std::string s;
    for (int32_t c = 1; c <= t.ColumnCount(); ++c) s += "[" + t.Cell(row, c) + "]";
    return s + " cells " + std::to_string(t.CellCount(row));
}

std::string Written(const ReportTable& t) {
    MemoryTextFile f;
    EXPECT_TRUE(f.Open("r.txt", 0));
    t.Write(f);
    f.Close();
    return f.Files["r.txt"];
}

// A values report of "Link" with the dependent "Link Text" and "Link Image".
ReportTable LinkReport() {
    ReportTable t;
    t.ReportType = kValuesReport;
    t.SetMaskName("Link");
    const int32_t a = t.AddValue("http://h/a.htm");
    t.AddSubValue(a, "A", "Link Text");
    t.AddSubValue(a, "http://h/a.gif", "Link Image");
    const int32_t b = t.AddValue("http://h/b.htm");
    t.AddSubValue(b, "http://h/b.gif", "Link Image");
    return t;
}

class ScriptedPrompts : public ReportSavePrompts {
public:
    std::vector<std::string> Answers;  // file names; "" cancels the dialog
    bool ConfirmAnswer = true;
    std::vector<SaveDialogSetup> Dialogs;
    std::vector<std::string> Shown;

    bool AskSaveFileName(const SaveDialogSetup& setup, std::string& fileName) override {
        Dialogs.push_back(setup);
        fileName = Answers.at(Dialogs.size() - 1);
        return !fileName.empty();
    }
    bool Confirm(const std::string& text, const std::string& title) override {
        Shown.push_back(title + ": " + text);
        return ConfirmAnswer;
    }
    void Message(const std::string& text, const std::string& title) override { Shown.push_back(title + ": " + text); }
};
}  // namespace

TEST(ReportTable, CellRules) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> puts;  // (value, header) into row 1
        const char* cells;
    } cases[] = {
        {"first value empty, second fills", {{"", "B"}, {"x", "B"}}, "[v][x] cells 1"},
        {"first non-empty value stays", {{"x", "B"}, {"y", "B"}}, "[v][x] cells 1"},
        {"column 4 of a row without cells", {{"", "B"}, {"", "C"}, {"z", "D"}}, "[v][][][z] cells 3"},
        {"column made by another row", {{"w", "Other"}}, "[v][][w] cells 2"},
        {"the mask's own name has no cell", {{"x", "Mask"}}, "[v][] cells 0"},
        {"letter case makes another column", {{"x", "b"}}, "[v][][x] cells 2"},
    };
    for (const Case& c : cases) {
        ReportTable t;
        t.SetMaskName("Mask");
        t.AddValue("v");
        const int32_t other = t.AddValue("o");
        t.AddSubValue(other, "o1", "B");
        for (const auto& p : c.puts) t.AddSubValue(1, p.first, p.second);
        EXPECT_EQ(c.cells, Cells(t, 1)) << c.what;
    }
    ReportTable t;
    EXPECT_THROW(t.AddSubValue(1, "x", "B"), std::out_of_range);
    EXPECT_EQ(1, t.AddValue("a"));
    EXPECT_EQ(2, t.AddValue("a"));
    EXPECT_EQ(2, t.GetValueCount());
    EXPECT_EQ("a", t.GetValue(2));
}

// Rows are numbered with 32 bits: more than 32,767 of them keep their numbers.
TEST(ReportTable, RowsBeyondSixteenBits) {
    ReportTable t;
    t.SetMaskName("M");
    int32_t last = 0;
    for (int i = 0; i < 40000; ++i) last = t.AddValue(std::to_string(i));
    EXPECT_EQ(40000, last);
    t.AddSubValue(last, "x", "Dep");
    EXPECT_EQ("39999", t.GetValue(last));
    EXPECT_EQ("x", t.Cell(last, 2));
}

TEST(ReportTable, GoldenTexts) {
    ReportTable values = LinkReport();
    EXPECT_EQ("Link - Report Values", values.Caption());
    EXPECT_EQ("Link : http://h/a.htm\r\nLink Text : A\r\nLink Image : http://h/a.gif\r\n\r\n"
              "Link : http://h/b.htm\r\nLink Text : \r\nLink Image : http://h/b.gif\r\n\r\n",
              Written(values));

    ReportTable unique;
    unique.ReportType = kUniqueValuesReport;
    unique.SetMaskName("Link");
    for (const char* v : {"a", "A", "a "}) unique.AddValue(v);
    EXPECT_EQ("a\r\nA\r\na \r\n", Written(unique));

    ReportTable empty;
    empty.ReportType = kValuesReport;
    empty.SetMaskName("Link");
    EXPECT_EQ("", Written(empty));

    ReportTable other = LinkReport();
    other.ReportType = 3;
    EXPECT_EQ("", Written(other));
}

TEST(ReportTable, ColumnWidthsRoundHalvesToEven) {
    EXPECT_EQ(1000, ReportColumnWidth(2080, 2));
    EXPECT_EQ(2, ReportColumnWidth(85, 2));  // 2.5
    EXPECT_EQ(4, ReportColumnWidth(87, 2));  // 3.5
    EXPECT_EQ(0, ReportColumnWidth(500, 0));
}

TEST(ReportTable, ListFollowsTheWindowWhereItFits) {
    struct Case {
        const char* what;
        int32_t outerWidth, outerHeight;
        int32_t width, height;
    } cases[] = {
        {"both fit", 5000, 4000, 4910, 3200},
        {"width 90 or less keeps the width", 90, 4000, 1000, 3200},
        {"height down to top + 400 keeps the height", 5000, 800, 4910, 1000},
    };
    for (const Case& c : cases) {
        const ReportListSize s = ReportListSizeFor(c.outerWidth, c.outerHeight, 400, {1000, 1000});
        EXPECT_EQ(c.width, s.Width) << c.what;
        EXPECT_EQ(c.height, s.Height) << c.what;
    }
}

TEST(ReportSaver, SaveFlow) {
    ReportTable t = LinkReport();
    MemoryTextFile file;
    ScriptedPrompts prompts;
    ReportSaver saver;
    prompts.Answers = {"", "/d1/Link.txt", "C:\\d2\\r.txt", "C:\\d2\\r.txt", "/bad/x.txt"};

    // Cancelled by the dialog's result, even with the proposed name.
    EXPECT_FALSE(saver.Save(t, file, prompts));
    EXPECT_EQ("Save mask report", prompts.Dialogs[0].Title);
    EXPECT_EQ("Link.txt", prompts.Dialogs[0].FileName);
    EXPECT_EQ("", prompts.Dialogs[0].InitialDir);
    EXPECT_EQ("txt", prompts.Dialogs[0].DefaultExt);
    EXPECT_EQ("Text files (*.txt)|*.txt| All Files (*.*)|*.*", prompts.Dialogs[0].Filter);
    EXPECT_EQ(4, prompts.Dialogs[0].Flags);
    EXPECT_TRUE(file.Files.empty());

    EXPECT_TRUE(saver.Save(t, file, prompts));
    EXPECT_EQ(Written(t), file.Files["/d1/Link.txt"]);
    EXPECT_TRUE(saver.Save(t, file, prompts));
    EXPECT_EQ("/d1/", prompts.Dialogs[2].InitialDir);  // the second save opens where the first saved

    // An existing file: the question; Cancel writes nothing.
    file.Files["C:\\d2\\r.txt"] = "old";
    prompts.ConfirmAnswer = false;
    EXPECT_FALSE(saver.Save(t, file, prompts));
    EXPECT_EQ("Save file: File \"r.txt\" already exists. Owerright it?", prompts.Shown.back());
    EXPECT_EQ("old", file.Files["C:\\d2\\r.txt"]);
    EXPECT_EQ("C:\\d2\\", saver.RememberedFolder());

    // A write failure is reported and the folder stays.
    file.WritesBeforeFailure = 3;
    EXPECT_FALSE(saver.Save(t, file, prompts));
    EXPECT_EQ("Error: Error writing file - /bad/x.txt", prompts.Shown.back());
    EXPECT_EQ("C:\\d2\\", saver.RememberedFolder());
}

TEST(ReportSaver, FileNamePieces) {
    EXPECT_EQ("C:\\a/b\\", GetFileDir("C:\\a/b\\c.txt"));
    EXPECT_EQ("", GetFileDir("c.txt"));
    EXPECT_EQ("c.txt", GetFileTitle("/x/c.txt"));
}
