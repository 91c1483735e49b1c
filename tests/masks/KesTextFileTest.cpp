// Mask files and reports through the real Kestrel file object.
#include "masks/KesTextFile.h"

#include <gtest/gtest.h>

#include "ComTest.h"
#include "MaskFakes.h"
#include "TestSupport.h"
#include "masks/core/MaskCollection.h"
#include "masks/core/MaskFileCommands.h"
#include "masks/core/ReportTable.h"

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

class KesTextFileTest : public ComTest {
protected:
    qftest::TempDir dir;
    MaskCollection masks;
    RecordingSearch search;
};
}  // namespace

TEST_F(KesTextFileTest, MaskFileRoundTrip) {
    KesTextFile file;
    const std::string path = dir.File("Link.maskl");
    EXPECT_EQ("", SaveMaskFile(LinkMask(), file, path));
    EXPECT_EQ(kLinkFile, qftest::ReadFileBytes(path));

    // Empty values in the middle and at the end, "=" and wide numbers.
    SearchMask m = LinkMask();
    m.MaskName = "a=b";
    m.Priority = 40000;
    m.AddValue("");
    m.AddValue("x=y");
    m.AddValue("");
    const std::string wide = dir.File("wide.maskt");
    EXPECT_EQ("", SaveMaskFile(m, file, wide));

    EXPECT_EQ("", OpenMaskFile(masks, file, search, path));
    EXPECT_EQ("", OpenMaskFile(masks, file, search, wide));
    ASSERT_EQ(2, masks.Count());
    EXPECT_EQ(LinkMask().PutMask(), masks.Item(1).PutMask());
    EXPECT_EQ("a=b", masks.Item(2).MaskName);
    EXPECT_EQ(40000, masks.Item(2).Priority);
    EXPECT_EQ((std::vector<std::string>{"abc", "", "x=y", ""}), masks.Item(2).Values());
    EXPECT_EQ("AddMask(Link|abc||1|0|3|-1|0|0)", search.Log.at(1));
}

TEST_F(KesTextFileTest, DamagedFilesOnDisk) {
    KesTextFile file;
    const std::string good = kLinkFile;
    const std::string cases[] = {"", good.substr(0, good.find("Mask type")), "Mask name=L\r\nDepend name=x\r\nMask type=q\r\n"};
    for (const std::string& bytes : cases) {
        const std::string path = dir.File("bad.mask");
        qftest::WriteFileBytes(path, bytes);
        EXPECT_EQ("Can not open mask - " + path, OpenMaskFile(masks, file, search, path)) << bytes;
        EXPECT_EQ(0, masks.Count());
        // The file was closed: it can be replaced at once.
        EXPECT_TRUE(DeleteFileA(path.c_str())) << bytes;
    }
    EXPECT_TRUE(search.Log.empty());
    EXPECT_EQ("Can not open mask - " + dir.File("none.mask"), OpenMaskFile(masks, file, search, dir.File("none.mask")));
}

TEST_F(KesTextFileTest, ReportText) {
    KesTextFile file;
    ReportTable t;
    t.ReportType = kValuesReport;
    t.SetMaskName("Link");
    t.AddSubValue(t.AddValue("a.htm"), "A", "Link Text");
    t.AddValue("b.htm");
    const std::string path = dir.File("Link.txt");
    ASSERT_TRUE(file.Open(path, 0));
    EXPECT_TRUE(t.Write(file));
    file.Close();
    EXPECT_EQ("Link : a.htm\r\nLink Text : A\r\n\r\nLink : b.htm\r\nLink Text : \r\n\r\n", qftest::ReadFileBytes(path));
    EXPECT_TRUE(file.CheckExists(path));
    EXPECT_FALSE(file.CheckExists(dir.File("none.txt")));
}
