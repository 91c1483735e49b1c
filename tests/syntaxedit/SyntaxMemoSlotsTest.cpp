// The control's highlighter slots: attaching, switching the settings in
// force, removal, and a highlighter colouring the window's text as it is typed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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
    ASSERT_EQ(StyleTextColor(SettingsOf(p), 2), kNavy);
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

TEST(SyntaxMemoSlots, OnTokenSeenOfTheControlSeesEachTokenAndMayChangeIt) {
    SlotForm f;
    f.SetText("int x;");
    struct Seen {
        TObject* sender;
        int32_t token, start, end;
        std::string text;
    };
    std::vector<Seen> seen;
    f.memo->SetWantTokenText(true);
    f.memo->OnTokenSeen = [&](TObject* Sender, int32_t& TokenValue, int32_t ExtentStart, int32_t ExtentEnd) {
        seen.push_back({Sender, TokenValue, ExtentStart, ExtentEnd, ExtentStart >= 0 ? f.memo->TokenText() : ""});
        if (TokenValue == 2) TokenValue = 5;  // "int" drawn as a comment
    };
    f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front().token, -1);
    EXPECT_EQ(seen.front().start, -1);
    EXPECT_EQ(seen.back().token, -2);
    EXPECT_EQ(seen.back().end, -2);
    bool sawInt = false;
    for (const Seen& s : seen) {
        EXPECT_EQ(s.sender, f.memo);
        sawInt = sawInt || (s.token == 2 && s.start == 0 && s.end == 3 && s.text == "int");
    }
    EXPECT_TRUE(sawInt);
    const TLineNode* line = f.memo->Core().Store().Head();
    ASSERT_NE(line->Styles, nullptr);
    EXPECT_EQ(line->Styles[0], 5);
    EXPECT_EQ(line->Styles[2], 5);
}

TEST(SyntaxMemoSlots, ActiveSlotDecidesTheSettingsInForce) {
    SlotForm f;
    TSyntaxMemoCore& core = f.memo->Core();
    TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
    f.memo->SetParser(2, p);
    EXPECT_EQ(EditorCount(p), 1);
    EXPECT_EQ(f.memo->Parser(2), p);
    EXPECT_EQ(&core.Settings(), &core.OwnSettings());  // slot 1 is active and empty
    f.memo->SetActiveParser(2);
    EXPECT_EQ(&core.Settings(), SettingsOf(p));
    EXPECT_EQ(f.memo->ActiveParserObject(), p);
    // The same component again: still attached once, still in force.
    f.memo->SetParser(2, p);
    EXPECT_EQ(EditorCount(p), 1);
    EXPECT_EQ(&core.Settings(), SettingsOf(p));
    for (int bad : {0, 7, -1}) {
        EXPECT_THROW(f.memo->SetActiveParser(bad), Exception) << bad;
        EXPECT_EQ(f.memo->ActiveParser(), 2);
    }
    // Removing the active highlighter empties its slot and puts the own settings back.
    FreeParser(p);
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
    EXPECT_EQ(EditorCount(p), 0);
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
        EXPECT_EQ(EditorCount(p), 0);
        EXPECT_FALSE(f.AnyStyles());
        f.memo->Loaded();
        EXPECT_EQ(EditorCount(p), 1);
        EXPECT_TRUE(f.AnyStyles());
        EXPECT_EQ(f.memo->Core().Undo().Modified(), false);
    }
    // The control went first: the highlighter no longer lists it.
    EXPECT_EQ(EditorCount(p), 0);
}

namespace {

const TColor kGreen = 0x008000;

// n lines of plain code: a keyword first on every line.
std::string LongCode(int n) {
    std::string s;
    for (int i = 0; i < n; i++) s += "int v" + std::to_string(i) + " = " + std::to_string(i) + ";\r\n";
    return s;
}

uint8_t FirstStyle(TSyntaxMemo* memo, int line) {
    TLineNode* n = memo->Core().Store().LineAt(line);
    return n && n->Styles ? n->Styles[0] : 255;
}

}  // namespace

// A comment opened at the top of a long text: with lazy highlighting the far
// lines wait until they are painted, and are right once they are.
TEST(SyntaxMemoSlots, LazyHighlightingIsRightOnEveryPaintedLine) {
    const int kComment = 6, kKeyword = 2;
    for (bool lazy : {true, false}) {
        SCOPED_TRACE(lazy ? "lazy" : "at once");
        SlotForm f;
        f.memo->SetLazyMode(lazy);
        std::string text = LongCode(3000);
        f.SetText(text.c_str());
        TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
        f.memo->SetParser(1, p);
        // Lazily only about a page is done before the first paint.
        EXPECT_EQ(lazy ? 255 : kKeyword, FirstStyle(f.memo, 1500));
        f.Cells(0, 0, 1);
        f.memo->Perform(SMM_TOPLINE, 1, 1500);
        EXPECT_TRUE(f.Cells(0, 0, 3).count(Rgb(kNavy)));
        EXPECT_EQ(kKeyword, FirstStyle(f.memo, 1500));

        f.memo->Perform(SMM_TOPLINE, 1, 0);
        f.memo->Perform(EM_SETSEL, 0, 0);
        f.Type("/*");
        EXPECT_EQ(lazy ? kKeyword : kComment, FirstStyle(f.memo, 1500));
        EXPECT_EQ(kComment, FirstStyle(f.memo, 5));
        // Scrolled down and painted: the visible lines are in the comment.
        f.memo->Perform(SMM_TOPLINE, 1, 1500);
        std::set<uint32_t> row = f.Cells(0, 0, 3);
        EXPECT_TRUE(row.count(Rgb(kGreen)));
        EXPECT_FALSE(row.count(Rgb(kNavy)));
        int last = 1500 + f.memo->Core().VisibleLines() - 1;
        EXPECT_EQ(kComment, FirstStyle(f.memo, last));
        // Lines never painted keep waiting.
        EXPECT_EQ(!lazy, FirstStyle(f.memo, 2900) == kComment);
    }
}

// The colour and layout setters repaint through the highlighter: fonts made
// again only when a font's style changed, the text highlighted anew only
// when asked, the restyle-all flag back afterwards.
TEST(SyntaxMemoSlots, SettersRepaintThroughTheHighlighter) {
    struct Case {
        const char* Name;
        std::function<void(TSyntaxMemo*)> Set;
        bool Fonts, Restyle;
    };
    const Case cases[] = {
        {"def_TextColor", [](TSyntaxMemo* m) { m->Setdef_TextColor(0x0000FF); }, false, false},
        {"def_BackColor", [](TSyntaxMemo* m) { m->Setdef_BackColor(0xEEEEEE); }, false, false},
        {"def_FontStyle", [](TSyntaxMemo* m) { m->Setdef_FontStyle(1); }, true, false},
        {"Gutter", [](TSyntaxMemo* m) { m->SetGutter(40); }, false, false},
        {"GutterColor", [](TSyntaxMemo* m) { m->SetGutterColor(0x00FF00); }, false, false},
        {"everything", [](TSyntaxMemo* m) { m->RepaintThroughHighlighter(true, true); }, true, true},
    };
    for (bool withParser : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (withParser ? " with a highlighter" : " without"));
            SlotForm f;
            f.SetText("int a;\r\nreturn a;");
            TSyntaxMemoParser* p = withParser ? NewSchemeParser(&f.form, "clike.sch") : nullptr;
            if (p) f.memo->SetParser(1, p);
            f.Cells(0, 0, 1);
            // A style byte no highlighter would give shows whether the text was highlighted anew.
            TLineNode* first = f.memo->Core().Store().Head();
            if (p) first->Styles[0] = 99;
            std::vector<bool> seen;
            f.memo->OnChange = [&](TObject*) { seen.push_back(f.memo->Core().RestyleAll); };
            int fonts = StyleFontsMadeDuring([&] { c.Set(f.memo); });
            EXPECT_EQ(c.Fonts, fonts > 0) << fonts;
            ASSERT_FALSE(seen.empty());
            EXPECT_EQ(c.Restyle, seen.front());
            EXPECT_TRUE(f.memo->Core().RestyleAll);
            if (p) {
                EXPECT_EQ(c.Restyle ? 2 : 99, first->Styles[0]);
            }
        }
    }
}

// At design time every accepted change of these properties tells the form
// designer once; refused or unchanged values and run time say nothing. A form
// being designed raises no change events.
TEST(SyntaxMemoSlots, DesignerHearsOfEachChangeAtDesignTime) {
    struct Case {
        const char* Name;
        std::function<void(TSyntaxMemo*)> Set, Refused;
    };
    const Case cases[] = {
        {"GutterColor", [](TSyntaxMemo* m) { m->SetGutterColor(0x00FF00); }, nullptr},
        {"MarginColor", [](TSyntaxMemo* m) { m->SetMarginColor(0xCCCCCC); }, nullptr},
        {"SelTextColor", [](TSyntaxMemo* m) { m->SetSelTextColor(0x00FFFF); }, nullptr},
        {"SelTextBack", [](TSyntaxMemo* m) { m->SetSelTextBack(0x800000); }, nullptr},
        {"TabColumns", [](TSyntaxMemo* m) { m->SetTabColumns("5 9"); },
         [](TSyntaxMemo* m) { EXPECT_THROW(m->SetTabColumns("9 5"), Exception); }},
        {"TabDefault", [](TSyntaxMemo* m) { m->SetTabDefault(8); },
         [](TSyntaxMemo* m) { EXPECT_THROW(m->SetTabDefault(0), Exception); }},
        {"IndentStep", [](TSyntaxMemo* m) { m->SetIndentStep(4); }, [](TSyntaxMemo* m) { m->SetIndentStep(25); }},
        {"WrapAtColumn", [](TSyntaxMemo* m) { m->SetWrapAtColumn(60); }, nullptr},
        {"WrapOverride", [](TSyntaxMemo* m) { m->SetWrapOverride("-;"); }, nullptr},
        {"Margin", [](TSyntaxMemo* m) { m->SetMargin(3); }, [](TSyntaxMemo* m) { m->SetMargin(500); }},
        {"Parser1", [](TSyntaxMemo* m) { m->SetParser(1, NewSchemeParser(m->Owner(), "clike.sch")); }, nullptr},
        {"ActiveParser", [](TSyntaxMemo* m) { m->SetActiveParser(2); },
         [](TSyntaxMemo* m) { EXPECT_THROW(m->SetActiveParser(7), Exception); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (bool designing : {false, true}) {
            SlotForm f;
            f.memo->SetWordWrap(true);
            f.memo->Designing = designing;
            int told = 0;
            f.memo->OnDesignerModified = [&](TObject* sender) {
                EXPECT_EQ(f.memo, sender);
                told++;
            };
            int changes = 0;
            f.memo->OnChange = [&](TObject*) { changes++; };
            if (c.Refused) c.Refused(f.memo);
            EXPECT_EQ(0, told);
            c.Set(f.memo);
            EXPECT_EQ(designing ? 1 : 0, told);
            // The same value again is no change (a parser slot is set anew each time).
            if (std::string(c.Name).find("Parser") == std::string::npos) {
                c.Set(f.memo);
                EXPECT_EQ(designing ? 1 : 0, told);
            }
            // Nor does the change notice reach the form's handlers then.
            f.Type("x");
            EXPECT_EQ(designing, changes == 0) << changes;
        }
    }
}

// The font: the highlighter's when it is attached; after that the control's,
// copied into the highlighter's settings and taken by its other controls.
TEST(SyntaxMemoSlots, FontMasterBetweenControlAndHighlighter) {
    SlotForm f;
    TSyntaxMemo* other = new TSyntaxMemo(&f.form);
    other->SetBounds(0, 200, 420, 60);
    f.SetText("int x = 1;");
    TSyntaxMemoParser* p = NewSchemeParser(&f.form, "clike.sch");
    TSM_Settings* s = SettingsOf(p);
    SetFontOf(s, "Arial", 14);
    // A font set before attaching stays the control's only till then.
    f.memo->Font().SetName("Times New Roman");
    EXPECT_EQ(FontNameOf(&f.memo->Core().OwnSettings()), "Times New Roman");
    f.memo->SetParser(1, p);
    other->SetParser(1, p);
    for (TSyntaxMemo* m : {f.memo, other}) {
        EXPECT_EQ(m->Font().Name(), "Arial");
        EXPECT_EQ(m->Font().Size(), 14);
    }
    int32_t arialHeight = other->Core().LineHeight();
    f.memo->Font().SetName("Courier New");
    f.memo->Font().SetSize(9);
    EXPECT_EQ(FontNameOf(s), "Courier New");
    EXPECT_EQ(FontSizeOf(s), 9);
    EXPECT_EQ(FontCharsetOf(s), DEFAULT_CHARSET);
    EXPECT_EQ(other->Font().Name(), "Courier New");
    EXPECT_EQ(other->Font().Size(), 9);
    EXPECT_EQ(other->Core().LineHeight(), f.memo->Core().LineHeight());
    EXPECT_LT(other->Core().LineHeight(), arialHeight);
    EXPECT_TRUE(other->Core().FixedPitch());
    // Restyled: the keyword still navy.
    EXPECT_TRUE(f.Cells(0, 0, 3).count(Rgb(kNavy)));
    // A setting changed afterwards keeps the control's font.
    f.memo->SetMargin(6);
    EXPECT_EQ(f.memo->Font().Name(), "Courier New");
    EXPECT_EQ(f.memo->Font().Size(), 9);
}

// Without a highlighter the control's own settings follow its font, so that
// a later settings notice does not take the old one back.
TEST(SyntaxMemoSlots, OwnSettingsFollowTheControlsFont) {
    SlotForm f;
    f.memo->Font().SetName("Arial");
    f.memo->Font().SetSize(12);
    f.memo->SetTabDefault(8);
    f.memo->Perform(SMM_SETTINGSCHANGED, 0, 0);
    EXPECT_EQ(f.memo->Font().Name(), "Arial");
    EXPECT_EQ(f.memo->Font().Size(), 12);
    EXPECT_EQ(FontNameOf(&f.memo->Core().OwnSettings()), "Arial");
    // Settings that name another font give it to the control.
    SetFontOf(&f.memo->Core().OwnSettings(), "Courier New", 12);
    f.memo->Perform(SMM_SETTINGSCHANGED, 0, 0);
    EXPECT_EQ(f.memo->Font().Name(), "Courier New");
    EXPECT_TRUE(f.memo->Core().FixedPitch());
}

TEST(SyntaxMemoSlots, HighlightFromALineOnRequest) {
    const int kKeyword = 2;
    SlotForm f;
    EXPECT_EQ(f.memo->Perform(SMM_HIGHLIGHTFROM, 0, 0), 0);  // no highlighter: nothing waits
    f.memo->SetLazyMode(true);
    std::string text = LongCode(3000);
    f.SetText(text.c_str());
    f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
    TTextStore& store = f.memo->Core().Store();
    auto* waiting = reinterpret_cast<TLineNode*>(f.memo->Perform(SMM_HIGHLIGHTFROM, 0, 0));
    ASSERT_NE(waiting, nullptr);
    int index = 0;
    for (TLineNode* n = store.Head(); n && n != waiting; n = n->Next) index++;
    EXPECT_LT(index, 1500);
    EXPECT_EQ(255, FirstStyle(f.memo, 1500));
    // A node of another text is ignored; a line of this one is done at once.
    TLineNode stranger;
    f.memo->Perform(SMM_HIGHLIGHTFROM, 1, reinterpret_cast<LPARAM>(&stranger));
    EXPECT_EQ(255, FirstStyle(f.memo, 1500));
    f.memo->Perform(SMM_HIGHLIGHTFROM, 1, reinterpret_cast<LPARAM>(store.LineAt(1500)));
    EXPECT_EQ(kKeyword, FirstStyle(f.memo, 1500));
}

namespace {

// Every line's style bytes, one line per row ("-" for none).
std::string AllStyles(TSyntaxMemo* memo) {
    std::string out;
    for (TLineNode* n = memo->Core().Store().Head(); n; n = n->Next) {
        if (!n->Styles) out += "-";
        else
            for (int i = 0; i < n->Len; i++) out += static_cast<char>('A' + n->Styles[i]);
        out += '\n';
    }
    return out;
}

// The selection written by SMM_GETSELTEXT in a format (2 RTF, 4 HTML).
std::string SelectedAs(TSyntaxMemo* memo, int flags) {
    intptr_t n = memo->Perform(SMM_GETSELTEXT, flags, 0);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    memo->Perform(SMM_GETSELTEXT, flags, reinterpret_cast<LPARAM>(&s[0]));
    s.resize(static_cast<size_t>(n));
    return s;
}

}  // namespace

// Every run the printout draws, one per row: "x,y fg|text".
class PrintRunsSurface : public TDrawSurface {
public:
    void FillRect(int, int, int, int, TColor) override {}
    void TextRun(int x, int y, const char* text, int count, TColor fg, TColor, int) override {
        Runs += std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(fg) + "|" +
                std::string(text, static_cast<size_t>(count)) + "\n";
    }
    std::string Runs;
};

// The printout too: a lazy pass's leftovers are highlighted before the
// pages are drawn, so they come out as a full pass's.
TEST(SyntaxMemoSlots, LazyPrintoutEqualsAFullPass) {
    const int kComment = 6;
    const std::string text = LongCode(3000);
    auto print = [&](bool lazy) {
        SlotForm f;
        f.memo->SetLazyMode(lazy);
        f.SetText(text.c_str());
        f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
        f.Cells(0, 0, 1);
        f.memo->Perform(EM_SETSEL, 0, 0);
        f.Type("/*");
        EXPECT_EQ(lazy, FirstStyle(f.memo, 2900) != kComment) << lazy;
        f.memo->Perform(EM_SETSEL, 0, -1);
        f.memo->SetOptions(f.memo->Options() & ~smoPrintDate);  // the clock would differ
        PrintRunsSurface page;
        int pages = 1;
        f.memo->Core().PrintSelection(page, 4000, 6000, [&] { pages++; });
        EXPECT_EQ(kComment, FirstStyle(f.memo, 2900)) << lazy;
        EXPECT_GT(pages, 1) << lazy;
        return page.Runs;
    };
    std::string lazy = print(true), full = print(false);
    EXPECT_EQ(lazy, full);
    EXPECT_NE(full.find("int v2999 = 2999;"), std::string::npos);
}

// Writing the text with its highlighting (RTF, HTML, saving, copying) first
// completes what a lazy pass left for later: the result is a full pass's.
TEST(SyntaxMemoSlots, LazyExportEqualsAFullPass) {
    const int kComment = 6;
    const std::string text = LongCode(3000);
    struct Written {
        std::string rtf, html, saved, copied;
    };
    auto write = [&](bool lazy) {
        SlotForm f;
        f.memo->SetLazyMode(lazy);
        f.SetText(text.c_str());
        f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
        f.Cells(0, 0, 1);
        // A comment opened at the top runs through every line.
        f.memo->Perform(EM_SETSEL, 0, 0);
        f.Type("/*");
        EXPECT_EQ(lazy, FirstStyle(f.memo, 2900) != kComment) << lazy;
        Written w;
        f.memo->Perform(EM_SETSEL, 0, -1);
        w.rtf = SelectedAs(f.memo, 2);
        EXPECT_EQ(kComment, FirstStyle(f.memo, 2900)) << lazy;
        w.html = SelectedAs(f.memo, 4);
        TMemoryStream out;
        f.memo->SetSaveFormat(sfHTML);
        f.memo->SaveToStream(out);
        w.saved.assign(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
        return w;
    };
    Written lazy = write(true), full = write(false);
    EXPECT_EQ(lazy.rtf, full.rtf);
    EXPECT_EQ(lazy.html, full.html);
    EXPECT_EQ(lazy.saved, full.saved);
    EXPECT_NE(full.rtf.find("int v2999 = 2999;"), std::string::npos);

    // Copying: the clipboard's rich text too.
    SlotForm f;
    f.memo->SetLazyMode(true);
    f.SetText(text.c_str());
    f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
    f.Cells(0, 0, 1);
    f.memo->Perform(EM_SETSEL, 0, 0);
    f.Type("/*");
    ASSERT_NE(kComment, FirstStyle(f.memo, 2900));
    f.memo->Perform(EM_SETSEL, 0, -1);
    SendMessageA(f.memo->Handle(), WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::string copied;
    if (HANDLE r = GetClipboardData(RegisterClipboardFormatA("Rich Text Format"))) {
        copied.assign(static_cast<const char*>(GlobalLock(r)), GlobalSize(r));
        GlobalUnlock(r);
    }
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(copied.substr(0, full.rtf.size()), full.rtf);
}

// Lines edited while highlighting was off are highlighted once it is on
// again, whether through Options or through SMM_OPTIONS.
TEST(SyntaxMemoSlots, HighlightingSwitchedOnAgainRestylesEveryLine) {
    const int kKeyword = 2;
    const char* text = "int a;\r\nint b;\r\nint c;";
    SlotForm fresh;
    fresh.SetText("int a;\r\nwhile int b;\r\nint c;");
    fresh.memo->SetParser(1, NewSchemeParser(&fresh.form, "clike.sch"));
    for (bool byMessage : {false, true}) {
        SCOPED_TRACE(byMessage ? "SMM_OPTIONS" : "Options");
        SlotForm f;
        f.SetText(text);
        f.memo->SetParser(1, NewSchemeParser(&f.form, "clike.sch"));
        ASSERT_EQ(kKeyword, FirstStyle(f.memo, 1));
        int32_t on = f.memo->Options(), off = on & ~smoSyntaxHighlight;
        auto set = [&](int32_t word) {
            if (byMessage) f.memo->Perform(SMM_OPTIONS, 1, word);
            else f.memo->SetOptions(word);
        };
        set(off);
        f.memo->Perform(EM_SETSEL, 7, 7);  // the second line's start (a line end counts one)
        f.Type("while ");
        EXPECT_EQ(255, FirstStyle(f.memo, 1));
        set(on);
        EXPECT_EQ(kKeyword, FirstStyle(f.memo, 1));
        EXPECT_EQ(AllStyles(fresh.memo), AllStyles(f.memo));
        EXPECT_TRUE(f.Cells(1, 0, 5).count(Rgb(kNavy)));
    }
}
