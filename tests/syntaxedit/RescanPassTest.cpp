#include "RescanPass.h"

#include <gtest/gtest.h>

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
