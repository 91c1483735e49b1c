#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StreamPrimitives.h"
#include "SyntaxKeywords.h"
#include "SyntaxMemoErrors.h"
#include "TextStore.h"

namespace {

const TStateSet S0 = TStateSet::Of({0});

TSM_CharGroup Spec(const char* s) {
    TSM_CharGroup g;
    ParseCharSpec(s, 1, g);
    return g;
}

struct Match {
    intptr_t data = -1;  // -1: none
    int32_t length = 0, startPos = 0, endPos = 0;
};

Match MatchAt(TKeywords& k, const std::string& text, int32_t pos, bool forward, bool caseSensitive = false) {
    TTextStore s;
    s.InsertText(0, text);
    TEdStream e(&s);
    e.MoveTo(pos);
    Match m;
    int32_t startOffset;
    KeywordEntry* entry = k.MatchKeyword(e, caseSensitive, m.length, m.startPos, startOffset, forward);
    if (entry) m.data = entry->Data;
    m.endPos = e.GetPosition();
    return m;
}

}  // namespace

TEST(Keywords, LongestMatchForwards) {
    TKeywords k;
    k.ActiveStates = S0;
    k.AddKeyword("end", false, 1, S0, TSM_CharGroup());
    k.AddKeyword("endif", false, 2, S0, TSM_CharGroup());
    Match m = MatchAt(k, "endifx", 0, true);
    EXPECT_EQ(m.data, 2);
    EXPECT_EQ(m.length, 5);
    EXPECT_EQ(m.endPos, 5);
    m = MatchAt(k, "END;", 0, true);  // not case-sensitive
    EXPECT_EQ(m.data, 1);
    EXPECT_EQ(m.length, 3);
}

TEST(Keywords, FollowGroupsDecideTheMatch) {
    // endif must not be followed by x; end only by what its group admits.
    for (auto c : {std::make_pair("[a-z]", 1), std::make_pair("[0-9]", -1)}) {
        TKeywords k;
        k.ActiveStates = S0;
        k.AddKeyword("end", false, 1, S0, Spec(c.first));
        k.AddKeyword("endif", false, 2, S0, Spec("[^x]"));
        Match m = MatchAt(k, "endifx", 0, true);
        EXPECT_EQ(m.data, c.second) << c.first;
        if (c.second < 0) {
            EXPECT_EQ(m.length, 1);
            EXPECT_EQ(m.endPos, 1);
        } else {
            EXPECT_EQ(m.length, 3);
        }
    }
}

TEST(Keywords, MatchesBackwards) {
    TKeywords k;
    k.ActiveStates = S0;
    k.AddKeyword("rof", false, 7, S0, TSM_CharGroup());  // "for" read from right to left
    Match m = MatchAt(k, "x for", 4, false);
    EXPECT_EQ(m.data, 7);
    EXPECT_EQ(m.length, 3);
    EXPECT_EQ(m.endPos, 1);  // before the matched characters
    // At the start of the text a word cannot be read past its first character.
    TKeywords w;
    w.ActiveStates = S0;
    w.AddKeyword("xxx", false, 1, S0, TSM_CharGroup());
    EXPECT_EQ(MatchAt(w, "xx", 1, false).data, -1);
    w.AddKeyword("xx", false, 2, S0, TSM_CharGroup());
    Match m2 = MatchAt(w, "xx", 1, false);
    EXPECT_EQ(m2.data, 2);
    EXPECT_EQ(m2.endPos, 0);
}

TEST(Keywords, StatesAndCase) {
    TKeywords k;
    k.ActiveStates = S0;
    // Nothing matches while recognition is off everywhere.
    k.AddKeyword("begin", false, 1, TStateSet::Of({1, 2}), TSM_CharGroup());
    TKeywords none;
    none.AddKeyword("begin", false, 1, S0, TSM_CharGroup());
    Match m = MatchAt(none, "begin", 0, true);
    EXPECT_EQ(m.data, -1);
    EXPECT_EQ(m.length, 1);
    EXPECT_EQ(m.endPos, 1);

    try {
        k.AddKeyword("Begin", false, 2, TStateSet::Of({2, 3}), TSM_CharGroup());
        FAIL();
    } catch (const EKeywords& e) {
        EXPECT_EQ(e.Message(), "Duplicate keyword - 'begin'");
    }
    k.AddKeyword("BEGIN", false, 3, TStateSet::Of({5}), TSM_CharGroup());  // disjoint states
    k.ActiveStates = TStateSet::Of({1});
    EXPECT_EQ(MatchAt(k, "Begin", 0, true).data, 1);
    k.ActiveStates = TStateSet::Of({5});
    EXPECT_EQ(MatchAt(k, "bEgIn", 0, true).data, 3);
    k.ActiveStates = TStateSet::Of({4});
    EXPECT_EQ(MatchAt(k, "begin", 0, true).data, -1);

    TKeywords cs;
    cs.ActiveStates = S0;
    cs.AddKeyword("Case", true, 1, S0, TSM_CharGroup());
    EXPECT_EQ(MatchAt(cs, "Case", 0, true, true).data, 1);
    EXPECT_EQ(MatchAt(cs, "case", 0, true, true).data, -1);
}

TEST(Keywords, FindPrefix) {
    TKeywords k;
    k.AddKeyword("while", false, 1, S0, TSM_CharGroup());
    k.AddKeyword("with", false, 2, S0, TSM_CharGroup());
    int32_t followed;
    KeywordNode* n = k.FindPrefix("WHILE", followed, false);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(followed, 5);
    EXPECT_NE(n->Entries, nullptr);
    n = k.FindPrefix("whale", followed, false);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(followed, 2);  // "wh" is stored
    EXPECT_EQ(n->Ch, 'h');
    n = k.FindPrefix("wit", followed, false);
    EXPECT_EQ(followed, 3);
    EXPECT_EQ(n->Entries, nullptr);
    EXPECT_EQ(k.FindPrefix("zebra", followed, false), nullptr);
    EXPECT_EQ(followed, 0);
    EXPECT_EQ(k.FindPrefix("", followed, false), nullptr);
}

TEST(Keywords, ClearHandsBackDataLaterSiblingsFirst) {
    TKeywords k;
    std::vector<intptr_t> freed;
    k.OnDeleteData = [&](intptr_t d) { freed.push_back(d); };
    k.AddKeyword("ab", false, 1, S0, TSM_CharGroup());
    k.AddKeyword("ac", false, 2, S0, TSM_CharGroup());
    k.AddKeyword("b", false, 3, S0, TSM_CharGroup());
    k.AddKeyword("ac", false, 4, TStateSet::Of({9}), TSM_CharGroup());
    k.Clear();
    EXPECT_EQ(freed, std::vector<intptr_t>({3, 4, 2, 1}));
    EXPECT_EQ(k.Root, nullptr);
    EXPECT_EQ(k.CharGroups.Count(), 0);
    // A very long word is freed without deep recursion.
    k.AddKeyword(std::string(200000, 'q'), false, 5, S0, TSM_CharGroup());
    k.Clear();
    EXPECT_EQ(freed.back(), 5);
}

TEST(SyntaxKeywords, StreamRoundTrip) {
    TSyntaxKeywords k;
    k.AddKeyword("Begin", false, 10, S0, Spec("[^a-z]"));
    k.AddKeyword("end", false, 11, TStateSet::Of({0, 3}), TSM_CharGroup());
    k.AddKeyword("then", false, 12, S0, Spec("\\s"));
    TMemoryStream m;
    k.SaveToStream(m);
    m.SetPosition(0);
    TSyntaxKeywords r;
    r.LoadFromStream(m);
    ASSERT_EQ(r.EndStyles.Count(), 3);
    EXPECT_EQ(r.EndStyles.Strings(0), "Begin");
    const TEndStyleObject* e = static_cast<const TEndStyleObject*>(r.EndStyles.Objects(1));
    EXPECT_EQ(e->Value, 11);
    EXPECT_EQ(e->States, TStateSet::Of({0, 3}));
    TMemoryStream again;
    r.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), m.Bytes());
    r.ActiveStates = S0;
    EXPECT_EQ(MatchAt(r, "begin;", 0, true).data, 10);
    EXPECT_EQ(MatchAt(r, "beginx", 0, true).data, -1);
    EXPECT_EQ(MatchAt(r, "then ", 0, true).data, 12);

    // An empty table: the case flag, count 0 and one 0 byte.
    TSyntaxKeywords empty;
    TMemoryStream z;
    empty.SaveToStream(z);
    EXPECT_EQ(z.Bytes(), std::vector<uint8_t>({0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(SyntaxKeywords, RefusedDuplicateLeavesAReloadableTable) {
    TSyntaxKeywords k;
    k.AddKeyword("if", false, 1, S0, TSM_CharGroup());
    EXPECT_THROW(k.AddKeyword("IF", false, 2, S0, TSM_CharGroup()), EKeywords);
    EXPECT_EQ(k.EndStyles.Count(), 1);
    TMemoryStream m;
    k.SaveToStream(m);
    m.SetPosition(0);
    TSyntaxKeywords r;
    r.LoadFromStream(m);
    EXPECT_EQ(r.EndStyles.Count(), 1);
}

TEST(SyntaxKeywords, DamagedStreamsAreRefused) {
    TSyntaxKeywords good;
    good.AddKeyword("alpha", false, 1, S0, TSM_CharGroup());
    good.AddKeyword("beta", false, 2, S0, TSM_CharGroup());
    TMemoryStream m;
    good.SaveToStream(m);
    std::vector<uint8_t> bytes = m.Bytes();

    struct Case {
        const char* what;
        std::vector<uint8_t> data;
    };
    std::vector<Case> cases;
    cases.push_back({"truncated", std::vector<uint8_t>(bytes.begin(), bytes.end() - 5)});
    std::vector<uint8_t> negative = bytes;
    negative[4] = 0xFF, negative[5] = 0xFF, negative[6] = 0xFF, negative[7] = 0xFF;
    cases.push_back({"negative count", negative});
    std::vector<uint8_t> huge = bytes;
    huge[7] = 0x40;
    cases.push_back({"count beyond the data", huge});
    std::vector<uint8_t> fewer = bytes;
    fewer[4] = 1;
    cases.push_back({"count lower than the records", fewer});
    cases.push_back({"empty", {}});

    for (const Case& c : cases) {
        TSyntaxKeywords t;
        t.AddKeyword("keep", false, 9, S0, TSM_CharGroup());
        TMemoryStream s;
        if (!c.data.empty()) s.WriteBuffer(c.data.data(), static_cast<int32_t>(c.data.size()));
        s.SetPosition(0);
        EXPECT_ANY_THROW(t.LoadFromStream(s)) << c.what;
        EXPECT_EQ(t.EndStyles.Count(), 1) << c.what;  // the table is as it was
        t.ActiveStates = S0;
        EXPECT_EQ(MatchAt(t, "keep", 0, true).data, 9) << c.what;
    }

    // Two records of one word in overlapping states.
    TMemoryStream d;
    WriteInt(d, 0);
    WriteInt(d, 2);
    for (int i = 0; i < 2; i++) {
        WriteShortString(d, "same");
        TSM_CharGroup().SaveToStream(d);
        WriteSet(d, S0);
        WriteInt(d, i);
    }
    WriteShortString(d, "");
    d.SetPosition(0);
    TSyntaxKeywords t;
    EXPECT_THROW(t.LoadFromStream(d), EKeywords);
    EXPECT_EQ(t.EndStyles.Count(), 0);
}

TEST(SyntaxKeywords, AnEmptyWordIsSkipped) {
    TSyntaxKeywords k;
    k.AddKeyword("if", false, 1, S0, TSM_CharGroup());
    k.AddKeyword("", false, 2, S0, TSM_CharGroup());
    k.AddKeyword("else", false, 3, S0, TSM_CharGroup());
    EXPECT_EQ(k.EndStyles.Count(), 2);
    TMemoryStream m;
    k.SaveToStream(m);
    m.SetPosition(0);
    TSyntaxKeywords r;
    r.LoadFromStream(m);
    ASSERT_EQ(r.EndStyles.Count(), 2);
    EXPECT_EQ(r.EndStyles.Strings(1), "else");
}
