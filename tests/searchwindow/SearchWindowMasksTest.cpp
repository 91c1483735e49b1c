// The window's masks over the registered engine and Kestrel: the template
// clipboard between two windows and its keys, the template files and the
// wizard, the filter, the reports, the toolbar drop-downs, Ctrl+O and the
// format table's dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "Kestrel_h.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "WideString.h"
#include "WindowFixture.h"
#include "masks/EditMaskWizard.h"
#include "runtime/Application.h"

namespace {

std::vector<std::string> Names(const MaskCollection& masks) {
    std::vector<std::string> n;
    for (int32_t i = 1; i <= masks.Count(); ++i) n.push_back(masks.Item(i).MaskName);
    return n;
}

void SelectOnly(TListViewBox* l, std::initializer_list<int> positions) {
    for (int i = 0; i < l->Count(); ++i) l->Deselect(i);
    for (int p : positions) l->Select(p);
}

int FindItem(TListViewBox* l, const std::string& text) {
    for (int i = 0; i < l->Count(); ++i)
        if (l->GetText(i) == text) return i;
    return -1;
}

void PutClipboardText(const std::string& text) {
    IKesClipboard* clip = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_KesClipboard, nullptr, CLSCTX_INPROC_SERVER, IID_IKesClipboard,
                                              reinterpret_cast<void**>(&clip)));
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    clip->put_Data(WideString::FromAnsi("Search Mask").c_bstr(), WideString::FromAnsi(text).c_bstr());
    clip->Release();
}

// The names of the masks the engine holds (the window applied them).
std::vector<std::string> EngineMasks(TSearchWindow& w) {
    std::vector<std::string> names;
    const long n = w.SearchDriver().Get("MaskCount").AsLong();
    for (long i = 0; i < n; ++i) {
        std::string name, value, depends;
        long type = 0, dependType = 0, priority = 0, maxFound = 0, canCompile = 0;
        w.SearchDriver().Call("GetMask", {i, Out(name), Out(value), Out(depends), Out(type), Out(dependType),
                                          Out(priority), Out(maxFound), Out(canCompile)});
        names.push_back(name);
    }
    return names;
}

class SearchWindowMasks : public SearchWindowFixture {};
}  // namespace

TEST_F(SearchWindowMasks, CopiedInOneWindowPastedInASecond) {
    TScriptedPrompter prompter;
    TSearchWindow first, second;
    ASSERT_TRUE(first.Load());
    ASSERT_TRUE(second.Load());
    const std::vector<std::string> before = Names(second.Session()->Masks);
    // "Page title" and "Link" (items 1 and 3) copied with Ctrl+C.
    SelectOnly(first.MaskListBox(), {0, 2});
    first.MaskListKey('C', ssCtrl);
    second.MaskListKey(VK_INSERT, ssShift);
    std::vector<std::string> want = before;
    want.push_back("Page title");
    want.push_back("Link");
    EXPECT_EQ(Names(second.Session()->Masks), want);
    const int n = static_cast<int>(want.size());
    ASSERT_EQ(second.MaskListBox()->Count(), n);
    EXPECT_EQ(second.MaskListBox()->GetText(n - 1), "Link");
    EXPECT_EQ(second.MaskListBox()->TagOf(n - 1), n);
    EXPECT_EQ(EngineMasks(second).size(), EngineMasks(first).size() + 2) << "the pasted masks reach the engine";
    // Ctrl+Shift+Insert copies too; with nothing selected the clipboard keeps its masks.
    SelectOnly(first.MaskListBox(), {});
    first.MaskListKey(VK_INSERT, ssCtrl | ssShift);
    second.MaskListKey('V', ssCtrl);
    EXPECT_EQ(second.Session()->Masks.Count(), n + 2);
    EXPECT_TRUE(prompter.Log().empty());
    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(first.Unload());
}

TEST_F(SearchWindowMasks, DeleteCutAndAMalformedPaste) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    const std::vector<std::string> before = Names(w.Session()->Masks);
    // Deleting masks 2 and 3 leaves items tagged in order.
    SelectOnly(w.MaskListBox(), {1, 2});
    w.MaskListKey(VK_DELETE, 0);
    std::vector<std::string> want = before;
    want.erase(want.begin() + 1, want.begin() + 3);
    EXPECT_EQ(Names(w.Session()->Masks), want);
    for (int i = 0; i < w.MaskListBox()->Count(); ++i) EXPECT_EQ(w.MaskListBox()->TagOf(i), i + 1);
    EXPECT_EQ(FindItem(w.PropertiesListBox(), "Link"), -1);
    // Ctrl+X: copied, then gone; Ctrl+V brings it back at the end.
    SelectOnly(w.MaskListBox(), {0});
    w.MaskListKey('X', ssCtrl);
    EXPECT_EQ(w.Session()->Masks.Item(1).MaskName, want[1]);
    w.MaskListKey('V', ssCtrl);
    EXPECT_EQ(w.Session()->Masks.Item(w.Session()->Masks.Count()).MaskName, "Page title");
    // Text that is no mask string: reported, nothing appended.
    const int32_t count = w.Session()->Masks.Count();
    PutClipboardText("2/10/Page title/not a number/");
    prompter.AnswerMessage(IDOK);
    w.MaskListKey('V', ssCtrl);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "Can not paste masks");
    EXPECT_EQ(w.Session()->Masks.Count(), count);
    EXPECT_EQ(w.MaskListBox()->Count(), count);
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, RefusedWhileRunningCopyAllowed) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    // A page that never ends keeps the run going however fast the machine is.
    w.StartAddressCombo()->SetText(Base() + "/stall/index.htm");
    w.StartClick(false);
    // Suspended, the run holds still while the keys are tried.
    w.Session()->SuspendClicked();
    ASSERT_NE(w.SearchDriver().Get("Status").AsLong(), 0);
    const int32_t count = w.Session()->Masks.Count();
    SelectOnly(w.MaskListBox(), {0});
    const struct {
        const char* name;
        WORD key;
        TShiftState shift;
    } refused[] = {{"Ctrl+V", 'V', ssCtrl}, {"Shift+Insert", VK_INSERT, ssShift}, {"Delete", VK_DELETE, 0},
                   {"Ctrl+X", 'X', ssCtrl}};
    for (const auto& r : refused) {
        prompter.AnswerMessage(IDOK);
        w.MaskListKey(r.key, r.shift);
        ASSERT_FALSE(prompter.Log().empty()) << r.name;
        EXPECT_EQ(prompter.Log().back().Text, "Not allowed while search is in prgress") << r.name;
        EXPECT_EQ(prompter.Log().back().Caption, "") << r.name;
        EXPECT_EQ(w.Session()->Masks.Count(), count) << r.name;
    }
    // The template commands refuse too; the wizard is not shown.
    for (WindowCommand c : {WindowCommand::NewMask, WindowCommand::OpenMask}) {
        prompter.AnswerMessage(IDOK);
        w.Run(c);
        EXPECT_EQ(prompter.Log().back().Text, "Not allowed while search is in prgress");
    }
    const size_t asked = prompter.Log().size();
    w.MaskListKey('C', ssCtrl);
    EXPECT_EQ(prompter.Log().size(), asked) << "copy runs while a search runs";
    w.Session()->SuspendClicked();
    w.Session()->StopSearch();
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, NewMaskThroughTheWizard) {
    TScriptedPrompter prompter;
    TScriptedModalRunner runner;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    const int32_t n = w.Session()->Masks.Count();
    runner.Expect("wisEditMask", [](TForm& f) { static_cast<TEditMaskWizard&>(f).btnCancel->Click(); });
    w.Run(WindowCommand::NewMask);
    EXPECT_EQ(w.Session()->Masks.Count(), n) << "a cancelled wizard leaves the masks as they were";
    runner.Expect("wisEditMask", [](TForm& f) { static_cast<TEditMaskWizard&>(f).btnFinish->Click(); });
    w.Run(WindowCommand::NewMask);
    ASSERT_EQ(w.Session()->Masks.Count(), n + 1);
    const std::string name = "Keyword" + std::to_string(n + 1);
    EXPECT_EQ(w.Session()->Masks.Item(n + 1).MaskName, name);
    EXPECT_EQ(w.MaskListBox()->GetText(n), name);
    EXPECT_NE(FindItem(w.PropertiesListBox(), name), -1);
    const auto engine = EngineMasks(w);
    EXPECT_NE(std::find(engine.begin(), engine.end(), name), engine.end());
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, TemplateFilesSavedOnceNamedAndOpenedIntoTheEngine) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    // "Page title" (a text template) saved under a name that has its extension already.
    SelectOnly(w.MaskListBox(), {0});
    const std::string file = dir.File("a.maskt");
    prompter.AnswerFile(file);
    w.Run(WindowCommand::SaveMaskAs);
    EXPECT_EQ(prompter.Log().at(0).File.FileName, "Page title") << "the template's name is offered";
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((file + "t").c_str()), INVALID_FILE_ATTRIBUTES) << "not a.masktt";
    EXPECT_FALSE(w.MaskListBox()->IsSelected(0)) << "a saved template is deselected";
    EXPECT_EQ(w.Session()->MasksFolder, dir.Path() + "\\");
    // Saving again asks before overwriting; Cancel skips it.
    w.MaskListBox()->Select(0);
    prompter.AnswerFile(file);
    prompter.AnswerMessage(IDCANCEL);
    w.Run(WindowCommand::SaveMaskAs);
    EXPECT_EQ(prompter.Log().back().Text, "File \"a.maskt\" already exists. Owerright it?");
    EXPECT_TRUE(w.MaskListBox()->IsSelected(0));
    // Cancelling the dialog saves none of the selected.
    SelectOnly(w.MaskListBox(), {1, 2});
    prompter.AnswerFile("");
    w.Run(WindowCommand::SaveMaskAs);
    EXPECT_TRUE(w.MaskListBox()->IsSelected(2));

    // Opening it adds the template to the lists and hands it to the engine.
    const size_t engineBefore = EngineMasks(w).size();
    const int32_t n = w.Session()->Masks.Count();
    prompter.AnswerFile(file);
    w.Run(WindowCommand::OpenMask);
    ASSERT_EQ(w.Session()->Masks.Count(), n + 1);
    EXPECT_EQ(w.MaskListBox()->GetText(n), "Page title");
    EXPECT_EQ(EngineMasks(w).size(), engineBefore + 1);
    // A file that is not there: reported, nothing changes.
    prompter.AnswerFile(dir.File("missing.maskt"));
    prompter.AnswerMessage(IDOK);
    w.Run(WindowCommand::OpenMask);
    EXPECT_EQ(prompter.Log().back().Text, "Can not open mask - " + dir.File("missing.maskt"));
    EXPECT_EQ(w.Session()->Masks.Count(), n + 1);
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, ReportsFilterAndDropDownsOverACrawl) {
    TScriptedPrompter prompter;
    TScriptedModalRunner runner;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    Crawl(w, Base() + "/index.htm");
    const int found = w.FoundListBox()->Count();
    ASSERT_GE(found, 3);

    // Reports on "Link": every link with its text beside it, and each address once.
    const int link = FindItem(w.PropertiesListBox(), "Link");
    ASSERT_GE(link, 0);
    w.PropertiesListBox()->Select(link);
    w.Run(WindowCommand::ReportValues);
    ASSERT_EQ(w.Reports().size(), 1u);
    const ReportTable& values = w.Reports()[0]->Table();
    EXPECT_GE(values.GetValueCount(), 2);
    EXPECT_EQ(values.Header(2), "Link Text");
    bool second = false;
    for (int32_t r = 1; r <= values.GetValueCount(); ++r)
        second = second || (values.Cell(r, 2) == "Second page" && values.GetValue(r).find("b.htm") != std::string::npos);
    EXPECT_TRUE(second);
    w.Run(WindowCommand::ReportUniqueValues);
    ASSERT_EQ(w.Reports().size(), 2u);
    const ReportTable& unique = w.Reports()[1]->Table();
    EXPECT_LE(unique.GetValueCount(), values.GetValueCount());
    EXPECT_EQ(unique.ColumnCount(), 1);

    // The property view of the start page: links, their texts in a second column.
    w.FoundListBox()->Select(FindItem(w.FoundListBox(), "Fixture home"));
    w.SelectPanel(3);
    w.PropertiesListBox()->Select(link);
    TListViewBox* content = w.PropertyContentListBox();
    HWND header = reinterpret_cast<HWND>(content->Perform(LVM_GETHEADER));
    EXPECT_GE(Header_GetItemCount(header), 2);  // "Link Image" may follow a link too
    ASSERT_EQ(content->Count(), 2);
    EXPECT_EQ(content->GetText(0).substr(content->GetText(0).size() - 5), "b.htm");
    EXPECT_EQ(content->GetText(0, 1), "Second page");
    EXPECT_EQ(content->GetText(1, 1), "a page in a folder");

    // Sort by "Page title": longer titles first.
    std::vector<DropDownEntry> sort = w.DropDownEntries("Sort");
    ASSERT_EQ(sort[0].Text, "+  As reseaved");
    w.DropDownClick(sort[1]);  // Page title
    EXPECT_EQ(w.FoundListBox()->GetText(0), "Third page in a folder");
    EXPECT_EQ(w.DropDownEntries("Sort")[1].Text, "+  Page title");
    // The View menu picks "Address" to caption the records.
    std::vector<DropDownEntry> view = w.DropDownEntries("View");
    auto address = std::find_if(view.begin(), view.end(), [](const DropDownEntry& e) { return e.Text == "    Address"; });
    ASSERT_NE(address, view.end());
    w.DropDownClick(*address);
    EXPECT_EQ(w.CaptionMaskName, "Address");
    EXPECT_EQ(w.FoundListBox()->GetText(0).rfind("http://", 0), 0u) << w.FoundListBox()->GetText(0);

    // The filter: only records without "Link Image".
    runner.Expect("dlgFilter", [](TForm& f) {
        auto& d = static_cast<TFilterDialog&>(f);
        d.Model().New();
        d.Model().AddCondition(5, true);  // "Link Image", Not
        d.cbOk->Click();
    });
    w.Run(WindowCommand::EditFilter);
    ASSERT_EQ(w.Session()->Filters.size(), 1u);
    EXPECT_EQ(w.FoundListBox()->Count(), found - 1) << "the start page has the picture";
    EXPECT_TRUE(runner.AllUsed());
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, CtrlOAsksForTheFileBeforeEmptying) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    const std::string file = dir.File("b.search");
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    Crawl(w, Base() + "/b.htm");
    const int records = w.FoundListBox()->Count();
    prompter.AnswerFile(file);
    w.Run(WindowCommand::SaveSearchAs);
    // The file merged into the search doubles it.
    prompter.AnswerFile(file);
    w.Run(WindowCommand::MergeSearch);
    const int more = w.FoundListBox()->Count();
    ASSERT_GT(more, records);
    // Cancelled: the search is whole and nobody was asked to save.
    prompter.AnswerFile("");
    w.FoundListKey('O', ssCtrl);
    EXPECT_EQ(w.FoundListBox()->Count(), more);
    EXPECT_EQ(prompter.Log().back().Kind, "OpenFile");
    // Chosen: the save question, then only the file's records.
    prompter.AnswerFile(file);
    prompter.AnswerMessage(IDNO);
    w.FoundListKey('O', ssCtrl);
    EXPECT_EQ(prompter.Log().back().Kind, "MessageBox");
    EXPECT_EQ(w.FoundListBox()->Count(), records);
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowMasks, FormatTableDialogClearsTheNameAndHonoursCancel) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    const std::string address = w.Session()->FormatTableAddress;
    prompter.AnswerFile("");
    w.OpenFormatTable();
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].File.Title, "Open format table");
    EXPECT_EQ(prompter.Log()[0].File.FileName, "");
    EXPECT_EQ(prompter.Log()[0].File.InitialDir, address.substr(7, address.find_last_of("/\\") + 1 - 7));
    EXPECT_EQ(w.Session()->FormatTableAddress, address);
    EXPECT_EQ(w.FormatTableBox()->Text(), address);
    // A table that does not load is reported; the address is kept as typed.
    prompter.AnswerFile("C:\\no\\such.ftbl");
    prompter.AnswerMessage(IDOK);
    w.OpenFormatTable();
    EXPECT_EQ(w.FormatTableBox()->Text(), "file://C:\\no\\such.ftbl");
    EXPECT_EQ(prompter.Log().back().Text, "Can not open format table - file://C:\\no\\such.ftbl");
    EXPECT_TRUE(w.Unload());
}

namespace {
std::vector<std::string> HeaderTexts(TListViewBox* l) {
    HWND header = reinterpret_cast<HWND>(l->Perform(LVM_GETHEADER));
    std::vector<std::string> texts;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
        char buf[128] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = buf;
        item.cchTextMax = sizeof buf;
        SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(buf);
    }
    return texts;
}
}  // namespace

// A hidden template between two shown ones: it makes no column, and the
// template under it lines up with the link its value came from.
TEST_F(SearchWindowMasks, PropertyColumnsSeeThroughAHiddenTemplate) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    MaskCollection extra;
    extra.Add("Hidden text", "Link", 0, 1, 0, 2, true, true, 1);
    extra.AddValue("Hidden text", R"(\al<:\w-\e\ar>:\w+\e\*<\# /A\*>)");
    extra.Add("Under hidden", "Hidden text", 0, 2, 0, 2, true, false, 1);
    extra.AddValue("Under hidden", R"(Second\*page)");
    PutClipboardText(extra.PutMasks({1, 2}));
    w.PasteMasks();
    ASSERT_EQ(FindItem(w.PropertiesListBox(), "Hidden text"), -1);
    ASSERT_GE(FindItem(w.PropertiesListBox(), "Under hidden"), 0);
    Crawl(w, Base() + "/index.htm");

    w.FoundListBox()->Select(FindItem(w.FoundListBox(), "Fixture home"));
    w.SelectPanel(3);
    w.PropertiesListBox()->Select(FindItem(w.PropertiesListBox(), "Link"));
    TListViewBox* content = w.PropertyContentListBox();
    const std::vector<std::string> headers = HeaderTexts(content);
    ASSERT_GE(headers.size(), 3u);
    EXPECT_EQ(headers[0], "Link");
    EXPECT_EQ(headers[1], "Link Text");
    EXPECT_EQ(std::find(headers.begin(), headers.end(), "Hidden text"), headers.end());
    const auto under = std::find(headers.begin(), headers.end(), "Under hidden");
    ASSERT_NE(under, headers.end());
    const int col = static_cast<int>(under - headers.begin());
    ASSERT_EQ(content->Count(), 2);
    EXPECT_EQ(content->GetText(0, 1), "Second page");
    EXPECT_EQ(content->GetText(0, col), "Second page");
    EXPECT_EQ(content->GetText(1, 1), "a page in a folder");
    EXPECT_EQ(content->GetText(1, col), "");
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}
