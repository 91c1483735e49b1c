#include "LocaleCollation.h"

#include <windows.h>

int TLocaleCollation::Compare(const std::string& A, const std::string& B) const {
    const int r = CompareStringA(LOCALE_USER_DEFAULT, 0, A.data(), static_cast<int>(A.size()), B.data(),
                                 static_cast<int>(B.size()));
    // 0 is a failure (no such locale): fall back on the bytes.
    return r == 0 ? A.compare(B) : r - CSTR_EQUAL;
}

std::string TLocaleCollation::SortKey(const std::string& Name) const {
    std::string key(Name.size() * 4 + 16, '\0');
    const int n = static_cast<int>(Name.size());
    int got = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, Name.data(), n, &key[0], static_cast<int>(key.size()));
    if (got == 0) {
        got = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, Name.data(), n, nullptr, 0);
        if (got <= 0) return Name;
        key.assign(static_cast<size_t>(got), '\0');
        got = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, Name.data(), n, &key[0], got);
        if (got <= 0) return Name;
    }
    key.resize(static_cast<size_t>(got));
    return key;
}

const TLocaleCollation& TLocaleCollation::Instance() {
    static const TLocaleCollation instance;
    return instance;
}
