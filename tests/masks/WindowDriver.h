// Driving SBF's windows as a user would, by the controls' own messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Control.h"

inline void Click(TWinControl& c) { SendMessageA(c.Handle(), BM_CLICK, 0, 0); }

// As if typed: the edit raises its own change notification.
inline void TypeText(TWinControl& edit, const std::string& text) {
    SendMessageA(edit.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline void Notify(TWinControl& c, WORD code) {
    SendMessageA(GetParent(c.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.Handle()), code),
                 reinterpret_cast<LPARAM>(c.Handle()));
}

inline std::vector<std::string> ComboItems(TWinControl& combo) {
    std::vector<std::string> items;
    const LRESULT n = SendMessageA(combo.Handle(), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        std::string s(static_cast<size_t>(SendMessageA(combo.Handle(), CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        SendMessageA(combo.Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&s[0]));
        s.resize(s.size() - 1);
        items.push_back(s);
    }
    return items;
}

// Picks item i (0-based) as a user's choice does: selection, then the notification.
inline void PickComboItem(TWinControl& combo, int i) {
    SendMessageA(combo.Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    Notify(combo, CBN_SELCHANGE);
}

inline std::vector<std::string> ListBoxItems(TWinControl& list) {
    std::vector<std::string> items;
    const LRESULT n = SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        std::string s(static_cast<size_t>(SendMessageA(list.Handle(), LB_GETTEXTLEN, i, 0)) + 1, '\0');
        SendMessageA(list.Handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(&s[0]));
        s.resize(s.size() - 1);
        items.push_back(s);
    }
    return items;
}

inline void PickListItem(TWinControl& list, int i) {
    SendMessageA(list.Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    Notify(list, LBN_SELCHANGE);
}

inline bool RadioChecked(TWinControl& radio) { return SendMessageA(radio.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A click on the upper or lower arrow of an up-down control.
inline void ClickUpDown(TWinControl& updown, bool up) {
    RECT r;
    GetClientRect(updown.Handle(), &r);
    const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageA(updown.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(updown.Handle(), WM_LBUTTONUP, 0, at);
}
