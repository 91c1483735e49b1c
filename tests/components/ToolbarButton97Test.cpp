// The flat toolbar button on real windows: the FTP client's toolbar, hover,
// press and release, groups, repeat, glyph images and border pixels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ComponentTestSupport.h"
#include "components/ToolbarButton97.h"
#include "runtime/Application.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

// A glyph strip of n cells of 16 x 16: a dark square on a fuchsia ground.
HBITMAP MakeStrip(int cells, TBitmap& b) {
    b.SetSize(16 * cells, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16 * cells; ++x)
            b.Canvas().SetPixel(x, y, (x % 16 >= 4 && x % 16 < 12 && y >= 4 && y < 12) ? clNavy : 0xFF00FF);
    return b.Handle();
}

// The FTP client's toolbar: twelve glyph-only buttons, glyph above the caption,
// three of them (group 100) choosing the transfer mode.
class TToolbarForm : public TForm {
public:
    TToolbarForm() {
        SetBounds(50, 50, 420, 120);
        panel = new TPanel(this);
        panel->SetBounds(0, 0, 420, 46);
        static const char* hints[12] = {"Connect.", "Disconnect.", "Add FTP Server.", "Up.", "Create New Folder.",
                                        "Delete.", "Refresh directory contents.", "Transfer files as binary.",
                                        "Transfer files as text (ascii).",
                                        "Automatic selection (Binary/Ascii) to tansfer files.",
                                        "Need a Place to Host your Website?", "Want to Sell Your Stuff on the Web ?"};
        TBitmap strip;
        MakeStrip(1, strip);
        for (int i = 0; i < 12; ++i) {
            auto* b = new TToolbarButton97(panel);
            b->SetBounds(4 + i * 32, 4, 30, 38);
            b->Hint = hints[i];
            b->DisplayMode = dmGlyphOnly;
            b->Layout = blGlyphTop;
            b->SetGlyph(strip.Handle());
            if (i >= 7 && i <= 9) b->SetGroupIndex(100);
            buttons.push_back(b);
        }
        buttons[9]->SetDown(true);  // automatic, down at start
    }
    TPanel* panel;
    std::vector<TToolbarButton97*> buttons;
};

void MoveCursorTo(TWinControl& c, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(c.Handle(), &pt);
    SetCursorPos(pt.x, pt.y);
    SendMessageA(c.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void Press(TWinControl& c, UINT msg, int x, int y) { SendMessageA(c.Handle(), msg, MK_LBUTTON, MAKELPARAM(x, y)); }

}  // namespace

TEST(ToolbarButton97, TransferModeGroupTable) {
    TToolbarForm f;
    f.Show();
    TToolbarButton97 *bin = f.buttons[7], *asc = f.buttons[8], *aut = f.buttons[9];
    struct Step {
        const char* name;
        std::function<void()> act;
        bool bin, asc, aut;
    } steps[] = {
        {"at start", [] {}, false, false, true},
        {"click binary", [&] { bin->Click(); }, true, false, false},
        {"click binary again: stays (AllowAllUp off)", [&] { bin->Click(); }, true, false, false},
        {"set ascii down", [&] { asc->SetDown(true); }, false, true, false},
        {"allow all up, click ascii", [&] { asc->SetAllowAllUp(true); asc->Click(); }, false, false, false},
        {"click automatic", [&] { aut->Click(); }, false, false, true},
        {"Down on a button without a group", [&] { f.buttons[0]->SetDown(true); }, false, false, true},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(bin->Down(), s.bin) << s.name;
        EXPECT_EQ(asc->Down(), s.asc) << s.name;
        EXPECT_EQ(aut->Down(), s.aut) << s.name;
        EXPECT_FALSE(f.buttons[0]->Down()) << s.name;
    }
    EXPECT_EQ(aut->State(), bsExclusive);
}

TEST(ToolbarButton97, HoverFollowsTheRealCursor) {
    TToolbarForm f;
    f.Show();
    SetActiveWindow(f.Handle());
    TToolbarButton97 &a = *f.buttons[0], &b = *f.buttons[1];
    int entered = 0, left = 0;
    a.OnMouseEnter = [&](TObject*) { ++entered; };
    a.OnMouseExit = [&](TObject*) { ++left; };
    MoveCursorTo(a, 10, 10);
    EXPECT_EQ(TToolbarButton97::HotButton(), &a);
    EXPECT_EQ(a.State(), bsHot);
    EXPECT_EQ(entered, 1);
    MoveCursorTo(b, 10, 10);
    EXPECT_EQ(TToolbarButton97::HotButton(), &b);
    EXPECT_FALSE(a.MouseInControl());
    EXPECT_EQ(a.State(), bsUp);
    EXPECT_EQ(left, 1);
    // Off the toolbar: the next mouse move anywhere in the thread ends the hover.
    POINT pt{200, 90};
    ClientToScreen(f.Handle(), &pt);
    SetCursorPos(pt.x, pt.y);
    PostMessageA(f.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 90));
    Drain();
    EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
    EXPECT_FALSE(b.MouseInControl());
}

TEST(ToolbarButton97, DeactivatingTheApplicationEndsTheHover) {
    TToolbarForm f;
    f.Show();
    SetActiveWindow(f.Handle());
    TToolbarButton97& a = *f.buttons[0];
    MoveCursorTo(a, 10, 10);
    ASSERT_TRUE(a.MouseInControl());
    SendMessageA(f.Handle(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_FALSE(a.MouseInControl());
}

TEST(ToolbarButton97, PressDragOffReleaseGivesNoClick) {
    TToolbarForm f;
    f.Show();
    TToolbarButton97& a = *f.buttons[0];
    int clicks = 0;
    a.OnClick = [&](TObject*) { ++clicks; };
    Press(a, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(a.State(), bsDown);
    SendMessageA(a.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(a.State(), bsUp);
    SendMessageA(a.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(a.State(), bsDown) << "dragging back shows it pressed again";
    SendMessageA(a.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
    Press(a, WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(clicks, 0);
    Press(a, WM_LBUTTONDOWN, 5, 5);
    Press(a, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(a.State() == bsUp || a.State() == bsHot, true);
}

TEST(ToolbarButton97, RepeatingClicksAtPressAndOnEachTickInside) {
    TToolbarForm f;
    f.Show();
    TToolbarButton97& a = *f.buttons[0];
    a.Repeating = true;
    int clicks = 0;
    a.OnClick = [&](TObject*) { ++clicks; };
    MoveCursorTo(a, 5, 5);
    Press(a, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(clicks, 1) << "at once";
    SendMessageA(a.Handle(), WM_TIMER, 2, 0);
    SendMessageA(a.Handle(), WM_TIMER, 2, 0);
    EXPECT_EQ(clicks, 3);
    // The cursor off the button: a tick does not click and stops the repeat.
    POINT pt{200, 90};
    ClientToScreen(f.Handle(), &pt);
    SetCursorPos(pt.x, pt.y);
    SendMessageA(a.Handle(), WM_TIMER, 2, 0);
    EXPECT_EQ(clicks, 3);
    Press(a, WM_LBUTTONUP, 200, 90);
    EXPECT_EQ(clicks, 3) << "a repeating button does not click on release";
}

TEST(ToolbarButton97, NumGlyphsFromTheStrip) {
    struct Case {
        const char* name;
        int w, h, expected;
    } cases[] = {{"64x16", 64, 16, 4}, {"96x16", 96, 16, 1}, {"20x16", 20, 16, 1}};
    for (const Case& c : cases) {
        TBitmap b(c.w, c.h);
        TButtonGlyph g;
        g.SetGlyph(b.Handle());
        EXPECT_EQ(g.NumGlyphs(), c.expected) << c.name;
    }
    TButtonGlyph g;
    g.SetNumGlyphs(0);
    EXPECT_EQ(g.NumGlyphs(), 1);
    g.SetNumGlyphs(9);
    EXPECT_EQ(g.NumGlyphs(), 5);
}

TEST(ToolbarButton97, TwoButtonsOfOneSizeShareOneImageList) {
    TGlyphCache& cache = TGlyphCache::Instance();
    const int before = cache.ListCount();
    {
        TForm f;
        TBitmap strip;
        MakeStrip(1, strip);
        TToolbarButton97 a(&f), b(&f);
        a.SetGlyph(strip.Handle());
        b.SetGlyph(strip.Handle());
        const auto ia = a.Glyph().CreateStateImage(bsUp), ib = b.Glyph().CreateStateImage(bsUp);
        EXPECT_EQ(ia.first, ib.first);
        EXPECT_NE(ia.second, ib.second);
        EXPECT_EQ(cache.ListCount(), before + 1);
    }
    EXPECT_EQ(cache.ListCount(), before) << "the last glyph gone frees the list";
}

TEST(ToolbarButton97, DisabledGlyphOfA4x4GlyphIsEmbossed) {
    // Fuchsia ground (lower-left pixel: transparent), black at (1,1), white at (0,2), silver at (3,0).
    TBitmap src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.Canvas().SetPixel(x, y, 0xFF00FF);
    src.Canvas().SetPixel(1, 1, clBlack);
    src.Canvas().SetPixel(0, 2, clWhite);
    src.Canvas().SetPixel(3, 0, clSilver);
    TButtonGlyph g;
    g.SetGlyph(src.Handle());
    const auto img = g.CreateStateImage(bsDisabled);
    ASSERT_GE(img.second, 0);
    EXPECT_EQ(img.first->Width(), 5) << "one pixel larger";
    TBitmap out(5, 5);
    RECT all{0, 0, 5, 5};
    out.Canvas().Brush.Color = clRed;
    out.Canvas().FillRect(all);
    ImageList_Draw(img.first->Handle(), img.second, out.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
    struct Px {
        const char* name;
        int x, y;
        uint32_t rgb;
    } px[] = {
        {"black pixel in shadow", 1, 1, SysRGB(COLOR_BTNSHADOW)},
        {"its highlight one down-right", 2, 2, SysRGB(COLOR_BTNHIGHLIGHT)},
        {"white vanishes", 0, 2, 0xFF0000},
        {"silver vanishes", 3, 0, 0xFF0000},
        {"ground transparent", 3, 3, 0xFF0000},
    };
    for (const Px& p : px) EXPECT_EQ(out.PixelRGB(p.x, p.y), p.rgb) << p.name;
}

TEST(ToolbarButton97, BorderPixelsMatchDrawEdge) {
    TToolbarForm f;
    f.Show();
    SetActiveWindow(f.Handle());
    TToolbarButton97& a = *f.buttons[0];
    MoveCursorTo(a, 10, 10);
    ASSERT_TRUE(a.MouseInControl());
    TBitmap shot;
    Snapshot(a, shot);
    TBitmap ref(a.Width(), a.Height());
    RECT r{0, 0, a.Width(), a.Height()};
    ref.Canvas().Brush.Color = clBtnFace;
    ref.Canvas().FillRect(r);
    DrawEdge(ref.Canvas().Handle(), &r, BDR_RAISEDINNER, BF_RECT);
    for (int x = 0; x < a.Width(); ++x) {
        EXPECT_EQ(shot.PixelRGB(x, 0), ref.PixelRGB(x, 0)) << "top, x " << x;
        EXPECT_EQ(shot.PixelRGB(x, a.Height() - 1), ref.PixelRGB(x, a.Height() - 1)) << "bottom, x " << x;
    }
    for (int y = 0; y < a.Height(); ++y) {
        EXPECT_EQ(shot.PixelRGB(0, y), ref.PixelRGB(0, y)) << "left, y " << y;
        EXPECT_EQ(shot.PixelRGB(a.Width() - 1, y), ref.PixelRGB(a.Width() - 1, y)) << "right, y " << y;
    }
    // Cold: no border at all, the face colour to the edge.
    a.MouseLeft();
    Snapshot(a, shot);
    EXPECT_EQ(shot.PixelRGB(0, 0), SysRGB(COLOR_BTNFACE));
    // Pressed: sunken.
    Press(a, WM_LBUTTONDOWN, 5, 5);
    Snapshot(a, shot);
    RECT r2{0, 0, a.Width(), a.Height()};
    ref.Canvas().FillRect(r2);
    DrawEdge(ref.Canvas().Handle(), &r2, BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(shot.PixelRGB(0, 5), ref.PixelRGB(0, 5));
    EXPECT_EQ(shot.PixelRGB(a.Width() - 1, 5), ref.PixelRGB(a.Width() - 1, 5));
    Press(a, WM_LBUTTONUP, 5, 5);
}

namespace {

// An image drawn from a list onto red: its pixels as the button would show them.
uint32_t DrawnPixel(TButtonGlyph& g, TButtonPaintState state, int x, int y) {
    const auto img = g.CreateStateImage(state);
    if (img.second < 0) return 0xFF0000;
    TBitmap out(img.first->Width(), img.first->Height());
    RECT all{0, 0, out.Width(), out.Height()};
    out.Canvas().Brush.Color = clRed;
    out.Canvas().FillRect(all);
    ImageList_Draw(img.first->Handle(), img.second, out.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
    return out.PixelRGB(x, y);
}

// A 4 x 4 picture on a fuchsia ground (transparent in a masked add) with a coloured middle.
void AddSquare(TImageList& list, TColor middle) {
    TBitmap b(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) b.Canvas().SetPixel(x, y, (x == 1 || x == 2) && (y == 1 || y == 2) ? middle : 0xFF00FF);
    list.AddMasked(b, 0xFF00FF);
}

}  // namespace

TEST(ToolbarButton97, GlyphFromAnImageList) {
    TForm f;
    auto* images = new TImageList(&f, 4, 4);
    AddSquare(*images, clNavy);
    AddSquare(*images, clGreen);
    TBitmap strip;
    MakeStrip(4, strip);
    TToolbarButton97 b(&f);
    b.SetGlyph(strip.Handle());
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetImages(images);
    EXPECT_EQ(b.NumGlyphs(), 1) << "a list gives one image per button";
    b.SetNumGlyphs(3);
    EXPECT_EQ(b.NumGlyphs(), 1);
    struct Case {
        const char* name;
        int index;
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {"image 0, middle", 0, 1, 1, 0x000080},
        {"image 1, middle", 1, 2, 2, 0x008000},
        {"image 1, ground transparent", 1, 0, 0, 0xFF0000},
        {"index past the list: nothing", 2, 1, 1, 0xFF0000},
        {"index -1: nothing", -1, 1, 1, 0xFF0000},
    };
    for (const Case& c : cases) {
        b.SetImageIndex(c.index);
        EXPECT_EQ(DrawnPixel(b.Glyph(), bsUp, c.x, c.y), c.rgb) << c.name;
    }
    b.SetImageIndex(1);
    EXPECT_EQ(b.Glyph().CreateStateImage(bsUp).first->Width(), 4) << "the list's size";
    // Disabled: embossed from the list's image, one pixel larger.
    EXPECT_EQ(b.Glyph().CreateStateImage(bsDisabled).first->Width(), 5);
    EXPECT_EQ(DrawnPixel(b.Glyph(), bsDisabled, 1, 1), SysRGB(COLOR_BTNSHADOW));
    EXPECT_EQ(DrawnPixel(b.Glyph(), bsDisabled, 3, 3), SysRGB(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(DrawnPixel(b.Glyph(), bsDisabled, 0, 0), 0xFF0000u);
    // A change of the list drops the made images.
    images->Clear();
    AddSquare(*images, clMaroon);
    AddSquare(*images, 0x008080);  // olive
    EXPECT_EQ(DrawnPixel(b.Glyph(), bsUp, 1, 1), 0x808000u) << "olive after the list was refilled";
    // The list freed: the button forgets it and falls back to its strip.
    delete images;
    EXPECT_EQ(b.Images(), nullptr);
    EXPECT_EQ(DrawnPixel(b.Glyph(), bsUp, 5, 5), 0x000080u);
}

TEST(ToolbarButton97, GlyphMaskDecidesTransparency) {
    // A navy 4 x 4 glyph whose mask makes the left half transparent; the
    // lower-left pixel (navy) would otherwise make it all transparent.
    TBitmap glyph(4, 4), mask(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            glyph.Canvas().SetPixel(x, y, clNavy);
            mask.Canvas().SetPixel(x, y, x < 2 ? clWhite : clBlack);
        }
    TButtonGlyph g;
    g.SetGlyph(glyph.Handle());
    EXPECT_EQ(DrawnPixel(g, bsUp, 3, 0), 0xFF0000u) << "without a mask the lower-left colour is transparent";
    g.SetGlyphMask(mask.Handle());
    EXPECT_EQ(g.NumGlyphs(), 1);
    struct Case {
        const char* name;
        TButtonPaintState state;
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {"up, masked half", bsUp, 0, 1, 0xFF0000},
        {"up, shown half", bsUp, 3, 1, 0x000080},
        {"disabled, masked half vanishes", bsDisabled, 0, 1, 0xFF0000},
        {"disabled, shown half in shadow", bsDisabled, 2, 1, SysRGB(COLOR_BTNSHADOW)},
        {"disabled, highlight below-right", bsDisabled, 4, 4, SysRGB(COLOR_BTNHIGHLIGHT)},
    };
    for (const Case& c : cases) EXPECT_EQ(DrawnPixel(g, c.state, c.x, c.y), c.rgb) << c.name;
}

TEST(ToolbarButton97, EnterEscAndAcceleratorsReachTheFormsButtons) {
    TForm f, other;
    f.SetBounds(40, 40, 300, 160);
    other.SetBounds(360, 40, 200, 100);
    auto* edit = new TEdit(&f);
    edit->SetBounds(8, 8, 120, 21);
    auto* memo = new TMemo(&f);
    memo->SetBounds(8, 40, 120, 60);
    auto* ok = new TToolbarButton97(&f);
    ok->SetBounds(150, 8, 60, 24);
    ok->SetCaption("&Open");
    ok->Default = true;
    auto* cancel = new TToolbarButton97(&f);
    cancel->SetBounds(150, 40, 60, 24);
    cancel->SetCaption("Close");
    cancel->Cancel = true;
    auto* elsewhere = new TToolbarButton97(&other);
    elsewhere->SetCaption("&Open");
    elsewhere->Default = true;
    f.Show();
    other.Show();
    int okClicks = 0, cancelClicks = 0, otherClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    elsewhere->OnClick = [&](TObject*) { ++otherClicks; };
    struct Case {
        const char* name;
        TWinControl* to;
        UINT msg;
        WPARAM key;
        std::function<void()> before;
        int ok, cancel;
    } cases[] = {
        {"Enter in an edit: Default", edit, WM_KEYDOWN, VK_RETURN, [] {}, 1, 0},
        {"Esc in an edit: Cancel", edit, WM_KEYDOWN, VK_ESCAPE, [] {}, 0, 1},
        {"Enter in a memo stays there", memo, WM_KEYDOWN, VK_RETURN, [] {}, 0, 0},
        {"Alt+O: the accelerator", edit, WM_SYSCHAR, 'o', [] {}, 1, 0},
        {"o typed in an edit is text", edit, WM_CHAR, 'o', [] {}, 0, 0},
        {"another key: nothing", edit, WM_KEYDOWN, VK_F2, [] {}, 0, 0},
        {"disabled Default: nothing", edit, WM_KEYDOWN, VK_RETURN, [&] { ok->SetEnabled(false); }, 0, 0},
        {"glyph-only: no accelerator", edit, WM_SYSCHAR, 'o', [&] { ok->SetEnabled(true); ok->DisplayMode = dmGlyphOnly; }, 0, 0},
        {"hidden Cancel: nothing", edit, WM_KEYDOWN, VK_ESCAPE, [&] { cancel->Hide(); }, 0, 0},
    };
    for (const Case& c : cases) {
        c.before();
        okClicks = cancelClicks = 0;
        PostMessageA(c.to->Handle(), c.msg, c.key, 1);
        Drain();
        EXPECT_EQ(okClicks, c.ok) << c.name;
        EXPECT_EQ(cancelClicks, c.cancel) << c.name;
    }
    EXPECT_EQ(otherClicks, 0) << "another form's Default button";
    // The key a button took does not reach the control.
    cancel->Show();
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(edit->Handle(), WM_CHAR, 27, 1);
    Drain();
    EXPECT_EQ(cancelClicks, 1);
}

namespace {
// Every pixel of a window as it paints now.
std::vector<uint32_t> Pixels(TWinControl& c) {
    TBitmap shot;
    Snapshot(c, shot);
    std::vector<uint32_t> px;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) px.push_back(shot.PixelRGB(x, y));
    return px;
}
}  // namespace

TEST(ToolbarButton97, AFlatButtonThatIsNotOpaqueShowsItsParent) {
    TForm form;
    form.SetBounds(50, 50, 200, 100);
    auto* panel = new TPanel(&form);
    panel->SetBounds(0, 0, 200, 60);
    panel->BevelOuter = bvNone;
    panel->SetColor(clRed);
    auto* b = new TToolbarButton97(panel);
    b->SetBounds(20, 10, 40, 30);
    b->SetColor(clBlue);
    form.Show();
    struct Case {
        const char* name;
        bool flat, opaque;
        uint32_t rgb;  // of a pixel with nothing drawn over it
    } cases[] = {
        {"flat, not opaque: the parent", true, false, 0xFF0000},
        {"flat, opaque: its own colour", true, true, 0x0000FF},
        {"not flat, not opaque: its raised face", false, false, SysRGB(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        b->Flat = c.flat;
        b->Opaque = c.opaque;
        TBitmap shot;
        Snapshot(*b, shot);
        EXPECT_EQ(shot.PixelRGB(b->Width() / 2, b->Height() / 2), c.rgb) << c.name;
    }
    // The caption is still drawn over the parent.
    b->Flat = true;
    b->Opaque = false;
    b->SetCaption("Go");
    TBitmap shot;
    Snapshot(*b, shot);
    int ink = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) ink += shot.PixelRGB(x, y) != 0xFF0000;
    EXPECT_GT(ink, 5);
}

TEST(ToolbarButton97, MarginBelowMinusOneIsIgnored) {
    TToolbarForm f;
    f.Show();
    TToolbarButton97& b = *f.buttons[0];
    b.Layout = blGlyphLeft;
    EXPECT_EQ(b.Margin(), -1);
    const std::vector<uint32_t> centred = Pixels(b);
    b.SetMargin(2);
    const std::vector<uint32_t> atTwo = Pixels(b);
    EXPECT_NE(atTwo, centred);
    for (int m : {-2, -7, -1000}) {
        b.SetMargin(m);
        EXPECT_EQ(b.Margin(), 2) << m;
        EXPECT_EQ(Pixels(b), atTwo) << m;
    }
    b.SetMargin(-1);
    EXPECT_EQ(Pixels(b), centred);
}

namespace {
// Sets system colours for the scope and puts the old ones back.
struct TSysColours {
    TSysColours(std::vector<int> which, std::vector<COLORREF> values) : which_(std::move(which)) {
        for (int i : which_) old_.push_back(GetSysColor(i));
        SetSysColors(static_cast<int>(which_.size()), which_.data(), values.data());
    }
    ~TSysColours() { SetSysColors(static_cast<int>(which_.size()), which_.data(), old_.data()); }
    std::vector<int> which_;
    std::vector<COLORREF> old_;
};
}  // namespace

// The latched pattern and the embossed (disabled) images are cached; after a
// change of the system colours they are made again in the new ones.
TEST(ToolbarButton97, LatchedPatternAndEmbossedImagesFollowTheSystemColours) {
    TToolbarForm f;
    f.Show();
    TToolbarButton97& latched = *f.buttons[9];  // down in its group, not hot; (5, 5) is left of its glyph
    latched.MouseLeft();
    ASSERT_EQ(latched.State(), bsExclusive);
    TBitmap src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.Canvas().SetPixel(x, y, (x == 1 && y == 1) ? clBlack : 0xFF00FF);
    TButtonGlyph g;
    g.SetGlyph(src.Handle());
    auto pattern = [&] {
        TBitmap shot;
        Snapshot(latched, shot);
        return std::make_pair(shot.PixelRGB(5, 5), shot.PixelRGB(5, 6));  // x + y even: highlight; odd: face
    };
    EXPECT_EQ(pattern(), std::make_pair(SysRGB(COLOR_BTNHIGHLIGHT), SysRGB(COLOR_BTNFACE)));
    EXPECT_EQ(DrawnPixel(g, bsDisabled, 2, 2), SysRGB(COLOR_BTNHIGHLIGHT));
    {
        TSysColours colours({COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, {RGB(0, 200, 0), RGB(200, 0, 200)});
        EXPECT_EQ(pattern(), std::make_pair(0x00C800u, SysRGB(COLOR_BTNFACE))) << "the pattern in the new highlight";
        EXPECT_EQ(DrawnPixel(g, bsDisabled, 2, 2), 0x00C800u) << "embossed in the new highlight";
        EXPECT_EQ(DrawnPixel(g, bsDisabled, 1, 1), 0xC800C8u) << "and the new shadow";
    }
    EXPECT_EQ(pattern().first, SysRGB(COLOR_BTNHIGHLIGHT)) << "and back";
}

TEST(ToolbarButton97, AGlyphTooNarrowForItsCellsFailsItsPaintOnceAndThePaintEnds) {
    int reports = 0;
    std::string what;
    auto saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) {
        ++reports;
        what = e.what();
    };
    TForm f;
    f.SetBounds(40, 40, 200, 100);
    auto* b = new TToolbarButton97(&f);
    b->SetBounds(10, 10, 30, 30);
    TBitmap narrow(3, 16);
    b->SetGlyph(narrow.Handle());
    b->SetNumGlyphs(4);  // cells of no width
    f.Show();
    // A paint that never ended would come back at once, without end.
    int dispatched = 0;
    MSG m;
    while (dispatched < 500 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&m);
        ++dispatched;
    }
    EXPECT_LT(dispatched, 500);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(what, "Unable to Replace Image");
    EXPECT_FALSE(GetUpdateRect(b->Handle(), nullptr, FALSE));
    // Uncovered again (the report's box closing over it), it is not reported again.
    b->Invalidate();
    UpdateWindow(b->Handle());
    Application->OnException = saved;
    EXPECT_EQ(reports, 1);
}
