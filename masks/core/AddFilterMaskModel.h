// What the dialog that adds a filter condition decides, without its window.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "masks/core/DialogClose.h"

// The dialog that picks the mask and the negation of one new condition.
class AddFilterMaskModel {
public:
    void Clear() { rows_.clear(); }
    void AddMask(const std::string& Name, int32_t Index) { rows_.push_back({Name, Index}); }
    void Load() { activeMask_ = -1; }
    // OK or a double click on a row take the check box; the selected row
    // (1-based, 0 none) gives ActiveMask whichever way the dialog closes.
    void Close(DialogClose how, int32_t selectedRow, bool notChecked);

    bool Ok() const { return ok_; }
    bool FlagNot() const { return flagNot_; }
    int32_t ActiveMask() const { return activeMask_; }
    const std::vector<std::pair<std::string, int32_t>>& Rows() const { return rows_; }

private:
    std::vector<std::pair<std::string, int32_t>> rows_;
    bool ok_ = false;
    bool flagNot_ = false;
    int32_t activeMask_ = -1;
};
