#include "StdCtrls.h"

#include <algorithm>

#include "Form.h"
#include "MessageCracker.h"
#include "runtime/Application.h"

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

TButtonControl::TButtonControl(TWinControl* parent, DWORD style, const char* winClassName)
    : TWinControl(parent), style_(style), winClassName_(winClassName) {}

void TButtonControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "BUTTON";
    p.WinClassName = winClassName_;
    p.Style |= WS_TABSTOP | style_;
}

void TButtonControl::WndCreated() { Perform(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED); }

bool TButtonControl::Checked() const {
    if (HandleAllocated()) return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TButtonControl::SetCheck(bool c) {
    checked_ = c;
    if (HandleAllocated()) Perform(BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED);
}

bool TButtonControl::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    checked_ = Checked();
    DoClick();
    return true;
}

TCheckBox::TCheckBox(TWinControl* parent) : TButtonControl(parent, BS_AUTOCHECKBOX, "QfCheckBox") {
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool c, bool silent) {
    const bool changed = c != Checked();
    SetCheck(c);
    if (changed && !silent) DoClick();
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
    if (passwordChar_) p.Style |= ES_PASSWORD;
}

void TEdit::WndCreated() {
    if (maxLength_) Perform(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_));
    if (passwordChar_) Perform(EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_));
}

void TEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    if (!HandleAllocated()) return;
    Perform(EM_SETPASSWORDCHAR, static_cast<unsigned char>(c));
    Invalidate();
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

// ---- TRadioButton

TRadioButton::TRadioButton(TWinControl* parent) : TButtonControl(parent, BS_AUTORADIOBUTTON, "QfRadioButton") {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool c, bool silent) {
    const bool changed = c != Checked();
    SetCheck(c);
    if (c && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (other && other != this) other->SetCheck(false);
        }
    }
    if (changed && c && !silent) DoClick();
}

// ---- TGroupBox

TGroupBox::TGroupBox(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfGroupBox";
    p.Style |= WS_CLIPCHILDREN;
}

void TGroupBox::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    canvas.Font = Font();
    const std::string text = Caption();
    const int textHeight = canvas.TextHeight("0");
    RECT frame{0, textHeight / 2, r.right, r.bottom};
    DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    if (text.empty()) return;
    // The caption interrupts the frame's top line.
    canvas.FillRect({6, 0, 10 + canvas.TextWidth(text), textHeight});
    canvas.Brush.Style = bsClear;
    if (!Enabled()) canvas.Font.SetColor(clGrayText);
    canvas.TextOut(8, 0, text);
}

// ---- TMemo

TMemo::TMemo(TWinControl* parent) : TEdit(parent) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& p) {
    TEdit::CreateParams(p);
    p.WinClassName = "QfMemo";
    p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!wordWrap_ || scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
}

TStringList TMemo::Lines() const {
    TStringList lines;
    lines.SetText(Text());
    return lines;
}

void TMemo::SetLines(const TStringList& lines) {
    std::string text = lines.Text();
    if (text.size() >= 2) text.resize(text.size() - 2);  // no empty line after the last
    SetText(text);
}

void TMemo::AddLine(const std::string& line) {
    const std::string text = Text();
    SetText(text.empty() ? line : text + "\r\n" + line);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    RecreateHandle();
}

void TMemo::SetWordWrap(bool w) {
    wordWrap_ = w;
    RecreateHandle();
}

// ---- TComboBox

namespace {
const char kComboOfEdit[] = "QfComboOfEdit";
const char kEditProc[] = "QfEditProc";

// Keys typed into a drop-down combo box's own edit reach the combo box's handlers.
LRESULT CALLBACK ComboEditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto old = reinterpret_cast<WNDPROC>(GetPropA(h, kEditProc));
    auto* combo = static_cast<TComboBox*>(GetPropA(h, kComboOfEdit));
    if (!old) return DefWindowProcA(h, msg, wp, lp);
    if (combo && (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR)) {
        bool swallow = false;
        CallGuarded(combo, [&] {
            if (msg == WM_CHAR) {
                char key = static_cast<char>(wp);
                combo->KeyPress(key);
                swallow = key == 0;
                wp = static_cast<unsigned char>(key);
            } else {
                WORD key = static_cast<WORD>(wp);
                if (msg == WM_KEYDOWN) combo->KeyDown(key, KeyboardShiftState());
                else combo->KeyUp(key, KeyboardShiftState());
                swallow = key == 0;
            }
        });
        if (swallow) return 0;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(h, kEditProc);
        RemovePropA(h, kComboOfEdit);
    }
    return CallWindowProcA(old, h, msg, wp, lp);
}
}  // namespace

TComboBox::TComboBox(TWinControl* parent)
    : TWinControl(parent), items_(*this, {CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT}) {
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
}

int TComboBox::ListHeight() const { return std::max(1, DropDownCount) * 16 + 2; }

// The height given to the window is the dropped list's; the box itself keeps
// its closed height.
void TComboBox::PlaceWindow(const TBounds& b) {
    TBounds full = b;
    if (style_ != csSimple) full.Height += ListHeight();
    TWinControl::PlaceWindow(full);
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "COMBOBOX";
    p.WinClassName = "QfComboBox";
    p.Style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
    p.Style |= style_ == csDropDownList ? CBS_DROPDOWNLIST : style_ == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    if (style_ != csSimple) p.Height += ListHeight();
}

void TComboBox::WndCreated() {
    items_.Fill();
    if (itemIndex_ >= 0) Perform(CB_SETCURSEL, static_cast<WPARAM>(itemIndex_));
    if (HWND edit = FindWindowExA(Handle(), nullptr, "Edit", nullptr)) {
        SetPropA(edit, kComboOfEdit, this);
        SetPropA(edit, kEditProc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(edit, GWLP_WNDPROC)));
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc));
    }
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    itemIndex_ = ItemIndex();
    RecreateHandle();
}

int TComboBox::ItemIndex() const {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TComboBox::SetItemIndex(int i) {
    if (i < -1 || i >= items_.Count()) i = -1;
    itemIndex_ = i;
    if (HandleAllocated()) Perform(CB_SETCURSEL, static_cast<WPARAM>(i));
}

bool TComboBox::DroppedDown() const { return HandleAllocated() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0); }
void TComboBox::SetDroppedDown(bool d) { Perform(CB_SHOWDROPDOWN, d); }

bool TComboBox::Command(WORD code) {
    switch (code) {
        case CBN_SELCHANGE:
            itemIndex_ = ItemIndex();
            DoClick();
            if (OnSelect) OnSelect(this);
            if (OnChange) OnChange(this);
            return false;
        case CBN_EDITCHANGE:
            if (OnChange) OnChange(this);
            return false;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            return false;
        default:
            return false;
    }
}

bool TComboBox::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:  // the edit of a disabled box
        case WM_CTLCOLORLISTBOX:
            // The combo box's own edit and list take its colours.
            m.Result = reinterpret_cast<LRESULT>(ChildColors(*this, reinterpret_cast<HDC>(m.WParam)));
            return true;
        default:
            return false;
    }
}

// ---- TListBox

TListBox::TListBox(TWinControl* parent)
    : TWinControl(parent), items_(*this, {LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT}) {
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

void TListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "LISTBOX";
    p.WinClassName = "QfListBox";
    p.Style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::WndCreated() {
    items_.Fill();
    if (itemIndex_ >= 0) SetItemIndex(itemIndex_);
    if (multiSelect_)
        for (int i : KeptSelection()) Perform(LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    selected_.clear();
}

void TListBox::SetMultiSelect(bool m) {
    if (m == multiSelect_) return;
    multiSelect_ = m;
    RecreateHandle();
}

void TListBox::CheckIndex(int i) const {
    if (i < 0 || i >= items_.Count()) throw Exception("List index out of bounds (" + std::to_string(i) + ")");
}

int TListBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    const int i = static_cast<int>(SendMessageA(Handle(), multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
    return i < items_.Count() ? i : -1;
}

void TListBox::SetItemIndex(int i) {
    if (i < -1 || i >= items_.Count()) i = -1;
    itemIndex_ = i;
    if (!HandleAllocated()) return;
    if (multiSelect_) Perform(LB_SETCARETINDEX, static_cast<WPARAM>(i < 0 ? 0 : i));
    else Perform(LB_SETCURSEL, static_cast<WPARAM>(i));
}

bool TListBox::Selected(int i) const {
    CheckIndex(i);
    if (!multiSelect_) return ItemIndex() == i;
    if (!HandleAllocated()) return static_cast<size_t>(i) < selected_.size() && selected_[static_cast<size_t>(i)];
    return SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
}

void TListBox::SetSelected(int i, bool s) {
    CheckIndex(i);
    if (!multiSelect_) {
        if (s) SetItemIndex(i);
        else if (ItemIndex() == i) SetItemIndex(-1);
    } else if (HandleAllocated()) {
        Perform(LB_SETSEL, s, static_cast<LPARAM>(i));
    } else {
        if (selected_.size() < static_cast<size_t>(items_.Count())) selected_.resize(static_cast<size_t>(items_.Count()));
        selected_[static_cast<size_t>(i)] = s;
    }
}

int TListBox::SelCount() const {
    if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
    if (!HandleAllocated()) return static_cast<int>(KeptSelection().size());
    return static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
}

std::vector<int> TListBox::KeptSelection() const {
    std::vector<int> chosen;
    const size_t n = std::min(selected_.size(), static_cast<size_t>(items_.Count()));
    for (size_t i = 0; i < n; ++i)
        if (selected_[i]) chosen.push_back(static_cast<int>(i));
    return chosen;
}

bool TListBox::Command(WORD code) {
    if (code == LBN_SELCHANGE) DoClick();
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
    return false;
}

bool TListBox::DblClick(TMouseButton button, TShiftState shift, int x, int y) {
    // OnDblClick comes with LBN_DBLCLK, on an item only.
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    return false;
}
