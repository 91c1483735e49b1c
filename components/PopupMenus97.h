// Owner-drawn popup menus: the component draws every item of its popup menu
// (caption, shortcut, check mark, the selected item highlighted). The
// popup's owner-draw messages reach it through the menu's hook.
#pragma once

#include "ui/Menus.h"

class TCustomPopupMenus97 : public TComponent, public TMenuHook {
public:
    explicit TCustomPopupMenus97(TComponent* owner);
    ~TCustomPopupMenus97() override;

    TPopupMenu* Menu() const { return menu_; }
    // Attaches the popup (its items become owner-drawn); null detaches.
    void SetMenu(TPopupMenu* menu);

    // The size of an item and its drawing, as the menu asks for them.
    SIZE MeasureItem(const TMenuItem& item) const;
    void DrawItem(const TMenuItem& item, HDC dc, const RECT& r, bool selected) const;
    TFont Font;

    bool MenuMessage(TMenu& menu, HWND window, TMessage& m) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TPopupMenu* menu_ = nullptr;
};
