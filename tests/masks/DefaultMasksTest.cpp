#include "masks/core/DefaultMasks.h"

#include <gtest/gtest.h>

#include "MaskFakes.h"
#include "masks/core/MaskCollection.h"

namespace {
// The mask strings of the ten built-ins, as copy and the search file carry them.
const char* const kGolden[kDefaultMaskCount] = {
    R"(10/Page title0/0/0/0/2/1/-1/0/1/39/\w-\r-<\# TITLE\*>\w+\*\w-<\# /TITLE\*>)",
    R"(5/Frame0/1/0/1/3/-1/0/-1/1/88/\w-\al>:!\e<\# FRAME\*\al>!SRC\# =\# \s\c":\~\w+\*\w-"\e\d:\w+\*\w-\s\c >:\w-\e\d:\!\e\e)",
    R"(4/Link0/1/0/1/3/-1/0/0/1/88/\w-\al>:!\e<\# A\*\al>!HREF\# =\# \s\c":\~\w+\*\w-"\e\d:\w+\*\w-\s\c >:\w-\e\d:\!\e\e\*>)",
    R"(9/Link Text4/Link0/1/2/2/1/-1/0/1/31/\al<:\w-\e\ar>:\w+\e\*<\# /A\*>)",
    R"(10/Link Image4/Link2/1/1/2/1/0/0/1/35/\w-<\# IMG\*SRC\# =\# "\w+\*\w-"\*>)",
    "7/Address0/3/0/1/1/-1/0/0/0/",
    "6/Parent0/3/0/1/1/-1/0/0/0/",
    "13/Document Size0/3/0/0/1/-1/0/0/0/",
    R"(6/Format0/0/0/0/0/1/0/-1/1/20/\w-<\# \w+HTML\w-\*>)",
    R"(8/Encoding0/0/0/0/1/1/0/-1/1/80/\w-\r-\g-<\# META\*CONTENT\# =\# "\*CHARSET\# =\# \w+\*\w-\s\c":"\e\c : \e\d:!\e)",
};
}  // namespace

TEST(DefaultMasks, TenTemplatesAsMaskStrings) {
    MaskCollection masks;
    masks.Add("Mine", "", 0, 0, 0, 0, false, false, -1).AddValue("x");
    masks.SetSortAt(4);
    RecordingSearch search;
    AddDefaultMasks(masks, search);
    ASSERT_EQ(kDefaultMaskCount, masks.Count());
    EXPECT_EQ(4, masks.SortAt());
    for (int32_t i = 1; i <= masks.Count(); ++i) {
        EXPECT_EQ(kGolden[i - 1], masks.Item(i).PutMask()) << masks.Item(i).MaskName;
        EXPECT_FALSE(masks.Item(i).SortAt) << masks.Item(i).MaskName;
    }
}

TEST(DefaultMasks, HandedToTheEngineInTableOrder) {
    MaskCollection masks;
    RecordingSearch search;
    AddDefaultMasks(masks, search);
    ASSERT_EQ(11u, search.Log.size());
    EXPECT_EQ("EmptyMasks", search.Log[0]);
    EXPECT_EQ("AddMask(Address|||3|0|1|-1|0|0)", search.Log[6]);
    EXPECT_EQ("AddMask(Parent|||3|0|1|-1|0|0)", search.Log[7]);
    EXPECT_EQ("AddMask(Document Size|||3|0|1|-1|0|0)", search.Log[8]);
    EXPECT_EQ(0u, search.Log[4].find("AddMask(Link Text|\\al<:"));
    EXPECT_NE(std::string::npos, search.Log[4].find("|Link|0|1|2|1|-1|0)"));

    // While a search runs the collection changes but the engine hears nothing.
    RecordingSearch busy;
    busy.StatusValue = 1;
    masks.Add("Extra", "", 0, 0, 0, 0, false, false, -1);
    AddDefaultMasks(masks, busy);
    EXPECT_EQ(kDefaultMaskCount, masks.Count());
    EXPECT_TRUE(busy.Log.empty());
}
