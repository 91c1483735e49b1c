#include "searchwindow/SysControl.h"

void TListViewBox::Insert(int at, const std::string& text, int image, LPARAM tag) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = tag;
    Perform(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TListViewBox::SetText(int at, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    Perform(LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&item));
}

std::string TListViewBox::GetText(int at, int column) {
    char buf[1024] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    Perform(LVM_GETITEMTEXTA, at, reinterpret_cast<LPARAM>(&item));
    return buf;
}

void TListViewBox::SetImage(int at, int image) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iImage = image;
    SetItem(at, item);
}

void TListViewBox::SetItem(int at, LVITEMA& item) {
    item.iItem = at;
    Perform(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM TListViewBox::TagOf(int at) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = at;
    Perform(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void TListViewBox::SetTag(int at, LPARAM tag) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.lParam = tag;
    SetItem(at, item);
}

void TListViewBox::Deselect(int at) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    Perform(LVM_SETITEMSTATE, at, reinterpret_cast<LPARAM>(&item));
}

void TListViewBox::Select(int at) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Perform(LVM_SETITEMSTATE, at, reinterpret_cast<LPARAM>(&item));
}

void TListViewBox::SetView(int view) {
    static const DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    if (view < 0 || view > 3) return;
    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kStyles[view]);
}

void TListViewBox::AddColumn(const std::string& text, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<char*>(text.c_str());
    c.cx = width;
    const int n = Header_GetItemCount(reinterpret_cast<HWND>(Perform(LVM_GETHEADER)));
    Perform(LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&c));
}

void TListViewBox::ClearColumns() {
    while (Perform(LVM_DELETECOLUMN, 0)) {
    }
}
