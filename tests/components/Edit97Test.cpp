// The flat edit: its frame in the non-client area, its height and the hover rule.
#include <gtest/gtest.h>

#include "ComponentTestSupport.h"
#include "components/Edit97.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

class TEditForm : public TForm {
public:
    TEditForm() {
        SetBounds(40, 40, 300, 140);
        first = new TEdit97(this);
        first->SetBounds(10, 10, 150, 19);
        second = new TEdit97(this);
        second->SetBounds(10, 40, 150, 19);
        button = new TButton(this);
        button->SetBounds(10, 80, 75, 25);
        button->SetCaption("OK");
    }
    TEdit97 *first, *second;
    TButton* button;
};

}  // namespace

TEST(Edit97, ClientInsetByThreeAndHeightFromTheFont) {
    TEditForm f;
    f.Show();
    RECT wr, cr;
    GetWindowRect(f.first->Handle(), &wr);
    GetClientRect(f.first->Handle(), &cr);
    EXPECT_EQ(cr.right, (wr.right - wr.left) - 6);
    EXPECT_EQ(cr.bottom, (wr.bottom - wr.top) - 6);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f.first->Font().Handle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(f.first->Height(), tm.tmHeight + 6) << "not the 19 it was given";
    // A bigger font makes it taller.
    f.first->Font().SetHeight(-20);
    SendMessageA(f.first->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(f.first->Font().Handle()), TRUE);
    EXPECT_GT(f.first->Height(), tm.tmHeight + 6);
}

TEST(Edit97, FramePixelsColdAndHot) {
    TEditForm f;
    f.Show();
    f.button->SetFocus();
    TBitmap shot;
    Snapshot(*f.first, shot, true);
    const uint32_t face = SysRGB(COLOR_BTNFACE), window = SysRGB(COLOR_WINDOW);
    struct Px {
        const char* name;
        int x, y;
        uint32_t rgb;
    } cold[] = {{"outer ring", 0, 0, face}, {"second ring", 1, 5, face}, {"inner ring", 2, 5, window},
                {"outer bottom right", shot.Width() - 1, shot.Height() - 1, face}};
    for (const Px& p : cold) EXPECT_EQ(shot.PixelRGB(p.x, p.y), p.rgb) << "cold: " << p.name;
    // Focused: sunken, as DrawFrame draws it on a reference bitmap.
    f.first->SetFocus();
    ASSERT_TRUE(f.first->HotLook());
    Snapshot(*f.first, shot, true);
    TBitmap ref(shot.Width(), shot.Height());
    TEdit97::DrawFrame(ref.Canvas().Handle(), ref.Width(), ref.Height(), true);
    for (int ring = 0; ring < 3; ++ring) {
        const int w = shot.Width(), h = shot.Height();
        for (int x = ring; x < w - ring; ++x) {
            EXPECT_EQ(shot.PixelRGB(x, ring), ref.PixelRGB(x, ring)) << "hot top ring " << ring << " x " << x;
            EXPECT_EQ(shot.PixelRGB(x, h - 1 - ring), ref.PixelRGB(x, h - 1 - ring)) << "hot bottom ring " << ring;
        }
    }
    EXPECT_EQ(shot.PixelRGB(0, 0), SysRGB(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.PixelRGB(2, 2), window);
}

TEST(Edit97, HoverRule) {
    TEditForm f;
    f.Show();
    struct Case {
        const char* name;
        TWinControl* focus;
        bool hot;
    } cases[] = {
        {"another flat edit has the focus: stays flat", f.second, false},
        {"a button has the focus: sunken", f.button, true},
    };
    for (const Case& c : cases) {
        c.focus->SetFocus();
        SendMessageA(f.first->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_TRUE(f.first->MouseInControl()) << c.name;
        EXPECT_EQ(f.first->HotLook(), c.hot) << c.name;
        SendMessageA(f.first->Handle(), WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(f.first->HotLook()) << c.name << " (after leaving)";
    }
    f.first->SetEnabled(false);
    EXPECT_EQ(f.first->Color(), clBtnFace);
    f.first->SetEnabled(true);
    EXPECT_EQ(f.first->Color(), clWindow);
}

TEST(Edit97, DisabledBeforeItsWindowIsMadeShowsTheFaceColour) {
    TEditForm f;
    f.second->SetEnabled(false);
    f.second->SetText("user@domain.com");
    f.Show();
    EXPECT_EQ(f.second->Color(), clBtnFace);
    TBitmap shot;
    Snapshot(*f.second, shot);
    // The text area's background, right of the text.
    EXPECT_EQ(shot.PixelRGB(shot.Width() - 2, shot.Height() / 2), SysRGB(COLOR_BTNFACE));
    f.second->SetEnabled(true);
    EXPECT_EQ(f.second->Color(), clWindow);
}
