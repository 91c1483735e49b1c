#include "components/ComboBox98.h"

#include "components/core/ComboCompletion.h"

bool TComboBox98::KeyDown(WORD& key, TShiftState shift) {
    const bool handled = TComboBox::KeyDown(key, shift);
    lastKey_ = key;
    return handled;
}

bool TComboBox98::Command(WORD code) {
    const bool handled = TComboBox::Command(code);  // raises OnChange first
    if (code == CBN_EDITCHANGE) Change();
    return handled;
}

void TComboBox98::Change() {
    if (!Complete || Style() == csDropDownList) return;
    const std::string typed = Text();
    std::vector<std::string> items;
    for (int i = 0; i < Items().Count(); ++i) items.push_back(Items().Strings(i));
    const TCompletion c = FindCompletion(typed, items, lastKey_, MinLengthComplete);
    if (!c.Found) return;
    std::string with = c.CompleteWith;
    bool doComplete = true;
    if (OnComplete) OnComplete(this, lastKey_, with, doComplete);
    if (!doComplete) return;
    SetText(typed + with);
    Perform(CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
}
