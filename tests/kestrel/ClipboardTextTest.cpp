#include "core/ClipboardText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// Blocks of exactly their size on the heap: reading past one is an overflow
// that the host build's address sanitizer reports.
TEST(ClipboardText, ReadsUpToTheZeroButNeverPastTheBlock) {
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {std::string("abc\0", 4), "abc"},
        {std::string("ab\0cd", 5), "ab"},
        {std::string(37, 'm'), std::string(37, 'm')},
        {std::string("\0", 1), ""},
        {"x", "x"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<char[]> block(new char[c.bytes.size()]);
        std::memcpy(block.get(), c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.text, ClipboardTextOf(block.get(), c.bytes.size())) << c.text;
    }
    EXPECT_EQ("", ClipboardTextOf(nullptr, 10));
}

TEST(ClipboardText, BytesEndWithOneZero) {
    EXPECT_EQ(std::string("mask\0", 5), ClipboardBytesOf("mask"));
    EXPECT_EQ(std::string("\0", 1), ClipboardBytesOf(""));
    EXPECT_EQ(std::string("a\0", 2), ClipboardBytesOf(std::string("a\0b", 3)));
}
