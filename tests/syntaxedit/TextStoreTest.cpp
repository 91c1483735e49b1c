#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EdStream.h"
#include "FastMemoryStream.h"
#include "LineNode.h"
#include "SM_CharGroup.h"
#include "SyntaxMemoErrors.h"
#include "TextStore.h"

namespace {

// "Len" per node, "|" between nodes, "+" before a continuation piece.
std::string Layout(const TTextStore& s) {
    std::string out;
    for (TLineNode* n = s.Head(); n; n = n->Next) {
        if (n != s.Head()) out += (n->GutterMarks & gmContinuation) ? "+" : "|";
        out += std::to_string(n->Len);
    }
    return out;
}

// The store's invariants: links, counts, line ends, piece lengths.
void ExpectSound(TTextStore& s) {
    int32_t len = 0, lines = 0;
    TLineNode* prev = nullptr;
    for (TLineNode* n = s.Head(); n; n = n->Next) {
        ASSERT_EQ(n->Prev, prev);
        ASSERT_LE(n->Len, kMaxLinePiece);
        ASSERT_EQ(n->Text[n->Len], 0);
        if (n->Next) ASSERT_TRUE(n->EndsWithCR() || n->Next->GutterMarks & gmContinuation);
        else ASSERT_FALSE(n->EndsWithCR());
        len += n->Len;
        lines++;
        prev = n;
    }
    ASSERT_EQ(s.Tail(), prev);
    ASSERT_EQ(s.TextLength(), len);
    ASSERT_EQ(s.LineCount(), lines);
}

}  // namespace

TEST(TextStore, NodeLayouts) {
    struct Case {
        const char* text;
        const char* layout;
    } cases[] = {
        {"", ""},            // no nodes at all
        {"a", "1"},          // one node, no CR
        {"a\rb", "2|1"},     // a with its CR, then b
        {"a\r", "2|0"},      // a final CR is followed by an empty last line
        {"\r\r", "1|1|0"},
    };
    for (const Case& c : cases) {
        TTextStore s;
        s.InsertText(0, c.text);
        EXPECT_EQ(Layout(s), c.layout) << c.text;
        EXPECT_EQ(s.GetText(), c.text);
        ExpectSound(s);
    }
    TTextStore s;
    s.InsertText(0, "a\rbb\rc");
    TLineNode* third = s.Head()->Next->Next;
    EXPECT_EQ(LineStartOffset(third), 2 + 3);
    EXPECT_EQ(LineStartOffset(nullptr), 0);
    EXPECT_EQ(LineStartOffset(s.Head()), 0);
}

TEST(TextStore, NormalizeInsertText) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"x\r\ny\nz\rw", "x\ry\rz\rw"},  // CR LF, lone LF, lone CR
        {"a\n\rb", "a\rb"},              // LF CR is one break
        {"\r\n\r\n", "\r\r"},
        {"\n\r\n", "\r\r"},              // LF CR, then a lone LF
        {"\r\r", "\r\r"},
        {"bell\x07", "bell."},           // character 7, the last one included
        {std::string("a\0b", 3), "a.b"},
        {"t\tab\x7f\xe9", "t\tab\x7f\xe9"},  // TAB, 127 and 8-bit characters stay
    };
    for (const Case& c : cases) {
        char buf[32];
        int n = NormalizeInsertText(buf, c.in.data(), static_cast<int>(c.in.size()));
        EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), c.out);
        EXPECT_EQ(buf[n], 0);
    }
}

TEST(TextStore, LongLinesAreCutWithContinuationMark) {
    TTextStore s;
    s.InsertText(0, std::string(5000, 'x'));
    EXPECT_EQ(Layout(s), "2047+2047+906");
    ExpectSound(s);

    // A CR that would be character 2048 goes into a piece of its own.
    TTextStore t;
    t.InsertText(0, std::string(2047, 'y') + "\r" + "z");
    EXPECT_EQ(Layout(t), "2047+1|1");
    ExpectSound(t);

    // Typing into a full piece re-cuts it.
    TTextStore u;
    u.InsertText(0, std::string(2047, 'w'));
    u.InsertText(10, "v");
    EXPECT_EQ(Layout(u), "2047+1");
    EXPECT_EQ(u.GetText(10, 11), "v");
    ExpectSound(u);
}

TEST(TextStore, ColoursStayWithTheFirstPiece) {
    TTextStore s;
    s.InsertText(0, "abcd\rnext");
    TLineNode* first = s.Head();
    first->BackColor = 0x00FF00;
    first->TextColor = 0x0000FF;
    first->GutterMarks = 1;
    // One character at the end of the line: the line is rebuilt in place.
    s.InsertText(4, "e");
    EXPECT_EQ(s.Head()->BackColor, 0x00FF00);
    EXPECT_EQ(s.Head()->TextColor, 0x0000FF);
    EXPECT_TRUE(s.Head()->Flags & lfChanged);
    // A line break in the middle: only the first piece keeps colours and marks.
    s.InsertText(2, "X\rY");
    EXPECT_EQ(s.GetText(), "abX\rYcde\rnext");
    TLineNode* a = s.Head();
    EXPECT_EQ(a->BackColor, 0x00FF00);
    EXPECT_EQ(a->GutterMarks, 1);
    EXPECT_EQ(a->Next->BackColor, -1);
    EXPECT_EQ(a->Next->TextColor, -1);
    EXPECT_EQ(a->Next->GutterMarks, 0);
    ExpectSound(s);
    // Joining lines keeps the first line's colours.
    s.DeleteText(3, 5);
    EXPECT_EQ(s.GetText(), "abXcde\rnext");
    EXPECT_EQ(s.Head()->BackColor, 0x00FF00);
    ExpectSound(s);
}

TEST(TextStore, DeletingEverythingLeavesNoLines) {
    TTextStore s;
    s.InsertText(0, "one\rtwo\r");
    EXPECT_EQ(s.LineCount(), 3);
    s.DeleteText(s.TextLength(), 0);
    EXPECT_EQ(s.Head(), nullptr);
    EXPECT_EQ(s.LineCount(), 0);
    EXPECT_EQ(s.TextLength(), 0);
    // Deleting the last line's text keeps the empty line after the CR.
    s.InsertText(0, "a\rb");
    s.DeleteText(2, 3);
    EXPECT_EQ(Layout(s), "2|0");
    // Deleting the break before it joins the lines.
    s.DeleteText(1, 2);
    EXPECT_EQ(Layout(s), "1");
    ExpectSound(s);
}

TEST(TextStore, NodeLookups) {
    TTextStore s;
    s.InsertText(0, "ab\rcd\ref");
    int32_t start, index;
    EXPECT_EQ(s.NodeAtOffset(0, &start, &index), s.Head());
    EXPECT_EQ(s.NodeAtOffset(3, &start, &index)->Text, std::string("cd\r"));
    EXPECT_EQ(start, 3);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(s.NodeAtOffset(2, &start, &index), s.Head());  // the CR belongs to its line
    EXPECT_EQ(s.NodeAtOffset(8, &start, &index), s.Tail());  // the end of the text
    EXPECT_EQ(s.NodeAtOffset(999, &start, &index), s.Tail());
    int32_t walked;
    EXPECT_EQ(s.NodeAtLine(1000, &start, &walked), s.Tail());  // past the end: the last line
    EXPECT_EQ(walked, 2);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(s.NodeAtLine(0, &start, &walked), s.Head());
}

TEST(TextStore, RandomEditsMatchAPlainString) {
    std::mt19937 rng(7);
    TTextStore s;
    std::string model;
    const char alphabet[] = "abc \t\r";
    for (int step = 0; step < 3000; step++) {
        int32_t len = static_cast<int32_t>(model.size());
        if (rng() % 3 == 0 && len > 0) {
            int32_t a = static_cast<int32_t>(rng() % (len + 1)), b = static_cast<int32_t>(rng() % (len + 1));
            if (rng() % 4) b = std::min(len, a + static_cast<int32_t>(rng() % 30));
            s.DeleteText(a, b);
            model.erase(static_cast<size_t>(std::min(a, b)), static_cast<size_t>(std::abs(b - a)));
        } else {
            int32_t at = static_cast<int32_t>(rng() % (len + 1));
            std::string ins;
            size_t n = rng() % 8 == 0 ? rng() % 3000 : 1 + rng() % 12;
            for (size_t i = 0; i < n; i++) ins += alphabet[rng() % (sizeof alphabet - 1)];
            s.InsertText(at, ins);
            model.insert(static_cast<size_t>(at), ins);
        }
        ASSERT_EQ(s.TextLength(), static_cast<int32_t>(model.size()));
        if (step % 50 == 0) {
            ASSERT_EQ(s.GetText(), model);
            ExpectSound(s);
        }
    }
    EXPECT_EQ(s.GetText(), model);
    ExpectSound(s);
}

TEST(EdStream, WalksAcrossNodes) {
    TTextStore s;
    s.InsertText(0, "ab\rcd\ref");  // 8 characters in three nodes
    TEdStream e(&s);
    EXPECT_EQ(e.Size(), 8);
    e.MoveTo(4);
    EXPECT_EQ(e.CurChar(), 'd');
    e.Next();
    EXPECT_EQ(e.CurChar(), '\r');
    e.Next();
    EXPECT_EQ(e.CurChar(), 'e');
    EXPECT_EQ(e.GetPosition(), 6);
    e.Prev();
    e.Prev();
    e.Prev();
    EXPECT_EQ(e.CurChar(), 'c');
    e.MoveTo(1);
    EXPECT_EQ(e.CurChar(), 'b');
    e.MoveTo(7);
    EXPECT_EQ(e.CurChar(), 'f');
    e.Next();
    EXPECT_TRUE(e.AtEnd());
    EXPECT_EQ(e.CurChar(), 0);
    e.MoveTo(0);
    char buf[100];
    EXPECT_EQ(e.Read(buf, 100), 8);  // fewer than asked at the end
    EXPECT_EQ(std::string(buf, 8), "ab\rcd\ref");
    e.MoveTo(2);
    EXPECT_EQ(e.Read(buf, 4), 4);
    EXPECT_EQ(std::string(buf, 4), "\rcd\r");
    EXPECT_THROW(e.Write("x", 1), EStreamError);
}

TEST(EdStream, SeekFromTheEndAndClamping) {
    TTextStore s;
    s.InsertText(0, "0123456789");
    TEdStream e(&s);
    EXPECT_EQ(e.Seek(0, soEnd), 10);
    EXPECT_EQ(e.Seek(-3, soEnd), 7);  // Size + offset
    EXPECT_EQ(e.CurChar(), '7');
    EXPECT_EQ(e.Seek(5, soEnd), 10);  // never past the end
    EXPECT_EQ(e.Seek(-50, soCurrent), 0);
    EXPECT_EQ(e.Seek(25, soBeginning), 10);
    e.MoveTo(42);
    EXPECT_EQ(e.GetPosition(), 10);
    TEdStream none;
    EXPECT_EQ(none.Seek(0, soEnd), 0);
    EXPECT_EQ(none.CurChar(), 0);
}

TEST(FastMemoryStream, ReadsTheCallersBuffer) {
    const char* text = "hello";
    TFastMemoryStream m(text);
    EXPECT_EQ(m.Size(), 5);
    char b[8];
    EXPECT_EQ(m.Read(b, 8), 5);
    EXPECT_EQ(m.Seek(-2, soEnd), 3);
    try {
        m.Write("x", 1);
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot write to a read-only stream");
    }
}

TEST(SM_Base, AssignNamesBothClassesAndClones) {
    TSM_CharGroup g;
    TObject plain;
    try {
        g.Assign(&plain);
        FAIL();
    } catch (const ESyntaxMemo& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TObject to TSM_CharGroup");
    }
    g.AddRange('a', 'c');
    std::unique_ptr<TSM_Base> copy = g.Clone();
    TSM_CharGroup* c = dynamic_cast<TSM_CharGroup*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Equals(g));
    TSM_CharGroup h;
    h.Assign(&g);
    EXPECT_TRUE(h.Contains('b'));
}
