#include "components/core/ComboCompletion.h"

#include <cctype>

namespace {

bool SamePrefix(const std::string& typed, const std::string& item) {
    if (item.size() < typed.size()) return false;
    for (size_t i = 0; i < typed.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(typed[i])) != std::toupper(static_cast<unsigned char>(item[i])))
            return false;
    return true;
}

}  // namespace

TCompletion FindCompletion(const std::string& typed, const std::vector<std::string>& items, unsigned lastKey,
                           unsigned minLength) {
    TCompletion c;
    if (lastKey == 8 || lastKey == 46) return c;
    if (typed.size() < minLength || items.empty()) return c;
    for (const std::string& item : items)
        if (SamePrefix(typed, item)) {
            c.Found = true;
            c.CompleteWith = item.substr(typed.size());
            break;  // only the first match counts
        }
    return c;
}
