// Settings read back as they were stored, converted by the client.
#include <gtest/gtest.h>

#include "ftpclient/core/StoredValue.h"

namespace {
TRegVariant Text(const std::string& s) { return TRegVariant::String(s); }
}  // namespace

TEST(StoredValue, NumbersFromNumbersAndFromText) {
    const struct {
        const char* name;
        TRegVariant stored;
        int expected;
    } rows[] = {
        {"integer", TRegVariant::Integer(230), 230},
        {"negative integer", TRegVariant::Integer(-5), -5},
        {"flag", TRegVariant::Boolean(true), 1},
        {"number kept as text", Text("230"), 230},
        {"text with blanks and sign", Text(" -12 "), -12},
        {"double rounds", TRegVariant::Double(7.6), 8},
        {"text that is no number", Text("wide"), 99},
        {"text with a number and more", Text("12px"), 99},
        {"empty text", Text(""), 99},
        {"text beyond 32 bits", Text("4294967296"), 99},
        {"nothing read", TRegVariant(), 99},
        {"huge double", TRegVariant::Double(1e300), 99},
    };
    for (auto& r : rows) EXPECT_EQ(StoredInt(r.stored, 99), r.expected) << r.name;
}

TEST(StoredValue, FlagsFromNumbersWordsAndText) {
    const struct {
        const char* name;
        TRegVariant stored;
        bool deflt, expected;
    } rows[] = {
        {"1", TRegVariant::Integer(1), false, true},
        {"0", TRegVariant::Integer(0), true, false},
        {"any other number", TRegVariant::Integer(-3), false, true},
        {"word True any case", Text("tRUE"), false, true},
        {"word False", Text("False"), true, false},
        {"number as text", Text("0"), true, false},
        {"other text keeps the default (true)", Text("yes"), true, true},
        {"other text keeps the default (false)", Text("yes"), false, false},
        {"nothing read", TRegVariant(), true, true},
    };
    for (auto& r : rows) EXPECT_EQ(StoredBool(r.stored, r.deflt), r.expected) << r.name;
}

TEST(StoredValue, TextFromTextAndNumbers) {
    EXPECT_EQ(StoredText(Text("C:\\down"), "d"), "C:\\down");
    EXPECT_EQ(StoredText(Text(""), "d"), "");  // an empty text is what was stored
    EXPECT_EQ(StoredText(TRegVariant::Integer(42), "d"), "42");
    EXPECT_EQ(StoredText(TRegVariant::Double(1.5), "d"), "d");
    EXPECT_EQ(StoredText(TRegVariant(), "d"), "d");
}
