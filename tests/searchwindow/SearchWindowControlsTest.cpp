// The window's controls as a user meets them, driven by their messages:
// every tool tip, the toolbars' pictures and arrows, the Options panel, the
// start address box and its list, the browser toolbar on each panel, the
// Results table's columns and the status bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ScriptedPrompter.h"
#include "WindowFixture.h"
#include "runtime/Application.h"
#include "searchwindow/core/ToolbarButtons.h"
#include "ui/HintTracker.h"

namespace {

class SearchWindowControls : public SearchWindowFixture {};

POINT ScreenMiddle(HWND w, RECT r) {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(w, &p);
    return p;
}

// The tip the application shows over toolbar button i.
std::string ButtonTip(TToolBar* bar, int i) {
    RECT r{};
    if (!bar->Perform(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) return "<no rect>";
    int part = -1;
    TWinControl* source = nullptr;
    return HintOfControl(bar, ScreenMiddle(bar->Handle(), r), part, source);
}

std::string TabTip(TTabControl* tabs, int i) {
    RECT r{};
    tabs->Perform(TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    int part = -1;
    TWinControl* source = nullptr;
    return HintOfControl(tabs, ScreenMiddle(tabs->Handle(), r), part, source);
}

std::string ControlTip(TWinControl* c) {
    RECT r{};
    GetClientRect(c->Handle(), &r);
    int part = -1;
    TWinControl* source = nullptr;
    return HintOfControl(c, ScreenMiddle(c->Handle(), r), part, source);
}

// A toolbar button's click as the toolbar reports it.
void ClickButton(TToolBar* bar, const std::string& key) {
    TToolButton* b = bar->FindButton(key);
    ASSERT_NE(b, nullptr) << key;
    SendMessageA(bar->Handle(), WM_COMMAND, MAKEWPARAM(b->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(bar->Handle()));
}

// A button's click as its parent hears of it.
void ClickButton(TWinControl* button) {
    SendMessageA(GetParent(button->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button->Handle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle()));
}

bool Enabled(TWinControl* c) { return IsWindowEnabled(c->Handle()) != 0; }
bool ButtonEnabled(TToolBar* bar, const std::string& key) {
    return bar->Perform(TB_ISBUTTONENABLED, bar->FindButton(key)->Command()) != 0;
}
bool ButtonHidden(TToolBar* bar, int i) { return bar->Perform(TB_ISBUTTONHIDDEN, bar->Buttons(i)->Command()) != 0; }

HWND ComboEdit(TComboBox* c) { return FindWindowExA(c->Handle(), nullptr, "Edit", nullptr); }

// Keys typed into the start address box.
void Type(TComboBox* c, const std::string& text) {
    for (char ch : text) SendMessageA(ComboEdit(c), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
}

void EraseAll(TComboBox* c) {
    SendMessageA(ComboEdit(c), EM_SETSEL, 0, -1);
    SendMessageA(ComboEdit(c), WM_CHAR, VK_BACK, 1);
}

std::vector<std::string> ComboItems(TComboBox* c) {
    std::vector<std::string> items;
    const int n = static_cast<int>(c->Perform(CB_GETCOUNT));
    for (int i = 0; i < n; ++i) {
        char buf[512] = "";
        c->Perform(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        items.push_back(buf);
    }
    return items;
}

std::vector<std::string> ColumnTitles(TListViewBox* l) {
    std::vector<std::string> t;
    for (int i = 0;; ++i) {
        char buf[256] = "";
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT;
        c.pszText = buf;
        c.cchTextMax = sizeof buf;
        if (!l->Perform(LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c))) break;
        t.push_back(buf);
    }
    return t;
}

// Captions of every control inside c, at any depth.
void Captions(TWinControl* c, std::vector<std::string>& out) {
    for (HWND h = GetWindow(c->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (TWinControl* child = TWinControl::FromHandle(h)) {
            out.push_back(child->Caption());
            Captions(child, out);
        }
}

int ControlsTwips(int px) { return px * 15; }

}  // namespace

// Every tip the toolbars, the tabs and the buttons give, read where the
// application reads them: at the point over each part.
TEST_F(SearchWindowControls, EveryToolTipWhereTheMouseFindsIt) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    struct Bar {
        TToolBar* bar;
        const std::vector<ToolbarButtonSpec>& spec;
        int16_t panel;  // the panel on which all its buttons show
    } bars[] = {{w.MainToolbar(), MainToolbarButtons(), 1},
                {w.PropertyToolbar(), PropertyToolbarButtons(), 1},
                {w.BrowserToolbar(), BrowserToolbarButtons(), 3}};
    for (const Bar& b : bars) {
        w.SelectPanel(b.panel);
        ASSERT_EQ(b.bar->ButtonCount(), static_cast<int>(b.spec.size()));
        for (size_t i = 0; i < b.spec.size(); ++i) {
            if (b.spec[i].Style == ToolbarButtonSpec::Separator) continue;
            EXPECT_EQ(ButtonTip(b.bar, static_cast<int>(i)), b.spec[i].Hint) << b.spec[i].Key;
        }
    }
    const char* tabs[5] = {"General search options", "Document content", "Found results", "Search options",
                           "Help topics"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(TabTip(w.TabStrip(), i), tabs[i]);
    EXPECT_EQ(ControlTip(w.StartButton()), "Start search");
    EXPECT_EQ(ControlTip(w.SuspendButton()), "Suspend process");

    // The mouse moving onto a button makes its tip the application's hint.
    TToolBar* bar = w.PropertyToolbar();
    w.SelectPanel(1);
    RECT r{};
    bar->Perform(TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));  // Cut
    PostMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Application->ProcessMessages();
    EXPECT_EQ(Application->Hint(), "Cut (Ctrl+X)");

    // Running and suspended, the two buttons say what a click now does.
    Crawl(w, Base() + "/index.htm");
    w.StartAddressCombo()->SetText(Base() + "/stall/b.htm");
    prompter.AnswerMessage(IDNO);  // a new search offers to save the last one
    w.StartClick(false);
    ASSERT_EQ(w.Session()->RunState, SearchRunState::Running);
    EXPECT_EQ(ControlTip(w.StartButton()), "Stop search");
    ClickButton(w.SuspendButton());
    EXPECT_EQ(w.Session()->RunState, SearchRunState::Suspended);
    EXPECT_EQ(ControlTip(w.SuspendButton()), "Resume process");
    EXPECT_EQ(w.SuspendButton()->Caption(), "Resume");
    ClickButton(w.SuspendButton());
    EXPECT_EQ(ControlTip(w.SuspendButton()), "Suspend process");
    w.Session()->StopSearch();
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    EXPECT_EQ(ControlTip(w.StartButton()), "Start search");
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

// The toolbars are the platform's, with our pictures: checked against the
// drawings pixel by pixel in a memory bitmap, and the arrows are drawn.
TEST_F(SearchWindowControls, ToolbarsShowOurPicturesAndDrawnArrows) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TToolBar* main = w.MainToolbar();
    EXPECT_TRUE(main->Perform(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS);
    const auto images = reinterpret_cast<HIMAGELIST>(main->Perform(TB_GETIMAGELIST));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(SbfGlyph::Count));
    for (int i = 0; i < main->ButtonCount(); ++i) {
        TBBUTTON tb{};
        main->Perform(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tb));
        EXPECT_EQ((tb.fsStyle & BTNS_DROPDOWN) != 0, i > 0) << main->Buttons(i)->Key << ": arrow";
        EXPECT_EQ(tb.iBitmap, static_cast<int>(MainToolbarButtons()[static_cast<size_t>(i)].Picture));
        char caption[64] = "";
        main->Perform(TB_GETBUTTONTEXTA, static_cast<WPARAM>(tb.idCommand), reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, MainToolbarButtons()[static_cast<size_t>(i)].Caption);
    }
    // Each picture over a grey ground: the drawing's pixels, the ground where it is see-through.
    const COLORREF ground = RGB(0x40, 0x50, 0x60);
    for (int g = 0; g < static_cast<int>(SbfGlyph::Count); ++g) {
        TBitmap bmp(kGlyphSize, kGlyphSize);
        HBRUSH brush = CreateSolidBrush(ground);
        RECT all{0, 0, kGlyphSize, kGlyphSize};
        FillRect(bmp.Canvas().Handle(), &all, brush);
        DeleteObject(brush);
        ImageList_Draw(images, g, bmp.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
        const GlyphPixels want = DrawGlyph(static_cast<SbfGlyph>(g));
        int wrong = 0;
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                const uint32_t w0 = want.At(x, y);
                const uint32_t expect = w0 == kGlyphTransparent ? 0x405060 : w0;
                wrong += bmp.PixelRGB(x, y) != expect;
            }
        EXPECT_EQ(wrong, 0) << "picture " << g;
    }
    // The View button shows the found list's view.
    TToolButton* view = main->FindButton("View");
    w.SetFoundListView(2);
    EXPECT_EQ(view->ImageIndex(), static_cast<int>(SbfGlyph::ViewList));
    w.SetFoundListView(1);
    EXPECT_EQ(view->ImageIndex(), static_cast<int>(SbfGlyph::ViewSmall));
    // The arrows' menus are made when they drop down, from the masks.
    for (const char* key : {"Open", "Save", "View", "Sort"}) {
        TPopupMenu* menu = main->FindButton(key)->DropdownMenu;
        ASSERT_NE(menu, nullptr) << key;
        menu->OnPopup(menu);
        const auto entries = w.DropDownEntries(key);
        ASSERT_EQ(menu->Items()->Count(), static_cast<int>(entries.size())) << key;
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(menu->Items()->Items(static_cast<int>(i))->Caption(), entries[i].Text) << key;
    }
    // The template toolbar's view buttons follow the mask list's view.
    ClickButton(w.PropertyToolbar(), "List");
    EXPECT_EQ(w.MaskListView, 2);
    EXPECT_TRUE(w.PropertyToolbar()->FindButton("List")->Down());
    EXPECT_FALSE(w.PropertyToolbar()->FindButton("Large Icons")->Down());
    EXPECT_TRUE(w.Unload());
}

TEST_F(SearchWindowControls, OptionsPanelFramesLabelsAndPriority) {
    TScriptedPrompter prompter;
    qftest::TempDir dir;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    w.SelectPanel(4);
    EXPECT_EQ(w.OptionsFrame()->Caption(), "Options:");
    std::vector<std::string> captions;
    Captions(w.OptionsFrame(), captions);
    for (const char* t : {"Avaliable protocols:", "file://", "http://", "ftp://", "gopher://", "mailto:",
                          "Search priority:", "Above normal", "Normal", "Below normal",
                          "Do not process links to other servers", "Suspend", "Channel count:",
                          "Maximum link recurse level:", "Maximum found count:", "Read block size:",
                          "Format table address (URL):", "Open file..."})
        EXPECT_NE(std::find(captions.begin(), captions.end(), t), captions.end()) << t;
    // The engine's priority after the load is shown; choosing another puts it.
    EXPECT_TRUE(w.PriorityButton(1)->Checked());
    EXPECT_FALSE(w.PriorityButton(0)->Checked());
    w.PriorityButton(2)->Perform(BM_CLICK);
    EXPECT_TRUE(w.PriorityButton(2)->Checked());
    EXPECT_FALSE(w.PriorityButton(1)->Checked());
    EXPECT_EQ(w.SearchDriver().Get("ThreadPriority").AsLong(), -1);
    w.PriorityButton(0)->Perform(BM_CLICK);
    EXPECT_EQ(w.SearchDriver().Get("ThreadPriority").AsLong(), 1);
    // A saved priority comes back with the search, on view and in the engine.
    Crawl(w, Base() + "/index.htm");
    prompter.AnswerFile(dir.File("p.search"));
    w.Run(WindowCommand::SaveSearchAs);
    TSearchWindow second;
    ASSERT_TRUE(second.Load());
    EXPECT_TRUE(second.PriorityButton(1)->Checked());
    prompter.AnswerFile(dir.File("p.search"));
    second.Run(WindowCommand::OpenSearch);
    EXPECT_TRUE(second.PriorityButton(0)->Checked());
    EXPECT_FALSE(second.PriorityButton(1)->Checked());
    EXPECT_EQ(second.SearchDriver().Get("ThreadPriority").AsLong(), 1);
    // The up-down buttons step their setting.
    TUpDown* level = w.SettingSpinner(Spinner::MaxLevel);
    SendMessageA(GetParent(level->Handle()), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0),
                 reinterpret_cast<LPARAM>(level->Handle()));
    EXPECT_EQ(w.Session()->MaxLevelSetting, 0);
    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(w.Unload());
}

// Start and Merge want an address; every address started joins the box's
// list, and the box shows it as it was started.
TEST_F(SearchWindowControls, StartAddressBoxAndItsList) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TComboBox* box = w.StartAddressCombo();
    EXPECT_TRUE(box->Text().empty());
    EXPECT_FALSE(Enabled(w.StartButton()));
    EXPECT_FALSE(Enabled(w.MergeButton()));
    const std::string bare = Base().substr(7) + "/index.htm";  // no "http://"
    Type(box, bare);
    EXPECT_EQ(box->Text(), bare);
    EXPECT_TRUE(Enabled(w.StartButton()));
    EXPECT_TRUE(Enabled(w.MergeButton()));
    EraseAll(box);
    EXPECT_TRUE(box->Text().empty());
    EXPECT_FALSE(Enabled(w.StartButton()));
    EXPECT_FALSE(Enabled(w.MergeButton()));
    ClickButton(w.StartButton());  // a click that gets through anyway does nothing
    EXPECT_EQ(w.Session()->RunState, SearchRunState::Idle);
    EXPECT_TRUE(ComboItems(box).empty());

    Type(box, bare);
    ClickButton(w.StartButton());
    EXPECT_EQ(box->Text(), "http://" + bare) << "the normalised address is written back";
    EXPECT_EQ(w.Found().ShownFoundCount, 0);
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    EXPECT_GT(w.Found().ShownFoundCount, 0);
    EXPECT_TRUE(Enabled(w.StartButton()));
    EXPECT_TRUE(Enabled(w.MergeButton()));
    // The same address again, then a merge of another: each start is listed.
    prompter.AnswerMessage(IDNO);  // a new search offers to save the last one
    ClickButton(w.StartButton());
    EXPECT_EQ(w.Found().ShownFoundCount, 0) << "reset at the start";
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    box->SetText(Base() + "/b.htm");
    ClickButton(w.MergeButton());
    ASSERT_TRUE(qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 30000));
    EXPECT_EQ(ComboItems(box), (std::vector<std::string>{"http://" + bare, "http://" + bare, Base() + "/b.htm"}));
    // Picking an address from the list puts it in the box and enables the buttons.
    EraseAll(box);
    ASSERT_FALSE(Enabled(w.StartButton()));
    box->Perform(CB_SETCURSEL, 2);
    SendMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->Handle()));
    EXPECT_EQ(box->Text(), Base() + "/b.htm");
    EXPECT_TRUE(Enabled(w.StartButton()));
    EXPECT_TRUE(Enabled(w.MergeButton()));
    // "Open file..." takes a local page as the start address.
    qftest::TempDir dir;
    const std::string page = dir.File("start.htm");
    qftest::WriteFileBytes(page, "<title>x</title>");
    prompter.AnswerFile(page);
    ClickButton(w.OpenFileButton());
    ASSERT_FALSE(prompter.Log().empty());
    const auto& asked = prompter.Log().back();
    EXPECT_EQ(asked.Kind, "OpenFile");
    EXPECT_EQ(asked.File.Title, "Open File");
    EXPECT_EQ(asked.File.Filter, "Internet documents(*.html)|*.htm*|All Files (*.*)|*.*");
    EXPECT_EQ(asked.File.DefaultExt, "htm");
    EXPECT_EQ(box->Text(), "file://" + page);
    EXPECT_EQ(w.Session()->StartPageFolder, page.substr(0, page.find_last_of("\\/") + 1));
    prompter.AnswerFile(page);
    ClickButton(w.OpenFileButton());
    EXPECT_EQ(prompter.Log().back().File.InitialDir, w.Session()->StartPageFolder) << "the dialog opens where the last page was";
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

// The browser toolbar serves the browser of the panel on view: its
// commands wait for that panel's page, Stop is on while it loads, and the
// view and report buttons show only with the Results panel.
TEST_F(SearchWindowControls, BrowserToolbarFollowsThePanel) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    TToolBar* bar = w.BrowserToolbar();
    for (int16_t panel : {2, 3, 5}) {
        w.SelectPanel(panel);
        for (int i = 7; i < bar->ButtonCount(); ++i) EXPECT_EQ(ButtonHidden(bar, i), panel != 3) << panel << " " << i;
        const bool page = panel == 5;  // only the help has its page before a record is opened
        for (const char* key : {"Back", "Forward", "Refresh", "Home"})
            EXPECT_EQ(ButtonEnabled(bar, key), page) << panel << " " << key;
        EXPECT_FALSE(ButtonEnabled(bar, "Stop"));
    }
    Crawl(w, Base() + "/index.htm");
    w.FoundListBox()->Select(0);
    bool stopWhileLoading = false;
    auto before = w.ContentBrowser()->OnBeforeNavigate;
    w.ContentBrowser()->OnBeforeNavigate = [&](const std::string& a, bool& cancel) {
        before(a, cancel);
        stopWhileLoading = ButtonEnabled(bar, "Stop");
    };
    w.SelectPanel(2);
    EXPECT_TRUE(stopWhileLoading);
    EXPECT_FALSE(ButtonEnabled(bar, "Stop")) << "the page is in";
    const std::string record = w.ContentAddress;
    EXPECT_FALSE(record.empty());
    EXPECT_EQ(w.ContentBrowser()->LocationURL(), record);
    for (const char* key : {"Back", "Forward", "Refresh", "Home"}) EXPECT_TRUE(ButtonEnabled(bar, key)) << key;
    // Home goes back to the record's page after the user went elsewhere.
    ASSERT_FALSE(w.ContentBrowser()->Page().Links.empty());
    w.ContentBrowser()->FollowLink(0);
    ASSERT_NE(w.ContentBrowser()->LocationURL(), record);
    ClickButton(bar, "Home");
    EXPECT_EQ(w.ContentBrowser()->LocationURL(), record);
    ClickButton(bar, "Back");
    EXPECT_NE(w.ContentBrowser()->LocationURL(), record);
    // On the Results panel the view buttons set the property list's view.
    w.SelectPanel(3);
    ClickButton(bar, "Small icons");
    EXPECT_EQ(w.PropertyListView, 1);
    EXPECT_TRUE(bar->FindButton("Small icons")->Down());
    ClickButton(bar, "List");
    EXPECT_EQ(w.PropertyListView, 2);
    // Hidden on the Content panel, they do nothing there.
    w.SelectPanel(2);
    ClickButton(bar, "Large icons");
    EXPECT_EQ(w.PropertyListView, 2);
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

// The Results table: a column for every visible template under the chosen
// one, and column 1 taking what the others leave, again after a resize.
TEST_F(SearchWindowControls, ResultsColumnsAndTheFirstColumnsWidth) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    Crawl(w, Base() + "/index.htm");
    w.FoundListBox()->Select(0);
    w.SelectPanel(3);
    TListViewBox* props = w.PropertiesListBox();
    int link = -1;
    for (int i = 0; i < props->Count(); ++i)
        if (props->GetText(i) == "Link") link = i;
    ASSERT_GE(link, 0);
    props->Select(link);
    TListViewBox* table = w.PropertyContentListBox();
    std::vector<std::string> want = {"Link"};
    for (int32_t i = 1; i <= w.Session()->Masks.Count(); ++i) {
        const SearchMask& m = w.Session()->Masks.Item(i);
        if (m.DependOn == "Link" && m.MaskName != "Link" && !m.Hidden) want.push_back(m.MaskName);
    }
    ASSERT_GT(want.size(), 1u);
    EXPECT_EQ(ColumnTitles(table), want);
    auto fitted = [&] {
        int others = 0;
        for (size_t i = 1; i < want.size(); ++i) others += ControlsTwips(static_cast<int>(table->Perform(LVM_GETCOLUMNWIDTH, i)));
        const int first = ControlsTwips(static_cast<int>(table->Perform(LVM_GETCOLUMNWIDTH, 0)));
        return std::abs(first - (ControlsTwips(table->Width()) - others - 80)) <= 15;
    };
    EXPECT_TRUE(fitted());
    w.SetBounds(w.Left(), w.Top(), w.Width() + 200, w.Height());
    EXPECT_TRUE(fitted()) << "after a resize";
    w.Session()->SearchModified = false;
    EXPECT_TRUE(w.Unload());
}

// The status bar: the progress bar sits in the first panel, 50 twips short
// of its end, inside the bar; a merge says "Reading - complete" once read.
TEST_F(SearchWindowControls, StatusBarProgressAndReading) {
    TScriptedPrompter prompter;
    TSearchWindow w;
    ASSERT_TRUE(w.Load());
    for (int width : {1000, 1300}) {
        w.SetBounds(40, 30, width, 700);
        TSysControl* p = w.ProgressBar();
        const int panelEnd = ControlsTwips(w.ClientWidth() / 2);
        EXPECT_NEAR(ControlsTwips(p->Width()), panelEnd - ControlsTwips(p->Left()) - 50, 15) << width;
        EXPECT_GE(p->Top(), 0);
        EXPECT_LE(p->Top() + p->Height(), w.StatusBar()->Height());
    }
    qftest::TempDir dir;
    const std::string missing = dir.File("none.search");
    prompter.AnswerFile(missing);
    prompter.AnswerMessage(IDOK);
    w.Run(WindowCommand::MergeSearch);
    EXPECT_EQ(prompter.Log().back().Text, "Can not open search database - " + missing);
    EXPECT_EQ(w.StatusText(1), "Reading - complete");
    EXPECT_TRUE(w.Unload());
}
