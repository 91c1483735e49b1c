// Comparing data objects by their stream forms. The key-map stream lists its
// bindings in tree order, and a reload builds the tree in stream order, so the
// bindings of a reloaded key map may be listed in another order: key maps
// compare by their commands and the set of their bindings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "KeyboardActionContoller.h"
#include "SM_Settings.h"

inline std::vector<uint8_t> SavedBytes(const TSM_Base& o) {
    TMemoryStream m;
    o.SaveToStream(m);
    return m.Bytes();
}

inline std::vector<std::tuple<int, int, int>> SortedBindings(const TKeyboardActionContoller& k) {
    std::vector<std::tuple<int, int, int>> out;
    for (const TKeyBinding& b : k.Bindings()) out.emplace_back(b.FirstKey, b.SecondKey, b.Command);
    std::sort(out.begin(), out.end());
    return out;
}

inline bool SameStream(const TKeyboardActionContoller& a, const TKeyboardActionContoller& b) {
    return a.Commands == b.Commands && SortedBindings(a) == SortedBindings(b);
}

// The settings stream ends with the key map.
inline std::vector<uint8_t> SavedWithoutKeyMap(const TSM_Settings& s) {
    std::vector<uint8_t> all = SavedBytes(s);
    all.resize(all.size() - SavedBytes(*s.KeyController).size());
    return all;
}

inline bool SameStream(const TSM_Settings& a, const TSM_Settings& b) {
    return SavedWithoutKeyMap(a) == SavedWithoutKeyMap(b) && SameStream(*a.KeyController, *b.KeyController);
}

template <class T>
bool SameStream(const T& a, const T& b) {
    return SavedBytes(a) == SavedBytes(b);
}
