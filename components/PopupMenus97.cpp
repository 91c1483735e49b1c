#include "components/PopupMenus97.h"

#include <algorithm>

namespace {
const int kCheckWidth = 18;  // the column for check marks before the caption
const int kShortCutGap = 16;

}  // namespace

TCustomPopupMenus97::TCustomPopupMenus97(TComponent* owner) : TComponent(owner) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        Font.SetName(ncm.lfMenuFont.lfFaceName);
        Font.SetHeight(ncm.lfMenuFont.lfHeight);
    }
}

TCustomPopupMenus97::~TCustomPopupMenus97() {
    BeginDestroy();
    SetMenu(nullptr);
}

void TCustomPopupMenus97::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == menu_) menu_ = nullptr;
}

void TCustomPopupMenus97::SetMenu(TPopupMenu* menu) {
    if (menu == menu_) return;
    if (menu_) {
        menu_->RemoveHook(this);
        menu_->SetOwnerDraw(false);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (menu_) {
        menu_->FreeNotification(this);
        menu_->AddHook(this);
        menu_->SetOwnerDraw(true);
    }
}

SIZE TCustomPopupMenus97::MeasureItem(const TMenuItem& item) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font.Handle());
    RECT r{0, 0, 0, 0};
    std::string caption = item.Caption();
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    int width = r.right;
    const std::string sc = ShortCutToText(item.ShortCut());
    if (!sc.empty()) {
        RECT s{0, 0, 0, 0};
        DrawTextA(dc, sc.c_str(), static_cast<int>(sc.size()), &s, DT_CALCRECT | DT_SINGLELINE);
        width += kShortCutGap + s.right;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {kCheckWidth + width + 8, std::max<LONG>(r.bottom + 6, 18)};
}

void TCustomPopupMenus97::DrawItem(const TMenuItem& item, HDC dc, const RECT& r, bool selected) const {
    const bool enabled = item.Enabled();
    HBRUSH back = GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    FillRect(dc, &r, back);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    HGDIOBJ old = SelectObject(dc, Font.Handle());
    if (item.Checked()) {
        RECT box{r.left + 2, r.top + 2, r.left + kCheckWidth - 2, r.bottom - 2};
        DrawFrameControl(dc, &box, DFC_MENU, item.RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    RECT text{r.left + kCheckWidth, r.top, r.right - 4, r.bottom};
    std::string caption = item.Caption();
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    const std::string sc = ShortCutToText(item.ShortCut());
    if (!sc.empty())
        DrawTextA(dc, sc.c_str(), static_cast<int>(sc.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    SelectObject(dc, old);
}

bool TCustomPopupMenus97::MenuMessage(TMenu&, HWND, TMessage& m) {
    if (m.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        TMenuItem* item = mis->CtlType == ODT_MENU ? TMenuItem::FromData(mis->itemData) : nullptr;
        if (!item) return false;
        SIZE s = MeasureItem(*item);
        mis->itemWidth = static_cast<UINT>(s.cx);
        mis->itemHeight = static_cast<UINT>(s.cy);
        m.Result = TRUE;
        return true;
    }
    if (m.Msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TMenuItem* item = dis->CtlType == ODT_MENU ? TMenuItem::FromData(dis->itemData) : nullptr;
        if (!item) return false;
        DrawItem(*item, dis->hDC, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
        m.Result = TRUE;
        return true;
    }
    return false;
}
