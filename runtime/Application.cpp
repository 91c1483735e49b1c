#include "Application.h"

static TApplication g_application;
TApplication* Application = &g_application;

TApplication::TApplication() : TComponent(nullptr) {}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
    } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg) && !terminated_) WaitMessage();
}

void TApplication::Run() {
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleException(TObject* Sender) {
    (void)Sender;
    try {
        throw;
    } catch (const std::exception& e) {
        if (OnException) OnException(Sender, e);
        else ShowException(e);
    } catch (...) {
        Exception e("Unknown exception");
        if (OnException) OnException(Sender, e);
        else ShowException(e);
    }
}

void TApplication::ShowException(const std::exception& e) {
    MessageBoxA(nullptr, e.what(), Title.empty() ? "Error" : Title.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool show) {
    if (show == showHint_) return;
    showHint_ = show;
    if (hintService_) hintService_->ShowHintChanged(show);
}

void TApplication::CancelHint() {
    if (hintService_) hintService_->CancelHint();
}

void TApplication::SetMainForm(TComponent* form) {
    if (form == mainForm_) return;
    if (mainForm_) RemoveFreeNotification(mainForm_);
    mainForm_ = form;
    if (form) FreeNotification(form);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}
