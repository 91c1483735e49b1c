// The re-highlighting pass: keeps the style bytes of a text store's lines up
// to date with a scheme highlighter, from a restart point before the first
// changed line until the new styles agree with the old ones. The editor
// control attaches it to its store and runs it from its change notice.
// It never processes window messages: an edit made from a handler during a
// pass ends that pass before any node is touched again, and the pass then
// runs once more from the edited line. No platform headers.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SchemeHighlighter.h"
#include "TextStore.h"

// Token value by reference, extent start and end (character offsets); the
// pass announces itself with (-1, -1, -1) and its end with (-2, -2, -2).
using TTokenSeenEvent = std::function<void(int32_t& token, int32_t start, int32_t end)>;

// What the last pass did, for the control's repaint and for tests.
struct TRescanStats {
    int32_t LinesScanned = 0;   // lines whose characters the scanner went over
    int32_t LinesRestyled = 0;  // lines that received new style bytes
    int32_t FirstRestyled = -1; // line indexes; -1 when none
    int32_t LastRestyled = -1;
    bool EndedUnchanged = false; // stopped on a line whose styles agreed
    int32_t Restarts = 0;        // passes ended by an edit and run again
};

class TRescanPass : public TTextStoreWatcher {
public:
    TRescanPass() = default;
    ~TRescanPass() override { Done(); }
    TRescanPass(const TRescanPass&) = delete;
    TRescanPass& operator=(const TRescanPass&) = delete;

    // Watches store (its edits mark where the next pass starts); a null
    // highlighter means no highlighting: passes do nothing.
    void Attach(TTextStore* store, TSchemeHighlighter* highlighter);
    void SetHighlighter(TSchemeHighlighter* highlighter) { highlighter_ = highlighter; }
    // Stops watching; the styles stay as they are.
    void Done();

    // Marks line for re-highlighting and runs the pass from it, covering at
    // least VisibleLines + 2 lines.
    void Rescan(int32_t line);
    // Runs the pass from the first line an edit touched, if any (the
    // control's change notice).
    void Run();
    // Runs the pass without a budget from every line still marked lfRescan
    // or lfChanged, until none is left: all styles are current after it.
    void RescanAll();
    // Runs the pass from the first line marked lfRescan, if that is at or
    // before line upTo, with the usual budget or at least through upTo:
    // the lazy mode's next step. False when none is marked there.
    bool Continue(int32_t upTo = INT32_MAX);
    // Steps on until no line up to upTo waits (painting those lines); the
    // number of passes run.
    int32_t CatchUp(int32_t upTo);

    // The first line waiting for a pass; -1 when none.
    int32_t Pending() const { return lo_; }
    bool Running() const { return running_; }
    const TRescanStats& LastStats() const { return stats_; }

    bool Lazy = false;
    int32_t VisibleLines = 30;
    TTokenSeenEvent OnTokenSeen;
    // When set, OnTokenSeen finds the token's characters in TokenText().
    bool WantTokenText = false;
    const std::string& TokenText() const { return tokenText_; }

    void StoreEdited(TTextStore& store, const TStoreEdit& edit) override;

private:
    struct TCursor {
        TLineNode* node = nullptr;
        int32_t off = 0;      // within node
        int32_t start = 0;    // node's first character offset
        int32_t index = 0;    // node's line index
        int32_t counter = 0;  // lines past the start line
    };

    enum class TFinish { Next, Unchanged, Stopped, TextEnd };
    void Merge(int32_t line);
    void RunFrom(int32_t line, int32_t budget);
    // One pass over lo_ .. hi_; false when an edit ended it.
    bool Pass(int32_t budget);
    bool Scan(TCursor& c, int32_t budget, int32_t reach);
    TCursor RestartPoint(TCursor c, int& style) const;
    void LoadBuffer(const TLineNode* n);
    TFinish FinishLine(TCursor& c, int32_t budget, int32_t reach, bool runsOn);
    void Install(TLineNode* n, int32_t index);
    bool Edited() const {
        return !store_ || !highlighter_ || store_->EditCount() != editSeen_;
    }
    bool Fire(int32_t& token, int32_t start, int32_t end);
    void MarkLazyRest(const TCursor& c, bool stopped, int32_t reach);
    void Mark(TLineNode* n, int32_t index);
    // The first line marked lfRescan at or before upTo; -1 when none.
    int32_t FirstMarked(int32_t upTo);

    TTextStore* store_ = nullptr;
    TSchemeHighlighter* highlighter_ = nullptr;
    // Lines that edits touched and no pass has finished yet; an edit moves
    // them with the lines it adds or removes.
    int32_t lo_ = -1;
    int32_t hi_ = -1;
    int32_t requested_ = -1;  // a Rescan asked for during a pass
    // No line before this one is marked lfRescan (INT32_MAX: none is), so
    // a lazy step need not walk the whole text to find its start.
    int32_t markedFrom_ = INT32_MAX;
    bool running_ = false;
    uint32_t editSeen_ = 0;
    std::vector<uint8_t> buf_;
    std::string tokenText_;
    TRescanStats stats_;
};
