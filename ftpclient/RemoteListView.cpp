#include "RemoteListView.h"

TRemoteListView::TRemoteListView(TWinControl* parent) : TListView(parent) {
    SetMultiSelect(true);
    SetRowSelect(true);
    SetHideSelection(false);
    TListView::SetViewStyle(vsReport);
}

void TRemoteListView::AddColumn(const std::string& caption, int width) {
    TListView::AddColumn(caption, width);
    widths_.push_back(width);
}

int TRemoteListView::ColumnWidth(int i) const {
    if (HandleAllocated() && ViewStyle() == rvsReport) {
        int w = Columns(i)->Width();
        if (w > 0) return w;
    }
    return widths_.at(static_cast<size_t>(i));
}

void TRemoteListView::SetColumnWidth(int i, int w) {
    if (i < 0 || i >= ColumnCount() || w < 0 || w > 4000) return;
    widths_[static_cast<size_t>(i)] = w;
    Columns(i)->SetWidth(w);
}

void TRemoteListView::SetRows(const std::vector<TRemoteRow>& rows) {
    BeginUpdate();
    TListView::Clear();
    for (const TRemoteRow& r : rows) {
        TListItem* item = AddItem();
        item->SetCaption(r.Caption);
        for (const std::string& s : r.SubItems) item->SubItems().Add(s);
        item->SetImageIndex(r.ImageIndex);
    }
    EndUpdate();
}

TRemoteRow TRemoteListView::Row(int i) const {
    TListItem* item = Items(i);
    TRemoteRow r;
    if (!item) return r;
    r.Caption = item->Caption();
    for (int s = 0; s < item->SubItems().Count(); ++s) r.SubItems.push_back(item->SubItems().Strings(s));
    r.ImageIndex = item->ImageIndex();
    return r;
}

bool TRemoteListView::Selected(int i) const {
    // By place: asking the item would first search every row for it.
    return i >= 0 && i < Count() &&
           SendMessageA(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0;
}

void TRemoteListView::SetSelected(int i, bool s) {
    if (i >= 0 && i < Count()) Items(i)->SetSelected(s);
}

std::vector<int> TRemoteListView::SelectedRows() const {
    std::vector<int> out;
    if (!HandleAllocated()) return out;
    for (int i = -1; (i = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
        out.push_back(i);
    return out;
}

void TRemoteListView::SelectAll() {
    for (int i = 0; i < Count(); ++i) SetSelected(i, true);
}

void TRemoteListView::SetViewStyle(TRemoteViewStyle s) {
    if (s < rvsIcon || s > rvsReport) return;
    for (int i = 0; i < ColumnCount(); ++i) widths_[static_cast<size_t>(i)] = ColumnWidth(i);
    TListView::SetViewStyle(static_cast<TViewStyle>(s));
}

void TRemoteListView::SetImages(TImageList* small, TImageList* large) {
    SetSmallImages(small);
    SetLargeImages(large);
}

HWND TRemoteListView::EditCaption(int i) {
    if (i < 0 || i >= Count()) return nullptr;
    SetFocus();
    Items(i)->EditCaption();
    return reinterpret_cast<HWND>(Perform(LVM_GETEDITCONTROL));
}

bool TRemoteListView::HandleMessage(TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && OnContextMenu) {
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        // From the keyboard: below the focused row, else at the list's corner.
        if (m.LParam == -1) {
            RECT r{LVIR_BOUNDS, 0, 0, 0};
            const int row = static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
            p = row >= 0 && Perform(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))
                    ? POINT{r.left + 8, r.bottom}
                    : POINT{4, 4};
            ClientToScreen(Handle(), &p);
        }
        OnContextMenu(p);
        m.Result = 0;
        return true;
    }
    return TListView::HandleMessage(m);
}
