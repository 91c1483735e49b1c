// The mask wizard driven through its real windows under the scripted runner.
#include <gtest/gtest.h>

#include "MaskFakes.h"
#include "ScriptedModalRunner.h"
#include "WindowDriver.h"
#include "masks/EditMaskWizard.h"
#include "masks/core/DefaultMasks.h"
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

std::string All(const MaskCollection& masks) {
    std::string s;
    for (const auto& m : masks) s += Describe(*m) + "\n";
    return s;
}

TEditMaskWizard& W(TForm& f) { return static_cast<TEditMaskWizard&>(f); }
}  // namespace

TEST(EditMaskWizard, ParentListWithoutHiddenOrSystemMasksAndNoneForEmpty) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        EXPECT_EQ((std::vector<std::string>{"<None>", "Page title", "Link", "Link Image"}), ComboItems(*w.comboDepend));
        EXPECT_EQ("Link", w.comboDepend->Text());
        EXPECT_EQ("Link Text - Type unick name and parent name", w.Caption());
        EXPECT_TRUE(IsWindowEnabled(w.rbSearchAfter->Handle()));
        EXPECT_TRUE(RadioChecked(*w.rbSearchAfter));
        PickComboItem(*w.comboDepend, 0);  // "<None>"
        EXPECT_FALSE(IsWindowEnabled(w.rbSearchAfter->Handle()));
        EXPECT_FALSE(IsWindowEnabled(w.rbSearchIn->Handle()));
        Click(*w.btnFinish);
    });
    const int32_t linkText = masks.FindMask("Link Text");
    wizard.ShowDialog(linkText, masks, nullptr);
    EXPECT_TRUE(wizard.Finished());
    EXPECT_EQ("", masks.Item(linkText).DependOn) << "\"<None>\" goes back as \"\"";
    EXPECT_EQ(0, masks.Item(linkText).DependType);

    // An empty parent shows "<None>" with both buttons disabled, and Finish keeps it "".
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        EXPECT_EQ("<None>", w.comboDepend->Text());
        EXPECT_FALSE(IsWindowEnabled(w.rbSearchAfter->Handle()));
        Click(*w.btnFinish);
    });
    const std::string before = All(masks);
    wizard.ShowDialog(1, masks, nullptr);
    EXPECT_EQ(before, All(masks)) << "Finish with nothing changed";
    EXPECT_TRUE(runner.AllUsed());
}

TEST(EditMaskWizard, SpinnerShowsNotTestBelowZero) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    const int32_t link = masks.FindMask("Link");  // MaxFoundCount -1, Priority 3
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        for (int i = 0; i < 3; ++i) Click(*w.btnNext);
        EXPECT_EQ("Link - Properties", w.Caption());
        EXPECT_TRUE(IsWindowVisible(w.edMaxFound->Handle()));
        EXPECT_FALSE(IsWindowVisible(w.edMaskName->Handle())) << "page 0 hidden";
        EXPECT_FALSE(IsWindowEnabled(w.btnNext->Handle()));
        EXPECT_EQ("Not test", w.edMaxFound->Text());
        ClickUpDown(*w.udMaxFound, true);
        EXPECT_EQ("0", w.edMaxFound->Text());
        ClickUpDown(*w.udMaxFound, false);
        EXPECT_EQ("Not test", w.edMaxFound->Text());
        ClickUpDown(*w.udPriority, true);
        EXPECT_EQ("4", w.edPriority->Text());
        // The control's own position is at its low end after one click down:
        // the next click still counts.
        ClickUpDown(*w.udPriority, false);
        ClickUpDown(*w.udPriority, false);
        EXPECT_EQ("2", w.edPriority->Text());
        TypeText(*w.edPriority, "9");  // typing changes nothing
        Click(*w.btnFinish);
    });
    wizard.ShowDialog(link, masks, nullptr);
    EXPECT_EQ(-1, masks.Item(link).MaxFoundCount);
    EXPECT_EQ(2, masks.Item(link).Priority);
}

TEST(EditMaskWizard, CancelChangesNothing) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    const std::string before = All(masks);
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        TypeText(*w.edMaskName, "Renamed");
        PickComboItem(*w.comboDepend, 2);
        Click(*w.rbSearchIn);
        Click(*w.btnNext);
        TypeText(*w.edValue, "extra");
        Click(*w.btnAddValue);
        Click(*w.btnNext);
        Click(*w.rbGeneratedRadio);
        Click(*w.btnNext);
        Click(*w.CheckHidden);
        ClickUpDown(*w.udMaxFound, true);
        Click(*w.btnCancel);
    });
    wizard.ShowDialog(3, masks, nullptr);
    EXPECT_FALSE(wizard.Finished());
    EXPECT_EQ(before, All(masks));
}

TEST(EditMaskWizard, FinishDisabledWhileTheNameIsEmpty) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        EXPECT_TRUE(IsWindowEnabled(w.btnFinish->Handle()));
        TypeText(*w.edMaskName, "");
        EXPECT_FALSE(IsWindowEnabled(w.btnFinish->Handle()));
        TypeText(*w.edMaskName, "Title");
        EXPECT_TRUE(IsWindowEnabled(w.btnFinish->Handle()));
        Click(*w.btnFinish);
    });
    wizard.ShowDialog(1, masks, nullptr);
    EXPECT_EQ("Title", masks.Item(1).MaskName);
}

// A use closed by the frame after an earlier Finish must change nothing: it
// once wrote the earlier mask's values into this one.
TEST(EditMaskWizard, FrameCloseAfterAnEarlierFinishIsCancel) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        Click(*w.btnNext);
        TypeText(*w.edValue, "<H1>");
        Click(*w.btnAddValue);
        Click(*w.btnFinish);
    });
    wizard.ShowDialog(1, masks, nullptr);
    ASSERT_EQ(2, masks.GetValueCount(1));

    const int32_t link = masks.FindMask("Link");
    const std::string before = All(masks);
    runner.Expect("wisEditMask", [&](TForm& f) {
        TEditMaskWizard& w = W(f);
        EXPECT_EQ(masks.Item(link).Values(), ListBoxItems(*w.lstValue)) << "the value list is this mask's";
        PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
    });
    wizard.ShowDialog(link, masks, nullptr);
    EXPECT_FALSE(wizard.Finished());
    EXPECT_EQ(before, All(masks));
}

TEST(EditMaskWizard, ValueListAddModifyRemove) {
    TScriptedModalRunner runner;
    MaskCollection masks;
    masks.Add("K", "", 0, 0, 0, 2, true, false, -1);
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        Click(*w.btnNext);
        EXPECT_EQ("K - Add keywords to serarch", w.Caption());
        EXPECT_FALSE(IsWindowEnabled(w.btnAddValue->Handle())) << "nothing to add";
        for (const char* v : {"a", "x", "c"}) {
            TypeText(*w.edValue, v);
            Click(*w.btnAddValue);
        }
        PickListItem(*w.lstValue, 1);
        EXPECT_EQ("x", w.edValue->Text());
        TypeText(*w.edValue, "b");
        Click(*w.btnModifyValue);
        EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), ListBoxItems(*w.lstValue));
        PickListItem(*w.lstValue, 1);
        Click(*w.btnRemoveValue);
        EXPECT_EQ("c", w.edValue->Text()) << "the next entry is selected and shown";
        Click(*w.btnRemoveValue);
        EXPECT_EQ("", w.edValue->Text());
        Click(*w.btnFinish);
    });
    wizard.ShowDialog(1, masks, nullptr);
    EXPECT_EQ(std::vector<std::string>{"a"}, masks.Item(1).Values());
}

TEST(EditMaskWizard, ClicksSetTheFieldsFinishWrites) {
    TScriptedModalRunner runner;
    MaskCollection masks = BuiltIns();
    const int32_t format = masks.FindMask("Format");
    TEditMaskWizard wizard;
    runner.Expect("wisEditMask", [](TForm& f) {
        TEditMaskWizard& w = W(f);
        PickComboItem(*w.comboDepend, 2);  // "Link"
        EXPECT_TRUE(IsWindowEnabled(w.rbSearchIn->Handle()));
        Click(*w.rbSearchIn);
        Click(*w.btnNext);
        Click(*w.btnNext);
        Click(*w.rbGeneratedRadio);
        Click(*w.rbDependRadio);
        Click(*w.btnNext);
        Click(*w.CheckHidden);
        Click(*w.CheckCanCompile);
        Click(*w.btnBack);
        EXPECT_EQ("Format - Select type and view container", w.Caption());
        Click(*w.btnFinish);
    });
    wizard.ShowDialog(format, masks, nullptr);
    const SearchMask& m = masks.Item(format);
    EXPECT_EQ("Format|Link|322|0|1|C-|" + m.GetValue(1), Describe(m)) << "Hidden was ticked, so it is now off";
}
