// The "use default" and "use system" colour flags of the settings, as the
// paint pass honours them (here without a window: system colours stay
// symbolic, 0x80000000 + index).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "MemoHarness.h"
#include "SM_Settings.h"
#include "SchemeTestUtil.h"

namespace {

TColor System(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
const int kButtonFace = 15, kWindow = 5, kWindowText = 8, kHighlight = 13, kHighlightText = 14;
const TColor kRed = 0x0000FF, kBlue = 0xFF0000, kPink = 0x8080FF, kMint = 0x80FF80, kSand = 0x80C0E0;

// One line "abcd" with style 3 on "cd", the gutter shown, a selection over
// "b", painted on a cell surface. Gutter 34, margin 2: text from x 36.
struct PaintCase {
    MemoHarness m;
    CellSurface s{8, 16};
    explicit PaintCase(const std::function<void(TSM_Settings&)>& set) {
        m.Core.InsertAtCaret("abcd");
        TLineNode* n = m.Core.Store().Head();
        n->Styles = new uint8_t[n->Len + 1]{0, 0, 3, 3, 0};
        TSM_Settings& st = m.Core.Settings();
        st.Options |= smoShowGutter;
        st.Styles[0].TextColor = kRed;
        st.Styles[0].BackColor = kBlue;
        st.Styles[3].TextColor = kPink;
        st.Styles[3].BackColor = kMint;
        st.SelTextColor = kSand;
        st.SelTextBack = kSand;
        set(st);
        m.Core.SetSelection(1, 2);
        m.Core.Paint(s);
    }
    CellSurface::Cell Char(int k) { return s.At(0, 36 + 8 * k); }
};

}  // namespace

TEST(SyntaxMemoPaint, UseDefaultFlagsChooseTheColours) {
    struct Row {
        const char* name;
        std::function<void(TSM_Settings&)> set;
        int k;                 // the character looked at (-1: the gutter, -2: the margin)
        TColor text, back;     // back only for the gutter and margin
    } const rows[] = {
        {"own colours", [](TSM_Settings&) {}, 0, kRed, kBlue},
        {"own selection", [](TSM_Settings&) {}, 1, kSand, kSand},
        {"style's own", [](TSM_Settings&) {}, 2, kPink, kMint},
        {"selection text: system", [](TSM_Settings& s) { s.SelTextUseDefaultText = 1; }, 1,
         System(kHighlightText), kSand},
        {"selection back: system", [](TSM_Settings& s) { s.SelTextUseDefaultBack = 1; }, 1, kSand,
         System(kHighlight)},
        {"style 0 text: system", [](TSM_Settings& s) { s.Styles[0].UseDefaultText = 1; }, 0, System(kWindowText),
         kBlue},
        {"style 0 back: system", [](TSM_Settings& s) { s.Styles[0].UseDefaultBack = 1; }, 0, kRed, System(kWindow)},
        {"style 3 text: style 0's", [](TSM_Settings& s) { s.Styles[3].UseDefaultText = 1; }, 2, kRed, kMint},
        {"style 3 back: style 0's", [](TSM_Settings& s) { s.Styles[3].UseDefaultBack = 1; }, 2, kPink, kBlue},
        {"style 3 both: system through style 0",
         [](TSM_Settings& s) {
             s.Styles[3].UseDefaultText = s.Styles[3].UseDefaultBack = 1;
             s.Styles[0].UseDefaultText = s.Styles[0].UseDefaultBack = 1;
         },
         2, System(kWindowText), System(kWindow)},
        {"gutter: own", [](TSM_Settings& s) { s.GutterColor = kMint; }, -1, 0, kMint},
        {"gutter: default, the button face", [](TSM_Settings& s) { s.GutterUseDefault = 1; }, -1, 0, System(kButtonFace)},
        {"margin: own", [](TSM_Settings& s) { s.MarginColor = kMint; }, -2, 0, kMint},
        {"margin: style 0's back", [](TSM_Settings& s) { s.MarginUseDefault = 1; }, -2, 0, kBlue},
        {"margin: system through style 0",
         [](TSM_Settings& s) { s.MarginUseDefault = s.Styles[0].UseDefaultBack = 1; }, -2, 0, System(kWindow)},
    };
    for (const Row& row : rows) {
        PaintCase p(row.set);
        if (row.k == -1) {
            EXPECT_EQ(p.s.FillAt(0, 5), row.back) << row.name;
        } else if (row.k == -2) {
            EXPECT_EQ(p.s.FillAt(0, 34), row.back) << row.name;
        } else {
            EXPECT_EQ(p.Char(row.k).text, row.text) << row.name;
            EXPECT_EQ(p.Char(row.k).back, row.back) << row.name;
        }
    }
}

// A scheme's bracketed star sets the flags; the editor paints by them while
// that highlighter's settings are in force.
TEST(SyntaxMemoPaint, SchemeStarsAskForTheDefaultColours) {
    std::string script = ReadFixture("ini.sch");
    size_t at = script.find("boundstates");
    ASSERT_NE(at, std::string::npos);
    script.insert(at,
                  "seltextcolor = [*] clRed\n"
                  "seltextback = [*] clRed\n"
                  "guttercolor = [*] clRed\n"
                  "margincolor = [*] clRed\n");
    TSchemeHighlighter h;
    h.CompileScript(script);
    TSM_Settings& st = h.LanguageSettings;
    EXPECT_EQ(st.SelTextUseDefaultText, 1);
    EXPECT_EQ(st.SelTextUseDefaultBack, 1);
    EXPECT_EQ(st.GutterUseDefault, 1);
    EXPECT_EQ(st.MarginUseDefault, 1);
    MemoHarness m;
    m.Core.SetActiveSettings(&st);
    m.Core.InsertAtCaret("key=value");
    st.Options |= smoShowGutter;
    m.Core.SetSelection(0, 3);
    CellSurface s(8, 16);
    m.Core.Paint(s);
    int left = m.Core.TextLeft();
    EXPECT_EQ(s.At(0, left).text, System(kHighlightText));
    EXPECT_EQ(s.At(0, left).back, System(kHighlight));
    EXPECT_EQ(s.FillAt(0, 0), System(kButtonFace));
    EXPECT_EQ(s.FillAt(0, left - 1), st.Styles[0].BackColor);
    m.Core.SetActiveSettings(nullptr);
}
