// The main window's layout when its bars and panes change size.
#include <windows.h>

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
