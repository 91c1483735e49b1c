// The report window filled as the main window fills it, saved and printed
// through the scripted prompter.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include "MaskFakes.h"
#include "ScriptedPrompter.h"
#include "masks/BasicForm.h"
#include "masks/BasicListView.h"
#include "masks/ReportListForm.h"

namespace {
// A file object that hands out the test's memory files.
class SharedFile : public TextFile {
public:
    explicit SharedFile(MemoryTextFile& f) : f_(f) {}
    bool Open(const std::string& n, long flags) override { return f_.Open(n, flags); }
    void Close() override { f_.Close(); }
    bool CheckExists(const std::string& n) override { return f_.CheckExists(n); }
    bool WriteString(const std::string& t) override { return f_.WriteString(t); }
    bool PutBR() override { return f_.PutBR(); }
    bool ReadString(std::string& l) override { return f_.ReadString(l); }

private:
    MemoryTextFile& f_;
};

// The fixture: a values report on "Link" with two dependent masks, the
// second page's link lacking its text.
void Fill(TReportListForm& r, int32_t type) {
    r.SetReportType(type);
    r.SetMaskName("Link");
    const int32_t a = r.AddValue("http://h/a.htm");
    r.AddSubValue(a, "A", "Link Text");
    r.AddSubValue(a, "http://h/a.gif", "Link Image");
    const int32_t b = r.AddValue("http://h/b.htm");
    r.AddSubValue(b, "http://h/b.gif", "Link Image");
    r.SizeColumns();
}

// A click on the toolbar button with this key, as the toolbar reports it.
void Click(TReportListForm& r, const std::string& key) {
    TToolButton* b = r.tbReport->FindButton(key);
    ASSERT_NE(nullptr, b) << key;
    HWND bar = r.tbReport->Handle();
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(b->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(bar));
}

std::string ClipboardText() {
    std::string s;
    if (!OpenClipboard(nullptr)) return "(no clipboard)";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        s = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return s;
}

struct Fixture {
    MemoryTextFile files;
    TReportListForm report;
    int printed = 0;
    explicit Fixture(int32_t type = kValuesReport) {
        report.MakeFile = [this] { return std::unique_ptr<TextFile>(new SharedFile(files)); };
        report.PrintForm = [this](TForm&) { ++printed; };
        Fill(report, type);
        report.Show();
    }
};
}  // namespace

TEST(ReportListWindow, FilledFromTheMainWindowsCalls) {
    Fixture f;
    TListView& lv = *f.report.lstValues;
    EXPECT_EQ("Link - Report Values", f.report.Caption());
    ASSERT_EQ(3, BasicListView::ColumnCount(lv));
    EXPECT_EQ("Link", BasicListView::ColumnCaption(lv, 1));
    EXPECT_EQ("Link Image", BasicListView::ColumnCaption(lv, 3));
    ASSERT_EQ(2, BasicListView::RowCount(lv));
    EXPECT_EQ("A", BasicListView::SubItem(lv, 1, 1));
    EXPECT_EQ("", BasicListView::SubItem(lv, 2, 1));
    EXPECT_EQ("http://h/b.gif", BasicListView::SubItem(lv, 2, 2));
    EXPECT_EQ(BasicListView::ColumnWidth(lv, 1), BasicListView::ColumnWidth(lv, 3)) << "equal widths";
}

TEST(ReportListWindow, SavedTextAndTheNextSavesFolder) {
    const struct {
        const char* what;
        int32_t type;
        const char* text;
    } cases[] = {
        {"values report", kValuesReport,
         "Link : http://h/a.htm\r\nLink Text : A\r\nLink Image : http://h/a.gif\r\n\r\n"
         "Link : http://h/b.htm\r\nLink Text : \r\nLink Image : http://h/b.gif\r\n\r\n"},
        {"unique values", kUniqueValuesReport, "http://h/a.htm\r\nhttp://h/b.htm\r\n"},
    };
    for (const auto& c : cases) {
        Fixture f(c.type);
        TScriptedPrompter prompter;
        prompter.AnswerFile("C:\\reports\\Link.txt");
        prompter.AnswerFile("");
        Click(f.report, "Save");
        EXPECT_EQ(c.text, f.files.Files["C:\\reports\\Link.txt"]) << c.what;
        Click(f.report, "Save");  // cancelled: nothing happens
        ASSERT_EQ(2u, prompter.Log().size()) << c.what;
        const TFileDialogRequest& first = prompter.Log()[0].File;
        EXPECT_EQ("Save mask report", first.Title);
        EXPECT_EQ("Text files (*.txt)|*.txt| All Files (*.*)|*.*", first.Filter);
        EXPECT_EQ("Link.txt", first.FileName);
        EXPECT_EQ("txt", first.DefaultExt);
        EXPECT_EQ("", first.InitialDir);
        EXPECT_EQ(static_cast<uint32_t>(OFN_HIDEREADONLY), first.Options);
        EXPECT_EQ("C:\\reports\\", prompter.Log()[1].File.InitialDir) << c.what;
    }
}

TEST(ReportListWindow, OverwriteQuestionAndWriteFailure) {
    Fixture f;
    TScriptedPrompter prompter;
    f.files.Files["C:\\r\\Link.txt"] = "old";
    prompter.AnswerFile("C:\\r\\Link.txt");
    prompter.AnswerMessage(IDCANCEL);
    Click(f.report, "Save");
    EXPECT_EQ("old", f.files.Files["C:\\r\\Link.txt"]) << "overwrite refused";
    ASSERT_EQ(2u, prompter.Log().size());
    EXPECT_EQ("File \"Link.txt\" already exists. Owerright it?", prompter.Log()[1].Text);
    EXPECT_EQ("Save file", prompter.Log()[1].Caption);
    EXPECT_EQ(static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION), prompter.Log()[1].Flags);

    f.files.FailOpen = true;
    prompter.AnswerFile("C:\\r\\Other.txt");
    prompter.AnswerMessage(IDOK);
    Click(f.report, "Save");
    ASSERT_EQ(4u, prompter.Log().size());
    EXPECT_EQ("Error writing file - C:\\r\\Other.txt", prompter.Log()[3].Text);
    EXPECT_EQ("Error", prompter.Log()[3].Caption);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), prompter.Log()[3].Flags);
    EXPECT_EQ("", f.report.RememberedFolder()) << "a failed save remembers no folder";

    f.files.FailOpen = false;
    f.files.WritesBeforeFailure = 3;  // the disk fills during the write
    prompter.AnswerFile("C:\\r\\Third.txt");
    prompter.AnswerMessage(IDOK);
    Click(f.report, "Save");
    ASSERT_EQ(6u, prompter.Log().size());
    EXPECT_EQ("Error writing file - C:\\r\\Third.txt", prompter.Log()[5].Text);
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

// The report once printed after the printer dialog was cancelled.
TEST(ReportListWindow, PrintsOnlyWhenThePrinterDialogIsConfirmed) {
    Fixture f;
    TScriptedPrompter prompter;
    prompter.AnswerPrint(false);
    Click(f.report, "Print");
    EXPECT_EQ(0, f.printed);
    prompter.AnswerPrint(true);
    Click(f.report, "Print");
    EXPECT_EQ(1, f.printed);
}

TEST(ReportListWindow, SaveDoesNothingForOtherReportTypes) {
    Fixture f(3);
    TScriptedPrompter prompter;  // any dialog would fail the test
    Click(f.report, "Save");
    EXPECT_TRUE(prompter.Log().empty());
}

TEST(ReportListWindow, CopyPutsTheSelectedValueOnly) {
    Fixture f;
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    Click(f.report, "Copy");
    EXPECT_EQ("", ClipboardText()) << "no row selected: nothing copied";
    BasicListView::SelectRow(*f.report.lstValues, 2);
    Click(f.report, "Copy");
    EXPECT_EQ("http://h/b.htm", ClipboardText());
}

// The list follows the window: 90 twips narrower, 400 lower than the window
// less the list's top (the sizes that do not fit are the core's tests: the
// system keeps a captioned window above them).
TEST(ReportListWindow, ListFollowsTheWindowSize) {
    Fixture f;
    f.report.SetBounds(0, 0, Twips(9000), Twips(6000));
    EXPECT_NEAR(f.report.lstValues->Width(), Twips(9000 - 90), 1);
    EXPECT_NEAR(f.report.lstValues->Height(), Twips(6000 - 400) - f.report.lstValues->Top(), 2);
}

// A cancel is the dialog's own answer: a confirmed choice of the proposed
// bare name once looked like a cancel and wrote nothing.
TEST(ReportListWindow, TheProposedNameConfirmedIsSaved) {
    Fixture f(kUniqueValuesReport);
    TScriptedPrompter prompter;
    prompter.AnswerFile("Link.txt");
    Click(f.report, "Save");
    EXPECT_EQ("http://h/a.htm\r\nhttp://h/b.htm\r\n", f.files.Files["Link.txt"]);
    EXPECT_EQ("", f.report.RememberedFolder()) << "a name without a folder";
}
