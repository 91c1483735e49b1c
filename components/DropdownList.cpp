#include "components/DropdownList.h"

#include <algorithm>

#include "runtime/Application.h"

namespace {
std::unique_ptr<TDropdownList> g_instance;

// The item's help topic, or the nearest parent's that has one.
int HelpContextOf(const TMenuItem* item) {
    while (item && item->HelpContext == 0) item = item->Parent();
    return item ? item->HelpContext : 0;
}
}  // namespace

TDropdownList& TDropdownList::Instance() {
    if (!g_instance) g_instance = std::make_unique<TDropdownList>();
    return *g_instance;
}

bool TDropdownList::Exists() { return g_instance != nullptr; }

TDropdownList::~TDropdownList() {
    for (TPopupMenu* m : menus_) m->RemoveFreeNotification(this);
}

void TDropdownList::AddMenu(TPopupMenu* menu) {
    if (std::find(menus_.begin(), menus_.end(), menu) != menus_.end()) return;
    if (menus_.empty())
        window_ = std::make_unique<THiddenWindow>("QfDropdownList", [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
            bool handled = false;
            CallGuarded(this, [&] { handled = WndProc(m, w, l, r); });
            return handled;
        });
    menu->FreeNotification(this);
    menus_.push_back(menu);
}

void TDropdownList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    auto it = std::find(menus_.begin(), menus_.end(), AComponent);
    if (it == menus_.end()) return;
    menus_.erase(it);
    if (menus_.empty()) window_.reset();
}

bool TDropdownList::WndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lp);
        if (!info || info->iContextType != HELPINFO_MENUITEM) return false;
        HMENU handle = static_cast<HMENU>(info->hItemHandle);
        auto menu = std::find_if(menus_.begin(), menus_.end(), [&](TPopupMenu* m) { return m->Handle() == handle; });
        if (menu == menus_.end()) return false;
        int context = HelpContextOf((*menu)->FindItem(static_cast<UINT>(info->iCtrlId)));
        if (context == 0) context = HelpContextOf(TMenuItem::FromHandle(handle));
        result = TRUE;
        HWND active = GetActiveWindow();
        auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(active));
        if (!form) return true;
        const bool helpButton = (GetWindowLongPtrA(active, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) != 0;
        if (OnHelp) OnHelp(form, helpButton ? HELP_CONTEXTPOPUP : HELP_CONTEXT, context);
        return true;
    }
    case WM_COMMAND:
        for (TPopupMenu* m : menus_)
            if (TMenuItem* item = m->FindItem(LOWORD(wp))) {
                item->Click();
                result = 0;
                return true;
            }
        return false;
    case WM_INITMENUPOPUP:
        for (TPopupMenu* m : menus_) {
            TMenuItem* item = TMenuItem::FromHandle(reinterpret_cast<HMENU>(wp));
            if (item && item->GetParentMenu() == m) {
                if (item != m->Items()) item->Click();  // a sub-menu about to open
                result = 0;
                return true;
            }
        }
        return false;
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wp);
        TMenuItem* found = nullptr;
        for (TPopupMenu* m : menus_) {
            TMenuItem* item = (flags & MF_POPUP)
                                  ? TMenuItem::FromHandle(GetSubMenu(reinterpret_cast<HMENU>(lp), LOWORD(wp)))
                                  : m->FindItem(LOWORD(wp));
            if (item && item->GetParentMenu() == m) {
                found = item;
                break;
            }
        }
        // The item under the mouse gives the application's hint (empty over unknown items).
        Application->SetHint(found ? found->Hint : std::string());
        if (found) {
            result = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
