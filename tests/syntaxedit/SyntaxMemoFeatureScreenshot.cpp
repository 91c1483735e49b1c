// A picture of the editor's decorations for people to look at: gutter
// bookmarks and line marks, the wrapped-line glyph, a named mark, visible
// blanks and TABs, and a hyperlink run. Asserts only that it painted.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Settle.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

TEST(SyntaxMemoScreenshot, GutterMarksBlanksAndWrapGlyph) {
    TForm form;
    form.SetCaption("Editor decorations");
    form.SetBounds(40, 40, 560, 300);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    memo->SetOptions((memo->Options() | smoShowGutter | smoShowBlanksBit | 0x200000) & ~smoWordWrap);
    memo->SetText("int main()\r\n{\r\n\treturn 0;  // see http://example.org/x\r\n}\r\n" + std::string(70, '=') +
                  std::string(3000, '-') + "\r\nlast line");
    memo->Core().SetBookmarkAt(1, 1, 1);
    memo->Core().SetBookmarkAt(3, 3, 2);
    memo->Core().Store().LineAt(3)->LineMarks = 1 << 10;
    memo->Core().Marks().Add(4, 8);  // "main"
    SettleWindows(form.Handle(), 1000);
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    memo->PaintTo(client.Canvas().Handle());
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-decor.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y += 2)
        for (int x = 0; x < client.Width(); x += 2) colours.insert(client.PixelRGB(x, y));
    EXPECT_GT(colours.size(), 3u);
}

// Word wrap at column 20 with empty lines between and after wrapped lines:
// each empty line one row, the wrap glyph only on the continuation pieces,
// a selection running across the empty lines.
TEST(SyntaxMemoScreenshot, WordWrapWithEmptyLines) {
    TForm form;
    form.SetCaption("Word wrap and empty lines");
    form.SetBounds(40, 40, 400, 300);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    memo->SetOptions(memo->Options() | smoShowGutter | smoWordWrap | 0x200000 | smoShowWrapColumn);
    memo->SetWrapAtColumn(20);
    memo->SetText("alpha beta gamma delta epsilon\r\n\r\n\r\nzeta eta theta iota kappa lambda\r\n\r\nend\r\n");
    memo->Core().HideSelection = false;
    memo->Core().SetSelection(20, 40);
    SettleWindows(form.Handle(), 800);
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    memo->PaintTo(client.Canvas().Handle());
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-wrap-empty.bmp"));
    EXPECT_EQ(memo->Core().LineCount(), 9);  // two lines in two pieces each, four empty lines, "end"
}
