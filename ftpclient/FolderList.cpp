#include "FolderList.h"

#include <shellapi.h>

namespace {
HICON FolderIcon(bool open) {
    // The shell's own folder pictures, closed (3) and open (4); some shells
    // give one picture for both through the file-type road below.
    HICON small = nullptr;
    if (ExtractIconExA("shell32.dll", open ? 4 : 3, nullptr, &small, 1) == 1 && small) return small;
    SHFILEINFOA info{};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | (open ? SHGFI_OPENICON : 0);
    return SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags) ? info.hIcon : nullptr;
}
}  // namespace

TFolderList::TFolderList(TWinControl* parent) : TListBox(parent), open_(FolderIcon(true)), closed_(FolderIcon(false)) {}

TFolderList::~TFolderList() {
    if (open_) DestroyIcon(open_);
    if (closed_) DestroyIcon(closed_);
}

void TFolderList::CreateParams(TCreateParams& p) {
    TListBox::CreateParams(p);
    p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TFolderList::WndCreated() {
    Perform(LB_SETITEMHEIGHT, 0, RowHeight);
    TListBox::WndCreated();
}

void TFolderList::SetRows(std::vector<TFolderRow> Rows) {
    rows_ = std::move(Rows);
    Clear();
    for (auto& r : rows_) Items().Add(r.Name);
    SetItemIndex(CurrentFolderRow(rows_));
}

void TFolderList::DrawRow(HDC dc, const RECT& r, int i, bool selected, bool focused) {
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (i < 0 || i >= static_cast<int>(rows_.size())) return;
    const TFolderRow& row = rows_[static_cast<size_t>(i)];
    const int x = r.left + 2 + row.Indent * IndentStep;
    const int mid = (r.top + r.bottom) / 2;
    if (HICON icon = row.Open ? open_ : closed_) DrawIconEx(dc, x, mid - 8, icon, 16, 16, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    RECT text{x + 20, r.top, r.right, r.bottom};
    DrawTextA(dc, row.Name.c_str(), static_cast<int>(row.Name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    if (focused) DrawFocusRect(dc, &r);
}

bool TFolderList::DrawItem(DRAWITEMSTRUCT& dis) {
    DrawRow(dis.hDC, dis.rcItem, static_cast<int>(dis.itemID), (dis.itemState & ODS_SELECTED) != 0,
            (dis.itemState & ODS_FOCUS) != 0);
    return true;
}
