// Figures for the editor's data core: appending and colouring log lines in
// the text store, typing and random edits in a large text, and the
// compressor's speed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Compressor.h"
#include "TextStore.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

std::string LogLine(std::mt19937& rng, int i) {
    static const char* replies[] = {"> RETR file", "< 150 Opening BINARY mode data connection", "< 226 Transfer complete",
                                    "> PASV", "< 227 Entering Passive Mode (127,0,0,1,195,80)", "> LIST"};
    return std::string(replies[rng() % 6]) + " #" + std::to_string(i);
}

// Appends one line the way the log's Lines.Add does through the editor's
// messages: count the lines, ask for the start of line Count (past the end:
// -1) and of the last line, append CR + text after it (the first line goes
// into the empty store alone), then colour line Count + 1, which clamps to
// the new line, once for the text colour and once for the back colour.
void AppendLine(TTextStore& s, const std::string& line) {
    int32_t count = s.LineCount();
    if (count == 0) {
        s.InsertText(0, line);
    } else {
        if (s.LineStart(count) >= 0) return;  // never: the line past the end
        int32_t last = s.LineStart(count - 1);
        int32_t length = s.LineAt(count - 1)->Len;
        s.InsertText(last + length, "\r" + line);
    }
    int32_t walked;
    TLineNode* added = s.NodeAtLine(s.LineCount(), nullptr, &walked);
    added->TextColor = 0x0000FF;
    added->Flags |= lfRepaint;
    added = s.NodeAtLine(s.LineCount(), nullptr, &walked);
    added->BackColor = 0xFFFFFF;
    added->Flags |= lfRepaint;
}

// What the store holds for its lines: node records, texts and style bytes,
// with a typical allocator's 16 bytes per block.
size_t StoreBytes(const TTextStore& s) {
    size_t bytes = 0;
    for (TLineNode* n = s.Head(); n; n = n->Next) {
        bytes += sizeof(TLineNode) + 16 + static_cast<size_t>(n->Len) + 1 + 16;
        if (n->Styles) bytes += static_cast<size_t>(n->Len) + 16;
    }
    return bytes;
}

void BenchAppend() {
    const int lines = 100000, window = 1000, rounds = 5;
    std::mt19937 rng(1);
    std::vector<std::string> text;
    for (int i = 0; i < lines; i++) text.push_back(LogLine(rng, i));
    // Each window is timed as one block; the best of a few rounds is kept,
    // as the machine may be busy with other work.
    double first = 1e9, last = 1e9, total = 1e9;
    size_t bytes = 0;
    int32_t count = 0, length = 0;
    for (int round = 0; round < rounds; round++) {
        TTextStore s;
        auto t0 = Clock::now();
        for (int i = 0; i < lines;) {
            int end = i < window ? window : i < lines - window ? lines - window : lines;
            auto a = Clock::now();
            for (; i < end; i++) AppendLine(s, text[static_cast<size_t>(i)]);
            double t = Seconds(a, Clock::now());
            if (end == window) first = std::min(first, t);
            if (end == lines) last = std::min(last, t);
        }
        total = std::min(total, Seconds(t0, Clock::now()));
        bytes = StoreBytes(s);
        count = s.LineCount();
        length = s.TextLength();
    }
    printf("Lines.Add + SetLineTextColor + SetLineTextBack, %d log lines: %.3f s in all, %.2f us per line\n", lines,
           total, total * 1e6 / lines);
    printf("  first %d lines: %.3f us each; last %d lines: %.3f us each (ratio %.2f, goal 1.5 or less)\n", window,
           first * 1e6 / window, window, last * 1e6 / window, last / first);
    printf("  store: %d lines, %d characters; about %.1f MB held (%d-byte nodes), %.2f times the text\n", count,
           length, static_cast<double>(bytes) / (1024.0 * 1024.0), static_cast<int>(sizeof(TLineNode)),
           static_cast<double>(bytes) / static_cast<double>(length));
}

// Typing in the middle of a 10 MB text: one character at the caret, then the
// caret's line and the line below it found again, as caret-down does.
void BenchKeystrokes(TTextStore& s) {
    const int keys = 20000;
    int32_t caret = s.TextLength() / 2;
    auto a = Clock::now();
    for (int i = 0; i < keys; i++) {
        s.InsertText(caret, "k");
        caret++;
        int32_t start, index;
        s.NodeAtOffset(caret, &start, &index);
        int32_t below = s.LineStart(index + 1);
        if (below >= 0 && i % 50 == 49) caret = below;  // now and then a line down
    }
    double t = Seconds(a, Clock::now());
    printf("Typing mid-file in a 10 MB text (store only, no painting): %.2f us per keystroke\n", t * 1e6 / keys);
}

void BenchRandomEdits() {
    std::mt19937 rng(2);
    std::string big;
    while (big.size() < 10 * 1024 * 1024) {
        size_t n = 20 + rng() % 80;
        for (size_t i = 0; i < n; i++) big += static_cast<char>('a' + rng() % 26);
        big += '\r';
    }
    TTextStore s;
    auto t0 = Clock::now();
    s.InsertText(0, big);
    printf("Load 10 MB in one insertion: %.3f s (%d lines)\n", Seconds(t0, Clock::now()), s.LineCount());
    BenchKeystrokes(s);

    const int ops = 20000;
    for (int local = 0; local < 2; local++) {
        int32_t at = s.TextLength() / 2;
        auto a = Clock::now();
        for (int i = 0; i < ops; i++) {
            int32_t len = s.TextLength();
            at = local ? std::max(0, std::min(len, at + static_cast<int32_t>(rng() % 200) - 100))
                       : static_cast<int32_t>(rng() % static_cast<uint32_t>(len + 1));
            if (rng() % 2) {
                std::string ins(1 + rng() % 20, 'x');
                if (rng() % 4 == 0) ins[ins.size() / 2] = '\r';
                s.InsertText(at, ins);
            } else {
                s.DeleteText(at, at + 1 + static_cast<int32_t>(rng() % 20));
            }
        }
        double t = Seconds(a, Clock::now());
        printf("%s inserts and deletes in a 10 MB text: %d edits in %.3f s, %.1f us per edit\n",
               local ? "Nearby" : "Random", ops, t, t * 1e6 / ops);
    }
}

void BenchCompressor() {
    std::mt19937 rng(3);
    std::string text;
    while (text.size() < 4 * 1024 * 1024) text += LogLine(rng, static_cast<int>(rng() % 5000)) + "\r\n";
    for (uint8_t method : {TCompressor::cmKH, TCompressor::cmLZH}) {
        TMemoryStream in, packed, out;
        in.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
        in.SetPosition(0);
        TCompressor c;
        c.Method = method;
        c.UseStreams = true;
        c.InputStream = &in;
        c.OutputStream = &packed;
        auto a = Clock::now();
        c.Compress();
        auto b = Clock::now();
        packed.SetPosition(0);
        c.InputStream = &packed;
        c.OutputStream = &out;
        c.Decompress();
        auto d = Clock::now();
        double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
        printf("%s on %.1f MB of log text: compress %.1f MB/s, decompress %.1f MB/s, size %.1f%%%s\n",
               method == TCompressor::cmKH ? "KH " : "LZH", mb, mb / Seconds(a, b), mb / Seconds(b, d),
               100.0 * static_cast<double>(packed.Size()) / static_cast<double>(text.size()),
               out.Size() == static_cast<int64_t>(text.size()) ? "" : " (ROUND TRIP FAILED)");
    }
}

}  // namespace

int main() {
    BenchAppend();
    BenchRandomEdits();
    BenchCompressor();
    return 0;
}
