// The application object: message pumping, termination and the one place
// where exceptions caught at window-procedure boundaries end up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/Component.h"
#include "core/SysUtils.h"

// What shows the application's tooltips: the window layer plugs itself in
// here (its hint window, the pauses, the mouse it follows).
class THintService {
public:
    virtual ~THintService() = default;
    // ShowHint was switched: the hint window goes, or is made again in the class in force.
    virtual void ShowHintChanged(bool show) = 0;
    // The tooltip on show goes; the next needs the mouse on another control.
    virtual void CancelHint() = 0;
};

class TApplication : public TComponent {
public:
    TApplication();

    // Dispatches every waiting message; WM_QUIT sets Terminated.
    void ProcessMessages();
    // Waits for one message (or Terminated) and dispatches it.
    void HandleMessage();
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Lets a new run start after Terminate (tests run many loops in one process).
    void ResetTerminated() { terminated_ = false; }

    // Call from inside a catch block. Routes to OnException, else shows a message box.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& e);

    std::string Title = "";
    std::function<void(TObject* Sender, const std::exception& E)> OnException;

    // The hint of what the mouse is over (a control, a menu item); OnHint
    // follows each change (a status bar shows it).
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    TNotifyEvent OnHint;
    // Tooltips at all; switched on, the hint window is made in the class in force.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    // Milliseconds before a first tooltip, before it hides, and from one to the next.
    int HintPause = 500, HintHidePause = 2500, HintShortPause = 50;
    void CancelHint();
    void SetHintService(THintService* service) { hintService_ = service; }

    // The program's main window (the first form made without an owner form
    // unless the program names another); null once it is gone.
    TComponent* MainForm() const { return mainForm_; }
    void SetMainForm(TComponent* form);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ProcessMessage(MSG& msg);
    bool terminated_ = false;
    std::string hint_;
    bool showHint_ = true;
    THintService* hintService_ = nullptr;
    TComponent* mainForm_ = nullptr;
};

extern TApplication* Application;

// Runs f, handing any exception to Application->HandleException: used at every
// boundary where the platform calls us (window procedures, posted-message handlers).
template <class F>
void CallGuarded(TObject* Sender, F&& f) noexcept {
    try {
        f();
    } catch (...) {
        try {
            Application->HandleException(Sender);
        } catch (...) {
        }
    }
}
