// The real window over the registered engine, driven by its own methods and
// messages (the null graphics driver): start-up failure, a crawl from the
// window, the browser pane, and search files through the scripted prompter.
#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>

#include "ScriptedPrompter.h"
#include "WindowFixture.h"
#include "runtime/Application.h"

namespace {

std::vector<std::string> ListTexts(TListViewBox* l) {
    std::vector<std::string> t;
    for (int i = 0; i < l->Count(); ++i) t.push_back(l->GetText(i));
    std::sort(t.begin(), t.end());
    return t;
}

class SearchWindowTest : public SearchWindowFixture {};
}  // namespace

TEST_F(SearchWindowTest, UnknownEngineSaysCanNotInitialize) {
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    TSearchWindow w;
    EXPECT_FALSE(w.Load("NoSuchEngine"));
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "Can not initialize search");
    EXPECT_EQ(prompter.Log()[0].Caption, "Error");
}

// A control whose window was made twice leaves the first one behind, which
// then asks to be painted for ever on a real display and starves the timers.
TEST_F(SearchWindowTest, EveryControlOwnsOneWindow) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    int children = 0;
    for (HWND c = GetWindow(w.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++children) {
        TWinControl* control = TWinControl::FromHandle(c);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Handle(), c) << typeid(*control).name();
    }
    EXPECT_GT(children, 10);
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowTest, CrawlFromTheWindowFillsTheFoundList) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    EXPECT_EQ(w.Session()->ChannelCountCurrent, 7);
    w.StartAddressCombo()->SetText(Base() + "/index.htm");
    w.StartClick(false);
    EXPECT_EQ(w.Session()->RunState, SearchRunState::Running);
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    const auto texts = ListTexts(w.FoundListBox());
    for (const char* t : {"Fixture home", "Second page", "Third page in a folder"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    EXPECT_GT(w.Session()->Traffic.Total(), 0);
    EXPECT_EQ(w.Caption(), "Sablefind*");
    // Closing asks to save the modified search; No lets it close.
    prompter.AnswerMessage(IDNO);
    EXPECT_TRUE(w.Unload());
    EXPECT_TRUE(prompter.AllAnswersUsed()) << "the save question was asked";
}

TEST_F(SearchWindowTest, BrowserPaneFollowsALinkAndGoesBack) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TBrowserPane* b = w.ContentBrowser();
    b->Navigate(Base() + "/index.htm");
    EXPECT_EQ(b->Page().Title, "Fixture home");
    ASSERT_FALSE(b->Page().Links.empty());
    b->FollowLink(0);
    EXPECT_EQ(b->Page().Title, "Second page");
    EXPECT_EQ(b->LocationURL(), Base() + "/b.htm");
    b->GoBack();
    EXPECT_EQ(b->Page().Title, "Fixture home");
    b->GoForward();
    EXPECT_EQ(b->Page().Title, "Second page");
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowTest, SaveOpenAndAMalformedFile) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    const std::string file = dir.File("a.search");
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    Crawl(w, Base() + "/index.htm");
    const int records = w.FoundListBox()->Count();
    ASSERT_GE(records, 3);
    w.Run(WindowCommand::FoundViewSmall);
    w.Run(WindowCommand::MaskViewList);
    prompter.AnswerFile(file);
    w.Run(WindowCommand::SaveSearchAs);
    EXPECT_EQ(w.Caption(), "Sablefind");

    // A second window opens the file: same records and settings.
    TSearchWindow second;
    ASSERT_TRUE(second.Load());
    prompter.AnswerFile(file);
    second.Run(WindowCommand::OpenSearch);
    EXPECT_EQ(ListTexts(second.FoundListBox()), ListTexts(w.FoundListBox()));
    EXPECT_EQ(second.Caption(), "a - Sablefind");
    EXPECT_EQ(second.FoundListView, 1) << "the views come back with the search";
    EXPECT_EQ(second.MaskListView, 2);
    EXPECT_EQ(second.Session()->Masks.Count(), w.Session()->Masks.Count());
    // Merging the open file gives every record twice.
    prompter.AnswerFile(file);
    second.Run(WindowCommand::MergeSearch);
    EXPECT_EQ(second.FoundListBox()->Count(), 2 * records);

    // A malformed file is reported and changes nothing.
    const std::string bad = dir.File("bad.search");
    qftest::WriteFileBytes(bad, "this is not a search");
    prompter.AnswerFile(bad);
    prompter.AnswerMessage(IDOK);
    second.Run(WindowCommand::OpenSearch);
    EXPECT_EQ(prompter.Log().back().Text, "Can not open search database - " + bad);
    EXPECT_EQ(second.FoundListBox()->Count(), 2 * records);
    prompter.AnswerMessage(IDNO);  // the merge changed the search
    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(w.Unload());
}

// The promotion pane sits under the found list, shows the page shipped
// beside the program, and loads its page again when "http://" is checked.
TEST_F(SearchWindowTest, PromotionPaneReloadsWhenHttpIsChecked) {
    TScriptedPrompter prompter;
    {
        TSearchWindow shipped;
        ASSERT_TRUE(shipped.Load());
        EXPECT_EQ(shipped.PromotionPane()->LocationURL(), shipped.PromotionAddress);
        EXPECT_EQ(shipped.PromotionPane()->Page().Title, "Sablefind");
        EXPECT_TRUE(shipped.Unload());
    }
    TSearchWindow w;
    w.PromotionAddress = Base() + "/b.htm";
    ASSERT_TRUE(w.Load());
    TBrowserPane* p = w.PromotionPane();
    EXPECT_TRUE(p->Visible());
    EXPECT_GT(p->Height(), 0);
    EXPECT_GE(p->Top(), w.FoundListBox()->Top() + w.FoundListBox()->Height());
    EXPECT_EQ(p->Page().Title, "Second page");
    p->Navigate(Base() + "/index.htm");

    TCheckBox* http = w.ProtocolBox(1);
    http->SetChecked(false);  // as a click: the page stays
    EXPECT_FALSE(w.Session()->ProtocolOn[1]);
    EXPECT_EQ(p->Page().Title, "Fixture home");
    http->SetChecked(true);
    EXPECT_TRUE(w.Session()->ProtocolOn[1]);
    EXPECT_EQ(p->Page().Title, "Second page");
    EXPECT_EQ(p->LocationURL(), Base() + "/b.htm");
    // Other protocols leave the pane alone.
    p->GoBack();
    w.ProtocolBox(0)->SetChecked(false);
    w.ProtocolBox(0)->SetChecked(true);
    EXPECT_EQ(p->Page().Title, "Fixture home");
    EXPECT_TRUE(w.Unload());
}
