// The window's engine session against the registered Gleaner, by member
// name: start-up with seven channels, crawls of a loopback site and of a
// file:// folder through the found list, run control, and search files.
#include <gtest/gtest.h>

#include <algorithm>

#include "ComTest.h"
#include "TestSupport.h"
#include "masks/core/DefaultMasks.h"
#include "searchwindow/EngineDispatch.h"
#include "searchwindow/core/FoundList.h"
#include "searchwindow/core/SearchSession.h"

namespace {
class PumpingView : public SessionView {
public:
    std::vector<std::string> Messages;
    void ShowSetting(Spinner, const std::string&) override {}
    void ShowProtocolBox(int, bool) override {}
    void ShowPriority(int32_t) override {}
    void ShowExternalLinksBox(bool) override {}
    void ShowRunState(SearchRunState) override {}
    void ClearFoundList() override { if (List) List->Clear(); }
    void Message(const std::string& text, const std::string&, MessageIcon) override { Messages.push_back(text); }
    void ShowMasks() override {}
    SaveAnswer AskSave(const std::string&) override { return SaveAnswer::No; }
    bool SaveSearch() override { return true; }
    void Pump(int ms) override { qftest::PumpFor(static_cast<unsigned>(ms)); }
    FoundList* List = nullptr;
};

std::string Here(const std::string& relative) {
    char full[MAX_PATH];
    GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    std::string p = full;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

class GleanerSession : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_TRUE(BindEngine("Gleaner", dbDriver, searchDriver));
        db = std::make_unique<DatabaseDispatch>(dbDriver);
        search = std::make_unique<SearchEngineDispatch>(searchDriver, "Gleaner");
        view.List = &list;
        session = std::make_unique<SearchSession>(*search, *db, view);
        session->FormatTableAddress = "file://" + Here("Resource/HTML.ftbl");
        session->Load();
    }
    void TearDown() override {
        if (session) session->Unload();
        session.reset();
        search.reset();
        db.reset();
        dbDriver.Release();
        searchDriver.Release();
        ComTest::TearDown();
    }
    // The fill timer's work until the run ends, then the idle pass.
    void RunToEnd(DWORD ms = 30000) {
        int32_t cursor = DatabaseCalls::kNoCursor, record = 0;
        const DWORD until = GetTickCount() + ms;
        while (!session->PollEnd() && GetTickCount() < until) {
            if (cursor < 0) {
                cursor = db->CreateCursor();
                record = 0;
            }
            if (db->TestCursor(cursor)) {
                list.AddFoundRecord(*db, cursor, record++, session->Masks, session->Filters);
                db->NextRecord(cursor);
            } else {
                db->DestroyCursor(cursor);
                cursor = DatabaseCalls::kNoCursor;
            }
            session->TrafficTick();
            qftest::PumpFor(20);
        }
        if (cursor >= 0) db->DestroyCursor(cursor);
        FoundList::ClearRecordListMarks(*db);
        list.FillFoundList(*db, session->Masks, session->Filters);
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> t;
        for (const FoundItem& i : list.Items()) t.push_back(i.Text);
        std::sort(t.begin(), t.end());
        return t;
    }

    TDispatchDriver dbDriver, searchDriver;
    std::unique_ptr<DatabaseDispatch> db;
    std::unique_ptr<SearchEngineDispatch> search;
    PumpingView view;
    FoundList list;
    std::unique_ptr<SearchSession> session;
};
}  // namespace

TEST(GleanerBinding, UnknownProgIdIsRefused) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    TDispatchDriver d, s;
    EXPECT_FALSE(BindEngine("NoSuchEngine", d, s));
    EXPECT_EQ(d.Dispatch(), nullptr);
    EXPECT_EQ(s.Dispatch(), nullptr);
    CoUninitialize();
}

TEST_F(GleanerSession, StartUpGivesSevenChannels) {
    EXPECT_EQ(searchDriver.Get("ChannelCount").AsLong(), 7);
    EXPECT_EQ(session->ChannelCountCurrent, 7);
    EXPECT_EQ(searchDriver.Get("MaskCount").AsLong(), kDefaultMaskCount);
    EXPECT_EQ(searchDriver.Get("MaxFound").AsLong(), -1);
    EXPECT_EQ(searchDriver.Get("MaxLevel").AsLong(), -1);
    EXPECT_EQ(searchDriver.Get("ThreadPriority").AsLong(), 0);
    EXPECT_TRUE(view.Messages.empty());
}

TEST_F(GleanerSession, CrawlOfALoopbackSiteFillsTheFoundList) {
    const std::string base = "127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT"));
    ASSERT_TRUE(session->StartSearch(base + "/index.htm", false)) << "address without a prefix gets http://";
    RunToEnd();
    const auto captions = Captions();
    for (const char* t : {"Fixture home", "Second page", "Third page in a folder"})
        EXPECT_NE(std::find(captions.begin(), captions.end(), t), captions.end()) << t;
    EXPECT_GT(session->Traffic.Total(), 0);
    EXPECT_TRUE(list.SearchModified);

    // Sorted by the caption mask: the longest title first.
    session->Masks.SetSortAt(static_cast<int16_t>(session->Masks.FindMask("Page title")));
    list.Clear();
    FoundList::ClearRecordMarks(*db);
    list.FillFoundList(*db, session->Masks, session->Filters);
    ASSERT_FALSE(list.Items().empty());
    EXPECT_EQ(list.Items().front().Text, "Third page in a folder");

    // A filter that wants a value of "Link Image" keeps only the home page.
    FilterBlock b;
    b.Add(session->Masks.FindMask("Link Image"), "Link Image", false);
    session->Filters.push_back(b);
    list.Clear();
    FoundList::ClearRecordMarks(*db);
    list.FillFoundList(*db, session->Masks, session->Filters);
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.Items()[0].Text, "Fixture home");
}

TEST_F(GleanerSession, CrawlOfAFileFolder) {
    ASSERT_TRUE(session->StartSearch("file://" + Here("site/index.htm"), false));
    RunToEnd();
    const auto captions = Captions();
    for (const char* t : {"Fixture home", "Second page", "Third page in a folder"})
        EXPECT_NE(std::find(captions.begin(), captions.end(), t), captions.end()) << t;
}

TEST_F(GleanerSession, SuspendResumeAndStop) {
    const std::string base = "http://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT"));
    // A page that never ends keeps the run going however fast the crawl is.
    ASSERT_TRUE(session->StartSearch(base + "/stall/index.htm", false));
    session->SuspendClicked();
    EXPECT_EQ(session->RunState, SearchRunState::Suspended);
    EXPECT_NE(search->Status(), 0);
    session->SuspendClicked();
    EXPECT_EQ(session->RunState, SearchRunState::Running);
    session->StopSearch();
    EXPECT_EQ(session->RunState, SearchRunState::Stopping);
    EXPECT_TRUE(session->WaitIdle(30000));
    EXPECT_TRUE(session->PollEnd());
    EXPECT_EQ(session->RunState, SearchRunState::Idle);
}

TEST_F(GleanerSession, SaveOpenMergeAndAMalformedFile) {
    ASSERT_TRUE(session->StartSearch("file://" + Here("site/index.htm"), false));
    RunToEnd();
    const int32_t records = db->Size();
    ASSERT_GT(records, 2);
    session->SettingEdited(Spinner::MaxFound, "40");
    qftest::TempDir dir;
    const std::string file = dir.File("a.search");
    const WindowState state = session->CollectState("file://x/", "Page title");
    ASSERT_NE(db->Save(file, PutUserData(state, session->Masks)), 0);

    std::string userData;
    ASSERT_NE(db->Open(file, userData), 0);
    EXPECT_EQ(db->Size(), records);
    session->ApplyUserData(userData);
    EXPECT_EQ(PutState(session->CollectState("file://x/", "Page title")), PutState(state));
    EXPECT_EQ(session->MaxFoundSetting, 40);
    EXPECT_EQ(session->Masks.Count(), kDefaultMaskCount);

    ASSERT_NE(db->AddFile(file, userData), 0);
    EXPECT_EQ(db->Size(), 2 * records);

    const std::string bad = dir.File("bad.search");
    qftest::WriteFileBytes(bad, "not a search file");
    const int32_t before = db->Size();
    EXPECT_EQ(db->Open(bad, userData), 0);
    (void)before;
}
