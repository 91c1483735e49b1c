// Figures for highlighting: a generated C-like text of the given size is
// written to a file (for the other highlighters run-highlight.sh compares
// with), highlighted from scratch by the re-highlighting pass with a compiled
// scheme, then one character is typed at its top and the pass runs again,
// once as the change notice runs it and once in lazy mode (a page per pass,
// the rest done as it is painted).
// Usage: syntaxedit_highlight_bench <scheme> <output text> [megabytes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "RescanPass.h"
#include "SchemeHighlighter.h"
#include "TextStore.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Functions with declarations, loops, strings, numbers and both comment kinds.
std::string Generate(size_t bytes) {
    std::mt19937 rng(16);
    static const char* types[] = {"int", "char", "long", "unsigned", "double"};
    std::string s;
    s.reserve(bytes + 512);
    for (int f = 0; s.size() < bytes; f++) {
        if (f % 5 == 0) s += "/* Function " + std::to_string(f) + " keeps\n   the count of things. */\n";
        s += std::string(types[rng() % 5]) + " func" + std::to_string(f) + "(int a, char *name) {\n";
        for (int i = 0, n = 3 + static_cast<int>(rng() % 8); i < n; i++) {
            switch (rng() % 5) {
            case 0: s += "  int v" + std::to_string(i) + " = a * " + std::to_string(rng() % 1000) + " + 3.25;\n"; break;
            case 1: s += "  if (a > " + std::to_string(i) + ") return NULL; // early out\n"; break;
            case 2: s += "  name = \"value " + std::to_string(rng() % 100) + " \\\"quoted\\\"\";\n"; break;
            case 3: s += "  while (a < 10) { a = a + 1; }\n"; break;
            default: s += "  char c = 'x'; a = a | 0x" + std::to_string(rng() % 99) + ";\n"; break;
            }
        }
        s += "  return a;\n}\n\n";
    }
    return s;
}

std::string ReadFile(const char* path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s <scheme> <output text> [megabytes]\n", argv[0]);
        return 2;
    }
    size_t megabytes = argc > 3 ? static_cast<size_t>(atoi(argv[3])) : 10;
    std::string text = Generate(megabytes * 1000 * 1000);
    std::ofstream(argv[2], std::ios::binary) << text;

    TSchemeHighlighter h;
    try {
        h.CompileScript(ReadFile(argv[1]));
    } catch (const std::exception& e) {
        fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    TTextStore store;
    auto t0 = Clock::now();
    store.InsertText(0, NormalizeInsertText(text));
    auto t1 = Clock::now();
    TRescanPass pass;
    pass.Attach(&store, &h);
    pass.Rescan(0);
    auto t2 = Clock::now();
    double mb = static_cast<double>(text.size()) / 1e6;
    printf("text: %.2f MB, %d lines (loaded in %.3f s)\n", mb, store.LineCount(), Seconds(t0, t1));
    printf("from scratch: %.3f s, %.2f MB/s, %d lines styled\n", Seconds(t1, t2), mb / Seconds(t1, t2),
           pass.LastStats().LinesRestyled);
    printf("ours_mbps %.3f\n", mb / Seconds(t1, t2));

    // The edits after a full pass, each followed by the change notice's pass:
    // one character typed at the top, then a block comment opened near it
    // (the text's first lines are a comment already, so it runs to the next
    // one). Run again in lazy mode (a page of 30 lines per pass) after the
    // edits are undone.
    for (bool lazy : {false, true}) {
        const char* mode = lazy ? "lazy: " : "";
        pass.Lazy = lazy;
        pass.VisibleLines = 30;
        auto step = [&](const char* what, const std::function<void()>& edit) {
            auto a = Clock::now();
            edit();
            auto b = Clock::now();
            printf("%s%s: %.3f ms, %d lines scanned, %d restyled\n", mode, what, Seconds(a, b) * 1e3,
                   pass.LastStats().LinesScanned, pass.LastStats().LinesRestyled);
        };
        step("retype at top", [&] {
            store.InsertText(0, "x");
            pass.Run();
        });
        step("open comment on line 3", [&] {
            store.InsertText(store.LineStart(2), "/*");
            pass.Run();
        });
        if (lazy) {
            // Painting the last page restyles what still waits down to it.
            step("then painting the last page", [&] { pass.CatchUp(store.LineCount()); });
            // A highlighter attached to a whole fresh copy: the first page only.
            TTextStore other;
            other.InsertText(0, NormalizeInsertText(text));
            pass.Attach(&other, &h);
            step("from scratch", [&] { pass.Rescan(0); });
            pass.Done();
            break;
        }
        store.DeleteText(store.LineStart(2), store.LineStart(2) + 2);
        store.DeleteText(0, 1);
        pass.Run();
    }
    return 0;
}
