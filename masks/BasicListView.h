// A list view as SBF's windows address it: rows and columns counted from 1,
// 0 for "no row selected", each row with a Tag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/ListView.h"

namespace BasicListView {
void AddColumn(TListView& lv, const std::string& caption, int widthPixels);
int32_t ColumnCount(const TListView& lv);
void SetColumnCaption(TListView& lv, int32_t column, const std::string& caption);
std::string ColumnCaption(const TListView& lv, int32_t column);
void SetColumnWidth(TListView& lv, int32_t column, int widthPixels);
int ColumnWidth(const TListView& lv, int32_t column);

void Clear(TListView& lv);
void AddRow(TListView& lv, const std::string& text, const std::vector<std::string>& subItems, int32_t tag);
void SetSubItems(TListView& lv, int32_t row, const std::vector<std::string>& subItems);
int32_t RowCount(const TListView& lv);
std::string RowText(const TListView& lv, int32_t row);
// Sub-item k of the row (1 is the second column); "" when the row has fewer.
std::string SubItem(const TListView& lv, int32_t row, int32_t k);
int32_t RowTag(const TListView& lv, int32_t row);
int32_t SelectedRow(const TListView& lv);
void SelectRow(TListView& lv, int32_t row);
}  // namespace BasicListView
