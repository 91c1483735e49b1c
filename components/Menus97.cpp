#include "components/Menus97.h"

#include <algorithm>
#include <cctype>
#include <memory>

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

void Line(HDC dc, int x1, int y1, int x2, int y2, TColor c) {
    HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(c));
    HGDIOBJ old = SelectObject(dc, p);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(p);
}

void Frame3D(HDC dc, RECT r, bool raised) {
    const TColor tl = raised ? clBtnHighlight : clBtnShadow, br = raised ? clBtnShadow : clBtnHighlight;
    Line(dc, r.left, r.bottom - 1, r.left, r.top, tl);
    Line(dc, r.left, r.top, r.right - 1, r.top, tl);
    Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, br);
    Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, br);
}

}  // namespace

TCustomMenus97::TCustomMenus97(TComponent* owner) : TComponent(owner) {
    LoadMenuFont(Font);
    HiliteFont = Font;
    HiliteFont.SetColor(clHighlightText);
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
}

void TCustomMenus97::DrawMark(HDC dc, int x, int y, bool radio) const {
    // The 17 x 17 marks: a check or a dot on white (white is transparent).
    const COLORREF ink = ColorToRGB(clBtnText);
    if (radio) {
        HBRUSH b = CreateSolidBrush(ink);
        HGDIOBJ ob = SelectObject(dc, b), op = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, x + 6, y + 6, x + 12, y + 12);
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(b);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) SetPixel(dc, x + 5 + k, y + 8 + k + i, ink);
        for (int k = 0; k < 5; ++k) SetPixel(dc, x + 8 + k, y + 9 - k + i, ink);
    }
}

void TCustomMenus97::DrawText(TMenuItem& item, TCanvas& c, RECT r, const std::string& text, bool enabled) {
    HDC dc = c.Handle();
    TFont font = c.Font;
    if (item.Default()) font.SetStyle(font.Style() | fsBold);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    const std::string sc = item.ShortCut() ? ShortCutToText(item.ShortCut()) : "";
    auto pass = [&](int dx, int dy, COLORREF colour) {
        SetTextColor(dc, colour);
        RECT tr = r;
        OffsetRect(&tr, dx, dy);
        DrawTextA(dc, text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
        if (!sc.empty()) {
            tr.right -= checkW_;
            DrawTextA(dc, sc.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    };
    if (!enabled) {
        pass(1, 1, ColorToRGB(clBtnHighlight));
        pass(0, 0, ColorToRGB(clBtnShadow));
    } else {
        pass(0, 0, ColorToRGB(font.Color()));
    }
    SelectObject(dc, old);
}

void TCustomMenus97::DrawDropDownItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) {
    HDC dc = c.Handle();
    const bool separator = !item.Caption().empty() && item.Caption()[0] == '-';
    const bool enabled = item.Enabled() && !separator;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool hasImage = item.Tag >= 0 && images_;
    const int imgW = hasImage ? images_->Width() : markW_;
    if (enabled) {
        HBRUSH b = CreateSolidBrush(ColorToRGB(selected ? HiliteBar : BrushColor));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    if (separator) {
        const int y = r.top + (r.bottom - r.top) / 2;
        Line(dc, r.left + 1, y, r.right - 1, y, clBtnShadow);
        Line(dc, r.left + 1, y + 1, r.right - 1, y + 1, clBtnHighlight);
    }
    const RECT mark{r.left, r.top, r.left + imgW + 4, r.bottom};
    const bool office = Menus97Look == mlOffice97Look;
    if (enabled) {
        if (office && selected && (item.Checked() || hasImage)) Frame3D(dc, mark, true);
        if (office && !selected && item.Checked()) Frame3D(dc, mark, false);
        // An image index past the list draws nothing but keeps the column.
        if (hasImage && item.Tag < images_->Count()) images_->Draw(c, r.left + 2, r.top + 2, item.Tag);
        else if (item.Checked()) DrawMark(dc, r.left + 1, r.top + 1, item.RadioItem());
    } else if (hasImage && item.Tag < images_->Count()) {
        images_->Draw(c, r.left + 1, r.top + 1, item.Tag, false);
    }
    c.Font = selected && enabled ? HiliteFont : Font;
    RECT tr = r;
    tr.left += (images_ ? images_->Width() : markW_) + 7;
    DrawText(item, c, tr, separator ? item.Caption().substr(1) : item.Caption(), enabled);
}

void TCustomMenus97::DrawBarItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) {
    HDC dc = c.Handle();
    HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (state & (ODS_SELECTED | ODS_HOTLIGHT)) Frame3D(dc, r, !(state & ODS_SELECTED));
    RECT tr = r;
    if (item.Tag >= 256 && images_) {
        images_->Draw(c, r.left + 3, r.top + 1, item.Tag - 256);
        tr.left += 3 + images_->Width() + 2;
    } else {
        tr.left += 5;
    }
    c.Font = Font;
    DrawText(item, c, tr, item.Caption(), item.Enabled());
}

HBITMAP TCustomMenus97::MakeBanner(int height) const {
    const int w = BannerWidth, h = height, n = BannerNumColors < 1 ? 1 : BannerNumColors;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    const COLORREF a = ColorToRGB(BannerColor), z = ColorToRGB(BannerEndColor);
    for (int i = 0; i < (a == z ? 1 : n); ++i) {
        auto mix = [&](int s, int e) { return n < 2 ? s : std::clamp(s + MulDiv(i, e - s, n - 1), 0, 255); };
        const COLORREF band = RGB(mix(GetRValue(a), GetRValue(z)), mix(GetGValue(a), GetGValue(z)), mix(GetBValue(a), GetBValue(z)));
        RECT br = a == z ? RECT{0, 0, w, h} : RECT{0, MulDiv(i, h, n), w, MulDiv(i + 1, h, n)};
        HBRUSH b = CreateSolidBrush(band);
        FillRect(dc, &br, b);
        DeleteObject(b);
    }
    if (!BannerText.empty()) {
        // Measured upright, drawn turned by 90 degrees, running upward.
        SIZE extent{};
        HGDIOBJ oldFont = SelectObject(dc, BannerFont.Handle());
        GetTextExtentPoint32A(dc, BannerText.c_str(), static_cast<int>(BannerText.size()), &extent);
        LOGFONTA lf{};
        GetObjectA(BannerFont.Handle(), sizeof lf, &lf);
        lf.lfEscapement = lf.lfOrientation = 900;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        HFONT turned = CreateFontIndirectA(&lf);
        SelectObject(dc, turned);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(BannerFont.Color()));
        const int bottom = BannerImage >= 0 ? h - (w + 4) : h;
        const int x = (w - extent.cy) / 2;
        const int y = BannerJustification == bjTop      ? extent.cx + 1
                      : BannerJustification == bjBottom ? bottom - 1
                                                        : bottom - (bottom - extent.cx) / 2 - 1;
        TextOutA(dc, x, y, BannerText.c_str(), static_cast<int>(BannerText.size()));
        SelectObject(dc, oldFont);
        DeleteObject(turned);
    }
    SelectObject(dc, oldBmp);
    DeleteDC(dc);
    return bmp;
}

void TCustomMenus97::DrawItem(TMenuItem& item, HDC dc, RECT rect, UINT state) {
    const int saved = SaveDC(dc);
    TCanvas c(dc);
    c.Font = Font;
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
    c.SetHandle(nullptr);
    RestoreDC(dc, saved);
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

namespace {
TForm* MDIFormOf(HWND window) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
    return form && form->FormStyle() == fsMDIForm && form->WindowMenu() ? form : nullptr;
}
}  // namespace

void TCustomMenus97::AddWindowList(HWND window, HMENU popup) {
    TForm* form = MDIFormOf(window);
    if (!form || !popup || form->WindowMenu()->Handle() != popup) return;
    // The platform's entries follow the menu's own items and its separator.
    int own = 0;
    for (int i = 0; i < form->WindowMenu()->Count(); ++i)
        if (form->WindowMenu()->Items(i)->Visible()) ++own;
    const int entries = GetMenuItemCount(popup);
    for (int pos = own + 1; pos < entries; ++pos) {
        char text[101] = {};
        GetMenuStringA(popup, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(popup, static_cast<UINT>(pos), MF_BYPOSITION);
        const UINT id = GetMenuItemID(popup, pos);
        if (state == static_cast<UINT>(-1) || id == static_cast<UINT>(-1) || (state & MF_SEPARATOR)) continue;
        // Only the text before a tab is the caption (these entries carry no shortcut).
        std::string caption = text;
        caption = caption.substr(0, caption.find('\t'));
        const bool checked = (state & MF_CHECKED) != 0;
        const bool enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
        TMenuItem* item = nullptr;
        for (TMenuItem* known : windowList_)
            if (known->HelpContext == static_cast<int>(id)) item = known;
        if (item) {
            item->SetChecked(checked);
        } else {
            auto fresh = std::make_unique<TMenuItem>(nullptr);
            fresh->SetCaption(caption);
            fresh->SetEnabled(enabled);
            fresh->SetChecked(checked);
            fresh->SetDefault((state & MFS_DEFAULT) != 0);
            fresh->SetRadioItem(false);
            fresh->Tag = -2;
            fresh->HelpContext = static_cast<int>(id);
            item = fresh.release();
            windowList_.insert(windowList_.begin(), item);
        }
        const UINT flags = MF_BYPOSITION | MF_OWNERDRAW | (checked ? MF_CHECKED : 0) |
                           (item->Enabled() ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
        ModifyMenuA(popup, static_cast<UINT>(pos), flags, id, reinterpret_cast<LPCSTR>(item));
    }
    windowMenuProcessed_ = true;
    bannerStale_ = true;
}

TMenuItem* TCustomMenus97::FindItemByCommand(UINT id) const {
    if (TMenuItem* item = menu_ ? menu_->FindItem(id) : nullptr) return item;
    if (!menu_ || !MDIFormOf(menu_->Window())) return nullptr;
    for (TMenuItem* item : windowList_)
        if (item->HelpContext == static_cast<int>(id)) return item;
    return nullptr;
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

TMainMenus97::~TMainMenus97() { SetToolBar(nullptr); }

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
    if (!hideMenuBar_) TCustomMenus97::DrawBarItem(item, c, r, state);
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
