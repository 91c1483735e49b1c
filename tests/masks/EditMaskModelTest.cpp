#include <gtest/gtest.h>

#include "MaskFakes.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/EditMaskModel.h"
#include "masks/core/MaskCollection.h"

namespace {
MaskCollection BuiltIns() {
    MaskCollection masks;
    RecordingSearch search;
    AddDefaultMasks(masks, search);
    return masks;
}

std::string Describe(const SearchMask& m) {
    std::string s = m.MaskName + "|" + m.DependOn + "|" + std::to_string(m.MaskType) + std::to_string(m.DependType) +
                    std::to_string(m.BrowserType) + "|" + std::to_string(m.Priority) + "|" +
                    std::to_string(m.MaxFoundCount) + "|" + (m.CanCompile ? "C" : "-") + (m.Hidden ? "H" : "-");
    for (const std::string& v : m.Values()) s += "|" + v;
    return s;
}
}  // namespace

TEST(EditMask, ParentListLeavesOutItselfHiddenAndSystemMasks) {
    const MaskCollection masks = BuiltIns();
    EditMaskModel w;
    w.Load(masks.FindMask("Link Text"), masks);
    EXPECT_EQ((std::vector<std::string>{"<None>", "Page title", "Link", "Link Image"}), w.Parents());
    EXPECT_EQ("Link", w.Parent());
    EXPECT_TRUE(w.DependEnabled());
    EXPECT_EQ(1, w.DependShown());
    EXPECT_EQ("Link Text - Type unick name and parent name", w.Caption());
}

TEST(EditMask, NoneStandsForAnEmptyParent) {
    MaskCollection masks = BuiltIns();
    const int32_t title = masks.FindMask("Page title");
    const std::string before = Describe(masks.Item(title));
    EditMaskModel w;
    w.Load(title, masks);
    EXPECT_EQ("<None>", w.Parent());
    EXPECT_FALSE(w.DependEnabled());
    EXPECT_EQ(1, w.DependShown()) << "shown selected, disabled";
    EXPECT_EQ(0, w.DependType()) << "and kept 0";
    w.Close(DialogClose::Ok, masks.Item(title).Values());
    w.Store(title, masks);
    EXPECT_EQ("", masks.Item(title).DependOn);
    EXPECT_EQ(before, Describe(masks.Item(title))) << "Finish with nothing changed changes nothing";

    // Picking a parent enables the buttons; picking "<None>" again sets DependType 0.
    w.Load(title, masks);
    w.ParentPicked("Link");
    EXPECT_TRUE(w.DependEnabled());
    w.SetDependType(2);
    w.ParentPicked("<None>");
    EXPECT_FALSE(w.DependEnabled());
    EXPECT_EQ(0, w.DependType());
}

TEST(EditMask, SpinnersAndTheirTexts) {
    MaskCollection masks;
    masks.Add("K", "", 0, 0, 0, 0, true, false, -1);
    masks.Item(1).MaxFoundCount = 0x12345;  // the wizard keeps the low 16 bits
    EditMaskModel w;
    w.Load(1, masks);
    EXPECT_EQ("9029", w.MaxFoundText());  // 0x2345

    masks.Item(1).MaxFoundCount = -1;
    w.Load(1, masks);
    EXPECT_EQ("Not test", w.MaxFoundText());
    w.MaxFoundUp();
    EXPECT_EQ("0", w.MaxFoundText());
    w.MaxFoundDown();
    EXPECT_EQ("Not test", w.MaxFoundText());
    w.MaxFoundDown();
    EXPECT_EQ(-1, w.MaxFound()) << "never below -1";
    EXPECT_EQ("0", w.PriorityText());
    w.PriorityDown();
    EXPECT_EQ("0", w.PriorityText()) << "never below 0";
    for (int i = 0; i < 12; ++i) w.PriorityUp();
    EXPECT_EQ("10", w.PriorityText()) << "the up-down's range ends at 10";
    w.Close(DialogClose::Ok, {});
    w.Store(1, masks);
    EXPECT_EQ(-1, masks.Item(1).MaxFoundCount) << "sign-extended back";
    EXPECT_EQ(10, masks.Item(1).Priority);
}

TEST(EditMask, EmptyNameDisablesFinishAndKeepsTheLastName) {
    MaskCollection masks = BuiltIns();
    EditMaskModel w;
    w.Load(1, masks);
    EXPECT_TRUE(w.FinishEnabled());
    w.NameChanged("Heading");
    w.NameChanged("");
    EXPECT_FALSE(w.FinishEnabled());
    EXPECT_EQ("Heading", w.MaskName());
    w.NameChanged("H");
    EXPECT_TRUE(w.FinishEnabled());
}

// After a Finish, a later use closed by the frame must not write anything:
// Finished is reset on load and the values come from this mask.
TEST(EditMask, FrameCloseAfterAnEarlierFinishChangesNothing) {
    MaskCollection masks = BuiltIns();
    EditMaskModel w;
    w.Load(1, masks);
    w.Close(DialogClose::Ok, {"first mask's value"});
    w.Store(1, masks);
    ASSERT_EQ("first mask's value", masks.GetValue(1, 1));

    const int32_t link = masks.FindMask("Link");
    const std::string before = Describe(masks.Item(link));
    w.Load(link, masks);
    EXPECT_FALSE(w.Finished);
    EXPECT_EQ(masks.Item(link).Values(), w.Values()) << "value list reloaded";
    w.Close(DialogClose::CloseBox, {"typed"});
    w.Store(link, masks);
    EXPECT_EQ(before, Describe(masks.Item(link)));
    w.Load(link, masks);
    w.Close(DialogClose::Cancel, {});
    w.Store(link, masks);
    EXPECT_EQ(before, Describe(masks.Item(link)));
}

TEST(EditMask, FinishWritesTheCopyBackWithoutEmptyValues) {
    MaskCollection masks = BuiltIns();
    EditMaskModel w;
    const int32_t image = masks.FindMask("Link Image");
    w.Load(image, masks);
    w.NameChanged("Picture");
    w.ParentPicked("Page title");
    w.SetDependType(2);
    w.SetMaskType(0);
    w.SetBrowserType(2);
    w.Hidden = true;
    w.CanCompile = true;
    w.Close(DialogClose::Ok, {"a", "", "b"});
    w.Store(image, masks);
    EXPECT_EQ("Picture|Page title|022|2|1|CH|a|b", Describe(masks.Item(image)));
    EXPECT_EQ("Link", masks.Item(masks.FindMask("Link Text")).DependOn) << "children keep the old name";
}

TEST(EditMask, PagesStepBetweenZeroAndThree) {
    MaskCollection masks = BuiltIns();
    EditMaskModel w;
    w.Load(1, masks);
    EXPECT_FALSE(w.BackEnabled());
    for (int i = 0; i < 5; ++i) w.Next();
    EXPECT_EQ(3, w.Page());
    EXPECT_FALSE(w.NextEnabled());
    EXPECT_EQ("Page title - Properties", w.Caption());
    w.Back();
    EXPECT_EQ("Page title - Select type and view container", w.Caption());
    w.Load(1, masks);
    EXPECT_EQ(0, w.Page()) << "every show starts on page 0";
}

TEST(EditMask, RemovingAValueSelectsTheNext) {
    std::vector<std::string> values{"a", "b", "c"};
    ValueListRemoval r = RemoveValueAt(values, 2);
    EXPECT_EQ(2, r.Selected);
    EXPECT_EQ("c", r.EditText);
    r = RemoveValueAt(values, 2);
    EXPECT_EQ(0, r.Selected);
    EXPECT_EQ("", r.EditText);
    EXPECT_EQ(std::vector<std::string>{"a"}, values);
    EXPECT_EQ(-1, RemoveValueAt(values, 0).Selected) << "nothing selected: nothing removed";
    EXPECT_EQ(1u, values.size());
}
