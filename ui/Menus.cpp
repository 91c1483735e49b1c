#include "Menus.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "Form.h"
#include "MessageCracker.h"
#include "runtime/Application.h"

namespace {

// Live items by command number, sub-menu handle and address. Menus belong to
// the user-interface thread; the maps are only touched there.
struct TItemRegistry {
    std::map<UINT, TMenuItem*> byCommand;
    std::map<HMENU, TMenuItem*> byHandle;
    std::unordered_set<const TMenuItem*> live;
    UINT next = kFirstCommand;
    static constexpr UINT kFirstCommand = 1000, kLastCommand = 0xEFFF;

    UINT Allocate(TMenuItem* item) {
        for (;;) {
            const UINT c = next;
            next = next == kLastCommand ? kFirstCommand : next + 1;
            if (byCommand.emplace(c, item).second) return c;
        }
    }
};
TItemRegistry& Registry() {
    static TItemRegistry r;
    return r;
}

const char kUtilClass[] = "QfPopupUtil";
thread_local TPopupMenu* g_tracking = nullptr;
thread_local HHOOK g_shortCutHook = nullptr;

std::string EntryText(const TMenuItem& item) {
    const std::string sc = ShortCutToText(item.ShortCut());
    return sc.empty() ? item.Caption() : item.Caption() + "\t" + sc;
}

UINT EntryType(const TMenuItem& item, bool ownerDraw) {
    if (item.IsLine()) return MFT_SEPARATOR;
    UINT t = ownerDraw ? MFT_OWNERDRAW : MFT_STRING;
    if (item.RadioItem()) t |= MFT_RADIOCHECK;
    if (item.Break() == mbBreak) t |= MFT_MENUBREAK;
    if (item.Break() == mbBarBreak) t |= MFT_MENUBARBREAK;
    return t;
}

UINT EntryState(const TMenuItem& item) {
    UINT s = item.Enabled() ? MFS_ENABLED : MFS_GRAYED;
    if (item.Checked()) s |= MFS_CHECKED;
    if (item.Default()) s |= MFS_DEFAULT;
    return s;
}

}  // namespace

// ---- shortcuts

void ShortCutToKey(TShortCut sc, WORD& key, TShiftState& shift) {
    key = sc & 0xFF;
    shift = 0;
    if (sc & scShift) shift |= ssShift;
    if (sc & scCtrl) shift |= ssCtrl;
    if (sc & scAlt) shift |= ssAlt;
}

std::string ShortCutToText(TShortCut sc) {
    static const std::map<WORD, const char*> names = {
        {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},   {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
        {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},   {VK_HOME, "Home"},    {VK_LEFT, "Left"},
        {VK_UP, "Up"},     {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"},   {VK_DELETE, "Del"}};
    const WORD key = sc & 0xFF;
    std::string name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) name = std::string(1, static_cast<char>(key));
    else if (key >= VK_F1 && key <= VK_F24) name = "F" + std::to_string(key - VK_F1 + 1);
    else if (auto it = names.find(key); it != names.end()) name = it->second;
    if (name.empty()) return "";
    std::string text;
    if (sc & scShift) text += "Shift+";
    if (sc & scCtrl) text += "Ctrl+";
    if (sc & scAlt) text += "Alt+";
    return text + name;
}

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    TItemRegistry& r = Registry();
    command_ = r.Allocate(this);
    r.live.insert(this);
}

TMenuItem::~TMenuItem() {
    BeginDestroy();
    Unlink();
    while (!items_.empty()) delete items_.back();
    TItemRegistry& r = Registry();
    r.byCommand.erase(command_);
    r.live.erase(this);
    if (handle_) {
        r.byHandle.erase(handle_);
        DestroyMenu(handle_);
    }
}

void TMenuItem::Unlink() {
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
    auto& m = Registry().byCommand;
    auto it = m.find(command);
    return it == m.end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromHandle(HMENU menu) {
    auto& m = Registry().byHandle;
    auto it = m.find(menu);
    return it == m.end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromData(ULONG_PTR data) {
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return Registry().live.count(item) ? item : nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->menu_;
}

HMENU TMenuItem::Handle() const {
    if (!handle_) {
        const bool bar = menu_ && dynamic_cast<TMainMenu*>(menu_);
        handle_ = bar ? CreateMenu() : CreatePopupMenu();
        if (!handle_) throw Exception("Cannot create menu");
        Registry().byHandle[handle_] = const_cast<TMenuItem*>(this);
        const_cast<TMenuItem*>(this)->RebuildHandle();
    }
    return handle_;
}

void TMenuItem::RebuildHandle() {
    if (!handle_) return;
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    const TMenu* menu = GetParentMenu();
    const bool ownerDraw = menu && menu->OwnerDraw();
    UINT pos = 0;
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        const std::string text = EntryText(*item);
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_SUBMENU;
        mii.fType = EntryType(*item, ownerDraw);
        mii.fState = EntryState(*item);
        mii.wID = item->command_;
        mii.hSubMenu = item->items_.empty() ? nullptr : item->Handle();
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        mii.dwTypeData = const_cast<char*>(text.c_str());
        InsertMenuItemA(handle_, pos++, TRUE, &mii);
    }
}

void TMenuItem::Changed() {
    if (parent_) parent_->RebuildHandle();
    if (TMenu* m = GetParentMenu(); m && !m->Destroying()) m->Changed();
}

void TMenuItem::SetCaption(const std::string& s) {
    caption_ = s;
    Changed();
}

void TMenuItem::SetChecked(bool c) {
    checked_ = c;
    if (c && radioItem_ && parent_) {
        for (TMenuItem* other : parent_->items_)
            if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_) other->checked_ = false;
    }
    Changed();
}

void TMenuItem::SetEnabled(bool e) {
    enabled_ = e;
    Changed();
}
void TMenuItem::SetVisible(bool v) {
    visible_ = v;
    Changed();
}
void TMenuItem::SetDefault(bool d) {
    default_ = d;
    Changed();
}
void TMenuItem::SetRadioItem(bool r) {
    radioItem_ = r;
    Changed();
}
void TMenuItem::SetBreak(TMenuBreak b) {
    break_ = b;
    Changed();
}
void TMenuItem::SetShortCut(TShortCut sc) {
    shortCut_ = sc;
    Changed();
}
void TMenuItem::SetImageIndex(int i) {
    imageIndex_ = i;
    Changed();
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) throw Exception("Menu item cannot be inserted");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw Exception("Menu item cannot be inserted into itself");
    if (item->parent_) throw Exception("Menu inserted twice");
    if (index < 0 || index > Count()) throw Exception("Menu index out of range");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    RebuildHandle();
    Changed();  // the entry of this item gains its sub-menu
}

void TMenuItem::Remove(TMenuItem* item) {
    const int i = IndexOf(item);
    if (i < 0) return;
    items_.erase(items_.begin() + i);
    item->parent_ = nullptr;
    RebuildHandle();
    if (!Destroying()) Changed();
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("Menu index out of range");
    delete items_[static_cast<size_t>(index)];  // unlinks itself
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

// ---- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
    BeginDestroy();
    delete items_;
}

void TMenu::SetOwnerDraw(bool o) {
    if (o == ownerDraw_) return;
    ownerDraw_ = o;
    // Every platform menu of the tree takes the new entry type.
    std::vector<TMenuItem*> pending{items_};
    while (!pending.empty()) {
        TMenuItem* i = pending.back();
        pending.pop_back();
        i->RebuildHandle();
        pending.insert(pending.end(), i->items_.begin(), i->items_.end());
    }
    Changed();
}

TMenuItem* TMenu::FindItem(UINT command) const {
    TMenuItem* item = TMenuItem::FromCommand(command);
    return item && item->GetParentMenu() == this ? item : nullptr;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
    const TShortCut wanted = ::ShortCut(key, shift & (ssShift | ssCtrl | ssAlt));
    if ((wanted & 0xFF) == 0) return false;
    std::vector<TMenuItem*> pending(items_->items_.rbegin(), items_->items_.rend());
    while (!pending.empty()) {
        TMenuItem* i = pending.back();
        pending.pop_back();
        if (!i->Enabled() || !i->Visible()) continue;  // a disabled drop-down hides its items' keys
        if (i->ShortCut() == wanted && i->Count() == 0) {
            i->Click();
            return true;
        }
        pending.insert(pending.end(), i->items_.rbegin(), i->items_.rend());
    }
    return false;
}

void TMenu::AddHook(TMenuHook* hook) {
    if (hook && std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}
void TMenu::RemoveHook(TMenuHook* hook) { hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end()); }

bool TMenu::DispatchHooks(HWND window, TMessage& m) {
    const std::vector<TMenuHook*> hooks = hooks_;  // a hook may detach itself
    for (TMenuHook* h : hooks)
        if (h->MenuMessage(*this, window, m)) return true;
    return false;
}

void TMenu::Changed() {
    if (HWND w = Window(); w && dynamic_cast<TMainMenu*>(this)) DrawMenuBar(w);
    const std::vector<TMenuHook*> hooks = hooks_;
    for (TMenuHook* h : hooks) h->MenuChanged(*this);
}

// ---- TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    if (form_) form_->SetMenu(nullptr);
}

HWND TMainMenu::Window() const { return form_ && form_->HandleAllocated() ? form_->Handle() : nullptr; }

// ---- TPopupMenu and the utility window

namespace {

LRESULT CALLBACK UtilWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    bool handled = false;
    CallGuarded(g_tracking, [&] {
        ShowMenuHint(msg, wp, lp);
        if (g_tracking && g_tracking->DispatchHooks(hwnd, m)) {
            handled = true;
            return;
        }
        if (msg == WM_COMMAND && lp == 0) {
            if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wp))) {
                handled = true;
                item->Click();
            }
        } else if (msg == WM_INITMENUPOPUP) {
            // A sub-menu opening is its item's click (it may update its items).
            TMenuItem* item = TMenuItem::FromHandle(reinterpret_cast<HMENU>(wp));
            if (item && item->Parent()) item->Click();
        }
    });
    return handled ? m.Result : DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND TPopupMenu::UtilWindow() {
    thread_local HWND util = nullptr;
    if (util && IsWindow(util)) return util;
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = UtilWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kUtilClass;
        RegisterClassA(&wc);
        registered = true;
    }
    util = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (!util) throw Exception("Cannot create the popup menu window");
    return util;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
    if (g_tracking == this) g_tracking = nullptr;
}

HWND TPopupMenu::Window() const { return g_tracking == this ? UtilWindow() : nullptr; }

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    const UINT align = Alignment == paRight ? TPM_RIGHTALIGN : Alignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    HWND util = UtilWindow();
    TPopupMenu* previous = g_tracking;
    g_tracking = this;
    SetForegroundWindow(util);
    TrackPopupMenu(Handle(), align | TPM_RIGHTBUTTON, x, y, 0, util, nullptr);
    g_tracking = previous;
    PostMessageA(util, WM_NULL, 0, 0);  // lets the menu close when clicked away
}

// ---- hints

TMenuItem* MenuSelectItem(WPARAM wp, LPARAM lp) {
    const UINT flags = HIWORD(wp);
    auto menu = reinterpret_cast<HMENU>(lp);
    if (!menu || flags == 0xFFFF || (flags & (MF_SYSMENU | MF_SEPARATOR))) return nullptr;
    if (flags & MF_POPUP) return TMenuItem::FromHandle(GetSubMenu(menu, LOWORD(wp)));
    TMenuItem* item = TMenuItem::FromCommand(LOWORD(wp));
    return item && !item->IsLine() ? item : nullptr;
}

void ShowMenuHint(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_EXITMENULOOP) {
        Application->SetHint("");
    } else if (msg == WM_MENUSELECT) {
        TMenuItem* item = MenuSelectItem(wp, lp);
        Application->SetHint(item ? item->Hint : std::string());
    }
}

// ---- shortcut hook

namespace {

LRESULT CALLBACK ShortCutHookProc(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) {
        HWND root = GetAncestor(msg->hwnd, GA_ROOT);
        auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root));
        if (form && form->Menu() && IsWindowEnabled(root)) {
            bool taken = false;
            const WORD key = static_cast<WORD>(msg->wParam);
            CallGuarded(form, [&] { taken = form->Menu()->IsShortCut(key, KeyboardShiftState()); });
            if (taken) msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(g_shortCutHook, code, wp, lp);
}

}  // namespace

void InstallMenuShortCutHook() {
    if (g_shortCutHook) return;
    g_shortCutHook = SetWindowsHookExA(WH_GETMESSAGE, ShortCutHookProc, nullptr, GetCurrentThreadId());
}
