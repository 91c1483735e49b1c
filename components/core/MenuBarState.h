// The keyboard side of a menu bar made of buttons: which button is current,
// whether the bar is in keyboard mode, and what each key does. The window
// carries out the returned step. No platform headers.
#pragma once

enum TMenuBarKey { mkLeft, mkRight, mkDown, mkEscape, mkOther };

// Index of the button an arrow key moves to among Count, wrapping at both ends.
int WrapButtonIndex(int Index, int Count, bool Right);

struct TMenuBarStep {
    bool Handled = false;
    int Leave = -1;  // button that loses the hot look
    int Enter = -1;  // button that gets it
    bool Press = false;  // press the current button (opens its drop-down)
    bool Focus = false;  // the bar takes the keyboard focus
};

class TMenuBarState {
public:
    bool KeyboardMode = false;
    bool OpenedByKeyboard = false;
    int Index = 0;

    // The menu key pressed alone (SC_KEYMENU with lParam 0): toggles keyboard mode.
    TMenuBarStep KeyMenu(int Count);
    // A key while the bar has the focus; not handled outside keyboard mode.
    TMenuBarStep KeyDown(TMenuBarKey Key, int Count);
};
