// The editor control in a proportional font ("Arial"): widths measured by the
// platform decide where characters are drawn, where clicks land and where
// lines wrap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoForm.h"

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
        if (i + 1 < pieces.size()) EXPECT_GT(ruler.Width(pieces[i] + "WWMW"), limit) << pieces[i];
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
