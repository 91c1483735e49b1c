// The editor control in a proportional font ("Arial"): widths measured by the
// platform decide where characters are drawn, where clicks land and where
// lines wrap.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "MemoForm.h"
#include "TestSupport.h"

namespace {

// Widths of text measured independently of the control, in a font made from
// the same description.
class Ruler {
public:
    explicit Ruler(TSyntaxMemo& memo) : dc_(CreateCompatibleDC(nullptr)) {
        font_ = CreateFontA(memo.Font().Height(), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, memo.Font().Name().c_str());
        old_ = SelectObject(dc_, font_);
    }
    ~Ruler() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    int Width(const std::string& s) {
        SIZE size{};
        GetTextExtentPoint32A(dc_, s.data(), static_cast<int>(s.size()), &size);
        return size.cx;
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

struct ArialMemo : MemoForm {
    ArialMemo() {
        memo->Font().SetName("Arial");
        Drain();
    }
    int32_t CaretAfterClick(int x, int y) {
        PostMessageA(memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Drain();
        return memo->Core().Caret();
    }
};

}  // namespace

TEST(SyntaxMemoWindowProportional, ClicksAndPointsFollowTheMeasuredWidths) {
    ArialMemo f;
    ASSERT_FALSE(f.memo->Core().FixedPitch()) << "Arial measured as fixed pitch";
    const std::string text = "Wim lW iiii WWW";
    f.memo->SetText(text);
    Ruler ruler(*f.memo);
    int lh = f.memo->Core().LineHeight();
    for (size_t k = 0; k < text.size(); k++) {
        int left = 2 + ruler.Width(text.substr(0, k)), right = 2 + ruler.Width(text.substr(0, k + 1));
        LRESULT pos = f.memo->Perform(EM_POSFROMCHAR, 0, static_cast<LPARAM>(k));
        EXPECT_EQ(static_cast<short>(LOWORD(pos)), left) << k;
        // Left of a character's middle the caret goes before it, right of it after it.
        int mid2 = left + right;  // twice the middle
        if (right - left >= 2) {
            EXPECT_EQ(f.CaretAfterClick((mid2 - 1) / 2, lh / 2), static_cast<int32_t>(k)) << k;
            EXPECT_EQ(f.CaretAfterClick(mid2 / 2 + 1, lh / 2), static_cast<int32_t>(k + 1)) << k;
        }
    }
}

TEST(SyntaxMemoWindowProportional, WrapsAtAPixelWidth) {
    ArialMemo f;
    f.memo->Core().SetWrapAtColumn(20);
    f.memo->SetWordWrap(true);
    int limit = 20 * f.memo->Core().CharWidth();
    Ruler ruler(*f.memo);
    std::string narrow;
    for (int i = 0; i < 8; i++) narrow += "iil ";
    std::string wide;
    for (int i = 0; i < 8; i++) wide += "WWMW ";
    ASSERT_LE(ruler.Width(narrow), limit);  // 32 narrow characters fit in 20 columns
    f.memo->SetText(narrow + "\r\n" + wide);
    TTextStore& st = f.memo->Core().Store();
    EXPECT_EQ(st.CheckInvariants(), "");
    std::vector<std::string> pieces;
    for (TLineNode* n = st.Head(); n; n = n->Next) pieces.emplace_back(n->Text, n->Len - (n->EndsWithCR() ? 1 : 0));
    ASSERT_GE(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], narrow);
    std::string joined;
    for (size_t i = 1; i < pieces.size(); i++) {
        EXPECT_LE(ruler.Width(pieces[i]), limit) << pieces[i];
        // Each piece is as long as fits: the next word would not.
        if (i + 1 < pieces.size()) {
            EXPECT_GT(ruler.Width(pieces[i] + "WWMW"), limit) << pieces[i];
        }
        joined += pieces[i];
    }
    EXPECT_EQ(joined, wide);
}

TEST(SyntaxMemoWindowProportional, SelectionCoversExactlyTheMeasuredRun) {
    ArialMemo f;
    f.memo->Core().HideSelection = false;
    f.memo->SetText("Wim iW lll");
    f.memo->Perform(EM_SETSEL, 1, 4);  // "im "
    f.Snap();
    Ruler ruler(*f.memo);
    int from = 2 + ruler.Width("W"), to = 2 + ruler.Width("Wim ");
    uint32_t hl = Rgb(SysColor(COLOR_HIGHLIGHT));
    int lh = f.memo->Core().LineHeight(), first = -1, last = -1;
    for (int x = 0; x < f.bmp.Width(); x++)
        for (int y = 0; y < lh; y++)
            if (f.bmp.PixelRGB(x, y) == hl) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    EXPECT_EQ(first, from);
    EXPECT_EQ(last, to - 1);
    // The text after the selection starts where the selection ends.
    EXPECT_EQ(f.bmp.PixelRGB(to, 0), 0xFFFFFFu);
}

TEST(SyntaxMemoWindowProportional, NarrowTextReachesTheRightEdge) {
    // Three hundred narrow characters: far more than 1.5 times the average
    // widths that fit, so the cut at the edge has to measure.
    ArialMemo f;
    f.memo->Core().HideSelection = false;
    f.memo->SetText(std::string(300, 'i') + "\r\nnext");
    f.memo->Core().SetSelection(300, 0);  // the first line; the caret at its start keeps it unscrolled
    f.Snap();
    uint32_t hl = Rgb(SysColor(COLOR_HIGHLIGHT));
    int lh = f.memo->Core().LineHeight(), right = f.bmp.Width() - 1;
    EXPECT_EQ(f.bmp.PixelRGB(right, 0), hl);
    EXPECT_EQ(f.RowColours(0, right - 20, right + 1).count(0), 0u) << "unpainted pixels at the edge";
    EXPECT_EQ(f.bmp.PixelRGB(right, lh), 0xFFFFFFu);
}

TEST(SyntaxMemoWindowProportional, ScrollBarAndDragReachTheEndOfAWideLine) {
    ArialMemo f;
    const int kLen = 150;
    f.memo->SetText(std::string(kLen, 'W') + "\r\nnext");
    HWND h = f.memo->Handle();
    f.memo->Perform(EM_SETSEL, 0, 0);
    Drain();
    RECT r;
    GetClientRect(h, &r);
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    Ruler ruler(*f.memo);
    int wide = ruler.Width("W");
    ASSERT_GT(wide, cw);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(h, SB_HORZ, &si));
    // A column range of the line's length would end before its last "W"s.
    EXPECT_GT(si.nMax, kLen);
    // The thumb dragged to the end of the bar.
    SetScrollPos(h, SB_HORZ, 100000, FALSE);
    PostMessageA(h, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    Drain();
    EXPECT_EQ(f.memo->Core().LeftCol(), si.nMax - static_cast<int>(si.nPage) + 1);
    int endX = static_cast<short>(LOWORD(f.memo->Perform(EM_POSFROMCHAR, 0, kLen)));
    EXPECT_LE(endX + cw, r.right);
    EXPECT_GE(endX, r.right - cw - wide - 1);
    // The last "W" is drawn and nothing after it.
    f.Snap();
    EXPECT_GT(f.RowColours(0, endX - wide, endX).size(), 1u);
    EXPECT_EQ(f.RowColours(0, endX + 1, r.right), (std::set<uint32_t>{0xFFFFFFu}));

    // A drag ends when the control loses the focus; a run in which something
    // took it away is repeated.
    bool lost = false;
    std::optional<qftest::ForeignActivation> watch;
    qftest::RetryWhileDisturbed([&] {
        watch.reset();
        watch.emplace();
        lost = false;
        f.memo->SetFocus();
        Drain();
        // Back to the start, then a selection dragged past the right edge.
        SetScrollPos(h, SB_HORZ, 0, FALSE);
        PostMessageA(h, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
        Drain();
        ASSERT_EQ(f.memo->Core().LeftCol(), 0);
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, lh / 2));
        Drain();
        if (GetFocus() != h) lost = true;
        for (int move = 1; move <= 6; move++) {
            PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 30, lh / 2));
            Drain();
            if (GetFocus() != h) lost = true;
            // One column a move, the caret's cell inside the right edge.
            EXPECT_EQ(f.memo->Core().LeftCol(), move);
            int32_t caret = f.memo->Core().Caret();
            int x = static_cast<short>(LOWORD(f.memo->Perform(EM_POSFROMCHAR, 0, caret)));
            EXPECT_LE(x + cw, r.right) << move;
            EXPECT_GT(x + cw + wide, r.right) << move;
        }
        PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(r.right + 30, lh / 2));
        Drain();
        EXPECT_EQ(f.memo->Core().Anchor(), 0);
        EXPECT_GT(f.memo->Core().Caret(), 6);
    }, [&] { return lost || GetFocus() != h || watch->Taken(); });
}
