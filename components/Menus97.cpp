#include "components/Menus97.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "runtime/Application.h"
#include "ui/Form.h"

namespace {

void LoadMenuFont(TFont& f) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return;
    f.SetName(ncm.lfMenuFont.lfFaceName);
    f.SetHeight(ncm.lfMenuFont.lfHeight);
    f.SetStyle((ncm.lfMenuFont.lfWeight > 500 ? TFontStyles(fsBold) : 0u) |
               (ncm.lfMenuFont.lfItalic ? TFontStyles(fsItalic) : 0u) |
               (ncm.lfMenuFont.lfUnderline ? TFontStyles(fsUnderline) : 0u) |
               (ncm.lfMenuFont.lfStrikeOut ? TFontStyles(fsStrikeOut) : 0u));
}

void InitTags(TMenuItem& parent, int level, bool mainMenu) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        InitTags(item, level + 1, mainMenu);
        if (item.Tag == 0) item.Tag = mainMenu && level == 0 ? -1 : -2;
    }
}

bool IsBarTag(int tag) { return tag == -1 || tag >= 256; }

}  // namespace

TCustomMenus97::TCustomMenus97(TComponent* owner) : TComponent(owner) {
    Font.OnChange = [this] {
        if (!loadingFont_) FontChanged();
    };
    HiliteFont.OnChange = [this] {
        if (!loadingFont_) defaultFont_ = false;
    };
    LoadDefaultFont();
    checkW_ = std::max(GetSystemMetrics(SM_CXMENUCHECK), markW_ + 4);
    checkH_ = std::max(GetSystemMetrics(SM_CYMENUCHECK), markH_ + 4);
    BannerFont.SetName("Arial");
    BannerFont.SetSize(12);
    windowList_.reserve(5);
}

TCustomMenus97::~TCustomMenus97() {
    Attach(nullptr);
    for (TMenuItem* item : windowList_) delete item;
    if (banner_) DeleteObject(banner_);
}

// The system's menu font; HiliteFont is the same in the selected text's colour.
void TCustomMenus97::LoadDefaultFont() {
    loadingFont_ = true;
    LoadMenuFont(Font);
    TFont hilite = Font;
    hilite.SetColor(clHighlightText);
    HiliteFont = hilite;
    loadingFont_ = false;
    RedrawMenuBar();
}

void TCustomMenus97::SetFont(const TFont& f) {
    Font = f;
    defaultFont_ = false;
}

void TCustomMenus97::SetHiliteFont(const TFont& f) {
    HiliteFont = f;
    defaultFont_ = false;
}

void TCustomMenus97::SetDefaultFont(bool d) {
    defaultFont_ = d;
    if (d) LoadDefaultFont();
}

void TCustomMenus97::FontChanged() { defaultFont_ = false; }

void TCustomMenus97::SetMenus97Look(TMenus97Look look) {
    if (look == look_) return;
    look_ = look;
    RedrawMenuBar();
}

void TCustomMenus97::RedrawMenuBar() const {
    auto* bar = dynamic_cast<TMainMenu*>(menu_);
    if (HWND w = bar ? bar->Window() : nullptr) DrawMenuBar(w);
}

void TCustomMenus97::SetImages(TImageList* il) {
    images_ = il;
    checkW_ = (il ? il->Width() : markW_) + 4;
    checkH_ = (il ? il->Height() : markH_) + 4;
}

void TCustomMenus97::Attach(TMenu* menu) {
    if (menu_) {
        menu_->RemoveFreeNotification(this);
        menu_->RemoveHook(this);
        menu_->SetOwnerDraw(false);
    }
    menu_ = menu;
    if (menu_) {
        menu_->FreeNotification(this);
        menu_->SetOwnerDraw(true);
        menu_->AddHook(this);
    }
}

void TCustomMenus97::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_) menu_ = nullptr;
}

void TCustomMenus97::InitAllTags() {
    if (menu_) InitTags(*menu_->Items(), 0, dynamic_cast<TMainMenu*>(menu_) != nullptr);
}

bool TCustomMenus97::HasBanner(const TMenuItem& item) const {
    if (!menu_ || !item.Parent()) return false;
    if (dynamic_cast<TMainMenu*>(menu_)) {
        TMenuItem* root = menu_->Items();
        return root->Count() > 0 && item.Parent() == root->Items(0) && root->Items(0)->GroupIndex() == 0;
    }
    return item.Parent() == menu_->Items();
}

int TCustomMenus97::TextWidth(HDC dc, const std::string& s, int* height) const {
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, s.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    if (height) *height = r.bottom - r.top + 2;
    return r.right - r.left;
}

void TCustomMenus97::MeasureItem(TMenuItem& item, HDC dc, int& height, int& width) {
    HGDIOBJ oldFont = SelectObject(dc, Font.Handle());
    const std::string caption = item.Caption().empty() ? " " : item.Caption();
    int textH = 0;
    const int capW = TextWidth(dc, caption, &textH);
    height = ItemHeight ? ItemHeight : std::max(images_ ? images_->Height() + 4 : checkH_, textH + 4);
    if (ItemWidth) {
        width = ItemWidth;
    } else if (IsBarTag(item.Tag)) {
        width = capW + 5 + (item.Tag >= 256 && images_ ? images_->Width() + 2 : 0);
    } else {
        // Every item of one drop-down gets the same base width.
        // A window-list entry has no parent: it is measured alone.
        const TMenuItem* parent = item.Parent();
        const int count = parent ? parent->Count() : 1;
        int maxCap = 0, maxCapSc = 0, maxSc = 0;
        for (int i = 0; i < count; ++i) {
            const TMenuItem& it = parent ? *parent->Items(i) : item;
            int w = TextWidth(dc, it.Caption().empty() ? " " : it.Caption());
            if (it.Count() > 0) w += checkW_;
            else if (count < 2) w += checkW_ / 2;
            const int sc = it.ShortCut() ? TextWidth(dc, ShortCutToText(it.ShortCut())) : 0;
            maxCap = std::max(maxCap, w);
            if (sc > 0) maxCapSc = std::max(maxCapSc, w);
            maxSc = std::max(maxSc, sc);
        }
        width = (maxSc > 0 && maxCapSc + maxSc + checkW_ > maxCap) ? maxCapSc + maxSc + 2 * checkW_ : maxCap + checkW_;
    }
    // The measuring above already leaves the "&" prefix out; its width is not
    // taken off a second time, which would clip the widest caption.
    // The banner's width is kept beside the first drop-down whether or not the banner shows.
    if (HasBanner(item)) width += BannerWidth;
    SelectObject(dc, oldFont);
    if (!OnMeasureItem) return;
    TCanvas c(dc);
    c.Font = Font;
    canvas_ = &c;
    struct Reset {
        TCanvas*& canvas;
        ~Reset() { canvas = nullptr; }
    } reset{canvas_};
    OnMeasureItem(menu_, &item, height, width);
}

void TCustomMenus97::DrawItem(TMenuItem& item, HDC dc, RECT rect, UINT state) {
    if (state & ODS_SELECTED) {
        if (OnHint) item.Hint = OnHint(menu_, &item, item.Hint);
        Application->SetHint(item.Hint);
    }
    const int saved = SaveDC(dc);
    TCanvas c(dc);
    c.Font = Font;
    c.Brush.Color = BrushColor;
    if (state & ODS_SELECTED) {  // what an OnDrawItem handler finds
        c.Brush.Color = clHighlight;
        c.Font.SetColor(clHighlightText);
    }
    struct Finish {
        TCanvas*& canvas;
        TCanvas& c;
        HDC dc;
        int saved;
        ~Finish() {
            canvas = nullptr;
            c.SetHandle(nullptr);
            RestoreDC(dc, saved);
        }
    } finish{canvas_, c, dc, saved};
    canvas_ = &c;
    if (OnDrawItem && OnDrawItem(menu_, &item, rect, state)) {
        if (state & ODS_FOCUS) DrawFocusRect(dc, &rect);
        return;
    }
    if (Banner && HasBanner(item)) {
        // One picture for the whole drop-down, as tall as its window (the items
        // drawn so far on a surface of no window), remade after each opening.
        RECT client{0, 0, 0, rect.bottom};
        if (HWND w = WindowFromDC(dc)) GetClientRect(w, &client);
        if (bannerStale_ || !banner_ || bannerHeight_ < client.bottom) {
            if (banner_) DeleteObject(banner_);
            bannerHeight_ = std::max<int>(client.bottom, rect.bottom);
            banner_ = MakeBanner(bannerHeight_);
            bannerStale_ = false;
        }
        HDC bdc = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(bdc, banner_);
        BitBlt(dc, rect.left, rect.top, BannerWidth, rect.bottom - rect.top, bdc, 0, rect.top, SRCCOPY);
        SelectObject(bdc, old);
        DeleteDC(bdc);
        rect.left += BannerWidth + 2;
    }
    if (IsBarTag(item.Tag)) DrawBarItem(item, c, rect, state);
    else DrawDropDownItem(item, c, rect, state);
    if (state & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

bool TCustomMenus97::MenuMessage(TMenu&, HWND window, TMessage& m) {
    if (m.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        TMenuItem* item = mis->CtlType == ODT_MENU ? TMenuItem::FromData(mis->itemData) : nullptr;
        if (!item) return false;
        HDC dc = GetDC(window);
        int h = 0, w = 0;
        MeasureItem(*item, dc, h, w);
        ReleaseDC(window, dc);
        mis->itemHeight = static_cast<UINT>(h);
        mis->itemWidth = static_cast<UINT>(w);
        m.Result = 1;
        return true;
    }
    if (m.Msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TMenuItem* item = dis->CtlType == ODT_MENU ? TMenuItem::FromData(dis->itemData) : nullptr;
        if (!item) return false;
        DrawItem(*item, dis->hDC, dis->rcItem, dis->itemState);
        m.Result = 1;
        return true;
    }
    if (m.Msg == WM_SETTINGCHANGE && defaultFont_) LoadDefaultFont();
    if (m.Msg == WM_ENTERMENULOOP) windowMenuProcessed_ = false;
    if (m.Msg == WM_INITMENUPOPUP) {
        if (!windowMenuProcessed_) AddWindowList(window, reinterpret_cast<HMENU>(m.WParam));
        bannerStale_ = true;
    }
    if (m.Msg == WM_MENUCHAR) {
        // Owner-drawn items have no text the platform could search for mnemonics.
        const int pos = FindAccelerator(reinterpret_cast<HMENU>(m.LParam), static_cast<char>(LOWORD(m.WParam)));
        if (pos < 0) return false;
        m.Result = MAKELRESULT(pos, MNC_EXECUTE);
        return true;
    }
    return false;
}

int TCustomMenus97::FindAccelerator(HMENU popup, char key) const {
    TMenuItem* parent = TMenuItem::FromHandle(popup);
    if (!parent || !menu_ || parent->GetParentMenu() != menu_) return -1;
    if (parent == menu_->Items() && dynamic_cast<TMainMenu*>(menu_)) return -1;  // not the bar itself
    for (TMenuItem* p = parent; p && p != menu_->Items(); p = p->Parent())
        if (!p->Enabled()) return -1;
    const int wanted = toupper(static_cast<unsigned char>(key));
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem& it = *parent->Items(i);
        if (!it.Visible()) continue;
        const std::string& cap = it.Caption();
        for (size_t k = 0; k + 1 < cap.size(); ++k) {
            if (cap[k] != '&') continue;
            if (cap[k + 1] == '&') {
                ++k;
                continue;
            }
            if (it.Enabled() && toupper(static_cast<unsigned char>(cap[k + 1])) == wanted) return position;
            break;
        }
        ++position;
    }
    return -1;
}

// ---- TMainMenus97

TMainMenus97::~TMainMenus97() {
    SetToolBar(nullptr);
    for (TMenuItem* item : childEntries_) delete item;
}

// Changed in place, the main menu's font only redraws the bar.
void TMainMenus97::FontChanged() {
    if (!hideMenuBar_) RedrawMenuBar();
}

void TMainMenus97::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMenus97::Notification(AComponent, Operation);
    if (Operation == opRemove && toolBar_ && AComponent == dynamic_cast<TComponent*>(toolBar_)) toolBar_ = nullptr;
}

void TMainMenus97::SetMainMenu(TMainMenu* m) {
    Attach(m);
    if (toolBar_) toolBar_->SetMenu(m);
}

void TMainMenus97::FrameChanged() {
    HWND form = menu_ ? menu_->Window() : nullptr;
    if (!form) return;
    SetWindowPos(form, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DrawMenuBar(form);
}

void TMainMenus97::SetHideMenuBar(bool hide) {
    if (toolBar_ || hide == hideMenuBar_) return;
    hideMenuBar_ = hide;
    FrameChanged();
}

void TMainMenus97::SetToolBar(IMenuToolBar* bar) {
    if (bar == toolBar_) return;
    if (toolBar_) {
        toolBar_->SetMenu(nullptr);
        if (auto* c = dynamic_cast<TComponent*>(toolBar_)) c->RemoveFreeNotification(this);
    }
    toolBar_ = bar;
    if (!bar) return;
    if (auto* c = dynamic_cast<TComponent*>(bar)) c->FreeNotification(this);
    bar->SetMenu(MainMenu());
    hideMenuBar_ = true;
    FrameChanged();
}

void TMainMenus97::DrawBarItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) {
    if (hideMenuBar_) return;
    if (IsChildEntry(item)) DrawChildEntry(c, r);
    else TCustomMenus97::DrawBarItem(item, c, r, state);
}

bool TMainMenus97::MenuMessage(TMenu& menu, HWND window, TMessage& m) {
    if (hideMenuBar_ && m.Msg == WM_NCCALCSIZE && GetMenu(window)) {
        // The client area grows over the bar.
        MENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        const int height = GetMenuBarInfo(window, OBJID_MENU, 0, &bar) && bar.rcBar.bottom > bar.rcBar.top
                               ? bar.rcBar.bottom - bar.rcBar.top
                               : GetSystemMetrics(SM_CYMENU);
        m.Result = DefWindowProcA(window, m.Msg, m.WParam, m.LParam);
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        r->top -= height;
        return true;
    }
    if (m.Msg == WM_WINDOWPOSCHANGING && (!hideMenuBar_ || toolBar_)) OwnerDrawChildEntries(window);
    if (m.Msg == WM_MEASUREITEM && MeasureChildEntry(m)) return true;
    if (hideMenuBar_ && m.Msg == WM_NCHITTEST) {
        m.Result = DefWindowProcA(window, m.Msg, m.WParam, m.LParam);
        if (m.Result == HTMENU) m.Result = HTERROR;
        return true;
    }
    if (!hideMenuBar_ && (m.Msg == WM_NCPAINT || m.Msg == WM_NCACTIVATE) && GetMenu(window) == menu.Handle()) {
        TWinControl* form = TWinControl::FromHandle(window);
        m.Result = form ? form->DefaultHandler(m) : DefWindowProcA(window, m.Msg, m.WParam, m.LParam);
        PaintBarBackground(window);
        return true;
    }
    return TCustomMenus97::MenuMessage(menu, window, m);
}

void TMainMenus97::PaintBarBackground(HWND window) const {
    // Wine fills the bar in the system's menu colour whatever brush the menu
    // names; the part no item covers is painted again in the menu's own brush.
    HMENU bar = GetMenu(window);
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    MENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    RECT win;
    if (!bar || !GetMenuInfo(bar, &info) || !info.hbrBack || !GetMenuBarInfo(window, OBJID_MENU, 0, &mbi) ||
        IsRectEmpty(&mbi.rcBar) || !GetWindowRect(window, &win))
        return;
    HRGN rest = CreateRectRgnIndirect(&mbi.rcBar);
    const int items = GetMenuItemCount(bar);
    for (int i = 0; i < items; ++i) {
        RECT r;
        if (!GetMenuItemRect(window, bar, static_cast<UINT>(i), &r) || IsRectEmpty(&r)) continue;
        HRGN item = CreateRectRgnIndirect(&r);
        CombineRgn(rest, rest, item, RGN_DIFF);
        DeleteObject(item);
    }
    OffsetRgn(rest, -win.left, -win.top);
    HDC dc = GetWindowDC(window);
    FillRgn(dc, rest, info.hbrBack);
    ReleaseDC(window, dc);
    DeleteObject(rest);
}
