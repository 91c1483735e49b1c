#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ftpclient/core/AsciiExtList.h"

TEST(AsciiExtList, LoadingDropsWhatCannotBeListed) {
    const struct {
        const char* name;
        std::string comma;
        std::vector<std::string> items;
    } cases[] = {
        {"zip dropped", ".zip,.txt", {".txt"}},
        {"all five refused", ".GIF,.jpg,.Jpeg,.exe,.ZIP", {}},
        {"empty entries dropped", ".txt,,\"\",.log", {".log", ".txt"}},
        {"duplicates dropped", ".txt,.TXT,.htm", {".htm", ".txt"}},
        {"sorted case aside", ".b,.A,.c", {".A", ".b", ".c"}},
        {"quoted entry", "\".my ext\",.h", {".h", ".my ext"}},
        {"blanks separate", ".a .b", {".a", ".b"}},
    };
    for (auto& c : cases) {
        TAsciiExtList l;
        l.SetCommaText(c.comma);
        EXPECT_EQ(l.Items(), c.items) << c.name;
    }
    TAsciiExtList d;
    d.SetCommaText(DefaultAsciiExt);
    EXPECT_EQ(d.Items().size(), 19u);
}

TEST(AsciiExtList, AddRefusesEmptyDuplicateAndBinaryExtensions) {
    const struct {
        const char* name;
        std::string typed;
        bool added;
        std::string message;
    } cases[] = {
        {"from a file name", "readme.htm", true, ""},
        {"bare extension", ".log", true, ""},
        {"refused binary", ".ZIP", false, "This extension is not a Ascii Text type."},
        {"refused in a name", "setup.exe", false, "This extension is not a Ascii Text type."},
        {"empty", "", false, "Please enter an extension such as \".txt\"."},
        {"no dot", "txt", false, "Please enter an extension such as \".txt\"."},
        {"dot alone", "name.", false, "Please enter an extension such as \".txt\"."},
        {"duplicate", "x.TXT", false, "The extension \".TXT\" is already in the list."},
    };
    for (auto& c : cases) {
        TAsciiExtList l;
        l.SetCommaText(".txt");
        std::string msg;
        EXPECT_EQ(l.Add(c.typed, msg), c.added) << c.name;
        EXPECT_EQ(msg, c.message) << c.name;
        EXPECT_EQ(l.Items().size(), c.added ? 2u : 1u) << c.name;
    }
}

TEST(AsciiExtList, CommaTextRoundTrip) {
    TAsciiExtList l;
    l.SetCommaText(DefaultAsciiExt);
    std::string msg;
    ASSERT_TRUE(l.Add("a.my ext", msg));
    ASSERT_TRUE(l.Add("b.q\"t", msg));
    TAsciiExtList back;
    back.SetCommaText(l.CommaText());
    EXPECT_EQ(back.Items(), l.Items());
    l.Delete(0);
    EXPECT_EQ(l.Items().size(), 20u);
}

TEST(AsciiExtList, TransferTypeByModeAndExtension) {
    TAsciiExtList l;
    l.SetCommaText(".txt,.html");
    const struct {
        const char* name;
        std::string file;
        TTransferMode mode;
        bool binary;
    } cases[] = {
        {"listed, any case", "readme.TXT", TTransferMode::Auto, false},
        {"fixed binary beats the list", "a.Zip", TTransferMode::Auto, true},
        {"not listed", "a.pdf", TTransferMode::Auto, true},
        {"no extension", "README", TTransferMode::Auto, true},
        {"fixed binary", "movie.mpeg", TTransferMode::Auto, true},
        {"ascii button", "setup.exe", TTransferMode::Ascii, false},
        {"binary button", "readme.txt", TTransferMode::Binary, true},
        {"last dot counts", "archive.txt.gz", TTransferMode::Auto, true},
    };
    for (auto& c : cases) EXPECT_EQ(l.IsBinaryTransfer(c.file, c.mode), c.binary) << c.name;
}
