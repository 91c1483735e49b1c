#include "StringScanner.h"

void TStringScanner::SetText(const std::string& text) {
    Text = text;
    Length = static_cast<int>(text.size());
    Position = Length > 0 ? 1 : 0;
}

uint8_t TStringScanner::Current() const {
    if (AtEnd() || Position < 1) return 0;
    return static_cast<uint8_t>(Text[static_cast<size_t>(Position - 1)]);
}
