#include <gtest/gtest.h>

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
