// Menus: a tree of TMenuItem objects kept in step with the platform's menus.
// A main menu hangs on a form (TForm::SetMenu); a popup menu is tracked by a
// hidden utility window of the process. Every item has a command number that
// is unique in the process, so a WM_COMMAND reaching any of our forms finds
// its item. Components that draw menus themselves (owner-drawn items) attach a
// TMenuHook to the menu and see its window's messages first.
#pragma once

#include "Control.h"

// A shortcut's key (the low byte) and modifiers.
void ShortCutToKey(TShortCut sc, WORD& key, TShiftState& shift);
// "Ctrl+F1", "Shift+Del", "F5", "Ctrl+N"; empty for none.
std::string ShortCutToText(TShortCut sc);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s);
    bool IsLine() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    // A checked radio item unchecks the radio items of its group beside it.
    void SetChecked(bool c);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool d);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool r);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak b);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut sc);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    int Tag = 0;
    std::string Hint;
    // Help topic of the item; 0 = the parent's.
    int HelpContext = 0;
    TNotifyEvent OnClick;
    // Raises OnClick (menu choice, shortcut, or a drop-down opening).
    void Click();

    // The tree.
    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    // Takes item i out and frees it.
    void Delete(int index);
    // Frees every sub-item.
    void Clear();
    // The menu this item belongs to (through its root), or null.
    TMenu* GetParentMenu() const;

    // The command number WM_COMMAND carries for this item.
    UINT Command() const { return command_; }
    // The platform menu of the sub-items (made when first needed).
    HMENU Handle() const;
    // The item whose command number or sub-menu is this, among live items; null if none.
    static TMenuItem* FromCommand(UINT command);
    static TMenuItem* FromHandle(HMENU menu);
    // The item a menu-item struct points to (itemData), checked against the live items.
    static TMenuItem* FromData(ULONG_PTR data);

private:
    friend class TMenu;
    void Changed();          // this item's entry in the parent's platform menu
    void RebuildHandle();    // every entry of this item's platform menu
    void Unlink();
    std::string caption_;
    bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
    int groupIndex_ = 0;
    TMenuBreak break_ = mbNone;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item only
    std::vector<TMenuItem*> items_;
    UINT command_ = 0;
    mutable HMENU handle_ = nullptr;
};

// What an owner-drawn menu component plugs into a menu: it sees the messages
// of the window that shows the menu before the window does (the form for a
// main menu, the utility window for a popup), among them WM_MEASUREITEM and
// WM_DRAWITEM of the menu's items (itemData is the TMenuItem*).
class TMenuHook {
public:
    virtual ~TMenuHook() = default;
    // True when handled; m.Result is then the answer.
    virtual bool MenuMessage(TMenu& menu, HWND window, TMessage& m) = 0;
    // The platform menu was rebuilt (items added, removed or changed).
    virtual void MenuChanged(TMenu&) {}
};

class TMenu : public TComponent {
public:
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    HMENU Handle() const { return items_->Handle(); }
    // Owner-drawn items: every item but the "-" lines is MF_OWNERDRAW.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool o);
    TMenuItem* FindItem(UINT command) const;
    // Clicks the enabled, visible item with this shortcut; false if none.
    bool IsShortCut(WORD key, TShiftState shift);

    void AddHook(TMenuHook* hook);
    void RemoveHook(TMenuHook* hook);
    // Gives m to the hooks in turn; true when one handled it.
    bool DispatchHooks(HWND window, TMessage& m);
    // The window that shows this menu now (the form, the utility window) or null.
    virtual HWND Window() const = 0;

protected:
    explicit TMenu(TComponent* owner);

private:
    friend class TMenuItem;
    void Changed();
    TMenuItem* items_;
    bool ownerDraw_ = false;
    std::vector<TMenuHook*> hooks_;
};

class TForm;

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    TForm* Form() const { return form_; }
    HWND Window() const override;

private:
    friend class TForm;
    TForm* form_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    TPopupAlignment Alignment = paLeft;
    // The control the menu was shown for (set by the caller).
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
    // Raises OnPopup and tracks the menu at screen point (x, y); a chosen
    // item's OnClick runs when its WM_COMMAND is dispatched.
    void Popup(int x, int y);
    HWND Window() const override;
    // The hidden window that owns tracked popup menus (made on first use).
    static HWND UtilWindow();
};

// The item a WM_MENUSELECT names: by command, or by its sub-menu for a
// drop-down (MF_POPUP); null over lines, the system menu, items not ours and
// when the menu closes.
TMenuItem* MenuSelectItem(WPARAM wp, LPARAM lp);
// What a window that shows our menus does with WM_MENUSELECT and
// WM_EXITMENULOOP: the application's hint becomes the selected item's hint,
// empty over anything else and once the menu closes.
void ShowMenuHint(UINT msg, WPARAM wp, LPARAM lp);

// Keys held while a form of ours is active reach its main menu's shortcuts
// (a thread hook, installed when a main menu is first attached).
void InstallMenuShortCutHook();
