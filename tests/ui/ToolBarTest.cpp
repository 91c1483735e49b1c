// The toolbar clicked with the mouse on the platform's own toolbar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ComCtrls.h"
#include "ui/Form.h"

namespace {

RECT ButtonRect(TToolBar& bar, TToolButton& b) {
    RECT r{};
    SendMessageA(bar.Handle(), TB_GETRECT, b.Command(), reinterpret_cast<LPARAM>(&r));
    return r;
}

void Click(TToolBar& bar, TToolButton& b, int dx = 0) {
    const RECT r = ButtonRect(bar, b);
    const LPARAM at = MAKELPARAM(dx ? r.right - dx : (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, at);
}

void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// Closes a tracked menu as soon as it opens.
class TCloser : public TMenuHook {
public:
    bool MenuMessage(TMenu&, HWND, TMessage& m) override {
        if (m.Msg == WM_INITMENUPOPUP || m.Msg == WM_ENTERIDLE) {
            ++opened;
            EndMenu();
        }
        return false;
    }
    int opened = 0;
};

struct TBarForm : TForm {
    TBarForm() {
        SetBounds(0, 0, 500, 200);
        bar = new TToolBar(this);
        images = new TImageList(this, 16, 16);
        TBitmap b(16, 16);
        for (int i = 0; i < 4; ++i) images->AddMasked(b, clFuchsia());
        bar->SetImages(images);
        connect = bar->AddButton();
        connect->Key = "Connect";
        connect->Hint = "Connect.";
        connect->SetImageIndex(0);
        bar->AddButton(tbsSeparator);
        for (const char* k : {"Bin", "Asc", "Auto"}) {
            TToolButton* t = bar->AddButton(tbsCheck, true);
            t->Key = k;
            t->SetImageIndex(1);
        }
        view = bar->AddButton(tbsDropDown);
        view->Key = "View";
        view->SetImageIndex(2);
    }
    static TColor clFuchsia() { return 0xFF00FF; }
    TToolBar* bar;
    TImageList* images;
    TToolButton *connect, *view;
};

}  // namespace

TEST(ToolBar, ClicksReachTheButtonAndTheBar) {
    TBarForm f;
    f.bar->FindButton("Auto")->SetDown(true);
    f.Show();
    ASSERT_EQ(SendMessageA(f.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 6);
    std::vector<std::string> clicks;
    int own = 0;
    f.connect->OnClick = [&](TObject* s) { own += s == f.connect; };
    f.bar->OnButtonClick = [&](TObject*, TToolButton* b) { clicks.push_back(b->Key); };
    Click(*f.bar, *f.connect);
    EXPECT_EQ(own, 1);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], "Connect");

    // The transfer-mode group: exactly one is down.
    EXPECT_TRUE(f.bar->FindButton("Auto")->Down());
    Click(*f.bar, *f.bar->FindButton("Asc"));
    EXPECT_TRUE(f.bar->FindButton("Asc")->Down());
    EXPECT_FALSE(f.bar->FindButton("Auto")->Down());
    EXPECT_FALSE(f.bar->FindButton("Bin")->Down());
    EXPECT_EQ(clicks.back(), "Asc");

    f.connect->SetEnabled(false);
    Click(*f.bar, *f.connect);
    EXPECT_EQ(own, 1) << "a disabled button does nothing";
    f.bar->FindButton("Bin")->Click();
    EXPECT_TRUE(f.bar->FindButton("Bin")->Down());
    EXPECT_FALSE(f.bar->FindButton("Asc")->Down());
}

TEST(ToolBar, DropDownArrowShowsTheButtonMenu) {
    TBarForm f;
    auto* menu = new TPopupMenu(&f);
    auto* item = new TMenuItem(&f);
    item->SetCaption("Large icons");
    menu->Items()->Add(item);
    f.view->DropdownMenu = menu;
    f.Show();
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    TCloser closer;
    menu->AddHook(&closer);
    UINT_PTR timer = SetTimer(nullptr, 0, 3000, EndMenuLater);
    Click(*f.bar, *f.view, 3);  // on the arrow
    KillTimer(nullptr, timer);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent, f.bar);
    EXPECT_GE(closer.opened, 1);
}

TEST(ToolBar, EachButtonsHintIsAPartOfTheBarsHint) {
    TBarForm f;
    f.bar->Hint = "The toolbar";
    f.view->Hint = "Views";
    f.Show();
    // The application shows the tips; the control keeps none of its own.
    EXPECT_EQ(SendMessageA(f.bar->Handle(), TB_GETTOOLTIPS, 0, 0), 0);
    auto middle = [&](TToolButton* b) {
        const RECT r = ButtonRect(*f.bar, *b);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const RECT last = ButtonRect(*f.bar, *f.view);
    struct Case {
        const char* where;
        POINT at;
        const char* hint;
        int part;
    } cases[] = {
        {"a button with a hint", middle(f.connect), "Connect.", 0},
        {"the separator", middle(f.bar->Buttons(1)), "The toolbar", -1},
        {"a button without one", middle(f.bar->FindButton("Bin")), "The toolbar", -1},
        {"the drop-down button", middle(f.view), "Views", 5},
        {"beyond the buttons", POINT{last.right + 20, (last.top + last.bottom) / 2}, "The toolbar", -1},
    };
    for (const Case& c : cases) {
        int part = 99;
        EXPECT_EQ(f.bar->HintAt(c.at, part), c.hint) << c.where;
        EXPECT_EQ(part, c.part) << c.where;
    }
}

TEST(ToolBar, ImagesForgottenWhenTheirListGoes) {
    TBarForm f;
    f.Show();
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(f.bar->Handle(), TB_GETIMAGELIST, 0, 0)), f.images->Handle());
    delete f.images;
    EXPECT_EQ(f.bar->Images(), nullptr);
    EXPECT_EQ(SendMessageA(f.bar->Handle(), TB_GETIMAGELIST, 0, 0), 0);
    EXPECT_EQ(SendMessageA(f.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 6);
}
