#include "masks/core/MaskTokenReader.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "masks/core/MaskParseError.h"

TEST(MaskToken, PutIntWritesLow16BitsSigned) {
    struct Case {
        int32_t value;
        const char* token;
    } cases[] = {{0, "0/"}, {-1, "-1/"}, {511, "511/"}, {32767, "32767/"}, {-32768, "-32768/"},
                 {40000, "-25536/"}, {65536, "0/"}, {-40000, "25536/"}};
    for (const Case& c : cases) {
        std::string text = "x";
        PutInt(c.value, text);
        EXPECT_EQ(std::string("x") + c.token, text) << "value " << c.value;
    }
    std::string text;
    PutString("", text);
    EXPECT_EQ("0/", text);
}

TEST(MaskToken, GetIntTable) {
    struct Case {
        const char* text;
        int16_t value;
        const char* rest;
    } cases[] = {
        {"12/34/", 12, "34/"}, {"12", 0, ""},           {"", 0, ""},
        {"-1/x", -1, "x"},     {"-32768/", -32768, ""}, {"007/", 7, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(c.value, GetInt(text)) << "text \"" << c.text << "\"";
        EXPECT_EQ(c.rest, text) << "text \"" << c.text << "\"";
    }
}

TEST(MaskToken, GetStringTakesLengthThenCharacters) {
    std::string text = "3/abcdef";
    EXPECT_EQ("abc", GetString(text));
    EXPECT_EQ("def", text);
    text = "0/rest";
    EXPECT_EQ("", GetString(text));
    EXPECT_EQ("rest", text);

    // No escaping: a "/" inside a value comes back as it was.
    std::string packed;
    PutString("a/b/3/", packed);
    PutInt(7, packed);
    EXPECT_EQ("6/a/b/3/7/", packed);
    EXPECT_EQ("a/b/3/", GetString(packed));
    EXPECT_EQ(7, GetInt(packed));
    EXPECT_EQ("", packed);
}

// Every malformed token is the one typed error, and the text is left whole
// so the caller can show it or drop it.
TEST(MaskToken, MalformedTokensThrowAndLeaveTheText) {
    struct Case {
        const char* what;
        const char* text;
        bool asString;
    } cases[] = {
        {"empty number", "/12/", false},
        {"letters", "x1/", false},
        {"lone minus", "-/", false},
        {"minus inside", "1-2/", false},
        {"blank", " 1/", false},
        {"plus sign", "+1/", false},
        {"above 16 bits", "32768/", false},
        {"below 16 bits", "-32769/", false},
        {"very long number", "99999999999999999999999/", false},
        {"negative length", "-1/abc", true},
        {"length past the end", "5/abcd", true},
        {"length not a number", "x/abc", true},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        if (c.asString) {
            EXPECT_THROW(GetString(text), MaskParseError) << c.what;
        } else {
            EXPECT_THROW(GetInt(text), MaskParseError) << c.what;
        }
        EXPECT_EQ(c.text, text) << c.what;
    }
}

TEST(MaskToken, LongTextsAndLongestString) {
    // The reader has no limit of its own on the text it is given.
    std::string longest(32767, 'v');
    std::string text;
    PutString(longest, text);
    PutInt(5, text);
    text += std::string(100000, 'z');
    EXPECT_EQ(longest, GetString(text));
    EXPECT_EQ(5, GetInt(text));
    EXPECT_EQ(100000u, text.size());

    // One character more could not be read back: the writer refuses it.
    std::string out = "kept";
    EXPECT_THROW(PutString(std::string(32768, 'v'), out), std::length_error);
    EXPECT_EQ("kept", out);
}

TEST(MaskToken, ReaderWalksWithoutCopying) {
    const std::string text = "2/ab-3/tail";
    MaskTokenReader r(text);
    EXPECT_EQ("ab", r.GetString());
    EXPECT_EQ(-3, r.GetInt());
    EXPECT_EQ(7u, r.Position());
    EXPECT_EQ("tail", r.Rest());
}
