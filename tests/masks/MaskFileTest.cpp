#include <gtest/gtest.h>

#include "MaskFakes.h"
#include "masks/core/MaskCollection.h"
#include "masks/core/MaskFileCommands.h"
#include "masks/core/MaskParseError.h"

namespace {
const char kLinkFile[] =
    "Mask name=Link\r\nDepend name=<None>\r\nMask type=1\r\nDepend type=0\r\nBrowser type=1\r\n"
    "Mask priority=3\r\nMax found count=-1\r\nCan compile=0\r\nHidden=0\r\nValue count=1\r\nValues:\r\nabc";

SearchMask LinkMask() {
    SearchMask m;
    m.MaskName = "Link";
    m.MaskType = 1;
    m.BrowserType = 1;
    m.Priority = 3;
    m.MaxFoundCount = -1;
    m.AddValue("abc");
    return m;
}

class MaskFileTest : public ::testing::Test {
protected:
    std::string Save(const SearchMask& m) {
        EXPECT_EQ("", SaveMaskFile(m, file, "m.maskl"));
        return file.Files["m.maskl"];
    }
    // Loads a file's bytes through the window's Open command.
    std::string Open(const std::string& bytes) {
        file.Files["in.mask"] = bytes;
        return OpenMaskFile(masks, file, search, "in.mask");
    }

    MemoryTextFile file;
    MaskCollection masks;
    RecordingSearch search;
};
}  // namespace

TEST_F(MaskFileTest, GoldenBytes) {
    EXPECT_EQ(kLinkFile, Save(LinkMask()));

    SearchMask bare = LinkMask();
    bare.ClearValues();
    bare.DependOn = "Link";
    bare.CanCompile = true;
    bare.MaskType = 65539;  // type and depend type are written from their low 16 bits
    EXPECT_EQ("Mask name=Link\r\nDepend name=Link\r\nMask type=3\r\nDepend type=0\r\nBrowser type=1\r\n"
              "Mask priority=3\r\nMax found count=-1\r\nCan compile=-1\r\nHidden=0\r\nValue count=0\r\nValues:",
              Save(bare));
    EXPECT_EQ("t", MaskFileLetter(0));
    EXPECT_EQ("l", MaskFileLetter(1));
    EXPECT_EQ("a", MaskFileLetter(2));
    EXPECT_EQ("g", MaskFileLetter(3));
    EXPECT_EQ("", MaskFileLetter(4));
}

TEST_F(MaskFileTest, RoundTripKeepsEqualsSignsAndWideNumbers) {
    SearchMask m = LinkMask();
    m.MaskName = "a=b";
    m.DependOn = "p=q";
    m.Priority = 40000;  // written with 32 bits and read back the same
    m.MaxFoundCount = 100000;
    m.BrowserType = -70000;
    m.Hidden = true;
    m.AddValue("x=y=z");
    m.AddValue("");
    file.Files["in.mask"] = Save(m);
    ASSERT_TRUE(file.Open("in.mask", 1));
    SearchMask back;
    EXPECT_TRUE(back.LoadMask(file));
    EXPECT_EQ("a=b", back.MaskName);
    EXPECT_EQ("p=q", back.DependOn);
    EXPECT_EQ(40000, back.Priority);
    EXPECT_EQ(100000, back.MaxFoundCount);
    EXPECT_EQ(-70000, back.BrowserType);
    EXPECT_TRUE(back.Hidden);
    EXPECT_FALSE(back.CanCompile);
    EXPECT_EQ((std::vector<std::string>{"abc", "x=y=z", ""}), back.Values());
}

TEST_F(MaskFileTest, LoadReadsByPosition) {
    // Other labels, none at all, "<None>" as a prefix, any non-zero Boolean,
    // a line end after the last value.
    EXPECT_EQ("", Open("Name=N\r\n<None>Parent\nA=2\n0\nB=1\nC=-4\nD=9\nE=5\nF=0\nG=2\nanything\nv1\nv2\r\n"));
    ASSERT_EQ(1, masks.Count());
    const SearchMask& m = masks.Item(1);
    EXPECT_EQ("N", m.MaskName);
    EXPECT_EQ("", m.DependOn);
    EXPECT_EQ(2, m.MaskType);
    EXPECT_EQ(0, m.DependType);
    EXPECT_EQ(-4, m.Priority);
    EXPECT_TRUE(m.CanCompile);
    EXPECT_FALSE(m.Hidden);
    EXPECT_EQ((std::vector<std::string>{"v1", "v2"}), m.Values());
}

// The window's Open: the mask reaches the engine, the file is closed, and
// the sort marker follows the collection's index.
TEST_F(MaskFileTest, OpenAppendsAppliesAndCloses) {
    masks.Add("First", "", 0, 0, 0, 0, false, false, -1);
    masks.SetSortAt(2);
    EXPECT_EQ("", Open(kLinkFile));
    EXPECT_FALSE(file.IsOpen());
    ASSERT_EQ(2, masks.Count());
    EXPECT_TRUE(masks.Item(2).SortAt);
    EXPECT_EQ((std::vector<std::string>{"EmptyMasks", "AddMask(First|||0|0|0|-1|0|0)",
                                        "AddMask(Link|abc||1|0|3|-1|0|0)"}),
              search.Log);
}

TEST_F(MaskFileTest, DamagedFilesChangeNothing) {
    const std::string good = kLinkFile;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"ends after the name", "Mask name=Link\r\n"},
        {"ends before Values:", good.substr(0, good.find("Values:"))},
        {"fewer values than counted", good.substr(0, good.find("Value count")) + "Value count=3\r\nValues:\r\nabc"},
        {"count beyond the values", "Mask name=L\nDepend name=<None>\nMask type=0\nDepend type=0\n"
                                    "Browser type=0\nMask priority=0\nMax found count=0\nCan compile=0\n"
                                    "Hidden=0\nValue count=4\nValues:\na\nb"},
        {"letters for a number", "Mask name=L\nDepend name=<None>\nMask type=one\n"},
        {"blank in a number", "Mask name=L\nDepend name=<None>\nMask type= 1\n"},
        {"empty number", "Mask name=L\nDepend name=<None>\nMask type=\n"},
        {"beyond 32 bits", "Mask name=L\nDepend name=<None>\nMask type=0\nDepend type=0\nBrowser type=0\n"
                           "Mask priority=2147483648\n"},
    };
    masks.Add("Kept", "", 0, 0, 0, 0, false, false, -1);
    for (const Case& c : cases) {
        search.Log.clear();
        EXPECT_EQ("Can not open mask - in.mask", Open(c.bytes)) << c.what;
        EXPECT_EQ(1, masks.Count()) << c.what;
        EXPECT_FALSE(file.IsOpen()) << c.what;
        EXPECT_TRUE(search.Log.empty()) << c.what;
    }
    EXPECT_EQ("Can not open mask - missing.mask", OpenMaskFile(masks, file, search, "missing.mask"));

    // The reader alone: the typed error, the mask as it was.
    file.Files["in.mask"] = "Mask name=New\nDepend name=<None>\nMask type=x\n";
    ASSERT_TRUE(file.Open("in.mask", 1));
    SearchMask m = LinkMask();
    EXPECT_THROW(m.LoadMask(file), MaskParseError);
    EXPECT_EQ("Link", m.MaskName);
    file.Close();
}

TEST_F(MaskFileTest, LineBreaksAreRefusedBeforeTheFileIsMade) {
    for (const char* broken : {"two\nlines", "two\r\nlines", "cr\r"}) {
        SearchMask m = LinkMask();
        m.AddValue(broken);
        file.Files.clear();
        EXPECT_FALSE(m.FitsMaskFile());
        EXPECT_EQ("Can not save mask - out.maskl", SaveMaskFile(m, file, "out.maskl"));
        EXPECT_EQ(0u, file.Files.count("out.maskl"));
        SearchMask named = LinkMask();
        named.MaskName = broken;
        EXPECT_EQ("Can not save mask - out.maskl", SaveMaskFile(named, file, "out.maskl"));
    }
    // SaveMask alone writes nothing for such a mask.
    SearchMask m = LinkMask();
    m.DependOn = "a\nb";
    ASSERT_TRUE(file.Open("direct", 0));
    EXPECT_FALSE(m.SaveMask(file));
    file.Close();
    EXPECT_EQ("", file.Files["direct"]);
}

TEST_F(MaskFileTest, SaveReportsFilesThatDoNotOpenOrTakeTheText) {
    file.FailOpen = true;
    EXPECT_EQ("Can not save mask - m.maskl", SaveMaskFile(LinkMask(), file, "m.maskl"));
    file.FailOpen = false;
    file.WritesBeforeFailure = 5;
    EXPECT_EQ("Can not save mask - m.maskl", SaveMaskFile(LinkMask(), file, "m.maskl"));
    EXPECT_FALSE(file.IsOpen());
}
