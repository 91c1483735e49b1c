// Status bar, progress bar, up-down buttons, tab strip and animation, read
// back from the platform's controls and driven by their own messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/core/SysUtils.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

std::string PanelText(TStatusBar& bar, int i, int* kind = nullptr) {
    char buf[256] = {};
    const LRESULT r = SendMessageA(bar.Handle(), SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    if (kind) *kind = HIWORD(r);
    return buf;
}

void ClickAt(HWND h, int x, int y) {
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// An uncompressed 8-bit clip of `frames` 8 x 8 frames, written as the
// platform's animation control reads it.
std::string TinyAvi(int frames) {
    std::string out;
    auto u32 = [&out](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    auto tag = [&out](const char* t) { out.append(t, 4); };
    auto patch = [&out](size_t at) {
        const uint32_t n = static_cast<uint32_t>(out.size() - at - 4);
        std::memcpy(&out[at], &n, 4);
    };
    const uint32_t frameBytes = 8 * 8;
    tag("RIFF");
    const size_t riff = out.size();
    u32(0);
    tag("AVI ");
    tag("LIST");
    const size_t hdrl = out.size();
    u32(0);
    tag("hdrl");
    tag("avih");
    u32(56);
    for (uint32_t v : {100000u, 0u, 0u, 0x10u, static_cast<uint32_t>(frames), 0u, 1u, frameBytes, 8u, 8u, 0u, 0u, 0u, 0u})
        u32(v);
    tag("LIST");
    const size_t strl = out.size();
    u32(0);
    tag("strl");
    tag("strh");
    u32(56);
    tag("vids");
    tag("DIB ");
    for (uint32_t v : {0u, 0u, 0u, 1u, 10u, 0u, static_cast<uint32_t>(frames), frameBytes, 0xFFFFFFFFu, 0u}) u32(v);
    for (int i = 0; i < 4; ++i) out.append(2, '\0');  // the frame rectangle
    tag("strf");
    u32(40 + 256 * 4);
    for (uint32_t v : {40u, 8u, 8u}) u32(v);
    out.append("\x01\x00\x08\x00", 4);  // planes, bits
    for (uint32_t v : {0u, frameBytes, 0u, 0u, 256u, 0u}) u32(v);
    for (int i = 0; i < 256; ++i) u32(static_cast<uint32_t>(i * 0x010101));
    patch(strl);
    patch(hdrl);
    tag("LIST");
    const size_t movi = out.size();
    u32(0);
    tag("movi");
    std::vector<uint32_t> offsets;
    for (int f = 0; f < frames; ++f) {
        offsets.push_back(static_cast<uint32_t>(out.size() - (movi + 4)));
        tag("00db");
        u32(frameBytes);
        out.append(frameBytes, static_cast<char>(f * 40));
    }
    patch(movi);
    tag("idx1");
    u32(static_cast<uint32_t>(16 * frames));
    for (uint32_t o : offsets) {
        tag("00db");
        u32(0x10);
        u32(o);
        u32(frameBytes);
    }
    patch(riff);
    return out;
}

}  // namespace

TEST(StatusBar, PanelTextsAndWidthsReadBack) {
    TForm f;
    f.SetBounds(0, 0, 600, 200);
    auto* bar = new TStatusBar(&f);
    struct Row {
        const char* text;
        int width;
        TStatusPanelBevel bevel;
        int kind;
    } rows[] = {
        {"Ready", 250, pbNone, SBT_NOBORDERS},
        {"", 100, pbNone, SBT_NOBORDERS},
        {"Not connected.", 140, pbLowered, 0},
        {"lights", 100, pbRaised, SBT_POPOUT},
    };
    for (const Row& r : rows) {
        TStatusPanel* p = bar->AddPanel();
        p->SetWidth(r.width);
        p->SetBevel(r.bevel);
        p->SetText(r.text);
    }
    f.Show();
    for (int i = 0; i < 4; ++i) {
        int kind = -1;
        EXPECT_EQ(PanelText(*bar, i, &kind), rows[i].text) << "panel " << i;
        EXPECT_EQ(kind & (SBT_NOBORDERS | SBT_POPOUT), rows[i].kind) << "panel " << i;
    }
    bar->Panels(2)->SetText("Connected. (00:00:01)");
    EXPECT_EQ(PanelText(*bar, 2), "Connected. (00:00:01)");
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[0], 250);
    EXPECT_EQ(edges[2], 490);
    EXPECT_EQ(edges[3], -1) << "the last panel reaches the right edge";
    EXPECT_EQ(bar->Top() + bar->Height(), f.ClientHeight()) << "aligned to the bottom";

    bar->SetSimpleText("Loading...");
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PanelText(*bar, 0), "Loading...") << "the simple panel covers the bar";
    bar->SetSimplePanel(false);
    EXPECT_EQ(PanelText(*bar, 0), "Ready");
}

TEST(ProgressBar, PositionStaysWithinItsRange) {
    TForm f;
    auto* bar = new TProgressBar(&f);
    bar->SetRange(0, 5000000);  // a 5 MB file
    bar->SetPosition(2500000);
    f.Show();
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 2500000);
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 5000000);
    bar->SetPosition(-4);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetMax(100);
    bar->SetPosition(250);
    EXPECT_EQ(bar->Position(), 100);
}

TEST(UpDown, ButtonsAskThenReportTheirDirection) {
    TForm f;
    auto* edit = new TEdit(&f);
    edit->SetBounds(10, 10, 60, 21);
    auto* ud = new TUpDown(&f);
    ud->SetMin(1);
    ud->SetMax(3);
    ud->SetPosition(2);
    ud->SetAssociate(edit);
    f.Show();
    std::vector<TUDBtnType> clicks;
    bool allow = true;
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    RECT r;
    GetClientRect(ud->Handle(), &r);
    ClickAt(ud->Handle(), r.right / 2, 2);  // upper button
    EXPECT_EQ(ud->Position(), 3);
    EXPECT_EQ(edit->Text(), "3") << "the associated edit shows the position";
    ClickAt(ud->Handle(), r.right / 2, r.bottom - 2);  // lower button
    EXPECT_EQ(ud->Position(), 2);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], btNext);
    EXPECT_EQ(clicks[1], btPrev);
    allow = false;
    ClickAt(ud->Handle(), r.right / 2, 2);
    EXPECT_EQ(ud->Position(), 2) << "OnChanging refused the change";
}

TEST(TabControl, ClickingATabChangesTheIndexUnlessRefused) {
    TForm f;
    f.SetBounds(0, 0, 500, 300);
    auto* tabs = new TTabControl(&f);
    tabs->SetBounds(0, 0, 480, 250);
    for (const char* t : {"General", "Content", "Results"}) tabs->AddTab(t);
    tabs->SetTabIndex(0);
    f.Show();
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    int changes = 0;
    bool allow = true;
    tabs->OnChange = [&](TObject*) { ++changes; };
    tabs->OnChanging = [&](TObject*, bool& a) { a = allow; };
    RECT r{};
    SendMessageA(tabs->Handle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    ClickAt(tabs->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    allow = false;
    SendMessageA(tabs->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    ClickAt(tabs->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);
    tabs->SetTabIndex(1);  // silent
    EXPECT_EQ(changes, 1);
    const RECT inside = tabs->DisplayRect();
    EXPECT_GT(inside.top, r.top) << "the display area lies below the tabs";
    EXPECT_THROW(tabs->DeleteTab(9), Exception);
}

TEST(TabControl, EachTabsHintIsAPartOfTheControlsHint) {
    TForm f;
    f.SetBounds(0, 0, 500, 300);
    auto* tabs = new TTabControl(&f);
    tabs->SetBounds(0, 0, 480, 250);
    tabs->Hint = "Panels";
    for (const char* t : {"General", "Content", "Results"}) tabs->AddTab(t);
    tabs->SetTabHint(0, "General search options");
    tabs->SetTabHint(2, "Found results");
    f.Show();
    auto middle = [&](int i) {
        RECT r{};
        SendMessageA(tabs->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const RECT inside = tabs->DisplayRect();
    struct Case {
        const char* where;
        POINT at;
        const char* hint;
        int part;
    } cases[] = {
        {"the first tab", middle(0), "General search options", 0},
        {"a tab without one", middle(1), "Panels", -1},
        {"the third tab", middle(2), "Found results", 2},
        {"the page area", POINT{(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2}, "Panels", -1},
    };
    for (const Case& c : cases) {
        int part = 99;
        EXPECT_EQ(tabs->HintAt(c.at, part), c.hint) << c.where;
        EXPECT_EQ(part, c.part) << c.where;
    }
    // The hints go with their tabs.
    tabs->DeleteTab(0);
    EXPECT_EQ(tabs->TabHint(1), "Found results");
    tabs->ClearTabs();
    EXPECT_EQ(tabs->TabCount(), 0);
}

TEST(PageControl, TheChosenTabShowsItsPageAlone) {
    TForm f;
    f.SetBounds(0, 0, 420, 320);
    auto* pages = new TPageControl(&f);
    pages->SetAlign(alClient);
    std::vector<TTabSheet*> sheets;
    std::vector<TCheckBox*> boxes;
    for (const char* t : {"General", "Transferring files", "FTP"}) {
        sheets.push_back(pages->AddPage(t));
        boxes.push_back(new TCheckBox(sheets.back()));
    }
    f.Show();
    EXPECT_EQ(pages->ActivePage(), sheets[0]) << "the first page comes first";
    EXPECT_TRUE(IsWindowVisible(boxes[0]->Handle()));
    EXPECT_FALSE(IsWindowVisible(boxes[1]->Handle()));
    const RECT inside = pages->DisplayRect();
    EXPECT_EQ(sheets[2]->Top(), inside.top);
    EXPECT_EQ(sheets[2]->Width(), inside.right - inside.left);

    TTabSheet* shownOnChange = nullptr;
    pages->OnChange = [&](TObject*) { shownOnChange = pages->ActivePage(); };
    RECT r{};
    SendMessageA(pages->Handle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    ClickAt(pages->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(shownOnChange, sheets[2]);
    EXPECT_TRUE(IsWindowVisible(boxes[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(boxes[0]->Handle()));
    pages->SetActivePage(sheets[1]);
    EXPECT_TRUE(IsWindowVisible(boxes[1]->Handle()));
    EXPECT_FALSE(IsWindowVisible(boxes[2]->Handle()));
    // A resize keeps the pages inside the tabs' frame.
    f.SetBounds(0, 0, 600, 400);
    EXPECT_EQ(sheets[1]->Width(), pages->DisplayRect().right - pages->DisplayRect().left);
    delete sheets[0];
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2) << "the page took its tab";
    EXPECT_EQ(pages->Tabs(0), "Transferring files");
}

TEST(Animate, PlaysAClipAndGoesOnWithoutOne) {
    qftest::TempDir dir;
    TForm f;
    auto* anim = new TAnimate(&f);
    f.Show();
    anim->SetFileName(dir.File("missing.avi"));
    EXPECT_NO_THROW(anim->SetActive(true));
    EXPECT_FALSE(anim->Active());

    qftest::WriteFileBytes(dir.File("spin.avi"), TinyAvi(4));
    anim->SetFileName(dir.File("spin.avi"));
    anim->SetActive(true);
    EXPECT_TRUE(anim->Active());
    anim->Stop();
    EXPECT_FALSE(anim->Active());
}
