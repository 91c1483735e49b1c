#include "masks/UpDownButtons.h"

#include <commctrl.h>

#include "ui/ListView.h"

TUpDownButtons::TUpDownButtons(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 17, 21);
}

void TUpDownButtons::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = UPDOWN_CLASSA;
    p.WinClassName = "QfUpDown";
    p.Style |= UDS_ARROWKEYS;
}

void TUpDownButtons::WndCreated() { Perform(UDM_SETRANGE32, static_cast<WPARAM>(low_), static_cast<LPARAM>(high_)); }

void TUpDownButtons::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    if (HandleAllocated()) WndCreated();
}

bool TUpDownButtons::Notify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    if (OnClick && change->iDelta != 0) OnClick(this, change->iDelta > 0 ? btNext : btPrev);
    result = 1;  // the position stays
    return true;
}
