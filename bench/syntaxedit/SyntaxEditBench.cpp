// Figures for the editor's data core: appending log lines to the text store,
// random edits in a large text, and the compressor's speed.
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

// Appends one line the way the log does: find the last line, put CR + text
// after it (the first line goes into the empty store), colour the new line.
void AppendLine(TTextStore& s, const std::string& line) {
    if (s.LineCount() == 0) {
        s.InsertText(0, line);
    } else {
        int32_t start;
        TLineNode* last = s.NodeAtLine(s.LineCount() - 1, &start);
        s.InsertText(start + last->Len, "\r" + line);
    }
    TLineNode* added = s.NodeAtLine(s.LineCount() - 1);
    added->TextColor = 0x0000FF;
    added->BackColor = 0xFFFFFF;
}

void BenchAppend() {
    const int lines = 100000, window = 1000;
    std::mt19937 rng(1);
    std::vector<std::string> text;
    for (int i = 0; i < lines; i++) text.push_back(LogLine(rng, i));
    TTextStore s;
    auto t0 = Clock::now();
    double first = 0, last = 0;
    for (int i = 0; i < lines; i++) {
        auto a = Clock::now();
        AppendLine(s, text[static_cast<size_t>(i)]);
        auto b = Clock::now();
        if (i < window) first += Seconds(a, b);
        if (i >= lines - window) last += Seconds(a, b);
    }
    double total = Seconds(t0, Clock::now());
    printf("Append %d log lines one by one: %.3f s in all, %.2f us per line\n", lines, total, total * 1e6 / lines);
    printf("  first %d appends: %.3f us each; last %d appends: %.3f us each (ratio %.2f)\n", window,
           first * 1e6 / window, window, last * 1e6 / window, last / first);
    printf("  store: %d lines, %d characters\n", s.LineCount(), s.TextLength());
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
