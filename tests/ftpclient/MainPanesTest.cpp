// The main window's layout on resize, the toolbar's tooltips, the remote
// list's pop-up menu and the web links, driven through their messages.
#include <gtest/gtest.h>

#include <optional>

#include <windows.h>
#include <commctrl.h>

#include "InfoDialogs.h"
#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "WebLinks.h"
#include "components/Hint95.h"
#include "runtime/Application.h"
#include "ui/HintTracker.h"

using namespace qfclient;

namespace {

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

RECT Bounds(TWinControl* c) { return {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}; }

// Swaps the shell's opener for a recorder while it lives.
class OpenedPages {
public:
    OpenedPages() : saved_(UrlOpener()) {
        UrlOpener() = [this](const std::string& url) {
            pages.push_back(url);
            return opens;
        };
    }
    ~OpenedPages() { UrlOpener() = saved_; }
    std::vector<std::string> pages;
    bool opens = true;

private:
    TUrlOpener saved_;
};

}  // namespace

TEST(MainLayout, BarsAndPanesFollowTheWindowSizeAsATable) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    struct Size {
        int width, height;
    } sizes[] = {{800, 600}, {1100, 760}, {640, 480}, {620, 460}, {300, 420}, {400, 250}};
    for (const Size& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        m.SetBounds(20, 20, s.width, s.height);
        const int barW = m.fsbMain->Width(), barCW = m.fsbMain->ClientWidth(), barCH = m.fsbMain->ClientHeight();
        EXPECT_EQ(barW, m.ClientWidth());
        EXPECT_EQ(m.fsbMain->Top() + m.fsbMain->Height(), m.ClientHeight()) << "the bar stays at the bottom";
        // The parts as the status bar control itself has them.
        int edges[4] = {0, 0, 0, 0};
        ASSERT_EQ(SendMessageA(m.fsbMain->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
        const int hint = std::max(0, barW - 340);
        EXPECT_EQ(edges[0], hint);
        EXPECT_EQ(edges[1], hint + 100);
        EXPECT_EQ(edges[2], hint + 240);
        const RECT bar = Bounds(m.pbTransferStatus);
        EXPECT_EQ(bar.left, hint + 5);
        EXPECT_EQ(bar.right - bar.left, 93);
        EXPECT_EQ(bar.top, (barCH - 16) / 2 + 1);
        for (TWinControl* on : {static_cast<TWinControl*>(m.imgConnectedOn), static_cast<TWinControl*>(m.imgConnectedOff)})
            EXPECT_EQ(Bounds(on).left, barCW - 100 + 8);
        for (TWinControl* off : {static_cast<TWinControl*>(m.imgDisconnectedOn), static_cast<TWinControl*>(m.imgDisconnectedOff)})
            EXPECT_EQ(Bounds(off).left, barCW - 100 + 8 + 16 + 4);
        EXPECT_EQ(m.imgConnectedOn->Top(), (barCH - 16) / 2 + 1);
        // The remote pane: label, folder box and list stacked, 4 pixels from the right, 3 from the bottom.
        const int paneW = m.pnlServer->ClientWidth(), paneH = m.pnlServer->ClientHeight();
        const RECT label = Bounds(m.lblServer), box = Bounds(m.cbServerDir), list = Bounds(m.lvServerFiles);
        EXPECT_EQ(box.left, label.left);
        EXPECT_EQ(list.left, label.left);
        EXPECT_EQ(box.right, std::max<LONG>(label.left, paneW - 4));
        EXPECT_EQ(list.right, std::max<LONG>(label.left, paneW - 4));
        EXPECT_EQ(box.top, label.bottom + 2);
        EXPECT_EQ(list.top, box.bottom + 2);
        EXPECT_EQ(list.bottom, std::max<LONG>(list.top, paneH - 3));
        // The local pane: label, drive box, folder list, filter box and file
        // list stacked 2 apart, 4 from the right, the file list 3 from the bottom.
        const std::vector<TWinControl*> local = {m.Local->lblLocal, m.Local->cbLocalDrive->Parent(), m.Local->lbDirectory,
                                                 m.Local->cbFilter->Parent(), m.Local->lbFiles};
        const int localW = m.Local->ClientWidth(), localH = m.Local->ClientHeight();
        for (size_t i = 0; i < local.size(); ++i) {
            SCOPED_TRACE("local control " + std::to_string(i));
            const RECT r = Bounds(local[i]);
            EXPECT_EQ(r.left, 4);
            EXPECT_EQ(r.right, localW - 4);
            if (i > 0) {
                EXPECT_EQ(r.top, Bounds(local[i - 1]).bottom + 2);
            }
        }
        EXPECT_EQ(Bounds(m.Local->lbDirectory).top, 2 + 16 + 2 + 21 + 2);
        // A short pane takes from the folder list, so the file list never vanishes.
        const int lists = m.Local->lbDirectory->Height() + m.Local->lbFiles->Height();
        if (lists >= TLocalBrowser::FolderListHeight + 100) {
            EXPECT_EQ(m.Local->lbDirectory->Height(), TLocalBrowser::FolderListHeight);
        }
        EXPECT_GE(m.Local->lbFiles->Height(), std::min(100, lists / 2));
        // The open folder's row stays in sight.
        HWND tree = m.Local->lbDirectory->Handle();
        const int open = m.Local->lbDirectory->ItemIndex(), top = static_cast<int>(SendMessageA(tree, LB_GETTOPINDEX, 0, 0));
        const int rowH = static_cast<int>(SendMessageA(tree, LB_GETITEMHEIGHT, 0, 0));
        if (open >= 0 && m.Local->lbDirectory->ClientHeight() >= rowH) {
            EXPECT_LE(top, open);
            EXPECT_LT(open, top + m.Local->lbDirectory->ClientHeight() / rowH);
        }
        EXPECT_EQ(m.Local->cbLocalDrive->Width(), localW - 8) << "the box fills its host";
        EXPECT_EQ(Bounds(m.Local->lbFiles).bottom, std::max(Bounds(m.Local->lbFiles).top, static_cast<LONG>(localH - 3)));
        // The splitter sits between the two panes.
        EXPECT_EQ(m.spltFTP->Left(), m.Local->Width());
        EXPECT_EQ(m.spltFTP->Width(), 3);
        EXPECT_EQ(m.pnlServer->Left(), m.Local->Width() + 3);
        // The advertising label keeps equal margins.
        const RECT ad = Bounds(m.lblKeelsonFTPExposure);
        EXPECT_EQ(m.pnlKeelsonFTP->ClientWidth() - ad.right, ad.left);
        EXPECT_EQ(m.pnlKeelsonFTP->Height(), 61);
    }
    // The log shown or hidden, the status bar stays at the bottom.
    for (bool log : {true, false, true}) {
        m.pnlFTPLog->SetVisible(log);
        EXPECT_EQ(m.fsbMain->Top() + m.fsbMain->Height(), m.ClientHeight()) << (log ? "log shown" : "log hidden");
        if (log) {
            EXPECT_EQ(m.pnlFTPLog->Top() + m.pnlFTPLog->Height(), m.fsbMain->Top());
        }
    }
}

namespace {
// Drags a splitter by (dx, dy) as the mouse does, in its parent's coordinates.
void DragSplitter(TSplitter& s, int dx, int dy) {
    const int x0 = s.Left() + 1, y0 = s.Top() + 1;
    auto at = [&](int x, int y) { return MAKELPARAM(x - s.Left(), y - s.Top()); };
    SendMessageA(s.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(x0, y0));
    SendMessageA(s.Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(x0 + dx / 2, y0 + dy / 2));
    SendMessageA(s.Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(x0 + dx, y0 + dy));
    SendMessageA(s.Handle(), WM_LBUTTONUP, 0, at(x0 + dx, y0 + dy));
}
}  // namespace

TEST(MainLayout, SplittersResizeTheirPanesWithinLimitsAndAreKept) {
    Program prog;
    {
        TfrmMain m(prog.Settings());
        m.SetBounds(20, 20, 800, 600);
        m.Show();
        int moved = 0;
        m.spltFTP->OnMoved = m.spltFTPLog->OnMoved = [&](TObject*) { ++moved; };
        const int room = m.pnlLocalAndRemote->ClientWidth() - 3;  // the local and the server pane together
        ASSERT_EQ(m.Local->Width(), 185);
        struct Drag {
            int by, width;
        } drags[] = {{60, 245}, {-400, 30}, {5000, room - 30}, {300 - (room - 30), 300}};
        for (const Drag& d : drags) {
            SCOPED_TRACE("by " + std::to_string(d.by));
            DragSplitter(*m.spltFTP, d.by, 0);
            EXPECT_EQ(m.Local->Width(), d.width);
            EXPECT_EQ(m.spltFTP->Left(), d.width);
            EXPECT_EQ(m.pnlServer->Left(), d.width + 3);
            EXPECT_EQ(m.pnlServer->Width(), room - d.width);
            EXPECT_EQ(m.lvServerFiles->Width(), m.pnlServer->ClientWidth() - 8) << "the server pane laid out again";
        }
        EXPECT_EQ(moved, 4);
        // The log's splitter above it: up makes the log taller. A first start hides the log.
        EXPECT_FALSE(m.spltFTPLog->Visible());
        ChoosePopupItem(m.itmViewFTPLog);
        const int logH = m.pnlFTPLog->Height();
        DragSplitter(*m.spltFTPLog, 0, -40);
        EXPECT_EQ(m.pnlFTPLog->Height(), logH + 40);
        EXPECT_EQ(m.spltFTPLog->Top() + 3, m.pnlFTPLog->Top());
        EXPECT_EQ(m.fsbMain->Top() + m.fsbMain->Height(), m.ClientHeight());
        DragSplitter(*m.spltFTPLog, 0, 2000);
        EXPECT_EQ(m.pnlFTPLog->Height(), 30);
        DragSplitter(*m.spltFTPLog, 0, -120);
        EXPECT_EQ(m.pnlFTPLog->Height(), 150);
        // Hiding the log hides its splitter.
        ChoosePopupItem(m.itmViewFTPLog);
        EXPECT_FALSE(m.spltFTPLog->Visible());
        ChoosePopupItem(m.itmViewFTPLog);
        EXPECT_TRUE(m.spltFTPLog->Visible());
        // On a display the window is mapped a little later than it is shown.
        for (int i = 0; !qftest::Env("QF_CLIENT_SHOTS").empty() && i < 20; ++i) {
            Application->ProcessMessages();
            Sleep(50);
        }
        MaybeSaveShot(m.Handle(), "splitters-dragged");
        // Minimised and restored, the panes keep their sizes.
        ShowWindow(m.Handle(), SW_MINIMIZE);
        ShowWindow(m.Handle(), SW_RESTORE);
        EXPECT_EQ(m.Local->Width(), 300);
        EXPECT_EQ(m.pnlFTPLog->Height(), 150);
        EXPECT_EQ(m.spltFTP->Width(), 3);
    }
    StoredKey reg(prog, "Interface\\");
    EXPECT_EQ(reg.Int("LocalWidth"), 300);
    EXPECT_EQ(reg.Int("LogHeight"), 150);
    {
        TfrmMain again(prog.Settings());
        EXPECT_EQ(again.Local->Width(), 300);
        EXPECT_EQ(again.pnlFTPLog->Height(), 150);
    }
    // A stored width no pane can have is cut back to the least.
    reg.WriteInt("LocalWidth", -5);
    TfrmMain third(prog.Settings());
    EXPECT_EQ(third.Local->Width(), 30);
}

// The label's pixels as they are now, without asking for a repaint first.
std::vector<uint32_t> PaintedPixels(TWinControl& c) {
    RedrawWindow(GetAncestor(c.Handle(), GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TBitmap shot(c.Width(), c.Height());
    HDC dc = GetDC(c.Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(c.Handle(), dc);
    std::vector<uint32_t> px;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) px.push_back(shot.PixelRGB(x, y));
    return px;
}

TEST(MainLayout, AdvertisingLabelRepaintsWholeWhenTheWindowWidens) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.SetBounds(20, 20, 800, 600);
    m.Show();
    RedrawWindow(m.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::vector<uint32_t> wide = PaintedPixels(*m.lblKeelsonFTPExposure);
    m.SetBounds(20, 20, 620, 600);
    PaintedPixels(*m.lblKeelsonFTPExposure);
    m.SetBounds(20, 20, 800, 600);
    // The centred lines moved: the whole label is to be painted again ...
    RECT pending{};
    GetUpdateRect(m.lblKeelsonFTPExposure->Handle(), &pending, FALSE);
    EXPECT_EQ(pending.left, 0);
    EXPECT_EQ(pending.right, m.lblKeelsonFTPExposure->ClientWidth());
    // ... and none of the narrow layout stays behind.
    EXPECT_TRUE(PaintedPixels(*m.lblKeelsonFTPExposure) == wide);
}

TEST(MainToolTips, EveryButtonHasATipOfItsHintInTheOffice97Style) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    ASSERT_EQ(Application->MainForm(), &m);
    struct Tip {
        TWinControl* control;
        const char* text;
    } rows[] = {
        {m.tb97Connect, "Connect."},
        {m.tb97Disconnect, "Disconnect."},
        {m.tb97AddServer, "Add FTP Server."},
        {m.tb97FolderUp, "Up."},
        {m.tb97NewFolder, "Create New Folder."},
        {m.tb97Delete, "Delete."},
        {m.tb97Refresh, "Refresh directory contents."},
        {m.tb97Hosting, "Need a Place to Host your Website?"},
        {m.tb97TransferAuto, "Automatic selection (Binary/Ascii) to tansfer files."},
        {m.pbTransferStatus, "Transfer Status"},
    };
    m.SetConnectedUI(true);  // the transfer bar shows
    for (const Tip& r : rows) {
        SCOPED_TRACE(r.text);
        // What the mouse over the middle of the control finds.
        RECT b;
        GetWindowRect(r.control->Handle(), &b);
        const POINT middle{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
        int part = 0;
        TWinControl* source = nullptr;
        TWinControl* under = HintControlAt(r.control->Handle(), middle);
        ASSERT_EQ(under, r.control);
        EXPECT_EQ(HintOfControl(under, middle, part, source), r.text);
        EXPECT_TRUE(source->ShowHint());
    }
    // A disabled button passes the mouse to its panel: its tip still shows.
    m.SetConnectedUI(false);
    RECT b;
    GetWindowRect(m.tb97Disconnect->Handle(), &b);
    const POINT onDisconnect{b.left + 4, b.top + 4};
    EXPECT_EQ(HintControlAt(m.pnlServerToolbar->Handle(), onDisconnect), m.tb97Disconnect);
    // The mouse resting on Connect: the status bar takes the hint at once, the
    // tip of the Office 97 style comes after the pause.
    Application->HintPause = 1;
    GetWindowRect(m.tb97Connect->Handle(), &b);
    const POINT middle{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    POINT cursorWas{};
    GetCursorPos(&cursorWas);
    std::optional<qftest::ForeignActivation> watch;
    qftest::RetryWhileDisturbed([&] {
        watch.reset();
        watch.emplace();
        Application->CancelHint();
        THintTracker::Instance().MouseMoved(m.Handle(), {0, 0});  // from a place without a hint
        SetCursorPos(middle.x, middle.y);
        PostMessageA(m.tb97Connect->Handle(), WM_MOUSEMOVE, 0,
                     MAKELPARAM(m.tb97Connect->Width() / 2, m.tb97Connect->Height() / 2));
        auto shown = [] { return ApplicationHintWindow() && ApplicationHintWindow()->Showing(); };
        ASSERT_TRUE(qftest::PumpUntil(shown, 5000)) << "no tip came up";
        EXPECT_EQ(m.StatusText(0), "Connect.");
        auto* tip = dynamic_cast<THintWindow95*>(ApplicationHintWindow());
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(tip->Caption(), "Connect.");
        EXPECT_EQ(tip->Style(), hsOffice97);
        EXPECT_EQ(tip->Left(), middle.x) << "at the cursor";
    }, [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x != middle.x || now.y != middle.y || watch->Taken();
    });
    // Off the buttons, the slogan is back and the tip goes.
    THintTracker::Instance().MouseMoved(m.Handle(), {0, 0});
    EXPECT_EQ(m.StatusText(0), WebSlogan);
    EXPECT_FALSE(ApplicationHintWindow()->Showing());
    SetCursorPos(cursorWas.x, cursorWas.y);
    Application->HintPause = 500;
}

TEST(RemotePopup, ItemsFollowTheSelectionAndRunTheirCommands) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    ShowRemoteRows(prog, m);
    TScriptedPrompter prompter;
    struct Row {
        const char* what;
        int click;  // the row right-clicked, -1 below the rows
        bool selected;
    } rows[] = {{"a file row", m.RemoteIndexOf("notes.txt"), true}, {"below the rows", -1, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<std::string> captions;
        std::vector<bool> enabled;
        ASSERT_TRUE(RightClickRemote(m, r.click, [&] {
            for (int i = 0; i < m.popServerFiles->Items()->Count(); ++i) {
                TMenuItem* it = m.popServerFiles->Items()->Items(i);
                captions.push_back(it->Caption());
                enabled.push_back(it->Enabled());
            }
        })) << "no menu came up";
        EXPECT_EQ(m.lvServerFiles->SelCount() > 0, r.selected) << "the right click chose the row";
        const std::vector<std::string> expected = {"Down&load to local dir", "Download &as ...", "-", "&Delete",
                                                   "Re&name", "&Change permissions", "Create &new folder", "-",
                                                   "&View", "-", "&Properties"};
        ASSERT_EQ(captions, expected);
        // Not connected to a server: no downloads, whatever the selection.
        const bool want[] = {false, false, true, r.selected, r.selected, r.selected, true, true, true, true, r.selected};
        for (size_t i = 0; i < captions.size(); ++i)
            if (captions[i] != "-") {
                EXPECT_EQ(enabled[i], want[i]) << captions[i];
            }
    }
    // The View submenu sets the list's style.
    struct View {
        const char* item;
        TRemoteViewStyle style;
    } views[] = {{"View as large icons", rvsIcon},
                 {"View as small icons", rvsSmallIcon},
                 {"View as list", rvsList},
                 {"View details", rvsReport}};
    for (const View& v : views) {
        TMenuItem* item = nullptr;
        for (int i = 0; i < m.itmSrvFilesView->Count(); ++i)
            if (m.itmSrvFilesView->Items(i)->Caption() == v.item) item = m.itmSrvFilesView->Items(i);
        ASSERT_NE(item, nullptr) << v.item;
        ChoosePopupItem(item);
        EXPECT_EQ(m.lvServerFiles->ViewStyle(), v.style) << v.item;
        EXPECT_EQ(static_cast<int>(SendMessageA(m.lvServerFiles->Handle(), LVM_GETVIEW, 0, 0)),
                  v.style == rvsIcon ? LV_VIEW_ICON : v.style == rvsSmallIcon ? LV_VIEW_SMALLICON
                                      : v.style == rvsList ? LV_VIEW_LIST : LV_VIEW_DETAILS)
            << v.item;
    }
    // Delete on a chosen row asks about it.
    ASSERT_TRUE(RightClickRemote(m, m.RemoteIndexOf("notes.txt"), nullptr));
    prompter.AnswerMessage(IDNO);
    ChoosePopupItem(m.itmSrvFilesDelete);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "Are you sure you want to delete this file ?");
    // Properties shows the row's sheet.
    auto shown = m.itmSrvFilesPropertiesClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->lblFilename->Caption(), "notes.txt");
    shown[0]->Close();
    // The menu key opens it too.
    bool opened = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, EndMenuSoon);
    m.popServerFiles->OnPopup = [&](TObject*) {
        opened = true;
        m.popServerFilesPopup();
    };
    SendMessageA(m.lvServerFiles->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m.lvServerFiles->Handle()), -1);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(opened);
}

// "." and ".." are never deleted: the question counts only the rows that are.
TEST(RemotePopup, DeleteCountsNeitherDotRow) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    ShowRemoteRows(prog, m);
    TScriptedPrompter prompter;
    const struct {
        std::initializer_list<std::string> rows;
        const char* asked;  // null: no question at all
    } cases[] = {
        {{".", "..", "docs", "notes.txt"}, "Are you sure you want to delete these 2 files ?"},
        {{"..", "notes.txt"}, "Are you sure you want to delete this file ?"},
        {{".", ".."}, nullptr},
    };
    for (const auto& c : cases) {
        SelectRemote(m, c.rows);
        const size_t before = prompter.Log().size();
        if (c.asked) prompter.AnswerMessage(IDNO);
        m.itmSrvFilesDeleteClick();
        ASSERT_EQ(prompter.Log().size(), before + (c.asked ? 1 : 0));
        if (c.asked) {
            EXPECT_EQ(prompter.Log().back().Text, c.asked);
        }
    }
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST(WebLinks, ButtonsAndTheAdvertisingLabelOpenTheirPagesAsATable) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    // The label's two lines: what it offers, then where to get it.
    const std::string text = m.lblKeelsonFTPExposure->Caption();
    const std::string first =
        "To Edit HTML on the server, View Images on the Server, and Backup your entire Web Site, Download and Install "
        "Keelson FTP.\r\n";
    ASSERT_EQ(text.substr(0, first.size()), first);
    EXPECT_NE(text.find(ProductPage, first.size()), std::string::npos) << text;
    EXPECT_EQ(m.lblKeelsonFTPExposure->Font().Color(), clRed);
    EXPECT_EQ(m.lblKeelsonFTPExposure->Font().Name(), "Arial");
    EXPECT_TRUE(m.lblKeelsonFTPExposure->Font().Style() & fsBold);
    EXPECT_EQ(GetClassLongPtrA(m.lblKeelsonFTPExposure->Handle(), GCLP_HCURSOR),
              reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_HAND)));
    struct Link {
        const char* what;
        std::function<void()> click;
        const char* page;
    } links[] = {
        {"the advertising label",
         [&] {
             const LPARAM at = MAKELPARAM(20, 10);
             SendMessageA(m.lblKeelsonFTPExposure->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
             SendMessageA(m.lblKeelsonFTPExposure->Handle(), WM_LBUTTONUP, 0, at);
             // A release without its press, or away from the label, is no click.
             SendMessageA(m.lblKeelsonFTPExposure->Handle(), WM_LBUTTONUP, 0, at);
             SendMessageA(m.lblKeelsonFTPExposure->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
             SendMessageA(m.lblKeelsonFTPExposure->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 500));
         },
         ProductPage},
        {"the hosting button", [&] { m.tb97Hosting->Click(); }, WebHostingPage},
        {"the partner's button", [&] { m.tb97SecureClick(); }, PartnerPage},
    };
    for (const Link& l : links) {
        SCOPED_TRACE(l.what);
        for (bool opens : {true, false}) {
            OpenedPages pages;
            pages.opens = opens;
            TScriptedPrompter prompter;
            if (!opens) prompter.AnswerMessage(IDOK);
            l.click();
            ASSERT_EQ(pages.pages.size(), 1u);
            EXPECT_EQ(pages.pages[0], l.page);
            // When the shell cannot, the address is shown instead.
            ASSERT_EQ(prompter.Log().size(), opens ? 0u : 1u);
            if (!opens) {
                EXPECT_EQ(prompter.Log()[0].Text, std::string("Please go to : \r\n") + l.page);
                EXPECT_EQ(prompter.Log()[0].Caption, "Velmora Larch FTP");
            }
        }
    }
}

TEST(NewFolderDialog, CurrentFolderIsTextToSelectNotToEdit) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.CurrentServerDir = "/pub/a folder with a long name/and more";
    TScriptedModalRunner runner;
    std::string text, afterTyping;
    DWORD style = 0, exStyle = 0, selStart = 1, selEnd = 0;
    runner.Expect("frmFolder", [&](TForm& f) {
        HWND cur = static_cast<TfrmFolder&>(f).lblCurDir->Handle();
        text = static_cast<TfrmFolder&>(f).lblCurDir->Caption();
        style = static_cast<DWORD>(GetWindowLongA(cur, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongA(cur, GWL_EXSTYLE));
        // The whole path can be selected (and so copied) ...
        SendMessageA(cur, EM_SETSEL, 0, -1);
        SendMessageA(cur, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        // ... but typing over it changes nothing.
        SendMessageA(cur, WM_CHAR, 'x', 0);
        SendMessageA(cur, WM_CLEAR, 0, 0);
        afterTyping = static_cast<TfrmFolder&>(f).lblCurDir->Caption();
        SetWindowTextA(static_cast<TfrmFolder&>(f).ebx97NewDir->Handle(), "new folder");
        MaybeSaveShot(f.Handle(), "new-folder");
        f.SetModalResult(mrCancel);
    });
    m.itmSrvFilesNewFolderClick();
    ASSERT_TRUE(runner.AllUsed());
    EXPECT_EQ(text, m.CurrentServerDir);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE) << "borderless, like the label it replaces";
    EXPECT_FALSE(style & WS_BORDER);
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, m.CurrentServerDir.size());
    EXPECT_EQ(afterTyping, m.CurrentServerDir);
}
