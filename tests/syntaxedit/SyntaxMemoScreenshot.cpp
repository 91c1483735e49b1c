// A form showing the FTP log: 200 coloured lines in the read-only editor. The
// picture is saved under the build folder for people to look at (run it under
// Xvfb for real glyphs); the test asserts only that the window painted.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FindDialog.h"
#include "Settle.h"
#include "SlotParsers.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

TEST(SyntaxMemoScreenshot, LogOfTwoHundredColouredLines) {
    TForm form;
    form.SetCaption("Velmora Larch FTP - log");
    form.SetBounds(40, 40, 640, 420);
    TSyntaxMemo* log = new TSyntaxMemo(&form);
    log->SetAlign(alClient);
    log->SetReadOnly(true);
    log->SetOptions(log->Options() & ~smoShowGutter);
    form.Show();
    const TColor kinds[] = {0x008000, 0xFF0000, 0x000000};  // commands, states, replies
    const char* texts[] = {"Command:    RETR report-%03d.txt", "Status:     Receiving file %03d",
                           "            226 Transfer complete (%03d)"};
    for (int i = 0; i < 200; i++) {
        char line[80];
        snprintf(line, sizeof line, texts[i % 3], i);
        log->Lines().Add(line);
        int n = log->Lines().Count();
        log->SetLineTextColor(n + 1, kinds[i % 3]);
        log->SetLineTextBack(n + 1, log->def_BackColor());
        log->Repaint();
    }
    log->Core().SetSelection(log->Core().TextLength() - 40, log->Core().TextLength() - 20);
    log->Core().HideSelection = false;
    SettleWindows(form.Handle(), 1500);
    log->Repaint();
    GdiFlush();
    // The log's own paint, whatever the display does with the frame.
    RECT c;
    GetClientRect(log->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    log->PaintTo(client.Canvas().Handle());
    TBitmap fromWindow(c.right, c.bottom);
    HDC wdc = GetDC(log->Handle());
    BitBlt(fromWindow.Canvas().Handle(), 0, 0, c.right, c.bottom, wdc, 0, 0, SRCCOPY);
    ReleaseDC(log->Handle(), wdc);
    // What the window shows (read from its own device context).
    EXPECT_TRUE(fromWindow.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-log.bmp"));
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-log-client.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y += 2)
        for (int x = 0; x < client.Width(); x += 2) colours.insert(client.PixelRGB(x, y));
    EXPECT_GT(colours.size(), 2u);
}

// A C-like file coloured by a highlighter in slot 1, with the gutter.
TEST(SyntaxMemoScreenshot, CLikeFileHighlighted) {
    TForm form;
    form.SetCaption("Editor - highlighted");
    form.SetBounds(40, 40, 640, 420);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    const char* text =
        "// Counts the words of a line.\r\n"
        "int count(char *s) {\r\n"
        "    int n = 0;\r\n"
        "    /* a word starts after a blank\r\n"
        "       or at the line start */\r\n"
        "    while (*s) {\r\n"
        "        if (*s != ' ' && (s[1] == ' ' || s[1] == 0)) n = n + 1;\r\n"
        "        s = s + 1;\r\n"
        "    }\r\n"
        "    if (n == 0) return NULL;\r\n"
        "    return n;\r\n"
        "}\r\n"
        "\r\n"
        "int main() {\r\n"
        "    char *line = \"two words\";\r\n"
        "    return count(line) == 2 ? TRUE : FALSE;\r\n"
        "}\r\n";
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    memo->SetParser(1, NewSchemeParser(&form, "clike.sch"));
    SettleWindows(form.Handle(), 1500);
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    memo->PaintTo(client.Canvas().Handle());
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-clike.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y++)
        for (int x = 0; x < client.Width(); x++) colours.insert(client.PixelRGB(x, y));
    EXPECT_TRUE(colours.count(0x000080));  // keywords
    EXPECT_TRUE(colours.count(0x008000));  // comments
}

// A long file highlighted lazily: a comment opened at its top, then the view
// moved far down; what the window shows there is in the comment's green.
TEST(SyntaxMemoScreenshot, LazyHighlightingFarDown) {
    TForm form;
    form.SetCaption("Editor - lazy highlighting");
    form.SetBounds(40, 40, 640, 420);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    memo->SetLazyMode(true);
    form.Show();
    std::string text;
    for (int i = 0; i < 5000; i++)
        text += "int v" + std::to_string(i) + " = " + std::to_string(i) + ";\r\n";
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    memo->SetParser(1, NewSchemeParser(&form, "clike.sch"));
    memo->Perform(EM_SETSEL, 0, 0);
    for (char ch : std::string("/* ")) memo->Perform(WM_CHAR, static_cast<unsigned char>(ch), 0);
    memo->Perform(SMM_TOPLINE, 1, 2500);
    SettleWindows(form.Handle(), 1500);
    memo->Repaint();
    GdiFlush();
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap shown(c.right, c.bottom);
    HDC wdc = GetDC(memo->Handle());
    BitBlt(shown.Canvas().Handle(), 0, 0, c.right, c.bottom, wdc, 0, 0, SRCCOPY);
    ReleaseDC(memo->Handle(), wdc);
    EXPECT_TRUE(shown.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-lazy.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < shown.Height(); y++)
        for (int x = memo->Core().TextLeft(); x < shown.Width(); x++) colours.insert(shown.PixelRGB(x, y));
    EXPECT_TRUE(colours.count(0x008000));   // the comment
    EXPECT_FALSE(colours.count(0x000080));  // no keyword left
}

// The replace question with its All button, shown modeless for the picture.
TEST(SyntaxMemoScreenshot, ReplaceQuestion) {
    TReplaceQuestion q("Replace this occurence of 'cat' with 'dog' ?");
    q.Position = poScreenCenter;
    q.Show();
    SettleWindows(q.Handle(), 1500);
    RECT r;
    GetWindowRect(q.Handle(), &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(shot.SaveToFile(std::string(SCREENSHOT_DIR) + "/replace-question.bmp"));
    EXPECT_TRUE(IsWindowVisible(q.All->Handle()));
}

// Two logs side by side: without a border (left) and with the sunken edge.
TEST(SyntaxMemoScreenshot, BorderNoneAndSingle) {
    TForm form;
    form.SetCaption("Borders");
    form.SetBounds(40, 40, 520, 220);
    TSyntaxMemo* memos[2];
    for (int i = 0; i < 2; i++) {
        memos[i] = new TSyntaxMemo(&form);
        memos[i]->SetBounds(10 + i * 250, 10, 230, 150);
        memos[i]->SetOptions(memos[i]->Options() & ~smoShowGutter);
    }
    form.Show();
    memos[0]->SetBorderStyle(0);
    for (TSyntaxMemo* m : memos) {
        m->Lines().Add(m->BorderStyle() ? "BorderStyle 1: single" : "BorderStyle 0: none");
        m->Lines().Add("second line");
    }
    SettleWindows(form.Handle(), 1000);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(form.Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(form.Handle(), dc);
    EXPECT_TRUE(shot.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-borders.bmp"));
    EXPECT_EQ(GetWindowLongA(memos[0]->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_NE(GetWindowLongA(memos[1]->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// A scheme that asks for the default colours of the selection, the gutter and
// the margin ("[*]"): the selection in the system's highlight colours, the
// gutter in the button face, the margin in the text's background.
TEST(SyntaxMemoScreenshot, SchemeAsksForTheDefaultColours) {
    TForm form;
    form.SetCaption("Editor - default colours");
    form.SetBounds(40, 40, 640, 300);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    std::string script = ReadFixture("clike.sch");
    script.insert(script.find("fontname"),
                  "seltextcolor = [*] clRed\nseltextback = [*] clLime\nguttercolor = [*] clRed\n"
                  "margincolor = [*] clRed\nmarginwidth = 6\n");
    auto* p = new TSyntaxMemoParser(&form);
    p->Highlighter().CompileScript(script);
    const char* text =
        "int main() {\r\n"
        "    /* the selection below is drawn in the\r\n"
        "       system's highlight colours */\r\n"
        "    return count(\"two words\") == 2;\r\n"
        "}\r\n";
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    memo->SetParser(1, p);
    memo->SetOptions(memo->Options() | smoShowGutter);
    memo->SetHideSelection(false);
    memo->Perform(EM_SETSEL, 14, 60);
    SettleWindows(form.Handle(), 1500);
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    memo->PaintTo(client.Canvas().Handle());
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-default-colours.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y++)
        for (int x = 0; x < client.Width(); x++) colours.insert(client.PixelRGB(x, y));
    COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(colours.count(((hl & 0xFF) << 16) | (hl & 0xFF00) | ((hl >> 16) & 0xFF)));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(client.PixelRGB(5, 5), ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF));  // the gutter
    EXPECT_FALSE(colours.count(0xFF0000));  // no red: every star took its default
    EXPECT_FALSE(colours.count(0x00FF00));
}
