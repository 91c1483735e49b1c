// The remote list's name order on this platform: the user's locale,
// case-sensitive, as the platform's own string comparison orders names.
#pragma once

#include "ftpclient/core/ListingParser.h"

class TLocaleCollation : public TNameCollation {
public:
    // CompareStringA of the user's default locale, no flags: below 0, 0, above 0.
    int Compare(const std::string& A, const std::string& B) const override;
    // LCMapStringA's sort key of the same locale and flags: its bytes
    // compare as Compare does.
    std::string SortKey(const std::string& Name) const override;
    static const TLocaleCollation& Instance();
};
