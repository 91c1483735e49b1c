// Combo boxes, list boxes, radio buttons, group boxes and memos driven by
// their own windows' messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/core/SysUtils.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

std::string ComboText(HWND combo, int i) {
    char buf[256] = {};
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::string ListText(HWND list, int i) {
    char buf[256] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

// As the combo box tells its parent.
void Notify(TWinControl& c, WORD code) {
    SendMessageA(c.Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(c.Handle()));
}

void ClickItem(TListBox& list, int i, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    RECT r{};
    SendMessageA(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 3, (r.top + r.bottom) / 2);
    SendMessageA(list.Handle(), down, MK_LBUTTON, at);
    SendMessageA(list.Handle(), up, 0, at);
}

class TItemData : public TObject {
public:
    explicit TItemData(int v) : Value(v) {}
    int Value;
};

struct TListForm : TForm {
    TListForm() {
        SetBounds(0, 0, 400, 300);
        combo = new TComboBox(this);
        combo->SetBounds(8, 8, 150, 21);
        list = new TListBox(this);
        list->SetBounds(8, 40, 150, 120);
        group = new TGroupBox(this);
        group->SetCaption("Mode");
        group->SetBounds(170, 8, 150, 90);
        for (int i = 0; i < 3; ++i) {
            radios[i] = new TRadioButton(group);
            radios[i]->SetCaption(std::string("Option ") + char('A' + i));
            radios[i]->SetBounds(8, 20 + i * 20, 120, 17);
        }
        memo = new TMemo(this);
        memo->SetBounds(170, 110, 200, 100);
    }
    TComboBox* combo;
    TListBox* list;
    TGroupBox* group;
    TRadioButton* radios[3];
    TMemo* memo;
};

}  // namespace

TEST(ComboBox, ItemsBeforeTheWindowAndChoiceByTheList) {
    TListForm f;
    f.combo->Items().Add("/home/user");
    f.combo->Items().Add("/pub");
    f.combo->SetItemIndex(1);
    ASSERT_FALSE(f.combo->HandleAllocated());
    f.Show();
    HWND h = f.combo->Handle();
    ASSERT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ComboText(h, 0), "/home/user");
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    EXPECT_EQ(f.combo->Text(), "/pub");

    std::vector<std::string> events;
    f.combo->OnClick = [&](TObject*) { events.push_back("click " + f.combo->Text()); };
    f.combo->OnSelect = [&](TObject*) { events.push_back("select"); };
    f.combo->OnChange = [&](TObject*) { events.push_back("change"); };
    SendMessageA(h, CB_SETCURSEL, 0, 0);
    Notify(*f.combo, CBN_SELCHANGE);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], "click /home/user");
    EXPECT_EQ(events[1], "select");
    EXPECT_EQ(f.combo->ItemIndex(), 0);
    // Setting the index is silent.
    events.clear();
    f.combo->SetItemIndex(1);
    f.combo->SetItemIndex(7);
    EXPECT_EQ(f.combo->ItemIndex(), -1) << "an index out of range selects nothing";
    EXPECT_TRUE(events.empty());
}

TEST(ComboBox, KeysInItsEditReachTheComboBox) {
    TListForm f;
    f.Show();
    std::string typed;
    int changes = 0;
    f.combo->OnChange = [&](TObject*) { ++changes; };
    f.combo->OnKeyPress = [&](TObject*, char& k) {
        typed += k;
        if (k == '\r') k = 0;  // Enter runs a command and is swallowed
    };
    HWND edit = FindWindowExA(f.combo->Handle(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    for (char c : std::string("/etc\r")) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(typed, "/etc\r");
    EXPECT_EQ(f.combo->Text(), "/etc");
    EXPECT_EQ(changes, 4) << "CBN_EDITCHANGE for every typed character";
}

TEST(ComboBox, ItemsAndChoiceSurviveANewStyle) {
    TListForm f;
    f.combo->Items().SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig"}) f.combo->Items().Add(s);
    f.Show();
    f.combo->SetItemIndex(2);
    f.combo->SetStyle(csDropDownList);
    HWND h = f.combo->Handle();
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    ASSERT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ComboText(h, 0), "Apple");
    EXPECT_EQ(ComboText(h, 2), "pear");
    EXPECT_EQ(f.combo->ItemIndex(), 2);
    f.combo->Items().Delete(0);
    EXPECT_EQ(ComboText(h, 0), "fig");
    EXPECT_EQ(f.combo->Items().IndexOf("PEAR"), 1);
}

TEST(ListBox, ClicksSelectAndDoubleClickOpens) {
    TListForm f;
    TItemData a(10), b(20);
    f.list->Items().AddObject("readme.txt", &a);
    f.list->Items().AddObject("index.html", &b);
    f.Show();
    int clicks = 0, opens = 0;
    f.list->OnClick = [&](TObject*) { ++clicks; };
    f.list->OnDblClick = [&](TObject*) { ++opens; };
    ClickItem(*f.list, 1);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(f.list->ItemIndex(), 1);
    EXPECT_EQ(static_cast<TItemData*>(f.list->Items().Objects(f.list->ItemIndex()))->Value, 20);
    EXPECT_TRUE(f.list->Selected(1));
    EXPECT_EQ(f.list->SelCount(), 1);
    ClickItem(*f.list, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(opens, 1) << "one OnDblClick per double click";
    EXPECT_THROW(f.list->Selected(5), Exception);
    f.list->Items().SetStrings(0, "changed.txt");
    EXPECT_EQ(ListText(f.list->Handle(), 0), "changed.txt");
    EXPECT_EQ(f.list->Items().Objects(0), &a);
}

TEST(ListBox, MultiSelectKeepsItemsAndCountsTheSelection) {
    TListForm f;
    f.list->Items().SetText("a.txt\r\nb.txt\r\nc.txt\r\n");
    f.Show();
    f.list->SetMultiSelect(true);
    HWND h = f.list->Handle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & LBS_EXTENDEDSEL);
    ASSERT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 3);
    f.list->SetSelected(0, true);
    SendMessageA(h, LB_SETSEL, TRUE, 2);
    EXPECT_EQ(f.list->SelCount(), 2);
    EXPECT_TRUE(f.list->Selected(2));
    EXPECT_FALSE(f.list->Selected(1));
    f.list->Items().Clear();
    EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(f.list->SelCount(), 0);
}

TEST(RadioButton, OneOfAGroupIsChecked) {
    TListForm f;
    f.radios[0]->SetChecked(true, true);
    f.Show();
    std::vector<int> clicked;
    for (int i = 0; i < 3; ++i) f.radios[i]->OnClick = [&clicked, i](TObject*) { clicked.push_back(i); };
    SendMessageA(f.radios[2]->Handle(), BM_CLICK, 0, 0);  // reflected through the group box
    EXPECT_TRUE(f.radios[2]->Checked());
    EXPECT_FALSE(f.radios[0]->Checked());
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], 2);
    f.radios[1]->SetChecked(true);
    EXPECT_FALSE(f.radios[2]->Checked());
    EXPECT_EQ(clicked.back(), 1);
}

TEST(GroupBox, FrameAndCaptionArePainted) {
    TListForm f;
    f.Show();
    UpdateWindow(f.Handle());
    TBitmap shot(f.group->Width(), f.group->Height());
    HDC dc = GetDC(f.group->Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(f.group->Handle(), dc);
    const uint32_t inside = shot.PixelRGB(shot.Width() / 2, shot.Height() - 10);
    EXPECT_NE(shot.PixelRGB(0, shot.Height() / 2), inside) << "left edge of the frame";
    EXPECT_NE(shot.PixelRGB(shot.Width() / 2, shot.Height() - 1), inside) << "bottom edge";
}

TEST(Memo, LinesRoundTripAndReadOnly) {
    TListForm f;
    TStringList lines;
    lines.SetText("USER anonymous\r\n331 Password required\r\n230 Logged in");
    f.memo->SetLines(lines);
    f.Show();
    HWND h = f.memo->Handle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(SendMessageA(h, EM_GETLINECOUNT, 0, 0), 3);
    f.memo->AddLine("PWD");
    TStringList back = f.memo->Lines();
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back.Strings(1), "331 Password required");
    EXPECT_EQ(back.Strings(3), "PWD");
    f.memo->SetScrollBars(ssVertical);
    h = f.memo->Handle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(f.memo->Lines().Count(), 4) << "text kept when the window is made again";
    f.memo->SetReadOnly(true);
    SendMessageA(h, WM_CHAR, 'x', 0);
    EXPECT_EQ(f.memo->Lines().Strings(3), "PWD");
}

TEST(Edit, APasswordCharSetBeforeTheWindowMasksFromTheStart) {
    struct Case {
        const char* when;
        bool beforeWindow;
        char passwordChar;
        bool masked;
    } cases[] = {
        {"set before the window", true, '*', true},
        {"set after it", false, '*', true},
        {"another character", true, '#', true},
        {"none", true, 0, false},
    };
    for (const Case& c : cases) {
        TForm f;
        auto* pass = new TEdit(&f);
        pass->SetText("secret");
        if (c.beforeWindow) pass->SetPasswordChar(c.passwordChar);
        f.Show();
        if (!c.beforeWindow) pass->SetPasswordChar(c.passwordChar);
        const LONG style = GetWindowLongA(pass->Handle(), GWL_STYLE);
        EXPECT_EQ((style & ES_PASSWORD) != 0, c.masked) << c.when;
        EXPECT_EQ(SendMessageA(pass->Handle(), EM_GETPASSWORDCHAR, 0, 0), static_cast<unsigned char>(c.passwordChar))
            << c.when;
        EXPECT_EQ(pass->PasswordChar(), c.passwordChar) << c.when;
        EXPECT_EQ(pass->Text(), "secret") << c.when;
    }
    // Taken off again, the text shows.
    TForm f;
    auto* pass = new TEdit(&f);
    pass->SetPasswordChar('*');
    f.Show();
    pass->SetPasswordChar(0);
    EXPECT_EQ(SendMessageA(pass->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST(ListBox, AMultiSelectListAskedBeforeItsFormHasAWindowKeepsItsChoiceAndMakesNoWindow) {
    TListForm f;
    f.list->SetMultiSelect(true);
    f.list->Items().SetText("a.txt\r\nb.txt\r\nc.txt\r\n");
    // Asked and chosen while the form is still being built, as a dialog's constructor does.
    EXPECT_FALSE(f.list->Selected(1));
    EXPECT_EQ(f.list->SelCount(), 0);
    f.list->SetSelected(1, true);
    f.list->SetSelected(2, true);
    f.list->SetSelected(2, false);
    EXPECT_TRUE(f.list->Selected(1));
    EXPECT_EQ(f.list->SelCount(), 1);
    EXPECT_FALSE(f.list->HandleAllocated()) << "the list's window came before its form's";
    EXPECT_FALSE(f.HandleAllocated());
    // Controls made after that still get their windows with the form.
    auto* late = new TButton(&f);
    late->SetBounds(8, 220, 75, 25);
    f.Show();
    EXPECT_TRUE(late->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(late->Handle()));
    HWND h = f.list->Handle();
    EXPECT_EQ(SendMessageA(h, LB_GETSEL, 1, 0), 1) << "the choice reached the window";
    EXPECT_EQ(SendMessageA(h, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(f.list->SelCount(), 1);
    // The form paints and is done.
    EXPECT_TRUE(qftest::PumpUntil([&] { return !GetUpdateRect(f.Handle(), nullptr, FALSE); }, 3000));
    // Emptied before its window, the list keeps no choice for items that are gone.
    TListForm g;
    g.list->SetMultiSelect(true);
    g.list->Items().SetText("x\r\ny\r\n");
    g.list->SetSelected(0, true);
    g.list->Clear();
    g.list->Items().SetText("p\r\nq\r\n");
    g.Show();
    EXPECT_EQ(g.list->SelCount(), 0);
}
