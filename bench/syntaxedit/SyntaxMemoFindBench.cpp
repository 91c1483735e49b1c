// Figures for find and replace on the control with its window: replace-all of
// 100,000 matches in a 10 MB text through the replace dialog's Replace All,
// its undo, and SMM_FIND searches over 10 MB whose only match is at the end.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "FindBenchCommon.h"
#include "FindDialog.h"
#include "SyntaxMemo.h"
#include "SyntaxMemoFind.h"
#include "ui/Form.h"

namespace {

using namespace findbench;

// Lines of words, 10 MB, with "needle" once in every 100 bytes or so.
std::string MakeText(bool needles) {
    static const char* words[] = {"alpha", "beta", "gamma", "delta", "omega", "file", "transfer", "reply",
                                  "passive", "mode", "data", "connection", "opened", "closed", "200", "4096"};
    std::string text;
    text.reserve(static_cast<size_t>(kTextBytes) + 200);
    const size_t every = static_cast<size_t>(kTextBytes / kMatches);
    size_t next = 0;
    unsigned seed = 7, word = 0;
    while (text.size() < static_cast<size_t>(kTextBytes)) {
        seed = seed * 1103515245u + 12345u;
        bool needle = needles && text.size() >= next;
        if (needle) next += every;
        text += needle ? "needle" : words[(seed >> 16) % 16];
        text += ++word % 12 == 0 ? "\r\n" : " ";
    }
    return text;
}

struct Editor {
    TForm form;
    TSyntaxMemo* memo;
    Editor() {
        form.SetBounds(0, 0, 800, 600);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, 780, 560);
        form.Show();
    }
    int32_t Length() { return memo->Core().TextLength(); }
};

void BenchReplaceAll(bool regExpr) {
    Editor e;
    std::string text = MakeText(true);
    e.memo->SetText(text);
    e.memo->Core().SetSelection(0, 0);
    int32_t before = e.Length();
    e.memo->Perform(SMM_FINDDIALOG, regExpr ? sfRegExpr : 0, 0);
    TFindDialog* d = e.memo->Search().Dialog();
    d->FindText->SetText(regExpr ? "need(le)" : "needle");
    d->ReplaceText->SetText(regExpr ? "%1%2%3%4%5s" : "needles");
    auto t0 = Clock::now();
    d->ReplaceAll->Click();
    auto t1 = Clock::now();
    int32_t added = e.Length() - before;
    SendMessageA(e.memo->Handle(), EM_UNDO, 0, 0);
    auto t2 = Clock::now();
    printf("  %-18s %d replaced: %.3f s = %.1f MB/s; one undo %.3f s (text back: %s)\n",
           regExpr ? "regular expression" : "plain", added, Seconds(t0, t1), MBps(before, Seconds(t0, t1)),
           Seconds(t1, t2), e.Length() == before ? "yes" : "NO");
    e.memo->Search().Dialog()->Hide();
}

// The best of kRounds searches: on a shared machine the others' load only
// ever adds time.
void BenchSearch(Editor& e, const char* what, uint32_t flags) {
    double s = 0;
    intptr_t r = 0;
    for (int round = 0; round < kRounds; round++) {
        e.memo->Core().SetSelection(0, 0);
        auto t0 = Clock::now();
        r = e.memo->Perform(SMM_FIND, sfFindAtOnce | flags, reinterpret_cast<intptr_t>(what));
        double took = Seconds(t0, Clock::now());
        if (round == 0 || took < s) s = took;
    }
    int32_t a = e.memo->Core().Anchor(), c = e.memo->Core().Caret();
    bool found = (flags & sfRegExpr) ? r != -1 && a != c : r >= 0;
    printf("  %-24s %-6s %8.1f MB/s  %.3f s  %s\n", what, (flags & sfRegExpr) ? "regexp" : "plain",
           MBps(e.Length(), s), s, found ? "found at the end" : "NOT FOUND");
}

}  // namespace

int main() {
    printf("Replace all of %d matches in %.1f MB, through the replace dialog on the control:\n", kMatches,
           kTextBytes / 1e6);
    BenchReplaceAll(false);
    BenchReplaceAll(true);
    Editor e;
    e.memo->SetText(MakeText(false) + "zeta4242");
    printf("SMM_FIND over %.1f MB, the one match at the end (best of %d):\n", e.Length() / 1e6, kRounds);
    BenchSearch(e, "zeta[0-9]+", sfRegExpr);
    BenchSearch(e, "(zeta|theta)42", sfRegExpr);
    BenchSearch(e, "z[a-z]+a4", sfRegExpr);
    BenchSearch(e, "zeta4242", sfMatchCase);
    return 0;
}
