// A menu bar made of flat buttons, one per top-level item of a main menu, in
// place of the form's own bar. Each button opens its item's drop-down; while
// one is open, Left and Right (and the mouse over another button) move to the
// neighbour's drop-down; the menu key alone puts the bar in keyboard mode.
#pragma once

#include <vector>

#include "components/Menus97.h"
#include "components/core/MenuBarState.h"
#include "ui/Form.h"
#include "ui/Menus.h"

class TCustomMenuBar97;

class TMenuSpeedButton97 : public TWinControl {
public:
    TMenuSpeedButton97(TCustomMenuBar97* bar, TMenuItem* item);
    // Null once the item is freed: the button then shows its caption grayed
    // and opens nothing.
    TMenuItem* Item() const { return item_; }
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_; }
    void MouseEnter();
    void MouseLeave();

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool HandleMessage(TMessage& m) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomMenuBar97;
    bool ItemEnabled() const { return item_ && item_->Enabled(); }
    TCustomMenuBar97* bar_;
    TMenuItem* item_;
    bool hot_ = false;
    bool pressed_ = false;
};

class TCustomMenuBar97 : public TWinControl, public IMenuToolBar {
public:
    // A bar along the top of form.
    explicit TCustomMenuBar97(TForm* form);
    ~TCustomMenuBar97() override;

    // One button per visible top-level item of menu; null removes them.
    void SetMenu(TMainMenu* menu) override;
    TMainMenu* Menu() const { return menu_; }
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TMenuSpeedButton97* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)); }
    const TMenuBarState& State() const { return state_; }
    // Opens button i's drop-down (as a click on it); returns when the menu
    // loop ends, after any neighbours the user moved to.
    void OpenButton(int i);

    bool PaintsItself() const override { return true; }
    bool HandleMessage(TMessage& m) override;

private:
    friend class TMenuSpeedButton97;
    friend LRESULT CALLBACK MenuBarFormProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    friend LRESULT CALLBACK MenuBarFilter(int, WPARAM, LPARAM);
    void Apply(const TMenuBarStep& step);
    void Track(int i);
    int IndexOf(const TMenuSpeedButton97* b) const;
    TForm* form_;
    TMainMenu* menu_ = nullptr;
    std::vector<TMenuSpeedButton97*> buttons_;
    TMenuBarState state_;
    int next_ = -1;  // the neighbour to open once the current drop-down closed
};
