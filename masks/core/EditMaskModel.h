// What the mask wizard decides, without its window: the working copy of one
// mask, the parents on offer, the page shown, the button states and the
// texts of the two up-down boxes. The window shows these and forwards its
// events; Store writes the copy back after Finish.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/DialogClose.h"

class MaskCollection;

class EditMaskModel {
public:
    // True after Finish. Load resets it, so a dialog closed by its frame
    // never hands back the previous use's answer.
    bool Finished = false;

    // The working copy of mask `index` and the parent list: "<None>", then
    // every other mask that is neither hidden nor of type 3, in order.
    // std::out_of_range for an index outside the collection.
    void Load(int32_t index, const MaskCollection& masks);
    // After Finish, the copy goes back into mask `index`; otherwise nothing.
    void Store(int32_t index, MaskCollection& masks) const;
    // Finish (Ok) keeps the values list as the window's list box holds it;
    // Cancel and the frame's close box leave Finished False.
    void Close(DialogClose how, const std::vector<std::string>& listValues);

    // Pages 0 to 3.
    int32_t Page() const { return page_; }
    std::string Caption() const;
    bool BackEnabled() const { return page_ > 0; }
    bool NextEnabled() const { return page_ < 3; }
    void Next();
    void Back();

    // Page 0.
    const std::string& MaskName() const { return maskName_; }
    // The name box's text: an empty text disables Finish and keeps the last name.
    void NameChanged(const std::string& text);
    bool FinishEnabled() const { return finishEnabled_; }
    const std::vector<std::string>& Parents() const { return parents_; }
    const std::string& Parent() const { return parent_; }  // "<None>" for none
    void ParentPicked(const std::string& text);
    bool DependEnabled() const { return dependEnabled_; }
    // The dependency button shown selected: 1 after, 2 in the parent's values.
    int32_t DependShown() const { return dependShown_; }
    int32_t DependType() const { return dependType_; }
    void SetDependType(int32_t t);

    // Page 1: the values as loaded (the window's list box takes it from there).
    const std::vector<std::string>& Values() const { return values_; }

    // Page 2: the radio to select, -1 for none.
    int32_t MaskType() const { return maskType_; }
    int32_t BrowserType() const { return browserType_; }
    int32_t MaskTypeShown() const { return maskType_ >= 0 && maskType_ <= 3 ? maskType_ : -1; }
    int32_t BrowserTypeShown() const { return browserType_ >= 0 && browserType_ <= 2 ? browserType_ : -1; }
    void SetMaskType(int32_t t) { maskType_ = t; }
    void SetBrowserType(int32_t t) { browserType_ = t; }

    // Page 3: changed only by the up-down buttons.
    int16_t MaxFound() const { return maxFound_; }
    int32_t Priority() const { return priority_; }
    std::string MaxFoundText() const;
    std::string PriorityText() const { return std::to_string(priority_); }
    void MaxFoundUp();
    void MaxFoundDown();
    void PriorityUp();
    void PriorityDown();
    bool Hidden = false;
    bool CanCompile = false;

private:
    int32_t page_ = 0;
    std::string maskName_;
    bool finishEnabled_ = true;
    std::vector<std::string> parents_;
    std::string parent_;
    bool dependEnabled_ = false;
    int32_t dependShown_ = 1;
    int32_t dependType_ = 0;
    std::vector<std::string> values_;
    int32_t maskType_ = 0;
    int32_t browserType_ = 0;
    int16_t maxFound_ = -1;
    int32_t priority_ = 0;
};

// The value list of page 1 after Remove of entry `selected` (1-based):
// the entry now at that position is selected and shown in the edit box,
// else nothing is selected (0) and the box is cleared. With no entry
// selected nothing changes and Selected is -1.
struct ValueListRemoval {
    int32_t Selected;
    std::string EditText;
};
ValueListRemoval RemoveValueAt(std::vector<std::string>& values, int32_t selected);
