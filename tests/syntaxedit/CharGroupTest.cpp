#include <gtest/gtest.h>

#include <string>

#include "SM_CharGroup.h"
#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"

namespace {

// The members of a group as a string of printable characters (others as \xNN).
std::string Members(const TSM_CharGroup& g) {
    std::string out;
    for (int c = 0; c < 256; c++)
        if (g.Contains(static_cast<uint8_t>(c))) {
            if (c >= 33 && c < 127) out += static_cast<char>(c);
            else out += Format("\\x%02X", c);
        }
    return out;
}

}  // namespace

TEST(CharGroup, SpecifierTable) {
    struct Case {
        const char* spec;
        const char* members;  // nullptr: check only the count below
        int count;
        int next;             // position after the specifier
    } cases[] = {
        {"a", "a", 1, 2},
        {"c-f", "cdef", 4, 4},
        {"[a-cx]", "abcx", 4, 7},
        {"[^0-9]", nullptr, 246, 7},
        {"[\\]]", "]", 1, 5},         // an escaped ] inside a set
        {"]", "]", 1, 2},             // a lone ] is itself
        {"\\101", "A", 1, 5},         // octal
        {"\\x41", "A", 1, 5},         // hexadecimal
        {"\\n", "\\x0D", 1, 3},       // \n is code 13
        {"\\r", "\\x0A", 1, 3},       // \r is code 10
        {"\\s", "\\x20", 1, 3},
        {"\\t", "\\x09", 1, 3},
        {"\\e", "\\x1B", 1, 3},
        {"\\b", "\\x08", 1, 3},
        {"\\q", "q", 1, 3},           // any other escaped character is itself
        {"\\x141", "A", 1, 6},        // codes are taken modulo 256
        {"[a-]", "-a", 2, 5},         // a dash before ] is itself
        {"[\\[x]", "[x", 2, 6},
        {"\\[", "", 0, 3},            // an escaped [ outside a set adds nothing
        {"ab", "a", 1, 2},            // one specifier only
        {"a-", "a", 1, 2},            // a dash with nothing after it is not a range
        {"[ab", "ab", 2, 4},          // the end of the text ends the set
    };
    for (const Case& c : cases) {
        TSM_CharGroup g;
        int next = ParseCharSpec(c.spec, 1, g);
        EXPECT_EQ(next, c.next) << c.spec;
        if (c.members) {
            EXPECT_EQ(Members(g), c.members) << c.spec;
        }
        int count = 0;
        for (int ch = 0; ch < 256; ch++) count += g.Contains(static_cast<uint8_t>(ch));
        EXPECT_EQ(count, c.count) << c.spec;
    }
    TSM_CharGroup g;
    ParseCharSpec("[^0-9]", 1, g);
    EXPECT_EQ(g.Negated, 1);
    EXPECT_FALSE(g.Contains('5'));
    EXPECT_TRUE(g.Contains('a'));
    // A specifier further into the text.
    EXPECT_EQ(ParseCharSpec("xy[0-1]", 3, g), 8);
    EXPECT_EQ(Members(g), "01");
}

TEST(CharGroup, RangesOutOfOrderFail) {
    for (const char* spec : {"z-a", "[z-a]", "[a-c9-0]"}) {
        TSM_CharGroup g;
        try {
            ParseCharSpec(spec, 1, g);
            ADD_FAILURE() << spec;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Characters not in correct order for range specifier");
        }
    }
}

TEST(CharGroup, StreamRoundTripAndBadRanges) {
    TSM_CharGroup g;
    ParseCharSpec("[^a-f_]", 1, g);
    TMemoryStream m;
    g.SaveToStream(m);
    EXPECT_EQ(m.Size(), 37);
    m.SetPosition(0);
    TSM_CharGroup h;
    h.LoadFromStream(m);
    EXPECT_TRUE(h.Equals(g));

    // A stream may carry ranges as words; they are added to the set, but the
    // set holds characters up to 255 only.
    auto withRange = [](uint16_t low, uint16_t high) {
        TMemoryStream s;
        WriteSet(s, TCharSet());
        WriteInt(s, 1);
        WriteByte(s, 0);
        WriteWord(s, low);
        WriteWord(s, high);
        s.SetPosition(0);
        return s;
    };
    TMemoryStream ok = withRange('a', 'c');
    TSM_CharGroup r;
    r.LoadFromStream(ok);
    EXPECT_EQ(Members(r), "abc");
    for (auto bad : {std::make_pair(0, 300), std::make_pair(256, 256), std::make_pair(40000, 65535),
                     std::make_pair(90, 80)}) {
        TMemoryStream s = withRange(static_cast<uint16_t>(bad.first), static_cast<uint16_t>(bad.second));
        TSM_CharGroup before;
        before.AddChar('k');
        try {
            before.LoadFromStream(s);
            ADD_FAILURE() << bad.first << "-" << bad.second;
        } catch (const ESyntaxMemo& e) {
            EXPECT_EQ(e.Message(), Format("Invalid character range in stream: %d-%d", bad.first, bad.second));
        }
        EXPECT_EQ(Members(before), "k");  // unchanged
    }
}

TEST(CharGroup, ManagerInternsEqualGroups) {
    TSM_CharGroupManager m;
    TSM_CharGroup a, b, c;
    a.AddRange('0', '9');
    b.AddRange('0', '4');
    b.AddRange('5', '9');
    c.AddChar('x');
    EXPECT_EQ(m.Intern(a), 0);
    EXPECT_EQ(m.Intern(c), 1);
    EXPECT_EQ(m.Intern(b), 0);
    EXPECT_EQ(m.Count(), 2);
    try {
        m.Get(m.Count());
        FAIL();
    } catch (const ESyntaxMemo& e) {
        EXPECT_EQ(e.Message(), "Invalid Set ID (2)");
    }
    TMemoryStream s;
    m.SaveToStream(s);
    s.SetPosition(0);
    TSM_CharGroupManager n;
    n.LoadFromStream(s);
    EXPECT_EQ(n.Count(), 2);
    EXPECT_TRUE(n.Get(1).Contains('x'));
}
