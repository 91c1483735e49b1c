// What the filter dialog decides, without its window: the working copy of
// the blocks, the mask names on offer, the block shown, the button states,
// the caption ("Filter 1 of 2") and the rows of the condition list. The
// window forwards its buttons here and shows Caption, the flags and Rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/DialogClose.h"
#include "masks/core/FilterBlock.h"

class MaskCollection;

struct FilterRow {
    std::string Status;  // "Not" for a negated condition, else ""
    std::string Name;
    int32_t Tag = 0;     // the condition's mask index
};

class FilterDialogModel {
public:
    // Members the window's filter driver calls.
    void Clear();
    // Appends empty blocks up to i and placeholder conditions (-1, "", False)
    // to block i up to j, then sets condition j. std::out_of_range below 1.
    void SetElement(int32_t i, int32_t j, int32_t Index, const std::string& Name, bool FlagNot);
    int32_t blockCount() const { return static_cast<int32_t>(blocks_.size()); }
    int32_t itemCount(int32_t i) const { return Block(i).Count(); }
    const FilterItem& Mask(int32_t i, int32_t j) const { return Block(i).Item(j); }
    bool Ok() const { return ok_; }
    void AddMask(const std::string& Name) { offered_.push_back(Name); }

    // The driver's two ends: the window's filter and masks copied in (a
    // hidden mask is offered as "", so positions stay mask indices), and on
    // OK the filter rebuilt from the dialog's copy.
    void Fill(const std::vector<FilterBlock>& Filters, const MaskCollection& Masks);
    std::vector<FilterBlock> Rebuild() const;

    // The dialog's own events.
    void Load();  // Ok False, then the view
    void New();
    void Next();
    void Previous();
    void Remove();
    // The rows to offer in the add dialog: (name, mask index) of every offered name.
    std::vector<std::pair<std::string, int32_t>> OfferedRows() const;
    // After the add dialog's OK: ActiveMask must name an offered mask.
    void AddCondition(int32_t ActiveMask, bool FlagNot);
    // Removes the condition shown in list row `row` (1-based; 0: none selected).
    void RemoveCondition(int32_t row);
    void Close(DialogClose how) { ok_ = how == DialogClose::Ok; }

    // The view after the last change.
    const std::string& Caption() const { return caption_; }
    int32_t CurrentBlock() const { return current_; }
    bool PreviousEnabled() const { return previousEnabled_; }
    bool NextEnabled() const { return nextEnabled_; }
    bool AddEnabled() const { return addEnabled_; }
    bool RemoveMaskEnabled() const { return addEnabled_; }
    const std::vector<FilterRow>& Rows() const { return rows_; }
    const std::vector<std::string>& OfferedMasks() const { return offered_; }

private:
    const FilterBlock& Block(int32_t i) const;
    void ShowFilter();

    std::vector<FilterBlock> blocks_;
    std::vector<std::string> offered_;
    int32_t current_ = 0;
    bool ok_ = false;
    std::string caption_ = "Filters";
    bool previousEnabled_ = false, nextEnabled_ = false, addEnabled_ = false;
    std::vector<FilterRow> rows_;
};
