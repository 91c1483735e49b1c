#include "masks/core/AddFilterMaskModel.h"

void AddFilterMaskModel::Close(DialogClose how, int32_t selectedRow, bool notChecked) {
    if (how == DialogClose::Ok) flagNot_ = notChecked;
    ok_ = how == DialogClose::Ok;
    const bool selected = selectedRow >= 1 && static_cast<size_t>(selectedRow) <= rows_.size();
    activeMask_ = selected ? rows_[static_cast<size_t>(selectedRow - 1)].second : -1;
}
