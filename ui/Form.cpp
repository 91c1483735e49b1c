#include "Form.h"

#include <vector>

#include "Menus.h"
#include "StdCtrls.h"
#include "runtime/Application.h"

namespace {
class TLoopRunner : public TModalRunner {
public:
    int Run(TForm& form) override { return form.ExecuteModal(); }
};
TLoopRunner g_loopRunner;
TModalRunner* g_runner = &g_loopRunner;
const UINT kReleaseMessage = WM_APP + 0x3F01;
// Command identifiers the MDI client gives its window-menu entries start here,
// above every identifier our menus hand out.
const UINT kFirstMDIChild = 0xFF00;

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
    // The program's first window is its main window, as long as the program names no other.
    if (!owner && !Application->MainForm()) Application->SetMainForm(this);
    SetVisible(false);
    SetBounds(0, 0, 400, 300);
}

TForm::~TForm() {
    if (OnDestroy && !Destroying()) OnDestroy(this);
    SetMenu(nullptr);
    // The client must forget the child (its window list and active child).
    if (formStyle_ == fsMDIChild && HandleAllocated() && ownerForm_ && ownerForm_->client_)
        SendMessageA(ownerForm_->client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    if (s == fsMDIChild && (!ownerForm_ || ownerForm_->formStyle_ != fsMDIForm))
        throw Exception("An MDI child form needs an MDI form as its owner");
    formStyle_ = s;
    RecreateHandle();
}

void TForm::SetWindowMenu(TMenuItem* item) {
    windowMenu_ = item;
    if (!client_) return;
    SendMessageA(client_, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(item ? item->Handle() : nullptr));
    DrawMenuBar(Handle());
}

LRESULT TForm::DefaultHandler(TMessage& m) {
    switch (formStyle_) {
        case fsMDIForm: return DefFrameProcA(Handle(), client_, m.Msg, m.WParam, m.LParam);
        case fsMDIChild: return DefMDIChildProcA(Handle(), m.Msg, m.WParam, m.LParam);
        default: return TWinControl::DefaultHandler(m);
    }
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
    if (formStyle_ == fsMDIChild) {
        // Made inside the frame's client, which lists it in the window menu.
        p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
        p.ExStyle |= WS_EX_MDICHILD;
        p.WndParent = ownerForm_->ClientHandle();
    }
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
    // Before a component drawing the menu bar, which may keep the message to itself.
    if (m.Msg == WM_MENUSELECT || m.Msg == WM_EXITMENULOOP) ShowMenuHint(m.Msg, m.WParam, m.LParam);
    // A component drawing the menu bar sees the form's messages first.
    if (menu_ && menu_->DispatchHooks(Handle(), m)) return true;
    switch (m.Msg) {
        case WM_INITMENUPOPUP: {
            // A drop-down opening is its item's click (it may update its items).
            TMenuItem* item = TMenuItem::FromHandle(reinterpret_cast<HMENU>(m.WParam));
            if (item && item->Parent()) item->Click();
            return false;
        }
        case WM_DESTROY:
            // The menu outlives the window: DestroyWindow would free it.
            if (menu_) ::SetMenu(Handle(), nullptr);
            client_ = nullptr;
            return false;
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

// ---- the menu bar

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) {
        menu_->form_ = nullptr;
        if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
    }
    if (menu && menu->form_) menu->form_->SetMenu(nullptr);
    menu_ = menu;
    if (!menu_) return;
    menu_->form_ = this;
    if (HandleAllocated()) ::SetMenu(Handle(), menu_->Handle());
    InstallMenuShortCutHook();
}

void TForm::WndCreated() {
    if (menu_) ::SetMenu(Handle(), menu_->Handle());
    if (formStyle_ != fsMDIForm) return;
    CLIENTCREATESTRUCT ccs{windowMenu_ ? windowMenu_->Handle() : nullptr, kFirstMDIChild};
    RECT r;
    GetClientRect(Handle(), &r);
    client_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, r.right,
                              r.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
    if (!client_) throw Exception("Cannot create the MDI client window");
}

bool TForm::MenuCommand(WORD id) {
    TMenuItem* item = TMenuItem::FromCommand(id);
    if (!item) return false;
    item->Click();
    return true;
}

namespace {
// Owner-drawn items of menus other than the bar (popups tracked by this form)
// go to their own menu's hooks; the bar's hooks saw the message already.
bool MenuItemMessage(TForm& form, UINT msg, ULONG_PTR data, void* params) {
    TMenuItem* item = TMenuItem::FromData(data);
    TMenu* menu = item ? item->GetParentMenu() : nullptr;
    if (!menu || menu == form.Menu()) return false;
    TMessage m{msg, 0, reinterpret_cast<LPARAM>(params), 0};
    return menu->DispatchHooks(form.Handle(), m);
}
}  // namespace

bool TForm::DrawItem(DRAWITEMSTRUCT& dis) {
    return dis.CtlType == ODT_MENU && MenuItemMessage(*this, WM_DRAWITEM, dis.itemData, &dis);
}

bool TForm::MeasureItem(MEASUREITEMSTRUCT& mis) {
    return mis.CtlType == ODT_MENU && MenuItemMessage(*this, WM_MEASUREITEM, mis.itemData, &mis);
}

// ---- Enter, Escape and the form's preview of keys

TForm* FormOf(TWinControl* c) {
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(c);
}

bool PreviewKey(TWinControl& c, WORD& key, TShiftState shift) {
    TForm* form = FormOf(&c);
    if (!form || form == &c || !form->KeyPreview) return false;
    form->KeyDown(key, shift);
    return key == 0;
}

namespace {
// The first enabled, visible button under c that the test picks.
template <class Pick>
TButton* FindButton(TWinControl* c, Pick pick) {
    for (int i = 0; i < c->ControlCount(); ++i) {
        TWinControl* child = c->Controls(i);
        if (!child->Visible() || !child->Enabled()) continue;
        auto* b = dynamic_cast<TButton*>(child);
        if (b && pick(*b)) return b;
        if (TButton* inner = FindButton(child, pick)) return inner;
    }
    return nullptr;
}

// The character the key's translation queued would reach the control after
// its form has gone: a stray beep.
void DropQueuedChar(HWND hwnd, char ch) {
    MSG msg;
    if (PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_NOREMOVE) && msg.wParam == static_cast<unsigned char>(ch))
        PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
}
}  // namespace

bool DialogKey(TWinControl& c, WORD key, TShiftState shift) {
    if ((key != VK_RETURN && key != VK_ESCAPE) || (shift & (ssShift | ssCtrl | ssAlt))) return false;
    TForm* form = FormOf(&c);
    if (!form || !c.HandleAllocated()) return false;
    // A multi-line edit takes Enter, an open drop-down both keys.
    MSG probe{c.Handle(), WM_KEYDOWN, key, 0, 0, {0, 0}};
    const LRESULT wants = SendMessageA(c.Handle(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&probe));
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (dynamic_cast<TComboBox*>(&c) && SendMessageA(c.Handle(), CB_GETDROPPEDSTATE, 0, 0)) return false;
    TButton* button = nullptr;
    if (key == VK_RETURN) {
        button = dynamic_cast<TButton*>(&c);
        if (!button) button = FindButton(form, [](TButton& b) { return b.Default(); });
    } else {
        button = FindButton(form, [](TButton& b) { return b.Cancel; });
    }
    if (button) {
        DropQueuedChar(c.Handle(), key == VK_RETURN ? '\r' : '\x1b');
        button->Click();
        return true;
    }
    if (key == VK_ESCAPE && form->Modal()) {
        DropQueuedChar(c.Handle(), '\x1b');
        form->Close();
        return true;
    }
    return false;
}
