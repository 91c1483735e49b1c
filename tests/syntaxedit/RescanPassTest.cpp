#include "RescanPass.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "SchemeTestUtil.h"

namespace {

TSchemeHighlighter& CLike() {
    static TSchemeHighlighter h;
    static bool done = false;
    if (!done) {
        h.CompileScript(ReadFixture("clike.sch"));
        done = true;
    }
    return h;
}

// Twenty lines of plain code.
std::string Code(int lines = 20) {
    std::string s;
    for (int i = 0; i < lines; i++) s += "int a" + std::to_string(i) + " = " + std::to_string(i) + ";\r";
    return s + "return 0;";
}

// Every line's style bytes, one line per row ("-" for none).
std::string Styles(TTextStore& store) {
    std::string out;
    for (TLineNode* n = store.Head(); n; n = n->Next) {
        if (!n->Styles) {
            out += "-\n";
            continue;
        }
        for (int i = 0; i < n->Len; i++) out += static_cast<char>('A' + n->Styles[i]);
        out += '\n';
    }
    return out;
}

// The styles a pass from scratch gives the same text.
std::string Fresh(TTextStore& store) {
    TTextStore other;
    other.InsertText(0, store.GetText());
    TRescanPass pass;
    pass.Attach(&other, &CLike());
    pass.Rescan(0);
    return Styles(other);
}

struct Fixture : ::testing::Test {
    TTextStore store;
    TRescanPass pass;
    void SetUp() override {
        store.InsertText(0, Code());
        pass.Attach(&store, &CLike());
        pass.Rescan(0);
    }
    int32_t At(int line, int column = 0) { return store.LineStart(line) + column; }
};

TEST_F(Fixture, FromScratchStylesEveryLine) {
    EXPECT_EQ(21, pass.LastStats().LinesRestyled);
    EXPECT_EQ(-1, pass.Pending());
    TLineNode* n = store.LineAt(0);
    ASSERT_NE(nullptr, n->Styles);
    EXPECT_EQ(2, n->Styles[0]);  // "int" is a keyword
    EXPECT_EQ(3, n->Styles[n->Len - 3]);
    EXPECT_EQ(0u, n->Flags & (lfChanged | lfRescan));
}

TEST_F(Fixture, TypingInOneLineRestylesOnlyThatLine) {
    uint8_t* before3 = store.LineAt(3)->Styles;
    store.InsertText(At(10, 4), "x");
    pass.Run();
    EXPECT_EQ(1, pass.LastStats().LinesRestyled);
    EXPECT_EQ(10, pass.LastStats().FirstRestyled);
    EXPECT_TRUE(pass.LastStats().EndedUnchanged);
    EXPECT_LE(pass.LastStats().LinesScanned, 4);
    EXPECT_EQ(before3, store.LineAt(3)->Styles);
    EXPECT_EQ(Fresh(store), Styles(store));
}

TEST_F(Fixture, OpeningAndClosingABlockCommentConverges) {
    store.InsertText(At(5), "/*");
    pass.Run();
    EXPECT_EQ(5, pass.LastStats().FirstRestyled);
    EXPECT_EQ(20, pass.LastStats().LastRestyled);
    EXPECT_EQ(6, store.LineAt(12)->Styles[0]);
    EXPECT_EQ(Fresh(store), Styles(store));

    // Closing it gives the lines after it their code styles back.
    store.InsertText(At(8, store.LineAt(8)->Len - 1), "*/");
    pass.Run();
    EXPECT_EQ(8, pass.LastStats().FirstRestyled);
    EXPECT_EQ(20, pass.LastStats().LastRestyled);
    EXPECT_EQ(2, store.LineAt(12)->Styles[0]);
    EXPECT_EQ(Fresh(store), Styles(store));

    // Typing inside the comment restyles that line and stops after it.
    store.InsertText(At(6, 2), "q");
    pass.Run();
    EXPECT_EQ(6, pass.LastStats().FirstRestyled);
    EXPECT_EQ(6, pass.LastStats().LastRestyled);
    EXPECT_TRUE(pass.LastStats().EndedUnchanged);
    EXPECT_EQ(Fresh(store), Styles(store));

    // Removing the opener restyles the comment's lines only.
    store.DeleteText(At(5), At(5) + 2);
    pass.Run();
    EXPECT_EQ(5, pass.LastStats().FirstRestyled);
    EXPECT_EQ(8, pass.LastStats().LastRestyled);
    EXPECT_EQ(Fresh(store), Styles(store));
}

TEST_F(Fixture, EditsBeforeOnePassAreAllCovered) {
    // Two edits far apart, then one pass: both lines are done.
    store.InsertText(At(15), "/");
    store.InsertText(At(2), "\r\r");
    pass.Run();
    EXPECT_EQ(Fresh(store), Styles(store));
    EXPECT_EQ(-1, pass.Pending());
}

TEST(RescanPass, NoHighlighterLeavesNoStyles) {
    TTextStore store;
    store.InsertText(0, Code(5));
    TRescanPass pass;
    pass.Attach(&store, nullptr);
    pass.Rescan(0);
    store.InsertText(3, "x");
    pass.Run();
    EXPECT_EQ("-\n-\n-\n-\n-\n-\n", Styles(store));
    EXPECT_EQ(-1, pass.Pending());
    EXPECT_EQ(0, pass.LastStats().LinesScanned);
}

TEST(RescanPass, EmptyStoreAndDetachedPassDoNothing) {
    TTextStore store;
    TRescanPass pass;
    pass.Rescan(0);
    pass.Run();
    pass.Attach(&store, &CLike());
    pass.Rescan(0);
    pass.RescanAll();
    EXPECT_FALSE(pass.Continue());
    EXPECT_EQ(-1, pass.Pending());
}

TEST(RescanPass, LazyModeBoundsTheWorkPerPass) {
    TTextStore store;
    store.InsertText(0, Code(1000));
    TRescanPass pass;
    pass.Lazy = true;
    pass.VisibleLines = 20;
    pass.Attach(&store, &CLike());
    pass.Rescan(0);
    EXPECT_LE(pass.LastStats().LinesScanned, 24);
    EXPECT_EQ(nullptr, store.LineAt(100)->Styles);
    // The next visible page is marked for the next step.
    int32_t marked = 0;
    for (TLineNode* n = store.Head(); n; n = n->Next) marked += (n->Flags & lfRescan) != 0;
    EXPECT_EQ(20, marked);
    int steps = 1;
    while (pass.Continue()) {
        EXPECT_LE(pass.LastStats().LinesScanned, 26) << "step " << steps;
        ASSERT_LT(++steps, 200);
    }
    EXPECT_GT(steps, 40);
    EXPECT_EQ(Fresh(store), Styles(store));
}

// Lines marked for a later step.
int32_t Marked(TTextStore& store, int32_t* first = nullptr) {
    int32_t count = 0, i = 0;
    if (first) *first = -1;
    for (TLineNode* n = store.Head(); n; n = n->Next, i++)
        if (n->Flags & lfRescan) {
            if (first && *first < 0) *first = i;
            count++;
        }
    return count;
}

// Whether rows [from, to) of two Styles texts agree.
bool SameRows(const std::string& all, const std::string& fresh, int32_t from, int32_t to) {
    auto rows = [&](const std::string& s) {
        size_t a = 0;
        for (int32_t i = 0; i < from && a != std::string::npos; i++) a = s.find('\n', a) + 1;
        size_t b = a;
        for (int32_t i = from; i < to && b != std::string::npos; i++) b = s.find('\n', b) + 1;
        return s.substr(a, b - a);
    };
    return rows(all) == rows(fresh);
}

// A long text highlighted from scratch, lazily from then on.
struct LazyText {
    TTextStore store;
    TRescanPass pass;
    LazyText(int lines, int visible) {
        store.InsertText(0, Code(lines));
        pass.VisibleLines = visible;
        pass.Attach(&store, &CLike());
        pass.Rescan(0);
        pass.Lazy = true;
    }
};

// Edits in a long text, highlighted lazily: every pass restyles about a page
// (a comment left open is one token, so its characters are scanned from its
// start each time), and stepping on converges on the styles from scratch.
TEST(RescanPass, LazyModeAfterAnEditConvergesOverBoundedPasses) {
    struct Case {
        const char* Name;
        int32_t Line;
        const char* Text;
        bool MarksMore;  // the first pass leaves lines for later
        int MinSteps;
    };
    const Case cases[] = {
        {"one character", 0, "x", false, 0},
        {"a comment opened", 2, "/*", true, 25},
        {"a comment opened near the end", 900, "/*", true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        LazyText t(1000, 30);
        TTextStore& store = t.store;
        TRescanPass& pass = t.pass;
        store.InsertText(store.LineStart(c.Line), c.Text);
        pass.Run();
        EXPECT_LE(pass.LastStats().LinesRestyled, 35);
        EXPECT_EQ(!c.MarksMore, pass.LastStats().EndedUnchanged);
        EXPECT_EQ(c.MarksMore ? 30 : 0, Marked(store));
        int steps = 0;
        while (pass.Continue()) {
            EXPECT_LE(pass.LastStats().LinesRestyled, 35) << "step " << steps;
            ASSERT_LT(++steps, 1000);
        }
        EXPECT_GE(steps, c.MinSteps);
        EXPECT_EQ(0, Marked(store));
        EXPECT_EQ(Fresh(store), Styles(store));
    }
}

// Painting catches up only as far as the last visible line; the rest waits.
TEST(RescanPass, LazyCatchUpStopsAtTheGivenLine) {
    LazyText t(3000, 20);
    TTextStore& store = t.store;
    TRescanPass& pass = t.pass;
    store.InsertText(store.LineStart(3), "/*");
    pass.Run();
    int32_t first = -1;
    EXPECT_EQ(20, Marked(store, &first));
    EXPECT_GT(first, 20);
    // Nothing waits up to a line before the first mark.
    EXPECT_EQ(0, pass.CatchUp(first - 1));
    // Lines 500..520 seen: those and all before are right after one pass,
    // the far end not yet.
    EXPECT_EQ(1, pass.CatchUp(520));
    EXPECT_LE(pass.LastStats().LinesRestyled, 525);
    std::string fresh = Fresh(store), now = Styles(store);
    EXPECT_TRUE(SameRows(now, fresh, 0, 521));
    EXPECT_FALSE(SameRows(now, fresh, 2900, 3000));
    EXPECT_GT(Marked(store, &first), 0);
    EXPECT_GT(first, 520);
    // Lines added above the marks move them; stepping on still finds them.
    store.InsertText(0, "int q;\r\r");
    pass.Run();
    pass.CatchUp(store.LineCount());
    EXPECT_EQ(0, Marked(store));
    EXPECT_EQ(Fresh(store), Styles(store));
}

// Two edits far apart before one lazy pass: the far one is not forgotten
// when the budget ends the pass near the first.
TEST(RescanPass, LazyPassLeavesAFarEditForItsOwnStep) {
    LazyText t(1000, 20);
    TTextStore& store = t.store;
    TRescanPass& pass = t.pass;
    store.InsertText(store.LineStart(800), "while ");
    store.InsertText(store.LineStart(5), "x");
    pass.Run();
    EXPECT_LE(pass.LastStats().LinesScanned, 25);
    int32_t first = -1;
    EXPECT_EQ(1, Marked(store, &first));
    EXPECT_EQ(800, first);
    EXPECT_TRUE(pass.Continue());
    EXPECT_LE(pass.LastStats().LinesScanned, 25);
    EXPECT_EQ(Fresh(store), Styles(store));
}

// New lines a lazy pass left waiting, then an edit just below them: the
// pass used to restart on a waiting line without styles, outside the comment
// that runs over it, and left the edited line styled as code.
TEST(RescanPass, LazyPassBelowWaitingLinesStartsAtTheFirst) {
    LazyText t(20, 1);
    TTextStore& store = t.store;
    store.InsertText(store.LineStart(2), "/*\r\r\r\r\r\r");
    t.pass.Run();
    int32_t first = -1;
    EXPECT_GT(Marked(store, &first), 0);
    ASSERT_LT(first, 8);
    ASSERT_EQ(nullptr, store.LineAt(first)->Styles);
    store.InsertText(store.LineStart(first + 1), "x");
    t.pass.Run();
    EXPECT_EQ(6, store.LineAt(first + 1)->Styles[0]);
    t.pass.CatchUp(store.LineCount());
    EXPECT_EQ(Fresh(store), Styles(store));
}

TEST(RescanPass, RescanAllIgnoresTheLazyBudget) {
    TTextStore store;
    store.InsertText(0, Code(300));
    TRescanPass pass;
    pass.Lazy = true;
    pass.VisibleLines = 10;
    pass.Attach(&store, &CLike());
    pass.RescanAll();
    EXPECT_EQ(Fresh(store), Styles(store));
}

TEST_F(Fixture, TokenSeenFramesEveryPassAndMayChangeTheToken) {
    std::vector<std::pair<int32_t, int32_t>> frames;
    pass.OnTokenSeen = [&](int32_t& token, int32_t start, int32_t end) {
        if (token < 0) frames.emplace_back(start, end);
        if (token == 2) token = 7;  // keywords drawn as style 7
    };
    store.InsertText(At(4, 4), "n");
    pass.Run();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(std::make_pair(-1, -1), frames[0]);
    EXPECT_EQ(std::make_pair(-2, -2), frames[1]);
    EXPECT_EQ(7, store.LineAt(4)->Styles[0]);
}

TEST_F(Fixture, TokenSeenGetsTheTokensTextWhenAskedFor) {
    std::vector<std::string> seen;
    pass.OnTokenSeen = [&](int32_t& token, int32_t start, int32_t end) {
        if (pass.WantTokenText && token >= 0) {
            EXPECT_EQ(store.GetText(start, end), pass.TokenText());
        }
        seen.push_back(pass.TokenText());
    };
    store.InsertText(At(20, 0), "x");  // "xreturn 0;"
    pass.Run();
    ASSERT_GE(seen.size(), 3u);
    for (const std::string& text : seen) EXPECT_EQ("", text) << "not asked for: no text";

    seen.clear();
    pass.WantTokenText = true;
    store.InsertText(At(20, 0), "y");
    pass.Run();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ("", seen.front()) << "the frames carry no text";
    EXPECT_EQ("", seen.back());
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), "yxreturn"));
}

// An edit made by a handler during a pass used to run inside the pass and
// leave it on freed nodes: now the pass ends there and runs again.
TEST_F(Fixture, EditFromAHandlerEndsThePassSafely) {
    int starts = 0, nested = 0, edits = 0;
    pass.OnTokenSeen = [&](int32_t& token, int32_t start, int32_t) {
        if (token == -1) {
            starts++;
            nested += pass.Running() ? 0 : 1;
            return;
        }
        if (token >= 0 && start >= At(6) && edits < 2) {
            edits++;
            // Replaces the lines the pass is on, then asks for a pass.
            store.DeleteText(At(6), At(8));
            store.InsertText(At(6), "/* x\r");
            pass.Rescan(6);
        }
    };
    store.InsertText(At(5), "q");
    pass.Run();
    EXPECT_EQ(2, edits);
    EXPECT_EQ(0, nested);
    EXPECT_GE(pass.LastStats().Restarts, 2);
    EXPECT_EQ(-1, pass.Pending());
    pass.OnTokenSeen = nullptr;
    EXPECT_EQ(Fresh(store), Styles(store));
}

TEST(RescanPass, AHandlerEditingEveryPassCannotHangIt) {
    TTextStore store;
    store.InsertText(0, Code(5));
    TRescanPass pass;
    pass.Attach(&store, &CLike());
    int calls = 0;
    pass.OnTokenSeen = [&](int32_t& token, int32_t, int32_t) {
        if (token >= 0) {
            calls++;
            store.InsertText(0, "x");
        }
    };
    pass.Rescan(0);
    EXPECT_LE(calls, 10);
    EXPECT_EQ(0, pass.Pending());
}

TEST(RescanPass, DoneFromAHandlerStopsThePass) {
    TTextStore store;
    store.InsertText(0, Code(5));
    TRescanPass pass;
    pass.Attach(&store, &CLike());
    pass.OnTokenSeen = [&](int32_t& token, int32_t, int32_t) {
        if (token >= 0) pass.Done();
    };
    pass.Rescan(0);
    EXPECT_EQ(-1, pass.Pending());
    EXPECT_TRUE(store.Watchers().empty());
}

}  // namespace
