#include "components/core/BrkApart.h"

void TBrkApart::SetStringList(const TStringList& l) {
    list_.Clear();
    for (int i = 0; i < l.Count(); ++i) list_.Add(l.Strings(i));
}

void TBrkApart::BreakApart() {
    list_.Clear();
    std::string work = BaseString;
    for (;;) {
        size_t pos = std::string::npos, sepLen = 0;
        if (BreakArrayChar) {
            if (!BreakString.empty()) pos = work.find_first_of(BreakString);
            sepLen = 1;
        } else if (!BreakString.empty()) {
            pos = work.find(BreakString);
            sepLen = BreakString.size();
        }
        const std::string piece = pos == std::string::npos ? work : work.substr(0, pos);
        if (!piece.empty() || AllowEmptyString) list_.Add(piece);
        if (pos == std::string::npos) break;
        work.erase(0, pos + sepLen);
    }
}
