// The real window over the registered engine, driven by posted messages and
// its own methods: closes and new searches during a crawl, the found list's
// inserts, saves and copies that fail, the message boxes' pictures, the
// views of a saved search and the open-window count.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "Kestrel_h.h"
#include "ScriptedPrompter.h"
#include "WideString.h"
#include "WindowFixture.h"
#include "runtime/Application.h"

namespace {

class SearchWindowFaults : public SearchWindowFixture {
protected:
    void SetUp() override {
        SearchWindowFixture::SetUp();
        Application->OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        SearchWindowFixture::TearDown();
    }
    std::vector<std::string> errors;
};

// The template clipboard's text, or "" when it holds none.
std::string FaultsClipboardMasks() {
    IKesClipboard* clip = nullptr;
    if (FAILED(CoCreateInstance(CLSID_KesClipboard, nullptr, CLSCTX_INPROC_SERVER, IID_IKesClipboard,
                                reinterpret_cast<void**>(&clip))))
        return "";
    WideString s;
    clip->get_Data(WideString::FromAnsi("Search Mask").c_bstr(), s.Receive());
    clip->Release();
    return s.ToAnsi();
}

void FaultsPutClipboardMasks(const std::string& text) {
    IKesClipboard* clip = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_KesClipboard, nullptr, CLSCTX_INPROC_SERVER, IID_IKesClipboard,
                                              reinterpret_cast<void**>(&clip)));
    clip->put_Data(WideString::FromAnsi("Search Mask").c_bstr(), WideString::FromAnsi(text).c_bstr());
    clip->Release();
}

bool QuitPosted() {
    MSG m;
    return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}
}  // namespace

// A question box pumps messages while it waits for the user, as a real
// modal box does: closes posted meanwhile arrive inside the first close.
class FaultsPumpingPrompter : public TScriptedPrompter {
public:
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        qftest::PumpFor(300);
        return TScriptedPrompter::ShowMessageBox(text, caption, flags);
    }
};

// A second close (the close box again, Ctrl+Q) while the first one waits
// (for the user's answer, for the crawl) is refused; once closed, no timer
// reaches the freed engine.
TEST_F(SearchWindowFaults, SecondCloseDuringTheWaitIsRefusedAndTheTimersStop) {
    FaultsPumpingPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    w.StartAddressCombo()->SetText(Base() + "/index.htm");
    w.StartClick(false);
    ASSERT_EQ(w.Session()->RunState, SearchRunState::Running);
    w.Session()->SearchModified = true;
    prompter.AnswerMessage(IDNO);
    PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session() == nullptr; }, 30000));
    EXPECT_EQ(prompter.Log().size(), 1u) << "one close asked to save";
    EXPECT_FALSE(w.FillTimerRunning());
    qftest::PumpFor(400);  // a fill tick now would call through the freed engine
    EXPECT_EQ(w.Session(), nullptr);
    EXPECT_FALSE(w.Visible());
}

// New search during a crawl waits for its end; the run's timers end with it.
TEST_F(SearchWindowFaults, NewSearchDuringACrawlEndsTheRunsTimers) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    w.StartAddressCombo()->SetText(Base() + "/index.htm");
    w.StartClick(false);
    ASSERT_TRUE(w.FillTimerRunning());
    w.Run(WindowCommand::NewSearch);
    EXPECT_EQ(w.Session()->RunState, SearchRunState::Idle);
    EXPECT_FALSE(w.FillTimerRunning());
    EXPECT_EQ(w.FoundListBox()->Count(), 0);
    // A fresh start runs its timers again.
    Crawl(w, Base() + "/index.htm");
    EXPECT_FALSE(w.FillTimerRunning());
    EXPECT_GE(w.FoundListBox()->Count(), 3);
    prompter.AnswerMessage(IDNO);
    EXPECT_TRUE(w.Unload());
}

// Each record reaches the list as one insert; the page on the Content panel
// is fetched once, for the record selected, not again at every new record.
TEST_F(SearchWindowFaults, ACrawlInsertsEachRecordOnceAndNeverRefillsTheList) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    w.SelectPanel(2);
    const int inserts = w.FoundListInserts(), clears = w.FoundListClears();
    Crawl(w, Base() + "/index.htm");
    const int listed = w.FoundListBox()->Count();
    ASSERT_GE(listed, 3);
    EXPECT_EQ(w.FoundListInserts() - inserts, listed);
    EXPECT_EQ(w.FoundListClears() - clears, 1) << "the start's own";
    EXPECT_EQ(w.ContentBrowser()->History().Entries().size(), 1u);
    EXPECT_EQ(w.FoundListBox()->Selected(), 0);
    prompter.AnswerMessage(IDNO);
    EXPECT_TRUE(w.Unload());
}

// A save that throws while closing keeps the window, with the message; a
// copy that cannot be made leaves the clipboard as it was.
TEST_F(SearchWindowFaults, ASaveOrCopyThatFailsKeepsWhatWasThere) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    MaskCollection& masks = w.Session()->Masks;
    const std::vector<std::string> kept = masks.Item(1).Values();
    masks.AddValue(masks.Item(1).MaskName, std::string(40000, 'x'));  // more than a mask string holds
    w.Session()->SearchModified = true;
    prompter.AnswerMessage(IDYES);
    prompter.AnswerFile(dir.File("a.search"));
    EXPECT_FALSE(w.Unload());
    ASSERT_NE(w.Session(), nullptr) << "the window stays open";
    EXPECT_EQ(errors.size(), 1u);

    FaultsPutClipboardMasks("kept");
    TListViewBox* list = w.MaskListBox();
    for (int i = 0; i < list->Count(); ++i) list->Deselect(i);
    list->Select(0);
    w.Run(WindowCommand::CopyMasks);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(FaultsClipboardMasks(), "kept");

    masks.Item(1).ClearValues();
    for (const std::string& v : kept) masks.AddValue(masks.Item(1).MaskName, v);
    prompter.AnswerMessage(IDNO);
    EXPECT_TRUE(w.Unload());
}

// New search puts the built-in masks into the mask list again: its items and
// their tags name the masks the collection holds.
TEST_F(SearchWindowFaults, NewSearchRefillsTheMaskList) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TListViewBox* list = w.MaskListBox();
    for (int i = 0; i < list->Count(); ++i) list->Deselect(i);
    list->Select(0);
    list->Select(1);
    w.Run(WindowCommand::DeleteMasks);
    w.Run(WindowCommand::NewSearch);
    const MaskCollection& masks = w.Session()->Masks;
    ASSERT_EQ(list->Count(), masks.Count());
    for (int i = 0; i < list->Count(); ++i) {
        const int32_t tag = static_cast<int32_t>(list->TagOf(i));
        ASSERT_GE(tag, 1);
        ASSERT_LE(tag, masks.Count());
        EXPECT_EQ(list->GetText(i), masks.Item(tag).MaskName);
    }
    // Deleting the item that shows "Link" deletes "Link".
    int link = -1;
    for (int i = 0; i < list->Count(); ++i)
        if (list->GetText(i) == "Link") link = i;
    ASSERT_GE(link, 0);
    for (int i = 0; i < list->Count(); ++i) list->Deselect(i);
    list->Select(link);
    w.Run(WindowCommand::DeleteMasks);
    for (int32_t i = 1; i <= masks.Count(); ++i) EXPECT_NE(masks.Item(i).MaskName, "Link");
    EXPECT_TRUE(w.Unload());
}

// The pictures of the boxes: "Can not initialize search" critical; a search
// file that cannot be opened, OK only without one.
TEST_F(SearchWindowFaults, MessageBoxPictures) {
    TScriptedPrompter prompter;
    {
        prompter.AnswerMessage(IDOK);
        TSearchWindow bad;
        EXPECT_FALSE(bad.Load("NoSuchEngine"));
    }
    qftest::TempDir dir;
    const std::string missing = dir.File("missing.search");
    qftest::WriteFileBytes(missing, "not a search");
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    prompter.AnswerFile(missing);
    prompter.AnswerMessage(IDOK);
    w.Run(WindowCommand::OpenSearch);
    ASSERT_EQ(prompter.Log().size(), 3u);
    EXPECT_EQ(prompter.Log()[0].Flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(prompter.Log()[2].Text, "Can not open search database - " + missing);
    EXPECT_EQ(prompter.Log()[2].Caption, "Error");
    EXPECT_EQ(prompter.Log()[2].Flags, static_cast<unsigned>(MB_OK));
    EXPECT_TRUE(w.Unload());
}

// A saved search brings its view modes (one out of range leaves the view),
// its format table address into the box, and its folders.
TEST_F(SearchWindowFaults, OpenedSearchShowsItsFormatTableAndKeepsAViewOutOfRange) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    const std::string file = dir.File("v.search");
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    const std::string shipped = w.FormatTableBox()->Text().substr(7);  // after "file://"
    ASSERT_TRUE(CopyFileA(shipped.c_str(), dir.File("t.ftbl").c_str(), FALSE));
    const std::string table = "file://" + dir.File("t.ftbl");
    w.FormatTableBox()->SetText(table);
    w.Session()->FormatTableAddress = table;
    w.Session()->StartPageFolder = dir.Path() + "\\";
    w.FoundListView = 3;  // a mode the list does not have
    prompter.AnswerFile(file);
    w.Run(WindowCommand::SaveSearchAs);

    TSearchWindow second;
    ASSERT_TRUE(second.Load());
    EXPECT_EQ(second.Session()->MasksFolder.substr(second.Session()->MasksFolder.size() - 7), "\\Masks\\");
    second.Run(WindowCommand::FoundViewSmall);
    prompter.AnswerFile(file);
    second.Run(WindowCommand::OpenSearch);
    EXPECT_EQ(second.FormatTableBox()->Text(), table);
    EXPECT_EQ(second.FoundListView, 1);
    EXPECT_EQ(second.Session()->StartPageFolder, dir.Path() + "\\");
    EXPECT_EQ(second.Session()->SearchFolder, w.Session()->SearchFolder);
    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(w.Unload());
}

// A window whose load fails is not counted: closing the last loaded window
// still ends the program. A closed report frees itself.
TEST_F(SearchWindowFaults, LastWindowClosedEndsTheProgramAndReportsAreFreed) {
    TScriptedPrompter prompter;
    const int before = TSearchWindow::OpenWindows();
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    EXPECT_EQ(TSearchWindow::OpenWindows(), before + 1);
    prompter.AnswerMessage(IDOK);
    {
        TSearchWindow failed;
        failed.IsNewWindow = true;
        EXPECT_FALSE(failed.Load("NoSuchEngine"));
        EXPECT_EQ(TSearchWindow::OpenWindows(), before + 1);
    }
    Crawl(w, Base() + "/index.htm");
    w.SelectPanel(3);
    TListViewBox* props = w.PropertiesListBox();
    ASSERT_GT(props->Count(), 0);
    props->Select(0);
    w.Run(WindowCommand::ReportValues);
    ASSERT_EQ(w.Reports().size(), 1u);
    PostMessageA(w.Reports()[0]->Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Reports().empty(); }, 5000));
    qftest::PumpFor(100);
    prompter.AnswerMessage(IDNO);
    QuitPosted();
    PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session() == nullptr; }, 10000));
    EXPECT_EQ(TSearchWindow::OpenWindows(), before);
    if (before == 0) EXPECT_TRUE(QuitPosted());
}

namespace {
TBrowserPane* g_faultsPaneToStop = nullptr;
void CALLBACK FaultsStopPane(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_faultsPaneToStop) g_faultsPaneToStop->Stop();
}
}  // namespace

// A server that stalls ends the load at the time-out; Stop ends it at once;
// the window answers meanwhile. A file is read up to the cap only.
TEST_F(SearchWindowFaults, BrowserLoadsEndAtTheTimeOutOrAtStopAndAreCapped) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TBrowserPane* b = w.ContentBrowser();
    b->LoadTimeoutMs = 700;
    DWORD started = GetTickCount();
    b->Navigate(Base() + "/stall/b.htm");
    EXPECT_LT(GetTickCount() - started, 5000u);
    EXPECT_EQ(b->Page().Text, "The page cannot be shown.");
    EXPECT_FALSE(b->Loading());

    b->LoadTimeoutMs = 30000;
    g_faultsPaneToStop = b;
    SetTimer(nullptr, 0, 300, FaultsStopPane);
    started = GetTickCount();
    b->Navigate(Base() + "/stall/index.htm");
    g_faultsPaneToStop = nullptr;
    EXPECT_LT(GetTickCount() - started, 5000u) << "Stop ended the load";
    EXPECT_EQ(b->Page().Text, "The page cannot be shown.");
    // A page that comes whole is shown as before.
    b->Navigate(Base() + "/b.htm");
    EXPECT_EQ(b->Page().Title, "Second page");

    qftest::TempDir dir;
    const std::string big = dir.File("big.txt");
    qftest::WriteFileBytes(big, std::string(TBrowserPane::kMaxPageBytes + 4096, 'a'));
    std::string bytes;
    ASSERT_TRUE(TBrowserPane::Fetch("file://" + big, bytes));
    EXPECT_EQ(bytes.size(), TBrowserPane::kMaxPageBytes);
    EXPECT_TRUE(w.Unload());
}
