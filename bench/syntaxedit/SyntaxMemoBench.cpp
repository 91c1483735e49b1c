// Figures for the editor control with its window: the FTP log's append and
// colour per line over 100,000 lines, a keystroke and a caret move in a
// 10 MB text with the repaint, an 80 x 50 styled screen painted into a memory
// bitmap, and the memory the 100,000-line log adds. With "costs": what each
// part of a log line costs alone.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LinePool.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void LogBench(int kLines, bool repaint) {
    TForm form;
    form.SetBounds(0, 0, 700, 200);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetBounds(0, 0, 680, 65);  // the FTP window's log pane
    memo->SetReadOnly(true);
    memo->SetOptions(memo->Options() & ~smoShowGutter);
    form.Show();
    Drain();
    size_t before = PrivateBytes();
    size_t textBytes = 0;
    const TColor colours[] = {0x008000, 0xFF0000, 0x000000};
    double first = 0, last = 0;
    auto start = Clock::now(), mark = start;
    for (int i = 0; i < kLines; i++) {
        std::string line = (i % 3 == 0 ? "Command:    RETR file" : i % 3 == 1 ? "Status:     Receiving" : "            226 Transfer complete") + std::string(" #") + std::to_string(i);
        textBytes += line.size() + 1;
        memo->Lines().Add(line);
        int n = memo->Lines().Count();
        memo->SetLineTextColor(n + 1, colours[i % 3]);
        memo->SetLineTextBack(n + 1, memo->def_BackColor());
        if (repaint) memo->Repaint();
        if (i == 999) {
            auto now = Clock::now();
            first = Ms(mark, now);
        }
        if (i == kLines - 1001) mark = Clock::now();
    }
    auto end = Clock::now();
    last = Ms(mark, end);
    size_t after = PrivateBytes();
    printf("log: %d x (Lines.Add + SetLineTextColor + SetLineTextBack%s), window 680x65\n", kLines, repaint ? " + Repaint" : "");
    printf("  first 1,000 lines: %.2f us/line; last 1,000: %.2f us/line; ratio %.2f\n", first, last, last / first);
    printf("  total %.2f s (%.2f us/line); Lines.Count %d\n", Ms(start, end) / 1000, Ms(start, end) * 1000 / kLines,
           memo->Lines().Count());
    // What the store holds: node records and texts, as the line pools give them out.
    size_t held = 0;
    for (TLineNode* n = memo->Core().Store().Head(); n; n = n->Next)
        held += sizeof(TLineNode) + linepool::TextFootprint(static_cast<size_t>(n->Len) + 1);
    printf("  store holds %.1f MB for %.1f MB of text (%.2fx); a node is %u bytes\n", held / 1048576.0,
           textBytes / 1048576.0, static_cast<double>(held) / static_cast<double>(textBytes),
           static_cast<unsigned>(sizeof(TLineNode)));
    printf("  process memory added: %.1f MB for %.1f MB of text (%.2fx)\n", (after - before) / 1048576.0, textBytes / 1048576.0,
           static_cast<double>(after - before) / static_cast<double>(textBytes));
}

void TypingBench() {
    TForm form;
    form.SetBounds(0, 0, 800, 700);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetBounds(0, 0, 780, 660);
    form.Show();
    std::string text;
    const std::string line = "    for (int i = 0; i < count; i++) total += values[i] * weight; // x\r\n";
    while (text.size() < 10u * 1024 * 1024) text += line;
    memo->SetText(text);
    memo->SetFocus();
    int32_t mid = memo->Core().TextLength() / 2;
    memo->Core().SetSelection(mid, mid);
    Drain();
    const int kKeys = 500;
    auto start = Clock::now();
    for (int i = 0; i < kKeys; i++) {
        SendMessageA(memo->Handle(), WM_CHAR, 'x', 1);
        SendMessageA(memo->Handle(), WM_KEYDOWN, VK_DOWN, 1);
        UpdateWindow(memo->Handle());
    }
    auto end = Clock::now();
    printf("typing in a %.1f MB text (%d lines), mid-file: %.3f ms per keystroke + caret down, repaint included\n",
           text.size() / 1048576.0, memo->Core().LineCount(), Ms(start, end) / kKeys);
}

void PaintBench() {
    TForm form;
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    int cw = memo->Core().CharWidth(), lh = memo->Core().LineHeight();
    memo->SetBounds(0, 0, 2 + 80 * cw + 30, 50 * lh + 30);
    memo->SetOptions(memo->Options() & ~smoShowGutter);
    form.Show();
    std::string text;
    for (int i = 0; i < 50; i++) text += std::string(80, static_cast<char>('a' + i % 26)) + "\r\n";
    memo->SetText(text);
    // Style bytes in runs of 5, eight styles with their own colours.
    TTextStore& st = memo->Core().Store();
    for (TLineNode* n = st.Head(); n; n = n->Next) {
        n->Styles = new uint8_t[n->Len];
        for (int k = 0; k < n->Len; k++) n->Styles[k] = static_cast<uint8_t>((k / 5) % 8);
    }
    TBitmap bmp(2 + 80 * cw, 50 * lh);
    const int kFrames = 300;
    auto start = Clock::now();
    for (int i = 0; i < kFrames; i++) memo->PaintTo(bmp.Canvas().Handle());
    auto end = Clock::now();
    printf("paint: 80 x 50 styled screen into a memory bitmap: %.3f ms per frame\n", Ms(start, end) / kFrames);
}

// What the parts of a log line cost one by one, in the same window: where the
// time of a line goes.
void CostsBench() {
    TForm form;
    form.SetBounds(0, 0, 700, 200);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetBounds(0, 0, 680, 65);
    memo->SetReadOnly(true);
    memo->SetOptions(memo->Options() & ~smoShowGutter);
    form.Show();
    std::string text;
    for (int i = 0; i < 10000; i++) text += "Status:     Receiving #" + std::to_string(i) + "\r\n";
    memo->SetText(text);
    Drain();
    HWND h = memo->Handle();
    const int kReps = 2000;
    auto cost = [&](const char* what, auto&& f) {
        auto a = Clock::now();
        for (int i = 0; i < kReps; i++) f(i);
        printf("  %-44s %8.2f us\n", what, Ms(a, Clock::now()) * 1000 / kReps);
    };
    printf("costs, one call each, 10,000 lines in the log's window:\n");
    cost("SendMessage EM_GETLINECOUNT", [&](int) { SendMessageA(h, EM_GETLINECOUNT, 0, 0); });
    cost("Lines.Count", [&](int) { memo->Lines().Count(); });
    cost("InvalidateRect", [&](int) { InvalidateRect(h, nullptr, FALSE); });
    cost("SetLineTextColor", [&](int i) { memo->SetLineTextColor(i + 1, 0x8000); });
    cost("Lines.Add", [&](int i) { memo->Lines().Add("Status:     Receiving #" + std::to_string(i)); });
    Drain();
    cost("Repaint, nothing changed", [&](int) { memo->Repaint(); });
    auto logLine = [&](int i) {
        memo->Lines().Add("Status:     Receiving #" + std::to_string(i));
        int n = memo->Lines().Count();
        memo->SetLineTextColor(n + 1, 0x8000);
        memo->SetLineTextBack(n + 1, memo->def_BackColor());
        memo->Repaint();
    };
    cost(GetFocus() == h ? "log line + Repaint, focused" : "log line + Repaint, not focused", logLine);
    if (GetFocus() == h) form.SetFocus(); else memo->SetFocus();
    Drain();
    cost(GetFocus() == h ? "log line + Repaint, focused" : "log line + Repaint, not focused", logLine);
    cost("GetDC + ReleaseDC", [&](int) { ReleaseDC(h, GetDC(h)); });
    HDC wdc = GetDC(h);
    cost("CreateCompatibleDC/Bitmap + delete", [&](int) {
        HDC m = CreateCompatibleDC(wdc);
        HBITMAP b = CreateCompatibleBitmap(wdc, 680, 65);
        HGDIOBJ o = SelectObject(m, b);
        SelectObject(m, o);
        DeleteObject(b);
        DeleteDC(m);
    });
    HDC mdc = CreateCompatibleDC(wdc);
    HBITMAP mb = CreateCompatibleBitmap(wdc, 680, 65);
    SelectObject(mdc, mb);
    cost("BitBlt 680x65 to the window", [&](int) { BitBlt(wdc, 0, 0, 680, 65, mdc, 0, 0, SRCCOPY); });
    ReleaseDC(h, wdc);
    cost("SetCaretPos", [&](int i) { SetCaretPos(i & 7, 0); });
    cost("GetPropA", [&](int) { GetPropA(h, "QfControl"); });
    cost("InvalidateRect + ValidateRect", [&](int) { InvalidateRect(h, nullptr, FALSE); ValidateRect(h, nullptr); });
    cost("UpdateWindow, nothing invalid", [&](int) { UpdateWindow(h); });
    TBitmap bmp(680, 65);
    cost("PaintTo a memory bitmap", [&](int) { memo->PaintTo(bmp.Canvas().Handle()); });
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1 && std::string(argv[1]) == "costs") {
        CostsBench();
        return 0;
    }
    int lines = argc > 1 ? atoi(argv[1]) : 100000;
    LogBench(lines, false);
    LogBench(lines, true);
    TypingBench();
    PaintBench();
    return 0;
}
