#include "components/core/MenuBarState.h"

int WrapButtonIndex(int Index, int Count, bool Right) {
    if (Count <= 0) return 0;
    return Right ? (Index + 1) % Count : (Index + Count - 1) % Count;
}

TMenuBarStep TMenuBarState::KeyMenu(int Count) {
    TMenuBarStep step;
    step.Handled = true;
    OpenedByKeyboard = false;
    KeyboardMode = !KeyboardMode;
    if (!KeyboardMode) {
        step.Leave = Index;
    } else {
        Index = 0;
        if (Count > 0) step.Enter = 0;
        step.Focus = true;
    }
    return step;
}

TMenuBarStep TMenuBarState::KeyDown(TMenuBarKey Key, int Count) {
    TMenuBarStep step;
    if (!KeyboardMode || Count <= 0) return step;
    switch (Key) {
        case mkLeft:
        case mkRight:
            step.Handled = true;
            step.Leave = Index;
            Index = WrapButtonIndex(Index, Count, Key == mkRight);
            step.Enter = Index;
            break;
        case mkDown:
            step.Handled = true;
            OpenedByKeyboard = true;
            step.Press = true;
            break;
        default:
            break;
    }
    return step;
}
