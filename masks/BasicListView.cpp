#include "masks/BasicListView.h"

#include <cstdint>

namespace BasicListView {
namespace {
TListItem* Row(const TListView& lv, int32_t row) {
    return row >= 1 && row <= lv.ItemCount() ? lv.Items(row - 1) : nullptr;
}
TListColumn* Column(const TListView& lv, int32_t column) {
    return column >= 1 && column <= lv.ColumnCount() ? lv.Columns(column - 1) : nullptr;
}
}  // namespace

void AddColumn(TListView& lv, const std::string& caption, int widthPixels) {
    if (lv.ViewStyle() != vsReport) {
        lv.SetViewStyle(vsReport);
        lv.SetReadOnly(true);
        lv.SetRowSelect(true);
        lv.SetHideSelection(false);
    }
    lv.AddColumn(caption, widthPixels);
}

int32_t ColumnCount(const TListView& lv) { return lv.ColumnCount(); }

void SetColumnCaption(TListView& lv, int32_t column, const std::string& caption) {
    if (TListColumn* c = Column(lv, column)) c->SetCaption(caption);
}

std::string ColumnCaption(const TListView& lv, int32_t column) {
    const TListColumn* c = Column(lv, column);
    return c ? c->Caption() : std::string();
}

void SetColumnWidth(TListView& lv, int32_t column, int widthPixels) {
    if (TListColumn* c = Column(lv, column)) c->SetWidth(widthPixels);
}

int ColumnWidth(const TListView& lv, int32_t column) {
    const TListColumn* c = Column(lv, column);
    return c ? c->Width() : 0;
}

void Clear(TListView& lv) { lv.Clear(); }

void AddRow(TListView& lv, const std::string& text, const std::vector<std::string>& subItems, int32_t tag) {
    TListItem* item = lv.AddItem();
    item->SetCaption(text);
    for (const std::string& s : subItems) item->SubItems().Add(s);
    item->Data = reinterpret_cast<void*>(static_cast<intptr_t>(tag));
}

void SetSubItems(TListView& lv, int32_t row, const std::vector<std::string>& subItems) {
    TListItem* item = Row(lv, row);
    if (!item) return;
    TSubItems& cells = item->SubItems();
    for (size_t k = 0; k < subItems.size(); ++k) {
        if (static_cast<int>(k) < cells.Count()) cells.SetStrings(static_cast<int>(k), subItems[k]);
        else cells.Add(subItems[k]);
    }
}

int32_t RowCount(const TListView& lv) { return lv.ItemCount(); }

std::string RowText(const TListView& lv, int32_t row) {
    const TListItem* item = Row(lv, row);
    return item ? item->Caption() : std::string();
}

std::string SubItem(const TListView& lv, int32_t row, int32_t k) {
    const TListItem* item = Row(lv, row);
    if (!item || k < 1 || k > item->SubItems().Count()) return std::string();
    return item->SubItems().Strings(k - 1);
}

int32_t RowTag(const TListView& lv, int32_t row) {
    const TListItem* item = Row(lv, row);
    return item ? static_cast<int32_t>(reinterpret_cast<intptr_t>(item->Data)) : 0;
}

int32_t SelectedRow(const TListView& lv) {
    const TListItem* item = lv.Selected();
    return item ? item->Index() + 1 : 0;
}

void SelectRow(TListView& lv, int32_t row) { lv.SetSelected(Row(lv, row)); }
}  // namespace BasicListView
