// Menus of multiple-document forms: the platform's entries for the child
// windows in the window menu, and those it puts on the bar for a maximised
// child, drawn by the component as items of its own.
#include <algorithm>
#include <memory>

#include "components/Menus97.h"
#include "ui/Form.h"

namespace {
TForm* MDIFormOf(HWND window) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
    return form && form->FormStyle() == fsMDIForm && form->WindowMenu() ? form : nullptr;
}

// The small icon of the frame's active child window, as the platform shows it.
HICON ActiveChildIcon(HWND frame) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(frame));
    HWND client = form ? form->ClientHandle() : nullptr;
    HWND child = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    HICON icon = nullptr;
    if (child) {
        icon = reinterpret_cast<HICON>(SendMessageA(child, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(child, GCLP_HICONSM));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(child, WM_GETICON, ICON_BIG, 0));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(child, GCLP_HICON));
    }
    return icon ? icon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
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

// ---- the entries the platform puts on the bar for a maximised child

bool TMainMenus97::IsChildEntry(const TMenuItem& item) const {
    return std::find(childEntries_.begin(), childEntries_.end(), &item) != childEntries_.end();
}

// Entries that are not the menu's own and have an identifier from 1 to 59999
// (a pop-up counts as -1, as the platform reports it): the child's system
// menu. Its minimise, restore and close boxes (60000 and above) stay the platform's.
void TMainMenus97::OwnerDrawChildEntries(HWND window) {
    HMENU bar = GetMenu(window);
    if (!menu_ || !bar || bar != menu_->Handle()) return;
    size_t used = 0;
    const int count = GetMenuItemCount(bar);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(bar, static_cast<UINT>(pos), TRUE, &mii)) continue;
        const TMenuItem* known = TMenuItem::FromData(mii.dwItemData);
        if (known && (known->Parent() == menu_->Items() || IsChildEntry(*known))) continue;
        const int id = mii.hSubMenu ? -1 : static_cast<int>(mii.wID);
        if (id == 0 || id >= 60000) continue;
        if (used == childEntries_.size()) {
            auto* item = new TMenuItem(nullptr);
            item->Tag = -1;
            childEntries_.push_back(item);
        }
        MENUITEMINFOA od{};
        od.cbSize = sizeof od;
        od.fMask = MIIM_FTYPE | MIIM_DATA;
        od.fType = (mii.fType & ~static_cast<UINT>(MFT_BITMAP | MFT_SEPARATOR)) | MFT_OWNERDRAW;
        od.dwItemData = reinterpret_cast<ULONG_PTR>(childEntries_[used++]);
        SetMenuItemInfoA(bar, static_cast<UINT>(pos), TRUE, &od);
    }
}

bool TMainMenus97::MeasureChildEntry(TMessage& m) const {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    const TMenuItem* item = mis->CtlType == ODT_MENU ? TMenuItem::FromData(mis->itemData) : nullptr;
    if (!item || !IsChildEntry(*item)) return false;
    mis->itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXSMICON) + 6);
    mis->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYSMICON) + 2);
    m.Result = 1;
    return true;
}

void TMainMenus97::DrawChildEntry(TCanvas& c, RECT r) {
    HDC dc = c.Handle();
    HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
    FillRect(dc, &r, b);
    DeleteObject(b);
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(dc, r.left + (r.right - r.left - w) / 2, r.top + (r.bottom - r.top - h) / 2,
               ActiveChildIcon(menu_ ? menu_->Window() : nullptr), w, h, 0, nullptr, DI_NORMAL);
}
