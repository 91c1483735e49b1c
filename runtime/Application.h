// The application object: message pumping, termination and the one place
// where exceptions caught at window-procedure boundaries end up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/Component.h"
#include "core/SysUtils.h"

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

private:
    bool ProcessMessage(MSG& msg);
    bool terminated_ = false;
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
