// Owner-drawn menus: measuring and drawing through the form's messages into memory DCs.
#include <gtest/gtest.h>

#include <algorithm>

#include "ComponentTestSupport.h"
#include "components/Menus97.h"
#include "components/PopupMenus97.h"
#include "ui/Form.h"

namespace {

TMenuItem* AddItem(TMenuItem* parent, TComponent* owner, const char* caption, int tag) {
    auto* it = new TMenuItem(owner);
    it->SetCaption(caption);
    it->Tag = tag;
    parent->Add(it);
    return it;
}

// Ten 16 x 16 images, each a different colour.
void FillImages(TImageList& il) {
    for (int i = 0; i < 10; ++i) {
        TBitmap b(16, 16);
        RECT r{0, 0, 16, 16};
        b.Canvas().Brush.Color = 0xFF00FF;
        b.Canvas().FillRect(r);
        RECT in{3, 3, 13, 13};
        b.Canvas().Brush.Color = static_cast<TColor>(RGB(20 * i, 200 - 15 * i, 40 + 20 * i));
        b.Canvas().FillRect(in);
        il.AddMasked(b, 0xFF00FF);
    }
}

// The FTP client's main window: File (Connect, -, Exit), Servers (site entries 100-102).
struct TMenuForm : TForm {
    TMenuForm() : images(this, 16, 16) {
        SetBounds(20, 20, 400, 300);
        FillImages(images);
        menu = new TMainMenu(this);
        file = AddItem(menu->Items(), this, "&File", -1);
        connect = AddItem(file, this, "&Connect...", 0);
        connect->SetShortCut(ShortCut('N', ssCtrl));
        AddItem(file, this, "-", -2);
        title = AddItem(file, this, "-Sites", -2);
        disabled = AddItem(file, this, "&Disconnect", 1);
        disabled->SetEnabled(false);
        exitItem = AddItem(file, this, "E&xit", -2);
        servers = AddItem(menu->Items(), this, "&Servers", -1);
        for (int i = 0; i < 3; ++i) sites[i] = AddItem(servers, this, ("1. Site " + std::to_string(i)).c_str(), 100 + i);
        bar = AddItem(menu->Items(), this, "&Help", 256 + 3);
        SetMenu(menu);
        m97 = new TMainMenus97(this);
        m97->SetImages(&images);
        m97->SetMainMenu(menu);
    }
    TImageList images;
    TMainMenu* menu;
    TMenuItem *file, *connect, *title, *disabled, *exitItem, *servers, *sites[3], *bar;
    TMainMenus97* m97;
};

MEASUREITEMSTRUCT Measure(TForm& f, TMenuItem* item) {
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = item->Command();
    mis.itemData = reinterpret_cast<ULONG_PTR>(item);
    SendMessageA(f.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return mis;
}

void Draw(TForm& f, TMenuItem* item, TBitmap& into, RECT r, UINT state) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = item->Command();
    dis.itemData = reinterpret_cast<ULONG_PTR>(item);
    dis.hDC = into.Canvas().Handle();
    dis.rcItem = r;
    dis.itemState = state;
    SendMessageA(f.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

int TextW(TForm& f, TFont& font, const char* s) {
    HDC dc = GetDC(f.Handle());
    HGDIOBJ o = SelectObject(dc, font.Handle());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, s, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, o);
    ReleaseDC(f.Handle(), dc);
    return r.right;
}

}  // namespace

TEST(Menus97, MeasureTable) {
    TMenuForm f;
    f.Show();
    const int checkW = f.m97->CheckW();
    EXPECT_EQ(checkW, 20) << "image width + 4";
    struct Case {
        const char* name;
        TMenuItem* item;
        int width;  // -1: not checked
    } cases[] = {
        {"bar item -1: caption + 5", f.file, TextW(f, f.m97->Font, "&File") + 5},
        {"bar item >= 256: plus the image", f.bar, TextW(f, f.m97->Font, "&Help") + 5 + 16 + 2},
        {"site entry 100 past the images keeps the column", f.sites[0], -1},
    };
    for (const Case& c : cases) {
        const MEASUREITEMSTRUCT m = Measure(f, c.item);
        EXPECT_GE(static_cast<int>(m.itemHeight), 20) << c.name;
        if (c.width >= 0) {
            EXPECT_EQ(static_cast<int>(m.itemWidth), c.width) << c.name;
        }
    }
    // One drop-down: every item the same base width; the first drop-down carries the banner's width.
    const int fileW = static_cast<int>(Measure(f, f.connect).itemWidth);
    EXPECT_EQ(static_cast<int>(Measure(f, f.exitItem).itemWidth), fileW);
    EXPECT_EQ(static_cast<int>(Measure(f, f.title).itemWidth), fileW);
    const int sitesW = static_cast<int>(Measure(f, f.sites[0]).itemWidth);
    EXPECT_EQ(sitesW, TextW(f, f.m97->Font, "1. Site 0") + checkW) << "no banner width on the second drop-down";
    const int capSc = TextW(f, f.m97->Font, "&Connect...");
    const int sc = TextW(f, f.m97->Font, ShortCutToText(ShortCut('N', ssCtrl)).c_str());
    EXPECT_EQ(fileW, capSc + sc + 2 * checkW + f.m97->BannerWidth) << "shortcut column, plus BannerWidth with the banner off";
    // The prefix is not counted, and not taken off twice.
    EXPECT_EQ(TextW(f, f.m97->Font, "&Connect..."), TextW(f, f.m97->Font, "Connect..."));
    f.m97->ItemHeight = 30;
    for (TMenuItem* it : {f.file, f.connect, f.title, f.sites[2]})
        EXPECT_EQ(static_cast<int>(Measure(f, it).itemHeight), 30) << it->Caption();
}

TEST(Menus97, InitAllTagsTable) {
    TMenuForm f;
    TMenuItem* untaggedTop = AddItem(f.menu->Items(), &f, "&View", 0);
    TMenuItem* untaggedSub = AddItem(untaggedTop, &f, "&Large", 0);
    TMenuItem* three = AddItem(untaggedTop, &f, "&Small", 3);
    f.m97->InitAllTags();
    EXPECT_EQ(untaggedTop->Tag, -1);
    EXPECT_EQ(untaggedSub->Tag, -2);
    EXPECT_EQ(three->Tag, 3);
    EXPECT_EQ(f.sites[1]->Tag, 101);
}

TEST(Menus97, DrawTable) {
    TMenuForm f;
    f.Show();
    const uint32_t face = SysRGB(COLOR_BTNFACE), hilite = SysRGB(COLOR_HIGHLIGHT);
    const uint32_t shadow = SysRGB(COLOR_BTNSHADOW), light = SysRGB(COLOR_BTNHIGHLIGHT);
    struct Case {
        const char* name;
        TMenuItem* item;
        UINT state;
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {"plain item: face fill", f.exitItem, 0, 150, 2, face},
        {"selected: highlight bar", f.exitItem, ODS_SELECTED, 150, 2, hilite},
        {"image 0 at left + 2", f.connect, 0, 2 + 8, 2 + 8, 0xC8 << 8 | 40},
        {"selected image: raised frame", f.connect, ODS_SELECTED, 0, 5, light},
        {"titled separator: shadow line", f.title, 0, 5, 10, shadow},
        {"titled separator: highlight below", f.title, 0, 5, 11, light},
        {"site tag 100 past the images: no crash, face", f.sites[0], 0, 8, 8, face},
    };
    for (const Case& c : cases) {
        TBitmap b(200, 21);
        RECT all{0, 0, 200, 21};
        b.Canvas().Brush.Color = clRed;
        b.Canvas().FillRect(all);
        Draw(f, c.item, b, all, c.state);
        EXPECT_EQ(b.PixelRGB(c.x, c.y), c.rgb) << c.name;
    }
    // A disabled item is not filled and its caption is embossed.
    TBitmap b(200, 21);
    RECT all{0, 0, 200, 21};
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(all);
    Draw(f, f.disabled, b, all, ODS_DISABLED);
    EXPECT_EQ(b.PixelRGB(150, 2), 0xFF0000u);
    bool sh = false, li = false;
    for (int y = 0; y < 21; ++y)
        for (int x = 20; x < 120; ++x) {
            sh |= b.PixelRGB(x, y) == shadow;
            li |= b.PixelRGB(x, y) == light;
        }
    EXPECT_TRUE(sh && li);
}

TEST(Menus97, FtpClientMenuDrawn) {
    TMenuForm f;
    f.Show();
    // Every item of the File and Servers drop-downs, as the platform would ask for them.
    std::vector<TMenuItem*> items = {f.connect, f.title, f.disabled, f.exitItem, f.sites[0], f.sites[1], f.sites[2]};
    int total = 0, widest = 0;
    for (TMenuItem* it : items) {
        const MEASUREITEMSTRUCT m = Measure(f, it);
        total += static_cast<int>(m.itemHeight);
        widest = std::max(widest, static_cast<int>(m.itemWidth));
    }
    TBitmap pic(widest, total);
    RECT whole{0, 0, widest, total};
    pic.Canvas().Brush.Color = SysColor(COLOR_MENU);  // the menu window's own background
    pic.Canvas().FillRect(whole);
    int y = 0;
    for (TMenuItem* it : items) {
        const int h = static_cast<int>(Measure(f, it).itemHeight);
        Draw(f, it, pic, RECT{0, y, widest, y + h}, it == f.exitItem ? ODS_SELECTED : 0);
        y += h;
    }
    EXPECT_TRUE(pic.SaveToFile("ftp-menu.bmp"));
    EXPECT_EQ(pic.PixelRGB(widest - 2, 2), SysRGB(COLOR_BTNFACE));
}

TEST(Menus97, MenuCharFindsTheAcceleratorOfEnabledItems) {
    TMenuForm f;
    f.Show();
    struct Case {
        const char* name;
        HMENU menu;
        char key;
        LRESULT result;  // 0: passed on to the platform
    } cases[] = {
        {"c: Connect at 0", f.file->Handle(), 'c', MAKELRESULT(0, MNC_EXECUTE)},
        {"X: Exit at 4", f.file->Handle(), 'X', MAKELRESULT(4, MNC_EXECUTE)},
        {"d: Disconnect is disabled", f.file->Handle(), 'd', 0},
        {"q: nothing", f.file->Handle(), 'q', 0},
        {"f on the bar: not ours", f.menu->Handle(), 'f', 0},
    };
    for (const Case& c : cases) {
        const LRESULT r = SendMessageA(f.Handle(), WM_MENUCHAR, MAKEWPARAM(c.key, MF_POPUP), reinterpret_cast<LPARAM>(c.menu));
        EXPECT_EQ(r, c.result) << c.name;
    }
}

namespace {

// Rows of the banner picture that hold pixels of the text colour: first, last and count.
struct TTextRows {
    int first = -1, last = -1, pixels = 0;
};
TTextRows TextRows(HBITMAP bmp, int w, int h, uint32_t text) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    TTextRows r;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == text) {
                if (r.first < 0) r.first = y;
                r.last = y;
                ++r.pixels;
            }
    return r;
}

}  // namespace

TEST(Menus97, BannerTextRunsUpTheGradient) {
    TMenuForm f;
    TMainMenus97& m = *f.m97;
    m.BannerWidth = 20;
    m.BannerColor = clNavy;
    m.BannerEndColor = clBlack;
    m.BannerFont.SetColor(clWhite);
    m.BannerText = "Velmora";
    const int h = 300;
    struct Case {
        const char* name;
        TBannerJustification97 just;
        int image;
    } cases[] = {{"top", bjTop, -1}, {"centre", bjCenter, -1}, {"bottom", bjBottom, -1}, {"bottom over an image", bjBottom, 0}};
    TTextRows rows[4];
    for (int i = 0; i < 4; ++i) {
        m.BannerJustification = cases[i].just;
        m.BannerImage = cases[i].image;
        HBITMAP b = m.MakeBanner(h);
        rows[i] = TextRows(b, 20, h, 0xFFFFFF);
        DeleteObject(b);
        EXPECT_GT(rows[i].pixels, 20) << cases[i].name;
        EXPECT_GT(rows[i].last - rows[i].first, 30) << cases[i].name << ": the text runs along the banner";
    }
    EXPECT_LT(rows[0].first, 10) << "top: from the top";
    EXPECT_GT(rows[2].last, h - 10) << "bottom: to the bottom";
    EXPECT_LT(rows[0].last, rows[1].last);
    EXPECT_LT(rows[1].last, rows[2].last);
    EXPECT_LE(rows[3].last, h - 24) << "the image's place stays free";
    EXPECT_GT(rows[3].last, h - 34);
    // The gradient: the start colour on top, the end colour at the bottom; no text, no white.
    m.BannerText.clear();
    HBITMAP b = m.MakeBanner(h);
    EXPECT_EQ(TextRows(b, 20, h, 0xFFFFFF).pixels, 0);
    EXPECT_EQ(TextRows(b, 20, h, 0x000080).first, 0);
    EXPECT_EQ(TextRows(b, 20, h, 0x000000).last, h - 1);
    DeleteObject(b);
    // Drawn beside the items of the first drop-down when Banner is on.
    m.Banner = true;
    f.Show();
    TBitmap into(200, 21);
    Draw(f, f.exitItem, into, RECT{0, 0, 200, 21}, 0);
    EXPECT_EQ(into.PixelRGB(5, 0), 0x000080u);
    EXPECT_EQ(into.PixelRGB(150, 2), SysRGB(COLOR_BTNFACE));
}

// Pixels of the bar's non-client rows that no item covers and that are not rgb,
// read from the window's own DC as painted last.
int StrayBarPixels(TForm& f, uint32_t rgb) {
    HWND h = f.Handle();
    HMENU menu = GetMenu(h);
    RECT win;
    GetWindowRect(h, &win);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (!GetMenuBarInfo(h, OBJID_MENU, 0, &bar)) return -1;
    POINT client{0, 0};
    ClientToScreen(h, &client);
    TBitmap shot(win.right - win.left, win.bottom - win.top);
    HDC dc = GetWindowDC(h);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(h, dc);
    int stray = 0;
    for (int y = bar.rcBar.top; y < std::min<int>(bar.rcBar.bottom, client.y); ++y)
        for (int x = bar.rcBar.left; x < bar.rcBar.right; ++x) {
            bool onItem = false;
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                RECT r;
                POINT p{x, y};
                onItem = onItem || (GetMenuItemRect(h, menu, static_cast<UINT>(i), &r) && PtInRect(&r, p));
            }
            stray += !onItem && shot.PixelRGB(x - win.left, y - win.top) != rgb;
        }
    return stray;
}

// Wine fills the bar in the system's menu colour; the component repaints the
// rest of the strip in the brush the menu names, on one row or wrapped.
TEST(Menus97, TheBarBeyondItsItemsHasTheMenusBackgroundBrush) {
    for (int width : {400, 110}) {
        SCOPED_TRACE(width);
        TMenuForm f;
        f.SetBounds(0, 0, width, 200);
        HBRUSH red = CreateSolidBrush(RGB(0xC0, 0, 0));
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        info.hbrBack = red;
        ASSERT_TRUE(SetMenuInfo(f.menu->Handle(), &info));
        f.Show();
        UpdateWindow(f.Handle());
        RECT help, bar;
        ASSERT_TRUE(GetMenuItemRect(f.Handle(), f.menu->Handle(), 2, &help));
        GetWindowRect(f.Handle(), &bar);
        if (width == 110) {
            RECT file;
            GetMenuItemRect(f.Handle(), f.menu->Handle(), 0, &file);
            ASSERT_GT(help.top, file.top) << "the bar wraps";
        }
        EXPECT_EQ(StrayBarPixels(f, 0xC00000), 0) << "first paint";
        SendMessageA(f.Handle(), WM_NCACTIVATE, FALSE, 0);
        EXPECT_EQ(StrayBarPixels(f, 0xC00000), 0) << "deactivated";
        DrawMenuBar(f.Handle());
        UpdateWindow(f.Handle());
        EXPECT_EQ(StrayBarPixels(f, 0xC00000), 0) << "redrawn";
        // The items keep the component's face colour.
        HDC dc = GetWindowDC(f.Handle());
        const COLORREF mid = GetPixel(dc, help.left - bar.left + 2, help.top - bar.top + 2);
        ReleaseDC(f.Handle(), dc);
        EXPECT_EQ(mid, GetSysColor(COLOR_BTNFACE));
        info.hbrBack = nullptr;
        SetMenuInfo(f.menu->Handle(), &info);
        DeleteObject(red);
    }
}

TEST(Menus97, HideMenuBarGivesTheBarsPlaceToTheClientArea) {
    TMenuForm f;
    TForm plain;
    plain.SetBounds(20, 20, 400, 300);
    f.Show();
    plain.Show();
    auto clientHeight = [](TForm& form) {
        RECT r;
        GetClientRect(form.Handle(), &r);
        return r.bottom;
    };
    const int withBar = clientHeight(f);
    ASSERT_LT(withBar, clientHeight(plain));
    f.m97->SetHideMenuBar(true);
    EXPECT_EQ(clientHeight(f), clientHeight(plain));
    // Bar items draw nothing while the bar is hidden.
    TBitmap b(60, 20);
    RECT all{0, 0, 60, 20};
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(all);
    Draw(f, f.file, b, all, 0);
    EXPECT_EQ(b.PixelRGB(30, 10), 0xFF0000u);
    f.m97->SetHideMenuBar(false);
    EXPECT_EQ(clientHeight(f), withBar);
    EXPECT_EQ(GetMenu(f.Handle()), f.menu->Handle()) << "the menu and its keys stay";
}

TEST(Menus97, OnDrawItemFindsTheSelectionColoursAndMayDrawInstead) {
    TMenuForm f;
    f.Show();
    struct Seen {
        TMenu* control = nullptr;
        TMenuItem* item = nullptr;
        RECT rect{};
        UINT state = 0;
        TColor brush = clNone, font = clNone;
    } seen;
    f.m97->OnDrawItem = [&](TMenu* control, TMenuItem* item, const RECT& rect, UINT state) {
        seen = {control, item, rect, state, f.m97->Canvas()->Brush.Color, f.m97->Canvas()->Font.Color()};
        if (item != f.exitItem) return false;
        RECT r = rect;
        f.m97->Canvas()->Brush.Color = static_cast<TColor>(RGB(0, 255, 0));
        f.m97->Canvas()->FillRect(r);
        return true;
    };
    struct Case {
        const char* name;
        TMenuItem* item;
        UINT state;
        TColor brush, font;
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {"selected, drawn by the handler", f.exitItem, ODS_SELECTED, clHighlight, clHighlightText, 150, 2, 0x00FF00},
        {"plain, drawn by the handler", f.exitItem, 0, f.m97->BrushColor, f.m97->Font.Color(), 150, 2, 0x00FF00},
        {"handler declines: the component draws", f.connect, 0, f.m97->BrushColor, f.m97->Font.Color(), 2 + 8,
         2 + 8, 0xC8 << 8 | 40},
    };
    for (const Case& c : cases) {
        TBitmap b(200, 21);
        const RECT all{0, 0, 200, 21};
        Draw(f, c.item, b, all, c.state);
        EXPECT_EQ(seen.control, f.menu) << c.name;
        EXPECT_EQ(seen.item, c.item) << c.name;
        EXPECT_TRUE(EqualRect(&seen.rect, &all)) << c.name;
        EXPECT_EQ(seen.state, c.state) << c.name;
        EXPECT_EQ(seen.brush, c.brush) << c.name;
        EXPECT_EQ(seen.font, c.font) << c.name;
        EXPECT_EQ(b.PixelRGB(c.x, c.y), c.rgb) << c.name;
    }
    EXPECT_EQ(f.m97->Canvas(), nullptr) << "only while an item is drawn";
}

TEST(Menus97, OnMeasureItemMayChangeTheSize) {
    TMenuForm f;
    f.Show();
    const MEASUREITEMSTRUCT plain = Measure(f, f.connect);
    std::string fontSeen;
    f.m97->OnMeasureItem = [&](TMenu* control, TMenuItem* item, int& height, int& width) {
        EXPECT_EQ(control, f.menu);
        fontSeen = f.m97->Canvas() ? f.m97->Canvas()->Font.Name() : "(no canvas)";
        if (item != f.connect) return;
        height += 7;
        width = 333;
    };
    const MEASUREITEMSTRUCT changed = Measure(f, f.connect);
    EXPECT_EQ(changed.itemHeight, plain.itemHeight + 7);
    EXPECT_EQ(changed.itemWidth, 333u);
    EXPECT_EQ(fontSeen, f.m97->Font.Name()) << "the canvas holds the menu font";
    EXPECT_EQ(Measure(f, f.exitItem).itemWidth, plain.itemWidth) << "other items as measured";
    EXPECT_EQ(f.m97->Canvas(), nullptr);
}

TEST(Menus97, TheDefaultFontFollowsTheSystemUntilAFontIsGiven) {
    TMenuForm f;
    f.Show();
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    const int systemHeight = ncm.lfMenuFont.lfHeight;
    auto settingsChange = [&] { SendMessageA(f.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0); };
    ASSERT_TRUE(f.m97->DefaultFont());
    ASSERT_EQ(f.m97->Font.Height(), systemHeight);
    // Changed in place, the main menu's font only redraws the bar: the system's settings still win.
    f.m97->Font.SetHeight(systemHeight - 9);
    EXPECT_TRUE(f.m97->DefaultFont());
    settingsChange();
    EXPECT_EQ(f.m97->Font.Height(), systemHeight) << "reloaded";
    EXPECT_EQ(f.m97->HiliteFont.Height(), systemHeight);
    EXPECT_EQ(f.m97->HiliteFont.Color(), clHighlightText) << "in the selected text's colour";
    // A font given through the setter stays.
    TFont big;
    big.SetName("Arial");
    big.SetHeight(-30);
    f.m97->SetFont(big);
    EXPECT_FALSE(f.m97->DefaultFont());
    settingsChange();
    EXPECT_EQ(f.m97->Font.Height(), -30);
    EXPECT_EQ(f.m97->Font.Name(), "Arial");
    f.m97->SetDefaultFont(true);
    EXPECT_EQ(f.m97->Font.Height(), systemHeight) << "back to the system's";
    // Popup menus: a change of either font in place ends the following.
    TCustomPopupMenus97 popup(&f);
    popup.Font.SetHeight(systemHeight - 5);
    EXPECT_FALSE(popup.DefaultFont());
    f.m97->HiliteFont.SetHeight(systemHeight - 5);
    EXPECT_FALSE(f.m97->DefaultFont());
}

TEST(Menus97, AnItemStartingAColumnDrawsTheDividerDownTheDropDown) {
    TMenuForm f;
    f.Show();
    f.exitItem->SetBreak(mbBarBreak);
    const uint32_t shadow = SysRGB(COLOR_BTNSHADOW), light = SysRGB(COLOR_BTNHIGHLIGHT);
    struct Case {
        const char* name;
        TMenuItem* item;
        uint32_t left, right;  // at x 57 and 58, on every row
    } cases[] = {
        {"a column break: shadow then highlight", f.exitItem, shadow, light},
        {"no break: nothing left of the item", f.connect, 0xFF0000, 0xFF0000},
    };
    for (const Case& c : cases) {
        TBitmap b(200, 100);
        b.Canvas().Brush.Color = clRed;
        b.Canvas().FillRect(RECT{0, 0, 200, 100});
        Draw(f, c.item, b, RECT{60, 40, 200, 61}, 0);
        for (int y : {0, 39, 50, 99}) {
            EXPECT_EQ(b.PixelRGB(57, y), c.left) << c.name << ", row " << y;
            EXPECT_EQ(b.PixelRGB(58, y), c.right) << c.name << ", row " << y;
        }
    }
}

TEST(Menus97, ANewLookRedrawsTheMenuBar) {
    TMenuForm f;
    f.Show();
    UpdateWindow(f.Handle());
    int barDraws = 0;
    f.m97->OnDrawItem = [&](TMenu*, TMenuItem* item, const RECT&, UINT) {
        if (item->Tag == -1 || item->Tag >= 256) ++barDraws;
        return false;
    };
    Drain();
    barDraws = 0;
    f.m97->SetMenus97Look(mlIE4Look);
    UpdateWindow(f.Handle());
    EXPECT_EQ(f.m97->Menus97Look(), mlIE4Look);
    EXPECT_GE(barDraws, 3) << "every bar item drawn again";
}
