#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "MemoHarness.h"
#include "SM_Settings.h"
#include "Stream.h"

namespace {

std::string Golden(const std::string& name) {
    std::ifstream f(std::string(GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Two styled lines and a plain one; style 0's text is a system colour.
void Fill(MemoHarness& m) {
    TSM_Settings& st = m.Core.Settings();
    st.Styles[0].TextColor = static_cast<TColor>(0x80000008u);
    st.Styles[1] = {1, 0x0000FF, 0xFFFFFF, 0, 0, 0, 1, 0};  // bold red
    st.Styles[2] = {2, 0x008000, 0xEEEEEE, 0, 0, 0, 1, 0};  // italic green on grey
    m.Core.ResolveColor = [](TColor c) { return c < 0 ? 0x112233 : c; };
    m.Core.InsertAtCaret("if a<b & c>\"d\" {\r\tx = 'y'\\z;\rend");
    uint8_t styles[64] = {};
    for (int i = 0; i < 64; i++) styles[i] = static_cast<uint8_t>(i < 3 ? 1 : i < 8 ? 0 : i < 20 ? 2 : 0);
    int32_t range[3] = {0, 1, 64};
    m.Core.Message(SMM_SETLINESTYLES, reinterpret_cast<uintptr_t>(range), reinterpret_cast<intptr_t>(styles));
}

}  // namespace

TEST(SyntaxMemoExport, MidLineToMidLineMatchesGoldenFiles) {
    MemoHarness m;
    Fill(m);
    m.Core.SetSelection(3, 23);  // from "a<b" to the middle of the second line
    struct Case {
        const char* name;
        int32_t flags;
        std::string expected;
    } cases[] = {
        {"plain", 1, "a<b & c>\"d\" {\r\n\tx = '"},
        {"unix", 8, "a<b & c>\"d\" {\n\tx = '"},
        {"html", 4, Golden("export-selection.html")},
        {"rtf", 2, Golden("export-selection.rtf")},
    };
    for (const Case& c : cases) {
        std::string got = m.Core.ExportSelection(c.flags);
        EXPECT_EQ(got, c.expected) << c.name;
        if (got != c.expected) std::ofstream(std::string(c.name) + ".got", std::ios::binary) << got;
    }
    std::string html = m.Core.ExportSelection(4);
    EXPECT_NE(html.find("&amp;"), std::string::npos);
    EXPECT_NE(html.find("TEXT=\"#332211\""), std::string::npos);  // the system colour resolved
}

TEST(SyntaxMemoExport, StreamsLoadAndSave) {
    MemoHarness m;
    TMemoryStream in;
    in.Write("one\r\ntwo\r", 9);  // a lone CR at the very end
    in.Seek(0, soBeginning);
    m.Core.Message(SMM_LOADSTREAM, 4, reinterpret_cast<intptr_t>(&in));
    EXPECT_EQ(m.Text(), "one\rtwo\r");
    EXPECT_EQ(m.Core.LineCount(), 3);
    m.Core.SetSelection(-1, 0);
    TMemoryStream out;
    EXPECT_EQ(m.Core.Message(SMM_SAVESTREAM, 8, reinterpret_cast<intptr_t>(&out)), 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()), 8), "one\ntwo\n");
    EXPECT_EQ(m.Core.Message(SMM_LOADSTREAM, 4, 0), 0);  // no stream
}

// Printing onto a fake printer canvas: pages, line numbers, wrapping, no line colours.
TEST(SyntaxMemoPrint, PagesLineNumbersAndWrapOnAFakePrinter) {
    MemoHarness m;
    for (int i = 0; i < 30; i++) m.Lines.Add("line " + std::to_string(i) + (i == 3 ? std::string(" word").append(std::string(40, 'w')) : ""));
    m.Core.SetLineTextColor(1, 0x0000FF);
    m.Core.SetLineBackColor(1, 0x00FF00);
    m.Core.Settings().Options |= smoPrintLineNos | smoPrintWrap | smoPrintPageNos;
    m.Core.Settings().Options &= ~(smoPrintFilename | smoPrintDate);
    m.Core.SetSelection(-1, 0);
    CellSurface page(8, 16);
    CellSurface firstPage(8, 16);
    int newPages = 0;
    // 400 x 320: text from x 80, 39 characters a row, rows 32 .. 240 (13 a page).
    int32_t pages = m.Core.PrintSelection(page, 400, 320, [&] {
        if (newPages++ == 0) firstPage.Cells = page.Cells;
    });
    EXPECT_EQ(pages, 3);  // 30 lines + 1 wrapped piece = 31 rows
    EXPECT_EQ(newPages, 2);
    EXPECT_EQ(firstPage.At(2, 80).ch, 'l');
    EXPECT_EQ(firstPage.At(2, 80).text, 0);        // black on white: line colours unused
    EXPECT_EQ(firstPage.At(2, 80).back, 0xFFFFFF);
    EXPECT_EQ(firstPage.At(2, 16 + 5 * 8).ch, '1');  // "     1:"
    EXPECT_EQ(firstPage.At(6, 80 + 5 * 8).ch, 'w');  // line 4 wrapped after "line 3 "
    EXPECT_EQ(firstPage.At(6, 16 + 5 * 8).ch, 0);    // no number on its second piece
}

// The header (file name, date - time, page number) and whole-line numbers
// under word wrap; a wrapped printed row never passes its width.
TEST(SyntaxMemoPrint, HeaderFooterWholeLineNumbersAndWrapInsideTheWidth) {
    const int32_t kTitleAsFilename = 0x40000;
    const char* name = "print-header.txt";
    MemoHarness m;
    m.Core.SetOptions(m.Core.Options() | kTitleAsFilename);
    m.Lines.Add("alpha beta gamma delta epsilon zeta eta");
    m.Lines.Add("second");
    m.Core.SaveToFile(name);
    std::remove(name);
    m.Core.DateText = [] { return std::string("11.12.2026"); };
    m.Core.TimeText = [] { return std::string("03:50"); };
    m.Core.SetWrapAtColumn(20);
    m.Core.SetOptions((m.Core.Options() | smoWordWrap | smoPrintLineNos | smoPrintFilename | smoPrintDate |
                       smoPrintPageNos) & ~smoPrintWrap);
    ASSERT_EQ(m.Core.LineCount(), 4);  // three pieces and "second"
    m.Core.SetSelection(-1, 0);
    CellSurface page(8, 16);
    // 400 x 320: the header's rows 1 and 3, text from row 4, the footer's rows 17 and 18.
    EXPECT_EQ(m.Core.PrintSelection(page, 400, 320, nullptr), 1);
    EXPECT_EQ(page.At(1, 16).ch, 'p');
    const std::string stamp = "11.12.2026 - 03:50";
    for (size_t i = 0; i < stamp.size(); i++) EXPECT_EQ(page.At(1, 400 - 16 - 8 * 18 + 8 * static_cast<int>(i)).ch, stamp[i]);
    EXPECT_EQ(page.FillAt(3, 16), 0);
    EXPECT_EQ(page.FillAt(3, 383), 0);
    EXPECT_EQ(page.FillAt(3, 384), -1);
    EXPECT_EQ(page.FillAt(17, 16), 0);
    EXPECT_EQ(page.At(18, 180).ch, '-');
    EXPECT_EQ(page.At(18, 196).ch, '1');
    EXPECT_EQ(page.At(4, 56).ch, '1');
    EXPECT_EQ(page.At(5, 56).ch, 0);  // a continuation piece has no number
    EXPECT_EQ(page.At(7, 80).ch, 's');
    EXPECT_EQ(page.At(7, 56).ch, '2');  // the second line, not the fourth piece

    // 39 characters a row; a blank in the 40th place is not taken into the row.
    MemoHarness w;
    w.Core.Settings().Options = smoPrintWrap;
    w.Lines.Add(std::string(30, 'x') + " " + std::string(8, 'y') + " zzzzz");
    w.Core.SetSelection(-1, 0);
    CellSurface out(8, 16);
    EXPECT_EQ(w.Core.PrintSelection(out, 400, 320, nullptr), 1);
    EXPECT_EQ(out.At(2, 80 + 30 * 8).ch, ' ');
    EXPECT_EQ(out.At(2, 80 + 31 * 8).ch, 0);
    EXPECT_EQ(out.At(3, 80).ch, 'y');
    EXPECT_EQ(out.At(3, 80 + 9 * 8).ch, 'z');
}
