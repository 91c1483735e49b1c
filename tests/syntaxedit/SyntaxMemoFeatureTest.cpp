// Block indent, named marks, gutter images, visible blanks, bookmarks by
// line and column, hyperlinks and hover, and loading and saving, on the
// editor without its window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MemoHarness.h"
#include "SM_Settings.h"
#include "Stream.h"
#include "SyntaxMemoErrors.h"
#include "SysUtils.h"

namespace {

const int32_t kUseTab = 0x800000, kShowWrapGlyph = 0x200000, kShowRMargin = 32768, kTitleAsFilename = 0x40000;

void Load(MemoHarness& m, const std::string& text, int32_t options = 0) {
    m.Core.Settings().Options = options;
    m.Core.Message(smmsg::SetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

// Records the gutter images and polylines a paint asks for.
class DecorSurface : public CellSurface {
public:
    DecorSurface() : CellSurface(8, 16) {}
    void GutterImage(int list, int index, int x, int y, int) override { Images.push_back({list, index, x, y}); }
    void Polyline(const int* xy, int points, TColor color) override {
        Lines.push_back(std::vector<int>(xy, xy + points * 2));
        LineColor = color;
    }
    std::vector<std::vector<int>> Images, Lines;
    TColor LineColor = -1;
};

// Makes style a hyperlink style and gives characters [from, to) of line it.
void LinkRun(MemoHarness& m, int32_t line, int from, int to, uint8_t style) {
    TStyleEntry link;
    link.Defined = 1;
    link.Hotspot = 1;
    m.Core.Settings().Styles[style] = link;
    TLineNode* n = m.Core.Store().LineAt(line);
    n->Styles = new uint8_t[n->Len]();
    for (int k = from; k < to; k++) n->Styles[k] = style;
}

}  // namespace

// ---- block indent

TEST(SyntaxMemoBlock, IndentAndUnindentTable) {
    struct Case {
        const char* name;
        std::string text;
        int32_t anchor, caret;
        bool indent;
        int32_t count;
        int32_t options;
        std::string expect;
        int32_t expectAnchor, expectCaret;
    };
    const Case cases[] = {
        {"two lines by 2", "ab\rcd\ref", 1, 4, true, 2, 0, "  ab\r  cd\ref", 3, 8},
        {"backwards keeps direction", "ab\rcd", 4, 1, true, 1, 0, " ab\r cd", 6, 2},
        {"TABs only with smoUseTAB", "ab\rcd", 0, 4, true, 1, kUseTab, "\tab\r\tcd", 0, 6},
        {"blanks without smoUseTAB", "ab", 0, 1, true, 2, 0, "  ab", 0, 3},
        {"empty selection: nothing", "ab", 1, 1, true, 2, 0, "ab", 1, 1},
        {"unindent blanks, TABs, hard spaces", "  ab\r\t cd\r\xA0 \xA0x", 0, 14, false, 2, 0, "ab\rcd\r\xA0x", 0, 8},
        {"unindent at most count", "    ab", 0, 6, false, 3, 0, " ab", 0, 3},
        {"unindent skips empty lines", "  a\r\r  b", 0, 8, false, 2, 0, "a\r\rb", 0, 4},
        {"start inside removed blanks stays ordered", "    ab", 2, 5, false, 4, 0, "ab", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoHarness m;
        Load(m, c.text, c.options);
        m.Core.SetSelection(c.anchor, c.caret);
        if (c.indent) m.Core.Message(SMM_INDENT, static_cast<uintptr_t>(c.count), 1);
        else m.Core.Message(SMM_UNINDENT, static_cast<uintptr_t>(c.count), 0);
        EXPECT_EQ(m.Text(), c.expect);
        EXPECT_EQ(m.Core.Anchor(), c.expectAnchor);
        EXPECT_EQ(m.Core.Caret(), c.expectCaret);
        EXPECT_EQ(m.Core.Store().CheckInvariants(), "");
    }
}

TEST(SyntaxMemoBlock, OneUndoStepMovesMarksAndUsesIndentStep) {
    MemoHarness m;
    Load(m, "ab\rcd\ref");
    TTextMark* mark = m.Core.Marks().Add(3, 5);  // "cd"
    m.Core.SetIndentStep(20);                    // ignored: 1..19
    EXPECT_EQ(m.Core.IndentStep(), 1);
    m.Core.SetIndentStep(3);
    m.Core.SetSelection(0, 4);
    m.Core.ExecuteCommand(caBLOCKIND);  // count 0: IndentStep
    EXPECT_EQ(m.Text(), "   ab\r   cd\ref");
    EXPECT_EQ(mark->Start, 9);
    EXPECT_EQ(mark->End, 11);
    m.Core.ExecuteCommand(caUNDO);
    EXPECT_EQ(m.Text(), "ab\rcd\ref");
    m.Core.SetSelection(0, 4);
    m.Core.ExecuteCommand(caBLOCKIND);
    m.Core.SetSelection(0, 10);
    m.Core.ExecuteCommand(caBLOCKUND);
    EXPECT_EQ(m.Text(), "ab\rcd\ref");
    m.Core.ExecuteCommand(caUNDO);
    EXPECT_EQ(m.Text(), "   ab\r   cd\ref");
    m.Core.ReadOnly = true;  // editing commands do nothing
    m.Core.SetSelection(0, 4);
    m.Core.ExecuteCommand(caBLOCKUND);
    EXPECT_EQ(m.Text(), "   ab\r   cd\ref");
}

// ---- named marks

TEST(SyntaxMemoMarks, EditsMoveShrinkAndFreeMarks) {
    struct Case {
        const char* name;
        bool insert;
        int32_t a, b;  // insert: offset, count; delete: [a, b)
        int32_t start, end;
        int32_t expectStart, expectEnd;  // -1: freed
    };
    const Case cases[] = {
        {"insert before moves", true, 1, 3, 4, 8, 7, 11},
        {"insert at start moves", true, 4, 2, 4, 8, 6, 10},
        {"insert inside grows", true, 5, 2, 4, 8, 4, 10},
        {"insert at end grows", true, 8, 2, 4, 8, 4, 10},
        {"insert after leaves", true, 9, 2, 4, 8, 4, 8},
        {"delete before moves back", false, 0, 2, 4, 8, 2, 6},
        {"delete after leaves", false, 8, 12, 4, 8, 4, 8},
        {"delete inside shrinks", false, 5, 7, 4, 8, 4, 6},
        {"delete over the end cuts, never inverts", false, 6, 12, 4, 8, 4, 6},
        {"delete over the start cuts", false, 2, 6, 4, 8, 2, 4},
        {"delete over all frees", false, 3, 9, 4, 8, -1, -1},
        {"delete exactly frees", false, 4, 8, 4, 8, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoHarness m;
        Load(m, "0123456789abcdef");
        std::vector<intptr_t> changed, freed;
        m.Core.Marks().OnChange = [&](intptr_t p) { changed.push_back(p); };
        m.Core.Marks().OnFree = [&](intptr_t p) { freed.push_back(p); };
        TTextMark* mark = m.Core.Marks().Add(c.start, c.end);
        if (c.insert) {
            m.Core.SetSelection(c.a, c.a);
            m.Core.InsertAtCaret(std::string(static_cast<size_t>(c.b), 'x'));
        } else {
            m.Core.SetSelection(c.a, c.b);
            m.Core.ReplaceSelection("", 0);
        }
        if (c.expectStart < 0) {
            EXPECT_EQ(m.Core.Marks().Count(), 0);
            ASSERT_EQ(freed.size(), 1u);
            EXPECT_EQ(freed[0], reinterpret_cast<intptr_t>(mark));
            continue;
        }
        EXPECT_EQ(mark->Start, c.expectStart);
        EXPECT_EQ(mark->End, c.expectEnd);
        bool moved = mark->Start != c.start || mark->End != c.end;
        EXPECT_EQ(changed.size(), moved ? 1u : 0u);
    }
}

TEST(SyntaxMemoMarks, FindOverlapKeepsStartOrder) {
    TTextMarks marks;
    TTextMark* b = marks.Add(10, 20);
    TTextMark* a = marks.Add(2, 4);
    TTextMark* c = marks.Add(30, 25);  // either order
    EXPECT_EQ(marks.First(), a);
    EXPECT_EQ(a->Next, b);
    EXPECT_EQ(c->Start, 25);
    EXPECT_EQ(marks.FindOverlap(0, 3), a);
    EXPECT_EQ(marks.FindOverlap(4, 10), nullptr);  // ends are exclusive
    EXPECT_EQ(marks.FindOverlap(15, 16), b);
    EXPECT_EQ(marks.FindOverlap(5, 26), b);
    EXPECT_EQ(marks.FindOverlap(21, 40), c);
    EXPECT_TRUE(marks.Remove(b));
    EXPECT_FALSE(marks.Remove(b));
    EXPECT_EQ(marks.Count(), 2);
}

TEST(SyntaxMemoMarks, PaintedAsZigzagOrByTheHandler) {
    MemoHarness m;
    Load(m, "hello world\rsecond");
    m.Core.Marks().Add(6, 11);  // "world"
    DecorSurface s;
    m.Core.Paint(s);
    ASSERT_EQ(s.Lines.size(), 1u);
    EXPECT_EQ(s.LineColor, 255);
    const std::vector<int>& z = s.Lines[0];
    int left = 2 + 6 * 8, right = 2 + 11 * 8;
    EXPECT_EQ(z[0], left);
    EXPECT_EQ(z[1], 15);  // the row's bottom - 1
    EXPECT_EQ(z[2], left + 3);
    EXPECT_EQ(z[3], 13);  // 2 pixels up
    EXPECT_LE(z[z.size() - 2], right);
    std::vector<int> rect;
    m.Core.OnDrawMark = [&](TDrawSurface&, TTextMark& mark, int l, int t, int r, int b) {
        rect = {mark.Start, l, t, r, b};
        return true;
    };
    DecorSurface s2;
    m.Core.Paint(s2);
    EXPECT_TRUE(s2.Lines.empty());
    EXPECT_EQ(rect, (std::vector<int>{6, left, 0, right, 16}));
}

// ---- gutter images and visible blanks

TEST(SyntaxMemoDecor, GutterImagesAndWrapGlyph) {
    MemoHarness m;
    Load(m, std::string(30, 'x') + "\rb\rc", smoShowGutter);
    m.Core.Store().CutLine(0, 20);  // a continuation piece on row 1
    m.Core.Store().LineAt(2)->GutterMarks |= 1 << 3 | 1 << 7;
    m.Core.Store().LineAt(3)->LineMarks = 4 | 8;
    DecorSurface s;
    m.Core.Paint(s);
    // The lowest bookmark bit, and the lowest line mark at x 17.
    EXPECT_EQ(s.Images, (std::vector<std::vector<int>>{{0, 3, 1, 32}, {1, 2, 17, 48}}));
    m.Core.Settings().Options |= kShowWrapGlyph;
    DecorSurface s2;
    m.Core.Paint(s2);
    ASSERT_EQ(s2.Images.size(), 3u);
    EXPECT_EQ(s2.Images[0], (std::vector<int>{2, 0, 1, 16}));
    m.Core.Settings().Options &= ~smoShowGutter;  // no gutter: no images
    DecorSurface s3;
    m.Core.Paint(s3);
    EXPECT_TRUE(s3.Images.empty());
}

TEST(SyntaxMemoDecor, VisibleBlanksAndTabMarker) {
    MemoHarness m;
    Load(m, "a b\tc");
    m.Core.SetTabDefault(8);
    CellSurface plain(8, 16);
    m.Core.Paint(plain);
    EXPECT_EQ(plain.At(0, 2 + 8).ch, ' ');
    m.Core.Settings().Options |= smoShowBlanksBit;
    CellSurface s(8, 16);
    m.Core.Paint(s);
    std::string row;
    for (int col = 0; col < 9; col++) row += s.At(0, 2 + col * 8).ch;
    // The TAB fills columns 3..7; its middle cell carries the marker.
    EXPECT_EQ(row, std::string("a.b  ") + kTabMarker + "  c");
}

// ---- bookmarks by line and column

TEST(SyntaxMemoBookmarks, SetToggleReplaceAndGoto) {
    MemoHarness m;
    Load(m, "first line\rsecond\r\rlast");
    std::vector<int> set;
    m.Core.OnBookmarkSet = [&](int n) { set.push_back(n); };
    m.Core.SetBookmarkAt(5, 2, 3);
    m.Core.SetBookmarkAt(3, 2, 4);  // replaces 5 on that line
    EXPECT_EQ(m.Core.Store().LineAt(1)->GutterMarks, 1 << 3);
    EXPECT_EQ(m.Core.BookmarkLine(5), -1);
    m.Core.GotoBookmark(3);
    EXPECT_EQ(m.Core.Caret(), 11 + 3);
    m.Core.SetBookmarkAt(3, 2, 9);  // on the same line: off
    EXPECT_EQ(m.Core.BookmarkLine(3), -1);
    EXPECT_EQ(set, (std::vector<int>{5, 3}));
    m.Core.SetBookmarkAt(1, 2, 50);  // past the line's end: before its last character
    m.Core.GotoBookmark(1);
    EXPECT_EQ(m.Core.Caret(), 11 + 6);
    m.Core.SetBookmarkAt(2, 3, 5);  // an empty line: its start
    m.Core.GotoBookmark(2);
    EXPECT_EQ(m.Core.Caret(), 18);
    EXPECT_THROW(m.Core.SetBookmarkAt(10, 1, 1), ESyntaxMemo);
    try {
        m.Core.GotoBookmark(10);
        FAIL();
    } catch (const ESyntaxMemo& e) {
        EXPECT_EQ(e.Message(), "Bookmark index range error");
    }
}

// ---- hover and hyperlinks

TEST(SyntaxMemoHover, CursorMarginAndHyperlinks) {
    MemoHarness m;
    Load(m, "see http://x.y/z now\rshort\r" + std::string(30, 'q'), kShowRMargin | smoSyntaxHighlight);
    m.Core.Settings().RightMargin = 12;
    LinkRun(m, 0, 4, 16, 5);
    const int32_t kHand = -21;
    auto at = [&](int col, int row) { return m.Core.HoverAt(2 + col * 8 + 3, row * 16 + 5, kHand, true); };
    EXPECT_EQ(at(2, 0).Cursor, -4);  // plain text: the I-beam
    EXPECT_TRUE(at(6, 0).Hyperlink);
    EXPECT_EQ(at(6, 0).Cursor, kHand);
    EXPECT_TRUE(at(12, 1).Margin);  // the margin line past a short line
    EXPECT_TRUE(at(12, 1).RightMargin);
    EXPECT_EQ(at(12, 1).Cursor, -14);
    EXPECT_FALSE(at(12, 2).Margin);  // a long line hides it
    EXPECT_EQ(m.Core.HoverAt(1, 5, kHand, true).Cursor, 0);  // left of the text
    m.Core.SetSelection(21, 24);
    EXPECT_EQ(at(1, 1).Cursor, -2);   // over a selection that can be dragged
    EXPECT_EQ(m.Core.HoverAt(2 + 8 + 3, 21, kHand, false).Cursor, -4);
    std::string text;
    uint8_t style = 0;
    ASSERT_TRUE(m.Core.HyperlinkAt(9, text, style));
    EXPECT_EQ(text, "http://x.y/z");
    EXPECT_EQ(style, 5);
    EXPECT_FALSE(m.Core.HyperlinkAt(2, text, style));
}

TEST(SyntaxMemoHover, HyperlinkRunCrossesWrappedPieces) {
    MemoHarness m;
    Load(m, "go http://a.b/cdef x", smoSyntaxHighlight);
    LinkRun(m, 0, 3, 18, 7);
    m.Core.Store().CutLine(0, 10);  // "go http://" "a.b/cdef x"
    std::string text;
    uint8_t style = 0;
    ASSERT_TRUE(m.Core.HyperlinkAt(12, text, style));
    EXPECT_EQ(text, "http://a.b/cdef");
    ASSERT_TRUE(m.Core.HyperlinkAt(4, text, style));
    EXPECT_EQ(text, "http://a.b/cdef");
}

// ---- streams and files

TEST(SyntaxMemoFiles, SaveFormatsAndLoadReplacesEverything) {
    struct Case {
        TSaveFormat format;
        std::string expect;
    };
    const Case cases[] = {
        {sfTEXT, "a<b&\r\nc"},
        {sfUNIX, "a<b&\nc"},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        Load(m, "a<b&\rc");
        m.Core.SaveFormat = c.format;
        TMemoryStream out;
        m.Core.SaveToStream(out);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())), c.expect);
    }
    MemoHarness m;
    Load(m, "x < y & z");
    m.Core.SetSelection(2, 3);
    for (TSaveFormat f : {sfHTML, sfRTF}) {
        m.Core.SaveFormat = f;
        TMemoryStream out;
        m.Core.SaveToStream(out);
        std::string s(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
        if (f == sfHTML) EXPECT_NE(s.find("x &lt; y &amp; z\r\n"), std::string::npos) << s;
        else EXPECT_NE(s.find("x < y & z\r\n}}"), std::string::npos) << s;
    }
    EXPECT_EQ(m.Core.Anchor(), 2);  // the selection is kept
    EXPECT_EQ(m.Core.Caret(), 3);

    m.Core.SetSelection(0, 0);
    m.Core.InsertAtCaret("typed ");
    EXPECT_TRUE(m.Core.Undo().CanUndo());
    TMemoryStream in;
    in.Write("new\r\ntext\r", 10);  // ends in a lone CR: read to the end, no hang
    in.SetPosition(0);
    m.Core.LoadFromStream(in);
    EXPECT_EQ(m.Text(), "new\rtext\r");
    EXPECT_FALSE(m.Core.Undo().CanUndo());  // loading is not undone
    EXPECT_EQ(m.Core.Caret(), 0);
    EXPECT_FALSE(m.Core.Loading());
    EXPECT_EQ(m.Core.Store().CheckInvariants(), "");
}

TEST(SyntaxMemoFiles, FilesRoundTripAndTheMissingFileError) {
    std::string name = testing::TempDir() + "memo_roundtrip.txt";
    MemoHarness m;
    Load(m, "one\rtwo", kTitleAsFilename);
    m.Core.SaveToFile(name);
    EXPECT_EQ(m.Core.FileName(), name);
    MemoHarness r;
    Load(r, "old");
    r.Core.LoadFromFile(name);
    EXPECT_EQ(r.Text(), "one\rtwo");
    EXPECT_EQ(r.Core.FileName(), "");  // kept only with smoTitleAsFilename
    std::remove(name.c_str());
    std::string missing = testing::TempDir() + "no_such_memo_file.txt";
    try {
        r.Core.LoadFromFile(missing);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "File '" + missing + "' cannot be opened for reading");
    }
    EXPECT_EQ(r.Text(), "one\rtwo");  // nothing lost
}
