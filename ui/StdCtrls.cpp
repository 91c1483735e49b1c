#include "StdCtrls.h"

#include "Form.h"

namespace {
TForm* FormOf(TWinControl* c) {
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(c);
}
}  // namespace

// ---- TButton

TButton::TButton(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "BUTTON";
    p.WinClassName = "QfButton";
    p.Style |= WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool d) {
    default_ = d;
    if (HandleAllocated()) Perform(BM_SETSTYLE, d ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (TForm* f = FormOf(this); f && ModalResult != 0) f->SetModalResult(ModalResult);
    DoClick();
}

bool TButton::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}

// ---- TCheckBox

TCheckBox::TCheckBox(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "BUTTON";
    p.WinClassName = "QfCheckBox";
    p.Style |= WS_TABSTOP | BS_AUTOCHECKBOX;
}

void TCheckBox::WndCreated() { Perform(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED); }

bool TCheckBox::Checked() const {
    if (HandleAllocated()) return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TCheckBox::SetChecked(bool c, bool silent) {
    const bool changed = c != Checked();
    checked_ = c;
    if (HandleAllocated()) Perform(BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED);
    if (changed && !silent) DoClick();
}

bool TCheckBox::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    checked_ = Checked();
    DoClick();
    return true;
}

// ---- TEdit

TEdit::TEdit(TWinControl* parent) : TWinControl(parent) {
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "EDIT";
    p.WinClassName = "QfEdit";
    p.Style |= WS_TABSTOP | ES_AUTOHSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    if (readOnly_) p.Style |= ES_READONLY;
}

void TEdit::WndCreated() {
    if (maxLength_) Perform(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_));
}

void TEdit::SetReadOnly(bool r) {
    readOnly_ = r;
    if (HandleAllocated()) Perform(EM_SETREADONLY, r);
}

void TEdit::SetMaxLength(int n) {
    maxLength_ = n;
    if (HandleAllocated()) Perform(EM_LIMITTEXT, static_cast<WPARAM>(n));
}

bool TEdit::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange(this);
    return false;
}

// ---- TLabel

TLabel::TLabel(TWinControl* parent) : TWinControl(parent) {
    if (parent) SetColor(parent->Color());
    SetBounds(0, 0, 65, 13);
}

void TLabel::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    UINT fmt = WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    fmt |= Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (!Enabled()) canvas.Font.SetColor(clGrayText);
    canvas.DrawText(Caption(), r, fmt);
}

void TLabel::AutoSize() {
    HDC dc = GetDC(Handle());
    TCanvas c(dc);
    c.Font = Font();
    const std::string text = Caption();
    SetBounds(Left(), Top(), c.TextWidth(text), c.TextHeight(text));
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

bool TLabel::HandleMessage(TMessage& m) {
    if (m.Msg == WM_SETTEXT) {
        m.Result = DefaultHandler(m);
        Invalidate();
        return true;
    }
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;  // clicks reach the parent, as on a drawn label
        return !OnClick && !OnMouseDown;
    }
    return false;
}

// ---- TPanel

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 185, 41); }

void TPanel::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfPanel";
    p.Style |= WS_CLIPCHILDREN;
}

void TPanel::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (BevelOuter != bvNone) DrawEdge(canvas.Handle(), &r, BevelOuter == bvRaised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (BevelInner != bvNone) DrawEdge(canvas.Handle(), &r, BevelInner == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
    const std::string text = Caption();
    if (!text.empty()) {
        canvas.Brush.Style = bsClear;
        canvas.DrawText(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
