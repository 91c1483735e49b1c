// The completing combo box's rule: which item completes the typed text.
#pragma once

#include <string>
#include <vector>

struct TCompletion {
    bool Found = false;
    std::string CompleteWith;  // the rest of the item after the typed length
};

// lastKey: the last key pressed (Backspace 8 and Delete 46 never complete).
TCompletion FindCompletion(const std::string& typed, const std::vector<std::string>& items, unsigned lastKey,
                           unsigned minLength);
