// Both filter dialogs driven through their real windows under the scripted runner.
#include <gtest/gtest.h>

#include "ScriptedModalRunner.h"
#include "WindowDriver.h"
#include "masks/BasicListView.h"
#include "masks/FilterDialog.h"
#include "masks/core/MaskCollection.h"

namespace {
MaskCollection ThreeMasks() {
    MaskCollection c;
    c.Add("Link", "", 1, 0, 1, 3, false, false, -1);
    c.Add("Frame", "", 1, 0, 1, 3, false, true, -1);  // hidden
    c.Add("Link Image", "Link", 2, 1, 1, 2, false, false, 1);
    return c;
}

std::string Describe(const std::vector<FilterBlock>& filters) {
    std::string s;
    for (const FilterBlock& b : filters) {
        s += "[";
        for (const FilterItem& c : b) s += (c.FlagNot ? "!" : "") + c.Name + "#" + std::to_string(c.Index) + " ";
        s += "]";
    }
    return s;
}

TFilterDialog& D(TForm& f) { return static_cast<TFilterDialog&>(f); }
TAddFilterMaskDialog& A(TForm& f) { return static_cast<TAddFilterMaskDialog&>(f); }

// The caption, the enabled buttons (Previous, Next, Add, Remove mask) and the rows.
std::string View(TFilterDialog& d) {
    auto on = [](TWinControl* c, char letter) { return IsWindowEnabled(c->Handle()) ? letter : '-'; };
    std::string s = d.Caption() + " " + on(d.cbPrevious, 'P') + on(d.cbNext, 'N') + on(d.cbAdd, 'A') +
                    on(d.cbRemoveMask, 'R') + " :";
    for (int32_t r = 1; r <= BasicListView::RowCount(*d.lvFilter); ++r)
        s += " " + BasicListView::RowText(*d.lvFilter, r) + "/" + BasicListView::SubItem(*d.lvFilter, r, 1) + "/" +
             std::to_string(BasicListView::RowTag(*d.lvFilter, r));
    return s;
}

// Picks offered row `row` in the add dialog, ticks Not as asked and ends with OK.
TScriptedModalRunner::Script AddRow(int32_t row, bool flagNot, std::vector<std::string>* offered = nullptr) {
    return [=](TForm& f) {
        TAddFilterMaskDialog& a = A(f);
        if (offered)
            for (int32_t r = 1; r <= BasicListView::RowCount(*a.lvMasks); ++r)
                offered->push_back(BasicListView::RowText(*a.lvMasks, r) + "#" +
                                   std::to_string(BasicListView::RowTag(*a.lvMasks, r)));
        EXPECT_FALSE(a.cbNot->Checked()) << "unchecked at every show";
        BasicListView::SelectRow(*a.lvMasks, row);
        if (flagNot) Click(*a.cbNot);
        Click(*a.cbOk);
    };
}
}  // namespace

TEST(FilterDialogWindow, ButtonSequenceAndOkRebuildsExactly) {
    TScriptedModalRunner runner;
    const MaskCollection masks = ThreeMasks();
    TAddFilterMaskDialog add;
    TFilterDialog dialog(add);
    std::vector<std::string> offered;
    runner.Expect("dlgFilter", [&](TForm& f) {
        TFilterDialog& d = D(f);
        EXPECT_EQ("Filter 0 of 0 ---- :", View(d));
        Click(*d.cbNew);
        EXPECT_EQ("Filter 1 of 1 --AR :", View(d));
        Click(*d.cbAdd);
        EXPECT_EQ("Filter 1 of 1 --AR : Not/Link Image/3", View(d));
        Click(*d.cbNew);
        EXPECT_EQ("Filter 2 of 2 P-AR :", View(d));
        Click(*d.cbAdd);
        Click(*d.cbNew);
        Click(*d.cbPrevious);
        EXPECT_EQ("Filter 2 of 3 PNAR : /Link/1", View(d));
        Click(*d.cbNext);
        EXPECT_EQ("Filter 3 of 3 P-AR :", View(d));
        Click(*d.cbOk);
    });
    runner.Expect("dlgAddFilterMask", AddRow(2, true, &offered));
    runner.Expect("dlgAddFilterMask", AddRow(1, false));
    std::vector<FilterBlock> filters;
    EXPECT_TRUE(EditFilter(dialog, filters, masks));
    EXPECT_EQ((std::vector<std::string>{"Link#1", "Link Image#3"}), offered) << "no hidden mask, true indices";
    EXPECT_EQ("[!Link Image#3 ][Link#1 ][]", Describe(filters));
    EXPECT_TRUE(runner.AllUsed());
}

TEST(FilterDialogWindow, CancelAndTheCloseBoxChangeNothing) {
    TScriptedModalRunner runner;
    const MaskCollection masks = ThreeMasks();
    TAddFilterMaskDialog add;
    TFilterDialog dialog(add);
    std::vector<FilterBlock> filters(2);
    filters[0].Add(1, "Link", false);
    filters[1].Add(3, "Link Image", true);
    const std::string before = Describe(filters);

    // An OK first, so a stale Ok would show in the uses after it.
    runner.Expect("dlgFilter", [](TForm& f) { Click(*D(f).cbOk); });
    EXPECT_TRUE(EditFilter(dialog, filters, masks));
    EXPECT_EQ(before, Describe(filters));

    runner.Expect("dlgFilter", [](TForm& f) {
        TFilterDialog& d = D(f);
        EXPECT_EQ("Filter 1 of 2 -NAR : /Link/1", View(d));
        Click(*d.cbRemove);
        Click(*d.cbCancel);
    });
    EXPECT_FALSE(EditFilter(dialog, filters, masks));
    EXPECT_EQ(before, Describe(filters));

    runner.Expect("dlgFilter", [](TForm& f) {
        Click(*D(f).cbRemove);
        PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(EditFilter(dialog, filters, masks)) << "the close box is Cancel";
    EXPECT_EQ(before, Describe(filters));
}

TEST(FilterDialogWindow, AddDialogClosedByItsBoxAddsNothing) {
    TScriptedModalRunner runner;
    const MaskCollection masks = ThreeMasks();
    TAddFilterMaskDialog add;
    TFilterDialog dialog(add);
    runner.Expect("dlgFilter", [](TForm& f) {
        TFilterDialog& d = D(f);
        Click(*d.cbNew);
        Click(*d.cbAdd);  // OK
        Click(*d.cbAdd);  // close box after the OK
        Click(*d.cbAdd);  // Cancel
        EXPECT_EQ("Filter 1 of 1 --AR : /Link/1", View(d));
        Click(*d.cbOk);
    });
    runner.Expect("dlgAddFilterMask", AddRow(1, false));
    runner.Expect("dlgAddFilterMask", [](TForm& f) {
        BasicListView::SelectRow(*A(f).lvMasks, 2);
        PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
    });
    runner.Expect("dlgAddFilterMask", [](TForm& f) {
        BasicListView::SelectRow(*A(f).lvMasks, 2);
        Click(*A(f).cbCancel);
    });
    std::vector<FilterBlock> filters;
    EXPECT_TRUE(EditFilter(dialog, filters, masks));
    EXPECT_EQ("[Link#1 ]", Describe(filters));
}

// With two conditions on one mask, Remove takes the selected row.
TEST(FilterDialogWindow, RemoveMaskTakesTheSelectedRow) {
    TScriptedModalRunner runner;
    const MaskCollection masks = ThreeMasks();
    TAddFilterMaskDialog add;
    TFilterDialog dialog(add);
    std::vector<FilterBlock> filters(1);
    filters[0].Add(1, "Link", false);
    filters[0].Add(1, "Link", true);
    runner.Expect("dlgFilter", [](TForm& f) {
        TFilterDialog& d = D(f);
        Click(*d.cbRemoveMask);  // nothing selected: nothing removed
        BasicListView::SelectRow(*d.lvFilter, 2);
        Click(*d.cbRemoveMask);
        EXPECT_EQ("Filter 1 of 1 --AR : /Link/1", View(d));
        Click(*d.cbOk);
    });
    EXPECT_TRUE(EditFilter(dialog, filters, masks));
    EXPECT_EQ("[Link#1 ]", Describe(filters));
}
