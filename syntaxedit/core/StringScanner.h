// One-character-at-a-time scanner over a string (1-based positions).
// No platform headers.
#pragma once

#include <cstdint>
#include <string>

#include "Component.h"

class TStringScanner : public TObject {
public:
    explicit TStringScanner(const std::string& text = std::string()) { SetText(text); }
    void SetText(const std::string& text);
    void SetPosition(int n) { Position = n; }
    bool AtEnd() const { return Length == 0 || Position > Length; }
    uint8_t Current() const;  // 0 at the end
    void Next() {
        if (Position <= Length) Position++;
    }

    std::string Text;
    int Length = 0;
    int Position = 0;  // 1 for a non-empty text, 0 for an empty one
};
