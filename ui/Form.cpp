#include "Form.h"

#include <vector>

#include "runtime/Application.h"

namespace {
class TLoopRunner : public TModalRunner {
public:
    int Run(TForm& form) override { return form.ExecuteModal(); }
};
TLoopRunner g_loopRunner;
TModalRunner* g_runner = &g_loopRunner;
const UINT kReleaseMessage = WM_APP + 0x3F01;

BOOL CALLBACK CollectEnabled(HWND w, LPARAM lp) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowVisible(w) && IsWindowEnabled(w)) list->push_back(w);
    return TRUE;
}
}  // namespace

TModalRunner& ModalRunner() { return *g_runner; }
TModalRunner* SetModalRunner(TModalRunner* r) {
    TModalRunner* old = g_runner == &g_loopRunner ? nullptr : g_runner;
    g_runner = r ? r : &g_loopRunner;
    return old;
}

TForm::TForm(TForm* owner) : TWinControl(nullptr), ownerForm_(owner) {
    SetVisible(false);
    SetBounds(0, 0, 400, 300);
}

TForm::~TForm() {
    if (OnDestroy && !Destroying()) OnDestroy(this);
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfForm";
    p.Style = WS_CLIPCHILDREN;
    p.ExStyle = 0;
    switch (borderStyle_) {
        case bsNone: p.Style |= WS_POPUP; break;
        case bsSingle: p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER; break;
        case bsSizeable: p.Style |= WS_OVERLAPPEDWINDOW; break;
        case bsDialog: p.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
        case bsToolWindow: p.Style |= WS_CAPTION | WS_SYSMENU; p.ExStyle |= WS_EX_TOOLWINDOW; break;
        case bsSizeToolWin: p.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (ownerForm_) p.WndParent = ownerForm_->Handle();
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateHandle();
}

void TForm::PlaceForShow() {
    RECT area{};
    if ((Position == poMainFormCenter || Position == poOwnerFormCenter) && ownerForm_ && ownerForm_->HandleAllocated()) {
        GetWindowRect(ownerForm_->Handle(), &area);
    } else if (Position != poDesigned) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    } else {
        return;
    }
    const int left = area.left + (area.right - area.left - Width()) / 2;
    const int top = area.top + (area.bottom - area.top - Height()) / 2;
    SetBounds(left, top, Width(), Height());
}

void TForm::Paint(TCanvas& canvas) {
    TWinControl::Paint(canvas);
    if (OnPaint) OnPaint(this, canvas);
}

bool TForm::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    return key == 0;
}

bool TForm::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            return true;
        case WM_SHOWWINDOW:
            if (m.WParam ? static_cast<bool>(OnShow) : static_cast<bool>(OnHide)) (m.WParam ? OnShow : OnHide)(this);
            return false;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) != WA_INACTIVE && OnActivate) OnActivate(this);
            return false;
        case kReleaseMessage:
            delete this;
            return true;
        default:
            return false;
    }
}

bool TForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TForm::Close() {
    if (modal_) {
        // A close box means Cancel; the modal loop asks CloseQuery.
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    switch (action) {
        case caHide: Hide(); break;
        case caMinimize: ShowWindow(Handle(), SW_MINIMIZE); break;
        case caFree: Release(); break;
        case caNone: break;
    }
}

void TForm::Release() { PostMessageA(Handle(), kReleaseMessage, 0, 0); }

int TForm::ShowModal() {
    modalResult_ = mrNone;
    return ModalRunner().Run(*this);
}

int TForm::ExecuteModal() {
    // Every other visible window of this thread waits while the form is up.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    for (HWND w : disabled) EnableWindow(w, FALSE);
    BeginModal();
    while (modalResult_ == mrNone && !Application->Terminated()) {
        Application->HandleMessage();
        if (modalResult_ != mrNone && !CloseQuery()) modalResult_ = mrNone;
    }
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    for (HWND w : disabled) EnableWindow(w, TRUE);
    FinishModal();
    return modalResult_;
}

void TForm::BeginModal() {
    modal_ = true;
    modalResult_ = mrNone;
    PlaceForShow();
    Show();
    SetForegroundWindow(Handle());
}

void TForm::FinishModal() {
    modal_ = false;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    Hide();
}
