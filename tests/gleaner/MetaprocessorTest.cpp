#include <gtest/gtest.h>

#include "InfoDownloader.h"
#include "InfoMetaprocessor.h"

namespace {

InfoMetaprocessor::Format FormatOf(const InfoMetaprocessor& m, size_t i) { return m.Formats().at(i); }

}  // namespace

TEST(Metaprocessor, ParsesSectionsAndKeywords) {
    InfoMetaprocessor m;
    const char* table =
        "BEGIN FORMAT Html\n"
        "  TEST_REGISTER TRUE\n"
        "  DEFAULT TRUE\n"
        "  &amp; &\r\n"  // a carriage return is an ordinary character
        "  a\\ b c\n"
        "  back\\\\slash \\\\\n"
        "END\n"
        "BEGIN\tENCODING ignored-name\n"
        "  upper aAbB\n"
        "  odd xyz\n"
        "END\n"
        "BEGIN OTHER name\n"
        "BEGIN FORMAT Loose\n"
        "  &amp; +\n"
        "  TEST_REGISTER no\n"
        "END";
    ASSERT_EQ(m.ParseTableText(table), 1);
    ASSERT_EQ(m.Formats().size(), 2u);
    InfoMetaprocessor::Format f = FormatOf(m, 0);
    EXPECT_EQ(f.Name, "Html");
    EXPECT_EQ(f.TestRegister, 1);
    EXPECT_EQ(f.Sources, (std::vector<std::string>{"&amp;", "a b", "back\\slash"}));
    EXPECT_EQ(f.Targets, (std::vector<std::string>{"&\r", "c", "\\"}));
    EXPECT_EQ(m.DefaultFormatName(), "Html");
    EXPECT_EQ(FormatOf(m, 1).TestRegister, 0);
    ASSERT_EQ(m.Encodings().size(), 2u);
    EXPECT_EQ(m.Encodings()[0].Name, "upper");
    EXPECT_EQ(m.Encodings()[0].Mapping, "aAbB");
}

TEST(Metaprocessor, ConvertsByFormatThenEncoding) {
    InfoMetaprocessor m;
    ASSERT_EQ(m.ParseTableText("BEGIN FORMAT Exact TEST_REGISTER TRUE &amp; & &lt; < END "
                               "BEGIN FORMAT Loose &amp; & &a X END "
                               "BEGIN ENCODING e upper aAbB odd abc END"),
              1);
    EXPECT_EQ(m.Convert("a&amp;b"), "a&amp;b");  // nothing selected
    m.SelectFormat("EXACT");
    EXPECT_EQ(m.SelectedFormat(), 0);
    EXPECT_EQ(m.Convert("a&amp;b&lt;"), "a&b<");
    EXPECT_EQ(m.Convert("&AMP;"), "&AMP;");
    EXPECT_EQ(m.Convert("&amp"), "&amp");  // a source that does not fit stays
    m.SelectFormat("loose");
    EXPECT_EQ(m.Convert("&AMP;&A"), "&X");  // letter case ignored; first source in list order wins
    m.SelectEncoding("upper");
    EXPECT_EQ(m.Convert("a&amp;b"), "A&B");
    // An odd mapping leaves its last character unpaired: it maps to nothing.
    m.SelectEncoding("odd");
    EXPECT_EQ(m.SelectedEncoding(), 1);
    m.SelectFormat("none");
    EXPECT_EQ(m.SelectedFormat(), -1);
    EXPECT_EQ(m.Convert("abcd"), "bbcd");
}

TEST(Metaprocessor, SelectionFallsBackToTheDefault) {
    InfoMetaprocessor m;
    m.ParseTableText("BEGIN FORMAT A x 1 END BEGIN FORMAT B x 2 END BEGIN ENCODING - d dD e eE END");
    m.SetDefaultFormatName("b");
    m.SetDefaultEncodingName("E");
    m.SelectFormat("unknown");
    EXPECT_EQ(m.SelectedFormat(), 1);
    m.SelectFormat("A");
    EXPECT_EQ(m.SelectedFormat(), 0);
    m.SelectEncoding("nothing");
    EXPECT_EQ(m.SelectedEncoding(), 1);
    m.SetDefaultEncodingName("none");
    m.SelectEncoding("nothing");
    EXPECT_EQ(m.SelectedEncoding(), -1);
    m.CaseSensitiveNames = 1;
    m.SelectFormat("a");
    EXPECT_EQ(m.SelectedFormat(), -1);  // "a" is not "A" now, nor the default "b" "B"
}

TEST(Metaprocessor, BadTokenFailsAndKeepsWhatWasRead) {
    InfoMetaprocessor m;
    EXPECT_EQ(m.ParseTableText("BEGIN FORMAT F k v END stray BEGIN FORMAT G k v END"), 0);
    EXPECT_EQ(m.Formats().size(), 1u);
    EXPECT_EQ(m.ParseTableText("BEGIN FORMAT H k"), 1);  // a key without value ends the table
    EXPECT_EQ(m.Formats().size(), 2u);
    EXPECT_EQ(m.ParseTableText("trailing\\"), 0);
    EXPECT_EQ(m.ParseTableText(""), 1);
    m.EmptyTables();
    EXPECT_TRUE(m.Formats().empty());
    EXPECT_EQ(m.SelectedFormat(), -1);
}

TEST(Metaprocessor, LoadsThroughTheDownloader) {
    ProtocolList l;
    l.AddProtocol("");
    l.AddProtocol("file://");
    InfoDownloader d;
    d.Create(&l);
    InfoMetaprocessor m;
    // An empty address empties the tables and succeeds.
    m.ParseTableText("BEGIN FORMAT F k v END");
    EXPECT_EQ(m.ParseMetaprocessorTable("", d), 1);
    EXPECT_TRUE(m.Formats().empty());

    EXPECT_EQ(m.ParseMetaprocessorTable("tables/small.ftbl", d), 1);
    EXPECT_FALSE(d.IsOpen());
    m.SelectFormat("plain");
    m.SelectEncoding("upper");
    EXPECT_EQ(m.Convert("a &amp; b"), "A & B");
    EXPECT_EQ(m.ParseMetaprocessorTable("tables/missing.ftbl", d), 0);

    // The table that ships with the program.
    InfoMetaprocessor html;
    ASSERT_EQ(html.ParseMetaprocessorTable("Resource/HTML.ftbl", d), 1);
    html.SetDefaultFormatName("HTML");
    html.SetDefaultEncodingName("default");
    html.SelectFormat("text/html");
    html.SelectEncoding("default");
    EXPECT_EQ(html.SelectedEncoding(), -1);
    EXPECT_EQ(html.Convert("&lt;b&gt;Fish &amp; Chips&nbsp;&#33;&#x3f; &eacute;&AMP;"),
              "<b>Fish & Chips !? \xe9&AMP;");
    html.SelectEncoding("koi8-r");
    EXPECT_EQ(html.Convert("\xf0\xd2\xc9"), "\xcf\xf0\xe8");  // "При" in KOI8-R to Windows-1251
}
