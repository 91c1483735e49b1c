#include "RemoteListView.h"

#include <commctrl.h>

namespace {
DWORD StyleBits(TRemoteViewStyle s) {
    switch (s) {
        case rvsIcon: return LVS_ICON;
        case rvsSmallIcon: return LVS_SMALLICON;
        case rvsList: return LVS_LIST;
        default: return LVS_REPORT;
    }
}
}  // namespace

TRemoteListView::TRemoteListView(TWinControl* parent) : TWinControl(parent) {
    static bool init = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)init;
    SetColor(clWindow);
}

void TRemoteListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = WC_LISTVIEWA;
    p.WinClassName = "QfListView";
    // The window's owner keeps the image lists.
    p.Style |= WS_TABSTOP | LVS_EDITLABELS | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | StyleBits(style_);
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRemoteListView::WndCreated() {
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (small_) SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small_));
    if (large_) SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large_));
    PutColumns();
    PutRows();
}

void TRemoteListView::AddColumn(const std::string& caption, int width) {
    columns_.push_back({caption, width});
    if (HandleAllocated()) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<char*>(columns_.back().caption.c_str());
        c.cx = width;
        SendMessageA(Handle(), LVM_INSERTCOLUMNA, columns_.size() - 1, reinterpret_cast<LPARAM>(&c));
    }
}

int TRemoteListView::ColumnWidth(int i) const {
    // Only the report view knows column widths; the others keep the last known.
    if (HandleAllocated() && style_ == rvsReport) {
        int w = static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, i, 0));
        if (w > 0) return w;
    }
    return columns_.at(static_cast<size_t>(i)).width;
}

void TRemoteListView::SetColumnWidth(int i, int w) {
    if (i < 0 || i >= ColumnCount() || w < 0 || w > 4000) return;
    columns_[static_cast<size_t>(i)].width = w;
    if (HandleAllocated()) SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, i, w);
}

void TRemoteListView::PutColumns() {
    for (size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<char*>(columns_[i].caption.c_str());
        c.cx = columns_[i].width;
        SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
}

void TRemoteListView::SetRows(const std::vector<TRemoteRow>& rows) {
    rows_ = rows;
    pendingSel_.assign(rows_.size(), false);
    if (HandleAllocated()) PutRows();
}

void TRemoteListView::PutRows() {
    HWND h = Handle();
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows_.size(); ++i) {
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_IMAGE;
        it.iItem = static_cast<int>(i);
        it.pszText = const_cast<char*>(rows_[i].Caption.c_str());
        it.iImage = rows_[i].ImageIndex;
        SendMessageA(h, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
        for (size_t s = 0; s < rows_[i].SubItems.size(); ++s) {
            LVITEMA sub{};
            sub.iSubItem = static_cast<int>(s + 1);
            sub.pszText = const_cast<char*>(rows_[i].SubItems[s].c_str());
            SendMessageA(h, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

void TRemoteListView::SetCaption(int i, const std::string& s) {
    rows_.at(static_cast<size_t>(i)).Caption = s;
    if (!HandleAllocated()) return;
    LVITEMA it{};
    it.iSubItem = 0;
    it.pszText = const_cast<char*>(s.c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it));
}

bool TRemoteListView::Selected(int i) const {
    if (i < 0 || i >= Count()) return false;
    if (!HandleAllocated()) return pendingSel_[static_cast<size_t>(i)];
    return (SendMessageA(Handle(), LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TRemoteListView::SetSelected(int i, bool s) {
    if (i < 0 || i >= Count()) return;
    pendingSel_[static_cast<size_t>(i)] = s;
    if (!HandleAllocated()) return;
    LVITEMA it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = s ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageA(Handle(), LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it));
}

std::vector<int> TRemoteListView::SelectedRows() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i)
        if (Selected(i)) out.push_back(i);
    return out;
}

int TRemoteListView::SelCount() const { return static_cast<int>(SelectedRows().size()); }

void TRemoteListView::SelectAll() {
    for (int i = 0; i < Count(); ++i) SetSelected(i, true);
}

void TRemoteListView::SetViewStyle(TRemoteViewStyle s) {
    if (s < rvsIcon || s > rvsReport) return;
    if (HandleAllocated() && style_ == rvsReport)
        for (int i = 0; i < ColumnCount(); ++i) columns_[static_cast<size_t>(i)].width = ColumnWidth(i);
    style_ = s;
    if (!HandleAllocated()) return;
    LONG_PTR st = GetWindowLongPtrA(Handle(), GWL_STYLE);
    st = (st & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | static_cast<LONG_PTR>(StyleBits(s));
    SetWindowLongPtrA(Handle(), GWL_STYLE, st);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TRemoteListView::SetImages(HIMAGELIST small, HIMAGELIST large) {
    small_ = small;
    large_ = large;
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small_));
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large_));
}

HWND TRemoteListView::EditCaption(int i) {
    SetFocus();
    return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_EDITLABELA, i, 0));
}

bool TRemoteListView::Notify(NMHDR* header, LRESULT& result) {
    if (header->code == LVN_BEGINLABELEDITA || header->code == LVN_BEGINLABELEDITW) {
        editing_ = true;
        result = FALSE;
        return true;
    }
    if (header->code == LVN_ENDLABELEDITA || header->code == LVN_ENDLABELEDITW) {
        editing_ = false;
        int row = -1;
        std::string text;
        bool have = false;
        if (header->code == LVN_ENDLABELEDITA) {
            auto* d = reinterpret_cast<NMLVDISPINFOA*>(header);
            row = d->item.iItem;
            if (d->item.pszText) {
                text = d->item.pszText;
                have = true;
            }
        } else {
            auto* d = reinterpret_cast<NMLVDISPINFOW*>(header);
            row = d->item.iItem;
            if (d->item.pszText) {
                char buf[1024] = {0};
                WideCharToMultiByte(CP_ACP, 0, d->item.pszText, -1, buf, sizeof buf - 1, nullptr, nullptr);
                text = buf;
                have = true;
            }
        }
        result = FALSE;
        if (have && row >= 0 && row < Count()) {
            rows_[static_cast<size_t>(row)].Caption = text;
            result = TRUE;
            if (OnEdited) OnEdited(row, text);
        }
        return true;
    }
    return false;
}
