#include "ReadOnlyText.h"

TReadOnlyText::TReadOnlyText(TWinControl* parent) : TEdit(parent) {
    SetReadOnly(true);
    if (parent) SetColor(parent->Color());
    SetBounds(0, 0, 121, 16);
}

void TReadOnlyText::CreateParams(TCreateParams& p) {
    TEdit::CreateParams(p);
    p.WinClassName = "QfReadOnlyText";
    p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    // Reached by the mouse only: the keyboard goes to the dialog's inputs.
    p.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}
