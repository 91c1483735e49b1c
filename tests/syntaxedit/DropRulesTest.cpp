#include <gtest/gtest.h>

#include <string>

#include "DropRules.h"
#include "FakeDropEditor.h"

namespace {

TEST(DropRules, EffectIntersectsWithWhatTheSourceAllows) {
    struct Row {
        const char* name;
        uint32_t keys, allowed, expected;
    } rows[] = {
        {"move by default", 0, deCopy | deMove, deMove},
        {"copy with ctrl", mkControl, deCopy | deMove, deCopy},
        {"copy-only source without ctrl", 0, deCopy, deCopy},
        {"move-only source with ctrl", mkControl, deMove, deMove},
        {"nothing allowed", 0, deNone, deNone},
    };
    for (const Row& r : rows) EXPECT_EQ(TDropRules::Effect(r.keys, r.allowed), r.expected) << r.name;
}

TEST(DropRules, HtmlByOptionBits) {
    const std::string html = "Version:0.9\r\nStartHTML:1\r\n<html><body><!--StartFragment-->bold<!--EndFragment--></body>";
    struct Row {
        const char* name;
        uint16_t types;
        std::string expected;
    } rows[] = {
        {"as is", dstHtml | dstInsertAsIs | dstHtmlFragment, html},
        {"no option", dstHtml, html},
        {"from tag", dstHtml | dstHtmlFromTag | dstHtmlFragment, html.substr(html.find('<'))},
        {"fragment", dstHtml | dstHtmlFragment, "bold"},
    };
    for (const Row& r : rows) EXPECT_EQ(TDropRules::TrimHtml(html, r.types), r.expected) << r.name;
    EXPECT_EQ(TDropRules::TrimHtml("no tag", dstHtmlFromTag), "");
    EXPECT_EQ(TDropRules::TrimHtml("<a><!--StartFragment--><!--EndFragment-->", dstHtmlFragment),
              "<a><!--StartFragment--><!--EndFragment-->");
}

TEST(DropRules, Utf8IsDecoded) {
    EXPECT_EQ(TDropRules::Utf16ToLatin1(TDropRules::Utf8ToUtf16("caf\xC3\xA9 \xE2\x82\xAC")), "caf\xE9 ?");
    EXPECT_EQ(TDropRules::Utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string(u"\xD83D\xDE00"));
    // Cut and bad sequences give U+FFFD and never read past the end.
    EXPECT_EQ(TDropRules::Utf8ToUtf16("a\xE2\x82"), std::u16string(u"a\xFFFD\xFFFD"));
    EXPECT_EQ(TDropRules::Utf8ToUtf16("\xC0\x80"), std::u16string(u"\xFFFD\xFFFD"));
    EXPECT_EQ(TDropRules::Utf8ToUtf16("\xED\xA0\x80"), std::u16string(u"\xFFFD\xFFFD\xFFFD"));
}

TEST(DropRules, PreferenceOrder) {
    EXPECT_EQ(TDropRules::Preferred(dstFiles | dstText | dstHtml | dstUnicodeText), dstHtml);
    EXPECT_EQ(TDropRules::Preferred(dstFiles | dstUnicodeText | dstText), dstText);
    EXPECT_EQ(TDropRules::Preferred(dstFiles | dstUnicodeText), dstUnicodeText);
    EXPECT_EQ(TDropRules::Preferred(dstFiles), dstFiles);
    EXPECT_EQ(TDropRules::Preferred(dstPaste), 0);
}

TEST(DropRules, MoveWithinOneControlLeavesTheTextOnce) {
    TFakeDropEditor ed("one two three");
    ed.SetSelection(4, 8);  // "two "
    ASSERT_TRUE(TDropRules::Deliver(ed, "two ", deMove, dstText, 13, true));
    EXPECT_EQ(ed.text_, "one threetwo ");
    EXPECT_EQ(ed.selStart_, 9);
    EXPECT_EQ(ed.selEnd_, 13);
    EXPECT_EQ(ed.groups_, std::vector<int>{ugDrop});
    EXPECT_EQ(ed.depth_, 0);
    // To an earlier place.
    TFakeDropEditor back("one two three");
    back.SetSelection(8, 13);
    ASSERT_TRUE(TDropRules::Deliver(back, "three", deMove, dstText, 0, true));
    EXPECT_EQ(back.text_, "threeone two ");
}

TEST(DropRules, CopyAndRefusals) {
    TFakeDropEditor ed("abc");
    ed.SetSelection(0, 1);
    ASSERT_TRUE(TDropRules::Deliver(ed, "a", deCopy, dstText, 3, true));
    EXPECT_EQ(ed.text_, "abca");
    // Into its own selection: nothing changes.
    TFakeDropEditor self("abcdef");
    self.SetSelection(1, 4);
    EXPECT_FALSE(TDropRules::Deliver(self, "bcd", deMove, dstText, 2, true));
    EXPECT_EQ(self.text_, "abcdef");
    TFakeDropEditor ro("abc");
    ro.readOnly_ = true;
    EXPECT_FALSE(TDropRules::Deliver(ro, "x", deCopy, dstText, 0, false));
    EXPECT_EQ(ro.edits_, 0);
}

TEST(DropRules, FilesGoToTheHandler) {
    struct Row {
        const char* name;
        bool handler;
        uint16_t types;
        bool inserted;
        const char* text;
    } rows[] = {
        {"handler, as is", true, dstFiles | dstProcessFiles | dstInsertAsIs, true, "a.txt\r\nb.txt\r\nadded.txt"},
        {"handler, not as is", true, dstFiles | dstProcessFiles, false, ""},
        {"no handler", false, dstFiles | dstProcessFiles | dstInsertAsIs, true, "a.txt\r\nb.txt"},
    };
    for (const Row& r : rows) {
        TFakeDropEditor ed("");
        ed.filesHandler_ = r.handler;
        std::vector<std::string> files = {"a.txt", "b.txt"};
        EXPECT_EQ(TDropRules::Deliver(ed, TDropRules::FileLines(files), deCopy, r.types, 0, false, files),
                  r.inserted)
            << r.name;
        EXPECT_EQ(ed.text_, r.text) << r.name;
        if (r.handler) {
            EXPECT_EQ(ed.filesSeen_, files) << r.name;
        }
    }
}

}  // namespace
