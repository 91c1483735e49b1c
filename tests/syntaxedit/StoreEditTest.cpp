#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "EdStream.h"
#include "PlainSearch.h"
#include "TextStore.h"

namespace {

// "Len" per node, "|" between nodes, "+" before a continuation piece.
std::string Layout(const TTextStore& s) {
    std::string out;
    for (TLineNode* n = s.Head(); n; n = n->Next) {
        if (n != s.Head()) out += (n->GutterMarks & gmContinuation) ? "+" : "|";
        out += std::to_string(n->Len);
    }
    return out;
}

std::string Lines(int n) {
    std::string t;
    for (int i = 0; i < n; i++) t += "line " + std::to_string(i) + "\r";
    return t;
}

// A line's track data: knows its node, as the control's objects do.
class Track : public TObject {
public:
    TLineNode* node = nullptr;
    int id = 0;
};

// Mirrors the store from its notices alone, and owns the track data.
class Mirror : public TTextStoreWatcher {
public:
    int32_t length = 0, lines = 0, notices = 0, freed = 0;
    std::vector<TStoreEdit> edits;
    void StoreEdited(TTextStore&, const TStoreEdit& e) override {
        length += e.Inserted - e.Removed;
        lines += e.LinesAdded - e.LinesRemoved;
        notices++;
        edits.push_back(e);
    }
    void TrackDataMoved(TObject* track, TLineNode* node) override { static_cast<Track*>(track)->node = node; }
    void TrackDataFreed(TObject* track) override {
        freed++;
        delete track;
    }
};

// Every track object points back at the node that holds it.
void ExpectTracksHome(const TTextStore& s, int expected) {
    int seen = 0;
    for (TLineNode* n = s.Head(); n; n = n->Next)
        if (n->TrackData) {
            seen++;
            EXPECT_EQ(static_cast<Track*>(n->TrackData)->node, n) << "track " << static_cast<Track*>(n->TrackData)->id;
        }
    EXPECT_EQ(seen, expected);
}

Track* Attach(TLineNode* n, int id) {
    Track* t = new Track;
    t->node = n;
    t->id = id;
    n->TrackData = t;
    return t;
}

}  // namespace

// A stream kept across an edit finds its node again instead of reading the
// freed one (MoveTo, then an edit, then a search).
TEST(EdStream, KeptAcrossEditsReaims) {
    struct Case {
        const char* name;
        std::function<void(TTextStore&)> edit;
    } cases[] = {
        {"insert a line break into the cursor's line", [](TTextStore& s) { s.InsertText(22, "xx\ryy"); }},
        {"insert one character", [](TTextStore& s) { s.InsertText(21, "z"); }},
        {"delete the cursor's line", [](TTextStore& s) { s.DeleteText(14, 28); }},
        {"delete everything after the start", [](TTextStore& s) { s.DeleteText(3, s.TextLength()); }},
        {"clear", [](TTextStore& s) { s.Clear(); }},
        {"split and join", [](TTextStore& s) {
             s.SplitLine(3, 2);
             s.JoinLine(3);
         }},
    };
    for (const Case& c : cases) {
        TTextStore s;
        s.InsertText(0, Lines(12));
        TEdStream e(&s);
        e.MoveTo(23);
        ASSERT_NE(e.CurChar(), 0) << c.name;
        c.edit(s);
        int32_t pos = std::min(23, s.TextLength());
        EXPECT_EQ(e.GetPosition(), pos) << c.name;
        EXPECT_EQ(e.Size(), s.TextLength()) << c.name;
        std::string expected = s.GetText(pos, pos + 1);
        EXPECT_EQ(e.CurChar(), expected.empty() ? 0 : static_cast<uint8_t>(expected[0])) << c.name;
        TSearchTables tables;
        int32_t last = s.TextLength() - 1;
        int32_t want = static_cast<int32_t>(s.GetText().find("line 9"));
        int32_t found = FindText(nullptr, e, last, tables, false, true, false, 0, "line 9");
        EXPECT_EQ(found, want < 0 ? last + 1 : want) << c.name;
        char buf[8];
        e.MoveTo(0);
        int32_t n = e.Read(buf, 8);
        EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), s.GetText(0, 8)) << c.name;
    }
}

TEST(TextStore, WatchersSeeEveryChange) {
    TTextStore s;
    Mirror m, other;
    s.AddWatcher(&m);
    s.AddWatcher(&m);  // listed once
    s.AddWatcher(&other);
    EXPECT_EQ(s.Watchers().size(), 2u);
    s.InsertText(0, "ab\rcd\ref");
    uint32_t count = s.EditCount();
    s.InsertText(4, "x");
    EXPECT_EQ(s.EditCount(), count + 1);
    const TStoreEdit& typed = m.edits.back();
    EXPECT_EQ(typed.Offset, 4);
    EXPECT_EQ(typed.Inserted, 1);
    EXPECT_EQ(typed.FirstLine, 1);
    EXPECT_EQ(typed.LinesRemoved, 1);
    EXPECT_EQ(typed.LinesAdded, 1);
    EXPECT_EQ(typed.First, s.NodeAtLine(1));
    s.DeleteText(1, 5);
    const TStoreEdit& joined = m.edits.back();
    EXPECT_EQ(joined.Removed, 4);
    EXPECT_EQ(joined.FirstLine, 0);
    EXPECT_EQ(joined.LinesRemoved, 2);
    EXPECT_EQ(joined.LinesAdded, 1);
    EXPECT_EQ(s.GetText(), "ad\ref");

    // Random edits: the counts the notices add up to stay right.
    std::mt19937 rng(5);
    for (int step = 0; step < 400; step++) {
        int32_t len = s.TextLength();
        int32_t at = static_cast<int32_t>(rng() % static_cast<uint32_t>(len + 1));
        switch (rng() % 5) {
        case 0: s.DeleteText(at, at + static_cast<int32_t>(rng() % 40)); break;
        case 1: s.SplitLine(static_cast<int32_t>(rng() % 50), static_cast<int32_t>(rng() % 10)); break;
        case 2: s.CutLine(static_cast<int32_t>(rng() % 50), 1 + static_cast<int32_t>(rng() % 6)); break;
        case 3: s.JoinLine(static_cast<int32_t>(rng() % 50)); break;
        default: s.InsertText(at, std::string(rng() % 30, 'q') + (rng() % 2 ? "\r" : "")); break;
        }
        ASSERT_EQ(m.length, s.TextLength()) << "step " << step;
        ASSERT_EQ(m.lines, s.LineCount()) << "step " << step;
        ASSERT_EQ(s.CheckInvariants(), "") << "step " << step;
    }
    EXPECT_EQ(other.notices, m.notices);
    s.RemoveWatcher(&other);
    s.Clear();
    EXPECT_EQ(m.length, 0);
    EXPECT_EQ(m.lines, 0);
    EXPECT_NE(other.lines, 0);
}

// The owner of the track data hears where each object went and which ones
// went away; none is leaked or left pointing at a freed node.
TEST(TextStore, TrackDataFollowsItsLine) {
    Mirror owner;  // outlives the store, as the control does
    TTextStore s;
    s.SetTrackOwner(&owner);
    s.InsertText(0, Lines(6));
    for (int i = 0; i < 6; i++) Attach(s.NodeAtLine(i), i);
    s.InsertText(s.LineStart(1) + 2, "a\rb");  // line 1 replaced by new nodes
    ExpectTracksHome(s, 6);
    EXPECT_EQ(static_cast<Track*>(s.NodeAtLine(1)->TrackData)->id, 1);
    EXPECT_EQ(s.NodeAtLine(2)->TrackData, nullptr);
    s.DeleteText(s.LineStart(3) + 1, s.LineStart(5) + 1);  // joins lines 3..5
    EXPECT_EQ(owner.freed, 2);
    ExpectTracksHome(s, 4);
    s.InsertText(s.LineStart(0), std::string(3000, 'w'));  // cut into pieces
    ExpectTracksHome(s, 4);
    EXPECT_EQ(static_cast<Track*>(s.Head()->TrackData)->id, 0);
    s.CutLine(0, 100);
    s.JoinLine(20);
    ExpectTracksHome(s, 4);
    s.Clear();
    EXPECT_EQ(owner.freed, 6);
    // Without an owner the store deletes what its lines hold.
    s.SetTrackOwner(nullptr);
    s.InsertText(0, "x\ry");
    Attach(s.Head(), 9);
    s.DeleteText(0, 3);
}

TEST(TextStore, LongLinesCarryTheirAttributesIntoPieces) {
    Mirror owner;  // outlives the store, as the control does
    TTextStore s;
    s.SetTrackOwner(&owner);
    s.InsertText(0, "first\r");
    TLineNode* line = s.Head();
    line->TextColor = 0x0000FF;
    line->BackColor = 0xFFFFFF;
    line->GutterMarks = 2;
    line->LineMarks = 5;
    Attach(line, 1);
    s.InsertText(0, std::string(5000, 'x'));
    EXPECT_EQ(Layout(s), "2047+2047+912|0");
    TLineNode* a = s.Head();
    TLineNode* b = a->Next;
    TLineNode* c = b->Next;
    EXPECT_EQ(a->TextColor, 0x0000FF);
    EXPECT_EQ(a->BackColor, 0xFFFFFF);
    EXPECT_EQ(a->GutterMarks, 2);
    EXPECT_EQ(a->LineMarks, 5);
    ExpectTracksHome(s, 1);
    for (TLineNode* n : {b, c}) {
        EXPECT_EQ(n->GutterMarks, gmContinuation);
        EXPECT_EQ(n->LineMarks, 0);
        EXPECT_EQ(n->BackColor, -1);
        EXPECT_EQ(n->TextColor, -1);
        EXPECT_EQ(n->TrackData, nullptr);
    }
    EXPECT_EQ(s.CheckInvariants(), "");

    // The pieces as the editing cut makes them for a line alone.
    TTextStore t;
    t.InsertText(0, std::string(5000, 'y'));
    EXPECT_EQ(Layout(t), "2047+2047+906");
}

TEST(TextStore, JoinCutAndSplitKeepTextStylesAndMarks) {
    TTextStore s;
    s.InsertText(0, "top\r" + std::string(5000, 'x') + "\rbottom");
    TLineNode* first = s.NodeAtLine(1);
    first->BackColor = 0x00FF00;
    first->TextColor = 0x000000;
    first->GutterMarks = 1;
    // Style bytes on the first and the last piece only.
    for (TLineNode* n : {first, first->Next->Next}) {
        n->Styles = new uint8_t[n->Len];
        for (int i = 0; i < n->Len; i++) n->Styles[i] = static_cast<uint8_t>(i % 7 + 1);
    }
    int32_t pieces = 0;
    EXPECT_EQ(s.JoinLine(2), 1);  // any piece names the logical line
    EXPECT_EQ(Layout(s), "4|5001|6");
    TLineNode* joined = s.NodeAtLine(1);
    EXPECT_EQ(joined, first);  // the first piece keeps its node
    EXPECT_EQ(joined->BackColor, 0x00FF00);
    EXPECT_EQ(joined->GutterMarks, 1);
    ASSERT_NE(joined->Styles, nullptr);
    EXPECT_EQ(joined->Styles[2046], 2046 % 7 + 1);
    EXPECT_EQ(joined->Styles[2047], 0);  // the middle piece had none
    EXPECT_EQ(joined->Styles[4094], 0 + 1);
    EXPECT_TRUE(joined->Flags & lfChanged);

    // Cut at 2048 columns, as with word wrap off.
    EXPECT_EQ(s.CutLine(1, 2048, &pieces), 1);
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(Layout(s), "4|2048+2048+905|6");
    EXPECT_EQ(s.NodeAtLine(2)->Styles[0], 0);
    EXPECT_EQ(s.NodeAtLine(3)->Styles[0], 2 % 7 + 1);  // character 4096 of the line
    EXPECT_EQ(s.NodeAtLine(2)->BackColor, -1);
    EXPECT_EQ(s.GetText(), "top\r" + std::string(5000, 'x') + "\rbottom");

    // A cut at any column, the CR staying with the second part.
    TLineNode* second = s.SplitLine(3, 904);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Len, 1);
    EXPECT_EQ(second->GutterMarks, gmContinuation);
    EXPECT_EQ(Layout(s), "4|2048+2048+904+1|6");
    EXPECT_EQ(s.SplitLine(0, 0), nullptr);
    EXPECT_EQ(s.SplitLine(0, 4), nullptr);
    EXPECT_EQ(s.SplitLine(99, 1), nullptr);
    EXPECT_EQ(s.CheckInvariants(), "");

    // Word wrap: the cutter sees what is left of the line and says where.
    s.JoinLine(1);
    s.DeleteText(s.LineStart(1), s.LineStart(2) - 1);
    s.InsertText(s.LineStart(1), "one two three four");
    auto words = [](const char* text, const uint8_t*, int32_t len) {
        int32_t k = std::min(len, 9);
        if (k < len) {
            while (k > 0 && text[k - 1] != ' ') k--;
            if (k == 0) k = std::min(len, 9);  // a word longer than the width
        }
        return k;
    };
    EXPECT_EQ(s.RewrapLine(1, words, &pieces), 1);
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(s.GetText(s.LineStart(1), s.LineStart(4)), "one two three four\r");
    EXPECT_EQ(std::string(s.NodeAtLine(2)->Text), "three ");
    EXPECT_EQ(s.LogicalLineStart(3), 1);
    EXPECT_EQ(s.LogicalLineStart(4), 4);
    EXPECT_EQ(s.CheckInvariants(), "");

    // The empty last line stays a line.
    TTextStore e;
    e.InsertText(0, "a\r");
    e.JoinLine(1);
    e.CutLine(1, 5);
    EXPECT_EQ(Layout(e), "2|0");
}

TEST(TextStore, LineLookupsPastTheEnd) {
    TTextStore s;
    EXPECT_EQ(s.LineStart(0), 0);  // line 0 of an empty text
    EXPECT_EQ(s.LineStart(1), -1);
    EXPECT_EQ(s.LineAt(0), nullptr);
    s.InsertText(0, "ab\rcd\ref");
    struct Case {
        int32_t line;
        int32_t start;
    } cases[] = {{-1, -1}, {0, 0}, {1, 3}, {2, 6}, {3, -1}, {1000, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(s.LineStart(c.line), c.start) << "line " << c.line;
        EXPECT_EQ(s.LineAt(c.line) != nullptr, c.start >= 0) << "line " << c.line;
    }
    int32_t walked;
    EXPECT_EQ(s.NodeAtLine(1000, nullptr, &walked), s.Tail());  // the clamping lookup
    EXPECT_EQ(walked, 2);
}

// Appending a line and finding it again costs the same walk at line 20,000
// as at line 1: the lookups start from the last node or the last one found.
TEST(TextStore, AppendingAndColouringDoesNotWalkTheText) {
    TTextStore s;
    int32_t longest = 0;
    for (int i = 0; i < 20000; i++) {
        std::string line = "< 226 Transfer complete #" + std::to_string(i);
        int32_t count = s.LineCount();
        int32_t last = s.LineStart(count - 1);
        if (count == 0) {
            s.InsertText(0, line);
        } else {
            longest = std::max(longest, s.LastWalk());
            int32_t end = last + s.LineAt(count - 1)->Len;
            longest = std::max(longest, s.LastWalk());
            s.InsertText(end, "\r" + line);
            longest = std::max(longest, s.LastWalk());
        }
        TLineNode* added = s.NodeAtLine(s.LineCount());  // clamps to the new line
        longest = std::max(longest, s.LastWalk());
        added->TextColor = 0x0000FF;
        s.NodeAtLine(s.LineCount())->BackColor = 0xFFFFFF;
        longest = std::max(longest, s.LastWalk());
    }
    EXPECT_EQ(s.LineCount(), 20000);
    EXPECT_LE(longest, 1);
    // A lookup near the last one found walks only the distance between them.
    int32_t offset = s.LineStart(10002) + 3;
    s.NodeAtLine(10000);
    s.NodeAtLine(10005);
    EXPECT_EQ(s.LastWalk(), 5);
    s.NodeAtOffset(offset);
    EXPECT_EQ(s.LastWalk(), 3);
}

// A read that ends exactly with a node used to leave the cursor on that node,
// so CurChar answered 0 and Next skipped the next line's first character.
TEST(EdStream, ReadEndingWithANodeStandsOnTheNextOne) {
    TTextStore s;
    s.InsertText(0, "ab\rcd\ref");
    TEdStream e(&s);
    char buf[4];
    EXPECT_EQ(e.Read(buf, 3), 3);  // "ab\r", the whole first node
    EXPECT_EQ(e.GetPosition(), 3);
    EXPECT_EQ(e.CurChar(), 'c');
    e.Next();
    EXPECT_EQ(e.CurChar(), 'd');
    EXPECT_EQ(e.GetPosition(), 4);
    e.MoveTo(6);
    EXPECT_EQ(e.Read(buf, 2), 2);  // the end of the text
    EXPECT_TRUE(e.AtEnd());
    EXPECT_EQ(e.CurChar(), 0);
}

// Lookups anywhere in a long text leave known positions behind, so later
// ones walk a short way; edits keep those positions right.
TEST(TextStore, LineIndexShortensWalksAndFollowsEdits) {
    TTextStore s;
    s.InsertText(0, Lines(20000));
    std::vector<int32_t> starts;
    auto count = [&] {
        starts.clear();
        for (TLineNode* n = s.Head(), *p = nullptr; n; p = n, n = n->Next)
            starts.push_back(p ? starts.back() + p->Len : 0);
    };
    count();
    std::mt19937 rng(11);
    int32_t longest = 0;
    for (int round = 0; round < 3000; round++) {
        int32_t line = static_cast<int32_t>(rng() % starts.size());
        int32_t start, index;
        TLineNode* n = s.NodeAtLine(line, &start);
        if (round >= 1000) longest = std::max(longest, s.LastWalk());
        ASSERT_EQ(start, starts[static_cast<size_t>(line)]) << "line " << line;
        int32_t offset = start + static_cast<int32_t>(rng() % n->Len);
        ASSERT_EQ(s.NodeAtOffset(offset, &start, &index), n) << "offset " << offset;
        ASSERT_EQ(index, line);
        if (round >= 1000) longest = std::max(longest, s.LastWalk());
        if (round % 100 == 0) {
            // An edit in the middle: later lines move, the index with them.
            int32_t at = starts[static_cast<size_t>(line)];
            s.InsertText(at, round % 200 ? "new\rline\r" : "x");
            s.DeleteText(at + 2, at + 5);
            s.SplitLine(line, 1);
            s.JoinLine(line);
            ASSERT_EQ(s.CheckInvariants(), "") << "round " << round;
            count();
        }
    }
    EXPECT_LE(longest, 2 * TLineIndex::kSpacing);
    EXPECT_EQ(s.CheckInvariants(), "");
    s.Clear();
    EXPECT_EQ(s.CheckInvariants(), "");
}
