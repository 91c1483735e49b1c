#include "RemoteListView.h"

#include <algorithm>

#include "runtime/core/SysUtils.h"

TRemoteListView::TRemoteListView(TWinControl* parent) : TListView(parent) {
    SetMultiSelect(true);
    SetRowSelect(true);
    SetHideSelection(false);
    TListView::SetViewStyle(vsReport);
}

void TRemoteListView::CreateParams(TCreateParams& p) {
    TListView::CreateParams(p);
    p.Style |= LVS_OWNERDATA;
}

void TRemoteListView::WndCreated() {
    TListView::WndCreated();
    Perform(LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL);
    for (int i : keptSelection_)
        if (i < Count()) SetState(i, LVIS_SELECTED, LVIS_SELECTED);
    keptSelection_.clear();
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

void TRemoteListView::SetRows(std::vector<TRemoteRow> rows) {
    if (IsEditing()) Perform(LVM_CANCELEDITLABEL);
    rows_ = std::move(rows);
    keptSelection_.clear();
    if (!HandleAllocated()) return;
    // A new folder: nothing of the last one stays selected or focused.
    SetState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    Perform(LVM_SETITEMCOUNT, rows_.size(), 0);
    Perform(LVM_SETSELECTIONMARK, 0, -1);
    if (!rows_.empty()) Perform(LVM_ENSUREVISIBLE, 0, FALSE);
    Invalidate();
}

TRemoteRow TRemoteListView::Row(int i) const {
    return i >= 0 && i < Count() ? rows_[static_cast<size_t>(i)] : TRemoteRow();
}

void TRemoteListView::SetCaption(int i, const std::string& s) {
    if (i < 0 || i >= Count()) return;
    rows_[static_cast<size_t>(i)].Caption = s;
    if (HandleAllocated()) Perform(LVM_UPDATE, static_cast<WPARAM>(i));
}

void TRemoteListView::SetState(int i, UINT state, UINT mask) {
    if (!HandleAllocated()) return;
    LVITEMA lvi{};
    lvi.stateMask = mask;
    lvi.state = state;
    Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lvi));
}

bool TRemoteListView::Selected(int i) const {
    return i >= 0 && i < Count() && HandleAllocated() &&
           SendMessageA(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0;
}

void TRemoteListView::SetSelected(int i, bool s) {
    if (i >= 0 && i < Count()) SetState(i, s ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TRemoteListView::SelectOnly(int i) {
    SetState(-1, 0, LVIS_SELECTED);
    if (i >= 0 && i < Count()) SetState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<int> TRemoteListView::SelectedRows() const {
    std::vector<int> out;
    if (!HandleAllocated()) return out;
    for (int i = -1; (i = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                        LVNI_SELECTED))) >= 0;)
        out.push_back(i);
    return out;
}

void TRemoteListView::SelectAll() { SetState(-1, LVIS_SELECTED, LVIS_SELECTED); }

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
    return reinterpret_cast<HWND>(Perform(LVM_EDITLABELA, static_cast<WPARAM>(i)));
}

int TRemoteListView::FindByPrefix(const std::string& prefix, int start, bool wrap) const {
    const int n = Count();
    if (n == 0 || prefix.empty()) return -1;
    if (start < 0 || start >= n) start = 0;
    for (int k = 0; k < (wrap ? n : n - start); ++k) {
        const int i = (start + k) % n;
        const std::string& c = rows_[static_cast<size_t>(i)].Caption;
        if (c.size() >= prefix.size() && SameText(c.substr(0, prefix.size()), prefix)) return i;
    }
    return -1;
}

bool TRemoteListView::Notify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& it = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
            if (it.iItem < 0 || it.iItem >= Count()) return true;
            const TRemoteRow& r = rows_[static_cast<size_t>(it.iItem)];
            if ((it.mask & LVIF_TEXT) && it.pszText && it.cchTextMax > 0) {
                const size_t sub = static_cast<size_t>(it.iSubItem);
                text_ = sub == 0 ? r.Caption : sub - 1 < r.SubItems.size() ? r.SubItems[sub - 1] : std::string();
                const size_t n = std::min(text_.size(), static_cast<size_t>(it.cchTextMax - 1));
                text_.copy(it.pszText, n);
                it.pszText[n] = '\0';
            }
            if (it.mask & LVIF_IMAGE) it.iImage = it.iSubItem == 0 ? r.ImageIndex : -1;
            return true;
        }
        case LVN_ODFINDITEMA: {
            // Typing the start of a name goes to the row.
            auto* find = reinterpret_cast<NMLVFINDITEMA*>(header);
            result = -1;
            if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz)
                result = FindByPrefix(find->lvfi.psz, find->iStart, (find->lvfi.flags & LVFI_WRAP) != 0);
            return true;
        }
        case LVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            result = FALSE;
            const int i = info->item.iItem;
            if (!info->item.pszText || i < 0 || i >= Count()) return true;  // cancelled: nothing changes
            std::string text = info->item.pszText;
            if (OnRowEdited) OnRowEdited(i, text);
            if (i < Count()) SetCaption(i, text);
            return true;
        }
        default:
            return TListView::Notify(header, result);
    }
}

bool TRemoteListView::HandleMessage(TMessage& m) {
    if (m.Msg == WM_DESTROY && !Destroying()) {
        // Made anew (a style that needs a new window): the rows stay here, the
        // selection comes back with them; the base class then has no rows to save.
        keptSelection_ = SelectedRows();
        Perform(LVM_SETITEMCOUNT, 0, 0);
    }
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
