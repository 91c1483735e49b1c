// Figures for find and replace: regular-expression searches that scan a
// 10 MB text without a match, and planning (then applying) a replace-all of
// 100,000 matches in 10 MB.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "FindBenchCommon.h"
#include "ReplacePlan.h"
#include "SysUtils.h"
#include "TextStore.h"

namespace {

using namespace findbench;

// Lines of 40-100 characters of lower-case words and numbers, `bytes` long;
// with a needle, that word is the first one from each multiple of `every` on.
std::string MakeText(int bytes, const char* needle, int every) {
    static const char* words[] = {"alpha", "beta", "gamma", "delta", "omega", "file", "transfer", "reply",
                                  "passive", "mode", "data", "connection", "opened", "closed", "200", "4096"};
    std::mt19937 rng(7);
    std::string text;
    text.reserve(static_cast<size_t>(bytes) + 200);
    int lineLength = 0, lineMax = 40 + static_cast<int>(rng() % 60);
    size_t nextNeedle = 0;
    while (static_cast<int>(text.size()) < bytes) {
        bool placeNeedle = needle && text.size() >= nextNeedle;
        std::string w = placeNeedle ? needle : words[rng() % 16];
        if (placeNeedle) nextNeedle += static_cast<size_t>(every);
        text += w;
        lineLength += static_cast<int>(w.size()) + 1;
        if (lineLength >= lineMax) {
            text += '\r';
            lineLength = 0;
            lineMax = 40 + static_cast<int>(rng() % 60);
        } else {
            text += ' ';
        }
    }
    return text;
}

void BenchSearch(TTextStore& store, const char* pattern) {
    TEdStream stream(&store);
    TREParser re;
    if (!re.SetPattern(pattern)) {
        printf("  %-22s does not compile: %s\n", pattern, re.ErrorMessage().c_str());
        return;
    }
    bool found = false;
    std::string error;
    double s = 0;
    // The best of kRounds: on a shared machine the others' load only adds time.
    for (int round = 0; round < kRounds && error.empty(); round++) {
        stream.MoveTo(0);
        auto t0 = Clock::now();
        try {
            found = re.Search(&stream, true);
        } catch (const Exception& e) {
            error = e.Message();
        }
        double took = Seconds(t0, Clock::now());
        if (round == 0 || took < s) s = took;
    }
    if (!error.empty()) {
        printf("  %-22s gave up after %.3f s: %s\n", pattern, s, error.c_str());
        return;
    }
    printf("  %-22s %8.1f MB/s  %6.3f s  %s  %.1f steps/char\n", pattern, MBps(store.TextLength(), s), s,
           found ? "match" : "no match", static_cast<double>(re.Steps()) / store.TextLength());
}

void BenchSearches() {
    TTextStore store;
    store.InsertText(0, MakeText(kTextBytes, nullptr, 0));
    printf("Regular-expression search over %.1f MB, forwards, no match (best of %d):\n", store.TextLength() / 1e6,
           kRounds);
    const char* patterns[] = {"transfer[0-9]+", "\"passive mode\"x", "^zeta", "[xyz]+q", "[a-z]+ingx",
                              "(alpha|beta)gamma", "(zeta|theta)42", "[Zz]eta", "(a|b)?zq", "da.*zzz", ".*zzz"};
    for (const char* p : patterns) BenchSearch(store, p);
}

// Patterns that backtrack without end on lines of 79 a's: how long the search
// takes to give up.
void BenchRunaway() {
    std::string line(79, 'a');
    std::string text;
    while (static_cast<int>(text.size()) < kTextBytes) text += line + "\r";
    TTextStore store;
    store.InsertText(0, text);
    printf("Runaway patterns over %.1f MB of a's:\n", store.TextLength() / 1e6);
    const char* patterns[] = {"(a|aa)+b", "a*a*a*a*a*b", "[a-z]+a.*b"};
    for (const char* p : patterns) BenchSearch(store, p);
}

std::string Apply(TTextStore& store, const TReplacePlan& plan) {
    for (const TReplaceItem& item : plan.Items) {
        store.DeleteText(item.At, item.At + item.Length);
        store.InsertText(item.At, item.Text);
    }
    return std::string();
}

void BenchReplaceAll() {
    std::string text = MakeText(kTextBytes, "needle", kTextBytes / kMatches);
    printf("Replace all in %.1f MB:\n", text.size() / 1e6);
    for (int regExpr = 1; regExpr >= 0; regExpr--) {
        TTextStore store;
        store.InsertText(0, text);
        TEdStream stream(&store);
        TReplacePlan plan;
        TREParser re;
        TSearchTables tables;
        auto t0 = Clock::now();
        TReplacePlan::TResult r =
            regExpr ? plan.PlanRegExpr(re, "need(le)", stream, true, "%1%2%3%4%5s")
                    : plan.PlanPlain(stream, tables, nullptr, "needle", true, true, 0, "needles");
        auto t1 = Clock::now();
        Apply(store, plan);
        auto t2 = Clock::now();
        printf("  %-18s %zu matches (result %d): plan %.3f s = %.1f MB/s; apply %.3f s; text now %.1f MB\n",
               regExpr ? "regular expression" : "plain whole word", plan.Items.size(), static_cast<int>(r),
               Seconds(t0, t1), MBps(static_cast<int64_t>(text.size()), Seconds(t0, t1)), Seconds(t1, t2),
               store.TextLength() / 1e6);
    }
}

}  // namespace

int main() {
    BenchSearches();
    BenchRunaway();
    BenchReplaceAll();
    return 0;
}
