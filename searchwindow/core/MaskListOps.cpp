#include "searchwindow/core/MaskListOps.h"

void RemoveMaskAt(MaskCollection& masks, std::vector<FilterBlock>& filters, int32_t index) {
    const int16_t sortAt = masks.SortAt();
    masks.Remove(index);
    if (sortAt == index)
        masks.SetSortAt(0);
    else if (sortAt > index)
        masks.SetSortAt(static_cast<int16_t>(sortAt - 1));
    for (FilterBlock& b : filters) {
        for (int32_t j = 1; j <= b.Count();) {
            FilterItem& item = b.Item(j);
            if (item.Index == index) {
                b.Remove(j);
                continue;
            }
            if (item.Index > index) --item.Index;
            ++j;
        }
    }
}

std::string MaskFileName(const std::string& chosen, int32_t maskType) {
    static const char kLetters[] = "tlag";
    if (maskType < 0 || maskType > 3) return chosen;
    const std::string tail = std::string(".mask") + kLetters[maskType];
    if (chosen.size() >= tail.size() && chosen.compare(chosen.size() - tail.size(), tail.size(), tail) == 0)
        return chosen;
    return chosen + kLetters[maskType];
}
