// Popup menus drawn like the owner-drawn main menus: the popup's owner-draw
// messages reach the component through the popup's hook on the utility
// window that tracks it, so every item is measured and painted here.
#pragma once

#include "components/Menus97.h"

class TCustomPopupMenus97 : public TCustomMenus97 {
public:
    explicit TCustomPopupMenus97(TComponent* owner) : TCustomMenus97(owner) {}
    TPopupMenu* Menu() const { return static_cast<TPopupMenu*>(menu_); }
    // Attaches the popup (its items become owner-drawn); null detaches.
    void SetMenu(TPopupMenu* menu) { Attach(menu); }
};
