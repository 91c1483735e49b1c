// The main window's toolbar, menus, pictures, sounds and animation, driven
// through their messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <set>

#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "ui/HintTracker.h"

using namespace qfclient;

namespace {

// A press and release of the left button in the middle of the control.
void ClickAt(TWinControl& c) {
    LPARAM at = MAKELPARAM(c.Width() / 2, c.Height() / 2);
    SendMessageA(c.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(c.Handle(), WM_LBUTTONUP, 0, at);
}

void ChooseMenu(TfrmMain& m, TMenuItem* item) { SendMessageA(m.Handle(), WM_COMMAND, item->Command(), 0); }

TMenuItem* FindItem(TMenuItem* parent, const std::string& caption) {
    for (int i = 0; i < parent->Count(); ++i) {
        if (parent->Items(i)->Caption() == caption) return parent->Items(i);
        if (TMenuItem* in = FindItem(parent->Items(i), caption)) return in;
    }
    return nullptr;
}

void Snap(TWinControl& c, TBitmap& shot) {
    shot.SetSize(c.Width(), c.Height());
    RedrawWindow(c.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = GetDC(c.Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(c.Handle(), dc);
}

int CountPixels(const TBitmap& b, uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.PixelRGB(x, y) == rgb;
    return n;
}

}  // namespace

TEST(MainToolbar, ButtonClicksRunTheirCommands) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    struct Case {
        const char* what;
        TToolbarButton97* button;
        bool connectedUI;
        const char* modal;  // the form the click shows, or null
    } cases[] = {
        {"connect", m.tb97Connect, false, "frmServerConnectTo"},
        {"add a site", m.tb97AddServer, false, "frmServerAdd"},
        {"new folder", m.tb97NewFolder, true, "frmFolder"},
    };
    for (const Case& c : cases) {
        m.SetConnectedUI(c.connectedUI);
        std::string caption;
        runner.Expect(c.modal, [&](TForm& f) {
            caption = f.Caption();
            f.SetModalResult(mrCancel);
        });
        ClickAt(*c.button);
        EXPECT_TRUE(runner.AllUsed()) << c.what;
        if (c.button == m.tb97NewFolder) {
            EXPECT_EQ(caption, "Make New Folder");
        }
    }
    // Delete asks about the selected rows.
    m.SetConnectedUI(true);
    ShowRemoteRows(prog, m);
    SelectRemote(m, {"notes.txt"});
    prompter.AnswerMessage(IDNO);
    ClickAt(*m.tb97Delete);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "Are you sure you want to delete this file ?");
    // A disabled button does nothing.
    m.SetConnectedUI(false);
    ClickAt(*m.tb97NewFolder);
    EXPECT_TRUE(runner.Shown().size() == 3u);
}

TEST(MainToolbar, TransferModeButtonsChooseTheType) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    struct Step {
        TToolbarButton97* click;
        TTransferMode mode;
        bool exeBinary, txtBinary;
    } steps[] = {
        {nullptr, TTransferMode::Auto, true, false},
        {m.tb97TransferAsc, TTransferMode::Ascii, false, false},
        {m.tb97TransferAsc, TTransferMode::Ascii, false, false},  // a down button stays down
        {m.tb97TransferBin, TTransferMode::Binary, true, true},
        {m.tb97TransferAuto, TTransferMode::Auto, true, false},
    };
    for (const Step& s : steps) {
        if (s.click) ClickAt(*s.click);
        SCOPED_TRACE(s.click ? s.click->Hint : "at start");
        EXPECT_EQ(m.TransferMode(), s.mode);
        EXPECT_EQ(m.tb97TransferBin->Down() + m.tb97TransferAsc->Down() + m.tb97TransferAuto->Down(), 1);
        EXPECT_EQ(m.IsBinaryTransfer("setup.exe"), s.exeBinary);
        EXPECT_EQ(m.IsBinaryTransfer("readme.txt"), s.txtBinary);
    }
}

TEST(MainToolbar, EveryButtonShowsItsOwnPictureAndHint) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    TToolbarButton97* buttons[] = {m.tb97Connect,     m.tb97Disconnect,  m.tb97AddServer,    m.tb97FolderUp,
                                   m.tb97NewFolder,   m.tb97Delete,      m.tb97Refresh,      m.tb97TransferBin,
                                   m.tb97TransferAsc, m.tb97TransferAuto, m.tb97Hosting,     m.tb97Secure};
    std::set<std::vector<uint32_t>> pictures;
    int left = -1;
    for (TToolbarButton97* b : buttons) {
        SCOPED_TRACE(b->Hint);
        EXPECT_FALSE(b->Hint.empty());
        EXPECT_TRUE(b->Glyph().HasGlyph());
        EXPECT_EQ(b->Glyph().ImageWidth(), 20);
        EXPECT_EQ(b->DisplayMode, dmGlyphOnly);
        EXPECT_GT(b->Left(), left) << "in order from the left";
        left = b->Left();
    }
    for (int a = 0; a <= static_cast<int>(TArt::Secure); ++a) pictures.insert(DrawArt(static_cast<TArt>(a)).Pixels);
    EXPECT_EQ(pictures.size(), 12u) << "twelve different pictures";
    // The glyph reaches the screen: the delete cross is red, the refresh arrows green.
    TBitmap shot;
    Snap(*m.tb97Delete, shot);
    EXPECT_GT(CountPixels(shot, 0xD01010), 40);
    Snap(*m.tb97Refresh, shot);
    EXPECT_GT(CountPixels(shot, 0x008000), 40);
    // The hint of the button under the mouse goes to the status bar (through
    // the application's hint), the slogan after.
    std::string slogan = m.StatusText(0);
    EXPECT_FALSE(slogan.empty());
    RECT r;
    GetWindowRect(m.tb97Refresh->Handle(), &r);
    THintTracker::Instance().MouseMoved(m.tb97Refresh->Handle(), {r.left + 5, r.top + 5});
    EXPECT_EQ(m.StatusText(0), "Refresh directory contents.");
    GetWindowRect(m.pnlAnim->Handle(), &r);
    THintTracker::Instance().MouseMoved(m.pnlAnim->Handle(), {r.left + 5, r.top + 5});
    EXPECT_EQ(m.StatusText(0), slogan);
}

TEST(MainToolbar, WebButtonsFollowTheOption) {
    Program prog;
    TfrmMain m(prog.Settings());
    EXPECT_TRUE(m.tb97Hosting->Visible());
    EXPECT_FALSE(m.tb97Secure->Visible());
    m.frmOptions->cbShowWebHosting->SetChecked(false, true);
    TScriptedModalRunner runner;
    runner.Expect("frmOptions", [](TForm& f) {
        SendMessageA(static_cast<TfrmOptions&>(f).btnOk->Handle(), BM_CLICK, 0, 0);
    });
    ChooseMenu(m, FindItem(m.mnuMain->Items(), "&Options"));
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_FALSE(m.tb97Hosting->Visible());
    EXPECT_FALSE(m.tb97Secure->Visible());
}

TEST(MainToolbar, ConnectionLightsAsATable) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    struct Row {
        bool connected;
        bool connectedOn, disconnectedOn;
    } rows[] = {{true, true, false}, {false, false, true}};
    for (const Row& r : rows) {
        m.SetConnectedUI(r.connected);
        SCOPED_TRACE(r.connected ? "connected" : "not connected");
        EXPECT_EQ(m.imgConnectedOn->Visible(), r.connectedOn);
        EXPECT_EQ(m.imgConnectedOff->Visible(), !r.connectedOn);
        EXPECT_EQ(m.imgDisconnectedOn->Visible(), r.disconnectedOn);
        EXPECT_EQ(m.imgDisconnectedOff->Visible(), !r.disconnectedOn);
        // The lit light shows its bright colour on screen.
        TBitmap shot;
        Snap(r.connected ? *m.imgConnectedOn : *m.imgDisconnectedOn, shot);
        EXPECT_GT(CountPixels(shot, r.connected ? 0x20E020 : 0xF02020), 50);
    }
}

TEST(MainMenu, ItemsRunTheirCommands) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    TScriptedModalRunner runner;
    // "FTP Log" toggles the check mark and the log pane.
    TMenuItem* log = FindItem(m.mnuMain->Items(), "FTP Log");
    ASSERT_NE(log, nullptr);
    for (int i = 0; i < 2; ++i) {
        bool was = log->Checked();
        ChooseMenu(m, log);
        EXPECT_EQ(log->Checked(), !was);
        EXPECT_EQ(m.pnlFTPLog->Visible(), !was);
    }
    struct Case {
        const char* item;
        const char* modal;
    } cases[] = {{"&Options", "frmOptions"}, {"&Add server", "frmServerAdd"}};
    for (const Case& c : cases) {
        runner.Expect(c.modal, [](TForm& f) { f.SetModalResult(mrCancel); });
        ChooseMenu(m, FindItem(m.mnuMain->Items(), c.item));
        EXPECT_TRUE(runner.AllUsed()) << c.item;
    }
    // Exit closes the window.
    ChooseMenu(m, FindItem(m.mnuMain->Items(), "E&xit"));
    EXPECT_FALSE(IsWindowVisible(m.Handle()));
}

TEST(MainMenu, DrawnByTheMenuComponentWithTheTagsAsImages) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    EXPECT_EQ(m.mnu97Main->MainMenu(), m.mnuMain);
    EXPECT_EQ(m.mnu97Main->Images(), m.imglst97Main);
    EXPECT_EQ(m.hnt95Main->HintStyle(), hsOffice97);
    HMENU bar = GetMenu(m.Handle());
    ASSERT_NE(bar, nullptr);
    int items = GetMenuItemCount(bar);
    EXPECT_EQ(items, 5);
    for (int i = 0; i < items; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "bar item " << i;
    }
    // Beyond its items the bar has their colour, whatever the theme's menu colour.
    MENUINFO back{};
    back.cbSize = sizeof back;
    back.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(bar, &back));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectA(back.hbrBack, sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < m.mnuMain->Items()->Count(); ++i) {
        TMenuItem* top = m.mnuMain->Items()->Items(i);
        EXPECT_EQ(top->Tag, -1) << top->Caption();
        for (int j = 0; j < top->Count(); ++j)
            if (top->Items(j)->Tag < 100) {
                EXPECT_EQ(top->Items(j)->Tag, -2) << top->Items(j)->Caption();
            }
    }
    // Measured and painted by the component: the caption's ink reaches the bitmap.
    TMenuItem* exitItem = FindItem(m.mnuMain->Items(), "E&xit");
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = exitItem->Command();
    mis.itemData = reinterpret_cast<ULONG_PTR>(exitItem);
    SendMessageA(m.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_GT(static_cast<int>(mis.itemWidth), 20);
    TBitmap into(static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight));
    RECT white{0, 0, into.Width(), into.Height()};
    into.Canvas().Brush.Color = clWhite;
    into.Canvas().FillRect(white);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = exitItem->Command();
    dis.itemData = reinterpret_cast<ULONG_PTR>(exitItem);
    dis.hDC = into.Canvas().Handle();
    dis.rcItem = white;
    SendMessageA(m.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_LT(CountPixels(into, 0xFFFFFF), into.Width() * into.Height() / 2) << "painted over";
}

// The bar's strip right of "Help", read from the window's own DC as first painted.
TEST(MainMenu, TheWholeBarHasTheButtonFaceColourFromTheFirstPaint) {
    for (int width : {800, 1024}) {
        SCOPED_TRACE(width);
        Program prog;
        TfrmMain m(prog.Settings());
        m.SetBounds(0, 0, width, 500);  // wholly on the 1024-pixel screen
        m.Show();
        UpdateWindow(m.Handle());
        MaybeSaveShot(m.Handle(), "menubar-" + std::to_string(width));
        RECT win, help;
        GetWindowRect(m.Handle(), &win);
        MENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        ASSERT_TRUE(GetMenuBarInfo(m.Handle(), OBJID_MENU, 0, &bar));
        ASSERT_TRUE(GetMenuItemRect(m.Handle(), GetMenu(m.Handle()), 4, &help));
        ASSERT_LT(help.right + 20, bar.rcBar.right) << "room beyond the last item";
        TBitmap shot(win.right - win.left, win.bottom - win.top);
        HDC dc = GetWindowDC(m.Handle());
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(m.Handle(), dc);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const uint32_t want = (uint32_t(GetRValue(face)) << 16) | (uint32_t(GetGValue(face)) << 8) | GetBValue(face);
        int wrong = 0, first = -1;
        // Wine's bar rectangle reaches one row into the client area.
        POINT client{0, 0};
        ClientToScreen(m.Handle(), &client);
        for (int y = bar.rcBar.top; y < std::min<int>(bar.rcBar.bottom, client.y); ++y)
            for (int x = help.right; x < bar.rcBar.right; ++x)
                if (shot.PixelRGB(x - win.left, y - win.top) != want && ++wrong == 1) first = x - win.left;
        EXPECT_EQ(wrong, 0) << "first stray pixel at x " << first << ": "
                            << std::hex << shot.PixelRGB(first < 0 ? 0 : first, bar.rcBar.top - win.top + 2);
    }
}

TEST(ClientArt, GlyphsAndLightsHaveTheirSizesAndSeeThroughCorners) {
    for (int a = 0; a <= static_cast<int>(TArt::DisconnectedOff); ++a) {
        TArtPixels p = DrawArt(static_cast<TArt>(a));
        int size = a <= static_cast<int>(TArt::Secure) ? 20 : 16;
        SCOPED_TRACE(a);
        EXPECT_EQ(p.Width, size);
        EXPECT_EQ(p.Height, size);
        ASSERT_EQ(p.Pixels.size(), static_cast<size_t>(size * size));
        // The button takes the lower-left pixel as its see-through colour.
        EXPECT_EQ(p.At(0, size - 1), ArtTransparent);
        int ink = 0;
        for (uint32_t c : p.Pixels) ink += c != ArtTransparent;
        EXPECT_GT(ink, 30);
    }
}

namespace {

// The sound and the clip the build made, copied into a scratch program folder.
void CopyMedia(Program& prog, const std::string& name) {
    std::string from = qftest::HostPath(std::string(QF_CLIENT_MEDIA) + "/" + name);
    ASSERT_TRUE(CopyFileA(from.c_str(), prog.folder.File(name).c_str(), FALSE)) << from;
}

struct TSoundCall {
    std::string sound;
    DWORD flags;
};

// Records the sounds played instead of playing them.
class TSoundRecorder {
public:
    TSoundRecorder() {
        previous_ = SetPlaySoundFunc([this](LPCSTR s, HMODULE, DWORD f) {
            calls.push_back({s ? s : "", f});
            return TRUE;
        });
    }
    ~TSoundRecorder() { SetPlaySoundFunc(previous_); }
    std::vector<TSoundCall> calls;

private:
    TPlaySoundFunc previous_;
};

}  // namespace

TEST(MainAnimation, ShownOnlyWithTheClipAndRunsWhileACommandRuns) {
    {
        Program bare;
        TfrmMain m(bare.Settings());
        EXPECT_FALSE(m.animKFTP->Visible()) << "no spin.avi: the black panel only";
        m.StartAnimation();
        EXPECT_FALSE(m.animKFTP->Active());
    }
    Program prog;
    CopyMedia(prog, "spin.avi");
    TfrmMain m(prog.Settings());
    m.Show();
    ASSERT_TRUE(m.animKFTP->Visible());
    EXPECT_EQ(m.animKFTP->FileName(), prog.folder.File("spin.avi"));
    EXPECT_FALSE(m.animKFTP->Active()) << "nothing plays before the first command";
    // While a command runs the clip plays for ever; afterwards frame 1 again.
    std::vector<std::pair<int, int>> seen;  // (repetitions, stop frame) at each state change
    auto chained = m.FTP->OnStateChange;
    m.FTP->OnStateChange = [&](TObject* s) {
        seen.push_back({m.animKFTP->Repetitions, m.animKFTP->StopFrame});
        chained(s);
    };
    TScriptedModalRunner runner;
    runner.Expect("frmMessage", [](TForm& f) { f.SetModalResult(mrOk); });
    m.frmOptions->sedtTimeOut->SetText("3");
    m.QueueCommand(MakeConnect("127.0.0.1", "1", "user", "pass"));  // nobody listens there
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::make_pair(0, 0)) << "playing while connecting";
    EXPECT_TRUE(m.animKFTP->Active());
    EXPECT_EQ(m.animKFTP->Repetitions, 1);
    EXPECT_EQ(m.animKFTP->StopFrame, 1);
    // The stopped clip shows its first frame: the spinner's brightest dot.
    TBitmap shot;
    Snap(*m.animKFTP, shot);
    EXPECT_GT(CountPixels(shot, 0xFFF0FF), 5);
}

TEST(MainSounds, TransferEndPlaysTheChosenSoundAsATable) {
    Program prog;
    CopyMedia(prog, "blip.wav");
    TfrmMain m(prog.Settings());
    TfrmOptions& o = *m.frmOptions;
    const std::string blip = prog.folder.File("blip.wav");
    EXPECT_EQ(o.ebxSoundDownload->Text(), blip) << "the program's own sound by default";
    std::string other = prog.folder.File("other.wav");
    CopyFileA(blip.c_str(), other.c_str(), FALSE);
    struct Case {
        const char* what;
        bool upload, checkDown, checkUp;
        std::string downFile, upFile;
        std::string played;  // empty: nothing
    } cases[] = {
        {"download, default", false, true, true, blip, blip, blip},
        {"upload, its own file", true, true, true, blip, other, other},
        {"download box unchecked", false, false, true, blip, blip, ""},
        {"upload box unchecked", true, true, false, blip, blip, ""},
        {"file gone", false, true, true, prog.folder.File("gone.wav"), blip, ""},
        {"no file named", true, true, true, blip, "", ""},
    };
    for (const Case& c : cases) {
        o.cbPlaySoundDownload->SetChecked(c.checkDown, true);
        o.cbPlaySoundUpload->SetChecked(c.checkUp, true);
        o.ebxSoundDownload->SetText(c.downFile);
        o.ebxSoundUpload->SetText(c.upFile);
        TSoundRecorder rec;
        m.PlayTransferSound(c.upload);
        SCOPED_TRACE(c.what);
        if (c.played.empty()) {
            EXPECT_TRUE(rec.calls.empty());
            continue;
        }
        ASSERT_EQ(rec.calls.size(), 1u);
        EXPECT_EQ(rec.calls[0].sound, c.played);
        // From the file, waited for, not looping.
        EXPECT_EQ(rec.calls[0].flags, static_cast<DWORD>(SND_FILENAME));
    }
}

TEST(RemoteList, RowsCarryTheirFileIcons) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    std::string listing = prog.folder.File("listing.txt");
    qftest::WriteFileBytes(listing,
                           "drwxr-xr-x 2 u g 4096 Jan 1 2000 docs\r\n"
                           "-rw-r--r-- 1 u g 120 Jan 1 2000 notes.txt\r\n"
                           "-rwxr-xr-x 1 u g 9000 Jan 1 2000 setup.exe\r\n"
                           "-rw-r--r-- 1 u g 10 Jan 1 2000 README\r\n");
    m.FTP_ProcessDir(listing);
    HIMAGELIST images = m.lvServerFiles->SmallImages() ? m.lvServerFiles->SmallImages()->Handle() : nullptr;
    ASSERT_NE(images, nullptr);
    const int count = ImageList_GetImageCount(images);
    EXPECT_GE(count, 2) << "the folder and the file image";
    ASSERT_EQ(m.lvServerFiles->Count(), 6);  // ".", ".." and the four
    for (int i = 0; i < m.lvServerFiles->Count(); ++i) {
        const TRemoteRow& r = m.lvServerFiles->Row(i);
        SCOPED_TRACE(r.Caption);
        EXPECT_GE(r.ImageIndex, 0);
        EXPECT_LT(r.ImageIndex, count);
        if (r.SubItems[1][0] == 'd') {
            EXPECT_EQ(r.ImageIndex, 0);
        }
        // The list view shows the row's image.
        LVITEMA it{};
        it.mask = LVIF_IMAGE;
        it.iItem = i;
        SendMessageA(m.lvServerFiles->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        EXPECT_EQ(it.iImage, r.ImageIndex);
    }
    // The folder image is a picture, not an empty square.
    TBitmap b(16, 16);
    RECT all{0, 0, 16, 16};
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(all);
    ImageList_Draw(images, 0, b.Canvas().Handle(), 0, 0, ILD_NORMAL);
    EXPECT_LT(CountPixels(b, 0xFFFFFF), 250);
    // File rows carry their type's icon, one image for each icon the rows share.
    int fileRowsWithOwn = 0;
    std::set<int> distinct;
    for (int i = 0; i < m.lvServerFiles->Count(); ++i) {
        const int image = m.lvServerFiles->Row(i).ImageIndex;
        fileRowsWithOwn += image >= 2;
        if (image >= 2) distinct.insert(image);
    }
    EXPECT_EQ(count, 2 + static_cast<int>(distinct.size()));
    EXPECT_GE(fileRowsWithOwn, 2) << ".txt and .exe are known to the shell";
}

TEST(TransferBar, ByteCountsScaledIntoTheBarAsATable) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    TTransferBar& bar = *m.pbTransferStatus;
    const int64_t big = 6LL << 30;  // 6 GiB
    struct Case {
        int64_t total, done;
        int position;  // of 0x7FFF
    } cases[] = {
        {100, 0, 0},         {100, 50, 0x7FFF / 2}, {100, 100, 0x7FFF}, {100, 250, 0x7FFF},
        {100, -5, 0},        {0, 0, 0},             {big, big / 2, 0x7FFF / 2},
        {big, big, 0x7FFF},  {INT64_MAX, INT64_MAX / 4, 0x7FFF / 4},
    };
    for (const Case& c : cases) {
        bar.SetMax(c.total);
        EXPECT_EQ(bar.Position(), 0) << "a new total starts at 0";
        bar.SetPosition(c.done);
        EXPECT_NEAR(bar.Position(), c.position, 1) << c.total << " " << c.done;
        EXPECT_EQ(static_cast<int>(SendMessageA(bar.Handle(), PBM_GETPOS, 0, 0)), bar.Position());
    }
}
