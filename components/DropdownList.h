// The owner window of the menus toolbar buttons drop: it routes their
// commands, pop-up initialisation and item hints back to the menu objects.
#pragma once

#include <memory>
#include <vector>

#include "runtime/HiddenWindow.h"
#include "ui/Form.h"
#include "ui/Menus.h"

// A help request for a menu item: Command is HELP_CONTEXTPOPUP when the
// active form has the help caption button, else HELP_CONTEXT.
using THelpRequestEvent = std::function<void(TForm* Form, UINT Command, int Context)>;

class TDropdownList : public TComponent {
public:
    TDropdownList() : TComponent(nullptr) {}
    ~TDropdownList() override;
    // The process's one instance, made on first need.
    static TDropdownList& Instance();
    static bool Exists();

    void AddMenu(TPopupMenu* menu);
    int MenuCount() const { return static_cast<int>(menus_.size()); }
    // Null while no menu is registered.
    HWND Window() const { return window_ ? window_->Handle() : nullptr; }
    // F1 over an item of a dropped menu (the program shows its help).
    THelpRequestEvent OnHelp;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool WndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    std::vector<TPopupMenu*> menus_;
    std::unique_ptr<THiddenWindow> window_;
};
