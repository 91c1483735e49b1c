// Drag and drop between the two lists: local files dropped on the remote
// list are uploaded, remote rows dropped on the local pane downloaded.
#include <windows.h>

#include "ListDrag.h"
#include "MainForm.h"

namespace {
// The press goes on to the list as a click once the drag is over, so the
// list's own handling of it ends normally.
void FinishPress(TWinControl* list, POINT client) {
    PostMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}
}  // namespace

void TfrmMain::WireDragAndDrop() {
    Local->lbFiles->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        if (b == mbLeft && !(s & (ssShift | ssCtrl | ssAlt))) LocalFilesPressed(x, y);
    };
    lvServerFiles->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        if (b == mbLeft && !(s & (ssShift | ssCtrl | ssAlt))) RemoteFilesPressed(x, y);
    };
}

bool TfrmMain::CanDropOnRemote(POINT screen) const {
    return FTP->IsConnected() && !Busy && PointOnWindow(lvServerFiles->Handle(), screen);
}

bool TfrmMain::CanDropOnLocal(POINT screen) const {
    return FTP->IsConnected() && !Busy && PointOnWindow(Local->Handle(), screen);
}

void TfrmMain::LocalFilesPressed(int x, int y) {
    TListBox* list = Local->lbFiles;
    LRESULT hit = SendMessageA(list->Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    int row = LOWORD(hit);
    if (HIWORD(hit) || row >= list->Items().Count()) return;
    // A row that is not chosen yet is dragged alone.
    if (!list->Selected(row)) {
        for (int i = 0; i < list->Items().Count(); ++i) list->SetSelected(i, i == row);
    }
    TPendingDrop drop;
    drop.Upload = true;
    drop.LocalNames = Local->SelectedFiles();
    RunDrag(list, POINT{x, y}, drop, [this](POINT p) { return CanDropOnRemote(p); });
}

void TfrmMain::RemoteFilesPressed(int x, int y) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    int row = static_cast<int>(SendMessageA(lvServerFiles->Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0 || !(hit.flags & LVHT_ONITEM)) return;
    if (!lvServerFiles->Selected(row)) lvServerFiles->SelectOnly(row);
    TPendingDrop drop;
    drop.Upload = false;
    drop.RemoteRows = lvServerFiles->SelectedRows();
    for (int i : drop.RemoteRows) drop.RemoteEntries.push_back(RemoteRows[static_cast<size_t>(i)]);
    RunDrag(lvServerFiles, POINT{x, y}, drop, [this](POINT p) { return CanDropOnLocal(p); });
}

void TfrmMain::RunDrag(TWinControl* list, POINT start, TPendingDrop drop, const std::function<bool(POINT)>& target) {
    TDragOutcome out = TrackDrag(list->Handle(), start, target);
    if (out.End == TDragEnd::Click) {
        ScreenToClient(list->Handle(), &out.Screen);
        FinishPress(list, out.Screen);
        return;
    }
    FinishPress(list, start);
    drop.Drop = out.End == TDragEnd::Dropped;
    pendingDrop_ = drop;
    PostMessageA(Handle(), WM_QF_DROP, 0, 0);
}

void TfrmMain::FinishDrop() {
    TPendingDrop drop = pendingDrop_;
    pendingDrop_ = TPendingDrop();
    // The dragged rows are chosen again (the press may have narrowed the choice), then moved.
    if (drop.Upload) {
        for (int i = 0; i < Local->lbFiles->Items().Count(); ++i) Local->lbFiles->SetSelected(i, false);
        for (auto& n : drop.LocalNames) Local->SelectFile(n);
        if (drop.Drop) itmUploadLocaFileClick();
    } else {
        for (int i = 0; i < lvServerFiles->Count(); ++i) lvServerFiles->SetSelected(i, false);
        for (int i : drop.RemoteRows) lvServerFiles->SetSelected(i, true);
        if (drop.Drop && FTP->IsConnected() && !Busy) DownloadRemoteEntries(drop.RemoteEntries, false);
    }
}
