// The control's highlighter slots: attaching, switching the settings in
// force, removal, and a highlighter colouring the window's text as it is typed.
#include <gtest/gtest.h>

#include <set>

#include "SlotParsers.h"
#include "SyntaxMemo.h"
#include "SyntaxMemoSlots.h"
#include "runtime/core/SysUtils.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace {

const TColor kNavy = 0x800000, kTeal = 0x808000;

uint32_t Rgb(TColor c) {
    COLORREF v = ColorToRGB(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

struct SlotForm {
    SlotForm() {
        form.SetBounds(0, 0, 460, 260);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, 420, 200);
        form.Show();
    }
    void SetText(const char* text) { memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    void Type(const std::string& s) {
        for (char c : s) memo->Perform(WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    // The colours of the cells [col0, col1) of a row, as painted into a DIB.
    std::set<uint32_t> Cells(int row, int col0, int col1) {
        RECT r;
        GetClientRect(memo->Handle(), &r);
        bmp.SetSize(r.right, r.bottom);
        memo->PaintTo(bmp.Canvas().Handle());
        int cw = memo->Core().CharWidth(), lh = memo->Core().LineHeight(), left = memo->Core().TextLeft();
        std::set<uint32_t> out;
        for (int y = row * lh; y < (row + 1) * lh; y++)
            for (int x = left + col0 * cw; x < left + col1 * cw; x++) out.insert(bmp.PixelRGB(x, y));
        return out;
    }
    bool AnyStyles() {
        for (TLineNode* n = memo->Core().Store().Head(); n; n = n->Next)
            if (n->Styles) return true;
        return false;
    }
    TForm form;
    TSyntaxMemo* memo;
    TBitmap bmp;
};

}  // namespace

TEST(SyntaxMemoSlots, KeywordsTakeTheirStyleColourAsTheUserTypes) {
    SlotForm f;
    f.SetText("int x = 1;\r\n\r\nx");
    TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
    f.memo->SetParser(1, p);
    ASSERT_EQ(p->LanguageSettings().Styles[2].TextColor, kNavy);
    // "int" in the keyword's navy, "x" and "1" not.
    EXPECT_TRUE(f.Cells(0, 0, 3).count(Rgb(kNavy)));
    EXPECT_FALSE(f.Cells(0, 4, 5).count(Rgb(kNavy)));
    EXPECT_TRUE(f.Cells(0, 8, 9).count(Rgb(kTeal)));
    // Typed on the empty line: the keyword colours as soon as it is complete.
    f.memo->Perform(EM_SETSEL, 11, 11);
    f.Type("whil");
    EXPECT_FALSE(f.Cells(1, 0, 4).count(Rgb(kNavy)));
    f.Type("e (x) return;");
    EXPECT_TRUE(f.Cells(1, 0, 5).count(Rgb(kNavy)));
    EXPECT_FALSE(f.Cells(1, 6, 8).count(Rgb(kNavy)));
    EXPECT_TRUE(f.Cells(1, 10, 16).count(Rgb(kNavy)));
    // Highlighting switched off: plain black on white.
    f.memo->SetOptions(f.memo->Options() & ~smoSyntaxHighlight);
    EXPECT_EQ(f.Cells(0, 0, 3), (std::set<uint32_t>{0, 0xFFFFFF}));
}

TEST(SyntaxMemoSlots, ActiveSlotDecidesTheSettingsInForce) {
    SlotForm f;
    TSyntaxMemoCore& core = f.memo->Core();
    TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
    f.memo->SetParser(2, p);
    EXPECT_EQ(p->Editors().size(), 1u);
    EXPECT_EQ(f.memo->Parser(2), p);
    EXPECT_EQ(&core.Settings(), &core.OwnSettings());  // slot 1 is active and empty
    f.memo->SetActiveParser(2);
    EXPECT_EQ(&core.Settings(), &p->LanguageSettings());
    EXPECT_EQ(f.memo->ActiveParserObject(), p);
    // The same component again: still attached once, still in force.
    f.memo->SetParser(2, p);
    EXPECT_EQ(p->Editors().size(), 1u);
    EXPECT_EQ(&core.Settings(), &p->LanguageSettings());
    for (int bad : {0, 7, -1}) {
        EXPECT_THROW(f.memo->SetActiveParser(bad), Exception) << bad;
        EXPECT_EQ(f.memo->ActiveParser(), 2);
    }
    // Removing the active highlighter empties its slot and puts the own settings back.
    delete p;
    EXPECT_EQ(f.memo->Parser(2), nullptr);
    EXPECT_EQ(&core.Settings(), &core.OwnSettings());
}

TEST(SyntaxMemoSlots, EmptySlotMeansNoStyles) {
    SlotForm f;
    f.SetText("int a;\r\nreturn a;");
    TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
    f.memo->SetParser(1, p);
    EXPECT_TRUE(f.AnyStyles());
    f.memo->SetParser(1, nullptr);
    EXPECT_EQ(p->Editors().size(), 0u);
    EXPECT_FALSE(f.AnyStyles());
    f.memo->Perform(EM_SETSEL, 0, 0);
    f.Type("int ");
    f.Cells(0, 0, 1);
    EXPECT_FALSE(f.AnyStyles());
}

TEST(SyntaxMemoSlots, LoadingAttachesInLoadedAndAGoneControlIsForgotten) {
    TForm owner;
    TSyntaxMemoParser* p = NewSchemeParser(&owner, "clike.sch");
    {
        SlotForm f;
        f.SetText("int a;");
        f.memo->Slots().Loading = true;
        f.memo->SetParser(1, p);
        EXPECT_EQ(p->Editors().size(), 0u);
        EXPECT_FALSE(f.AnyStyles());
        f.memo->Loaded();
        EXPECT_EQ(p->Editors().size(), 1u);
        EXPECT_TRUE(f.AnyStyles());
        EXPECT_EQ(f.memo->Core().Undo().Modified(), false);
    }
    // The control went first: the highlighter no longer lists it.
    EXPECT_EQ(p->Editors().size(), 0u);
}
