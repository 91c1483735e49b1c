#include "ToolBar.h"

#include <algorithm>

#include "ListView.h"

// ---- TToolButton

int TToolButton::Index() const {
    for (int i = 0; i < bar_->ButtonCount(); ++i)
        if (bar_->Buttons(i) == this) return i;
    return -1;
}

void TToolButton::SetCaption(const std::string& s) {
    caption_ = s;
    bar_->Rebuild();
}

void TToolButton::SetImageIndex(int i) {
    imageIndex_ = i;
    if (bar_->HandleAllocated()) bar_->Perform(TB_CHANGEBITMAP, command_, i);
}

bool TToolButton::Down() const {
    if (bar_->HandleAllocated()) return bar_->Perform(TB_ISBUTTONCHECKED, command_) != 0;
    return down_;
}

void TToolButton::SetDown(bool d) {
    down_ = d;
    if (d && grouped_) {
        // The neighbours of the same group go up.
        const int me = Index();
        for (int dir : {-1, 1})
            for (int i = me + dir; i >= 0 && i < bar_->ButtonCount(); i += dir) {
                TToolButton* other = bar_->Buttons(i);
                if (!other->grouped_ || other->style_ != tbsCheck) break;
                other->down_ = false;
            }
    }
    if (bar_->HandleAllocated()) bar_->Perform(TB_CHECKBUTTON, command_, d);
}

void TToolButton::SetEnabled(bool e) {
    enabled_ = e;
    if (bar_->HandleAllocated()) bar_->Perform(TB_ENABLEBUTTON, command_, e);
}

void TToolButton::SetVisible(bool v) {
    visible_ = v;
    if (bar_->HandleAllocated()) bar_->Perform(TB_HIDEBUTTON, command_, !v);
}

void TToolButton::Click() {
    if (style_ == tbsCheck) SetDown(grouped_ ? true : !Down());
    Clicked();
}

void TToolButton::Clicked() {
    down_ = Down();
    if (OnClick) OnClick(this);
    if (bar_->OnButtonClick) bar_->OnButtonClick(bar_, this);
}

// ---- TToolBar

TToolBar::TToolBar(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = TOOLBARCLASSNAMEA;
    p.WinClassName = "QfToolBar";
    // Our layout places the bar; the control must not move itself.
    // The buttons' tooltips are the application's (see HintAt), not the control's own.
    p.Style |= TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (list_) p.Style |= TBSTYLE_LIST;
}

void TToolBar::WndCreated() {
    Perform(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Perform(TB_SETPARENT, reinterpret_cast<WPARAM>(Handle()));
    Perform(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    Rebuild();
}

void TToolBar::Rebuild() {
    if (!HandleAllocated()) return;
    Perform(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
    if (images_) Perform(TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
    while (Perform(TB_BUTTONCOUNT) > 0) Perform(TB_DELETEBUTTON, 0);
    Perform(TB_SETMAXTEXTROWS, showCaptions_ ? 1 : 0);
    for (const auto& b : buttons_) {
        TBBUTTON tb{};
        tb.idCommand = static_cast<int>(b->command_);
        tb.iBitmap = b->imageIndex_;
        switch (b->style_) {
            case tbsButton: tb.fsStyle = BTNS_BUTTON; break;
            case tbsCheck: tb.fsStyle = b->grouped_ ? BTNS_CHECKGROUP : BTNS_CHECK; break;
            case tbsDropDown: tb.fsStyle = BTNS_DROPDOWN; break;
            case tbsSeparator:
            case tbsDivider: tb.fsStyle = BTNS_SEP; tb.iBitmap = 6; break;
        }
        // Captions beside the pictures: each button as wide as its own caption.
        if (list_ && b->style_ != tbsSeparator && b->style_ != tbsDivider) tb.fsStyle |= BTNS_AUTOSIZE;
        tb.fsState = static_cast<BYTE>((b->enabled_ ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0) |
                                       (b->visible_ ? 0 : TBSTATE_HIDDEN));
        tb.iString = b->caption_.empty() ? -1 : reinterpret_cast<INT_PTR>(b->caption_.c_str());
        Perform(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
    }
    Perform(TB_AUTOSIZE);
}

TToolButton* TToolBar::AddButton(TToolButtonStyle style, bool grouped) {
    buttons_.push_back(std::unique_ptr<TToolButton>(new TToolButton(this, nextCommand_++, style, grouped)));
    Rebuild();
    return buttons_.back().get();
}

TToolButton* TToolBar::FindButton(const std::string& key) const {
    for (const auto& b : buttons_)
        if (b->Key == key) return b.get();
    return nullptr;
}

void TToolBar::ClearButtons() {
    buttons_.clear();
    Rebuild();
}

TToolButton* TToolBar::ByCommand(UINT command) const {
    for (const auto& b : buttons_)
        if (b->command_ == command) return b.get();
    return nullptr;
}

void TToolBar::SetImages(TImageList* list) {
    if (images_) RemoveFreeNotification(images_);
    images_ = list;
    if (list) FreeNotification(list);
    Rebuild();
}

void TToolBar::Notification(TComponent* c, TOperation op) {
    if (op == opRemove && c == images_) {
        images_ = nullptr;
        Rebuild();
    }
}

void TToolBar::SetShowCaptions(bool s) {
    showCaptions_ = s;
    Rebuild();
}

void TToolBar::SetList(bool l) {
    list_ = l;
    RecreateHandle();
}

void TToolBar::DropDown(TToolButton& b) {
    if (!b.DropdownMenu) return;
    RECT r{};
    Perform(TB_GETRECT, b.command_, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    b.DropdownMenu->PopupComponent = this;
    b.DropdownMenu->Popup(r.left, r.bottom);
}

bool TToolBar::OwnNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    switch (header->code) {
        case TBN_DROPDOWN:
            if (TToolButton* b = ByCommand(static_cast<UINT>(reinterpret_cast<NMTOOLBARA*>(header)->iItem))) DropDown(*b);
            result = TBDDRET_DEFAULT;
            return true;
        default:
            // Everything else the bar tells itself is answered here: passed on,
            // the bar would send it to itself again.
            return true;
    }
}

bool TToolBar::HandleMessage(TMessage& m) {
    if (m.Msg == WM_COMMAND && reinterpret_cast<HWND>(m.LParam) == Handle()) {
        if (TToolButton* b = ByCommand(LOWORD(m.WParam))) b->Clicked();
        m.Result = 0;
        return true;
    }
    if (m.Msg != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->hwndFrom == Handle()) return OwnNotify(header, m.Result);
    m.Result = 0;
    return true;
}

std::string TToolBar::HintAt(POINT client, int& part) const {
    const int at = HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client))) : -1;
    // The hit button's position among the shown ones; its command names it.
    TBBUTTON tb{};
    if (at >= 0 && SendMessageA(Handle(), TB_GETBUTTON, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&tb))) {
        const TToolButton* b = ByCommand(static_cast<UINT>(tb.idCommand));
        if (b && b->Style() != tbsSeparator && b->Style() != tbsDivider && !b->Hint.empty()) {
            part = b->Index();
            return b->Hint;
        }
    }
    return TWinControl::HintAt(client, part);
}
