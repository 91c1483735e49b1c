// The main window's layout when its bars and panes change size, and the
// tooltips of the toolbar buttons.
#include <windows.h>
#include <commctrl.h>

#include "MainForm.h"
#include "ftpclient/core/MainLayout.h"

namespace {
void Place(TWinControl* c, const TPaneRect& r) { c->SetBounds(r.Left, r.Top, r.Width, r.Height); }

TPaneRect BoundsOf(const TWinControl* c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }
}  // namespace

void TfrmMain::fsbMainResize() {
    int widths[4];
    for (int i = 0; i < 4; ++i) widths[i] = fsbMain->Panels(i)->Width();
    const TStatusBarLayout l = LayoutStatusBar(fsbMain->Width(), fsbMain->ClientWidth(), fsbMain->ClientHeight(),
                                               widths, pbTransferStatus->Height(), imgConnectedOn->Height());
    fsbMain->Panels(0)->SetWidth(l.HintWidth);
    Place(pbTransferStatus, l.Progress);
    for (TArtImage* i : {imgConnectedOn, imgConnectedOff}) Place(i, l.ConnectedLight);
    for (TArtImage* i : {imgDisconnectedOn, imgDisconnectedOff}) Place(i, l.DisconnectedLight);
}

void TfrmMain::pnlServerResize() {
    const std::vector<TPaneRect> r = StackBelowLabel(BoundsOf(lblServer), pnlServer->ClientWidth(),
                                                       pnlServer->ClientHeight(), {cbServerDir->Height(), 0});
    Place(lblServer, r[0]);
    Place(cbServerDir, r[1]);
    Place(lvServerFiles, r[2]);
}

void TfrmMain::pnlKeelsonFTPResize() {
    const TPaneRect l = BoundsOf(lblKeelsonFTPExposure);
    lblKeelsonFTPExposure->SetBounds(l.Left, l.Top, AdLabelWidth(pnlKeelsonFTP->ClientWidth(), l.Left), l.Height);
}

void TfrmMain::CreateToolTips() {
    toolTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!toolTips_) return;  // the window works without its tips
    // The tips take the application's hint font (the Office 97 style's).
    SendMessageA(toolTips_, WM_SETFONT, reinterpret_cast<WPARAM>(hnt95Main->HintFont().Handle()), FALSE);
    for (TWinControl* c : std::initializer_list<TWinControl*>{
             tb97Connect, tb97Disconnect, tb97AddServer, tb97FolderUp, tb97NewFolder, tb97Delete, tb97Refresh,
             tb97TransferBin, tb97TransferAsc, tb97TransferAuto, tb97Hosting, tb97Secure, pbTransferStatus}) {
        TTTOOLINFOA ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = Handle();
        ti.uId = reinterpret_cast<UINT_PTR>(c->Handle());
        // Asked for when shown, so a changed hint shows at once.
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

bool TfrmMain::ToolTipText(TMessage& m) {
    auto* h = reinterpret_cast<NMHDR*>(m.LParam);
    if (!toolTips_ || !h || h->hwndFrom != toolTips_) return false;
    if (h->code != TTN_GETDISPINFOA && h->code != TTN_GETDISPINFOW) return false;
    TWinControl* c = TWinControl::FromHandle(reinterpret_cast<HWND>(h->idFrom));
    const std::string hint = c ? c->Hint : std::string();
    if (h->code == TTN_GETDISPINFOA) {
        auto* di = reinterpret_cast<NMTTDISPINFOA*>(h);
        lstrcpynA(di->szText, hint.c_str(), static_cast<int>(sizeof(di->szText)));
        di->lpszText = di->szText;
    } else {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(h);
        MultiByteToWideChar(CP_ACP, 0, hint.c_str(), -1, di->szText, static_cast<int>(sizeof(di->szText) / sizeof(WCHAR)));
        di->szText[sizeof(di->szText) / sizeof(WCHAR) - 1] = 0;
        di->lpszText = di->szText;
    }
    m.Result = 0;
    return true;
}
