#include "SpinEdit.h"

#include <windows.h>

#include <algorithm>

#include "ui/ComCtrls.h"

int SpinValueOf(const std::string& text, int minValue, int maxValue) {
    long long v = 0;
    bool any = false;
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        any = true;
        // Past the upper bound the rest of the digits cannot bring it back.
        if (v <= maxValue) v = v * 10 + (c - '0');
    }
    if (!any) return minValue;
    return static_cast<int>(std::max<long long>(minValue, std::min<long long>(v, maxValue)));
}

TSpinEdit::TSpinEdit(TWinControl* parent) : TEdit(parent) {
    buttons_ = new TSpinButtons(parent);
    buttons_->Thousands = false;  // "32,768" would not read back as a number
    buttons_->SetMin(min_);
    buttons_->SetMax(max_);
    buttons_->SetAssociate(this);
    // A click reaches the box's text through the buddy; the text is the value.
    SetText(std::to_string(min_));
}

void TSpinEdit::CreateParams(TCreateParams& p) {
    TEdit::CreateParams(p);
    p.Style |= ES_NUMBER;
}

void TSpinEdit::SetRange(int minValue, int maxValue) {
    min_ = minValue;
    max_ = std::max(minValue, maxValue);
    buttons_->SetMin(min_);
    buttons_->SetMax(max_);
    SetValue(Value());
}

int TSpinEdit::Value() const { return SpinValueOf(Text(), min_, max_); }

void TSpinEdit::SetValue(int v) {
    v = std::max(min_, std::min(v, max_));
    buttons_->SetPosition(v);
    SetText(std::to_string(v));
}

void TSpinEdit::Place(int x, int y, int width, int height) {
    // The up-down takes its width from the right of its buddy when it is
    // made or told who that is.
    TEdit::SetBounds(x, y, width, height);
    if (buttons_->HandleAllocated()) buttons_->SetAssociate(this);
}

namespace {
void KeepWindowBounds(TWinControl& c) {
    RECT r;
    GetWindowRect(c.Handle(), &r);
    MapWindowPoints(nullptr, GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
    c.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
}  // namespace

void TSpinButtons::WndCreated() {
    TUpDown::WndCreated();
    // Where the platform put the two is where they are from now on.
    if (Associate()) KeepWindowBounds(*Associate());
    KeepWindowBounds(*this);
}

bool TSpinEdit::Command(WORD code) {
    // Digits only, also when text is pasted: the platform's filter sees typed keys alone.
    if (code == EN_CHANGE && !filtering_) {
        std::string t = Text(), digits;
        for (char c : t)
            if (c >= '0' && c <= '9') digits += c;
        if (digits != t) {
            filtering_ = true;
            DWORD start = 0;
            Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            SetText(digits);
            size_t caret = std::min<size_t>(digits.size(), start);
            Perform(EM_SETSEL, caret, static_cast<LPARAM>(caret));
            filtering_ = false;
        }
    }
    return TEdit::Command(code);
}

void TSpinEdit::FocusChanged(bool gained) {
    // Leaving the box shows the number that counts.
    if (!gained && HandleAllocated() && Text() != std::to_string(Value())) SetValue(Value());
    TEdit::FocusChanged(gained);
}
