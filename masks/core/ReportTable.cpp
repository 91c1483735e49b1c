#include "masks/core/ReportTable.h"

#include <cmath>
#include <stdexcept>

#include "masks/core/MaskTexts.h"
#include "masks/core/TextFile.h"

void ReportTable::SetMaskName(const std::string& name) { headers_[0] = name; }

std::string ReportTable::Caption() const { return MaskName() + " - " + MaskTexts::kReportValues; }

int32_t ReportTable::AddValue(const std::string& text) {
    if (rows_.size() >= static_cast<size_t>(INT32_MAX)) throw std::length_error("report full");
    rows_.push_back(Row{text, {}});
    return GetValueCount();
}

const ReportTable::Row& ReportTable::RowAt(int32_t row) const {
    if (row < 1 || row > GetValueCount()) throw std::out_of_range("report row out of range");
    return rows_[static_cast<size_t>(row - 1)];
}

void ReportTable::AddSubValue(int32_t row, const std::string& value, const std::string& header) {
    RowAt(row);
    size_t col = 0;
    while (col < headers_.size() && headers_[col] != header) ++col;
    if (col == 0) return;
    if (col == headers_.size()) headers_.push_back(header);
    std::vector<std::string>& cells = rows_[static_cast<size_t>(row - 1)].cells;
    const size_t k = col;  // cell k is column k + 1
    if (cells.size() >= k) {
        if (cells[k - 1].empty()) cells[k - 1] = value;
        return;
    }
    cells.resize(k - 1);
    cells.push_back(value);
}

const std::string& ReportTable::GetValue(int32_t row) const { return RowAt(row).text; }

const std::string& ReportTable::Header(int32_t column) const {
    if (column < 1 || column > ColumnCount()) throw std::out_of_range("report column out of range");
    return headers_[static_cast<size_t>(column - 1)];
}

std::string ReportTable::Cell(int32_t row, int32_t column) const {
    const Row& r = RowAt(row);
    Header(column);
    if (column == 1) return r.text;
    const size_t k = static_cast<size_t>(column - 1);
    return r.cells.size() >= k ? r.cells[k - 1] : std::string();
}

int32_t ReportTable::CellCount(int32_t row) const { return static_cast<int32_t>(RowAt(row).cells.size()); }

bool ReportTable::Write(LineWriter& file) const {
    if (ReportType != kValuesReport && ReportType != kUniqueValuesReport) return false;
    bool ok = true;
    auto line = [&](const std::string& text) {
        ok = file.WriteString(text) && ok;
        ok = file.PutBR() && ok;
    };
    for (int32_t r = 1; r <= GetValueCount(); ++r) {
        if (ReportType == kUniqueValuesReport) {
            line(GetValue(r));
            continue;
        }
        for (int32_t c = 1; c <= ColumnCount(); ++c) line(Header(c) + " : " + Cell(r, c));
        ok = file.PutBR() && ok;
    }
    return ok;
}

int32_t ReportColumnWidth(int32_t listWidth, int32_t columns) {
    if (columns < 1) return 0;
    return static_cast<int32_t>(std::nearbyint((static_cast<double>(listWidth) - 80.0) / columns));
}

ReportListSize ReportListSizeFor(int32_t outerWidth, int32_t outerHeight, int32_t listTop, ReportListSize current) {
    if (outerWidth > 90) current.Width = outerWidth - 90;
    if (outerHeight > listTop + 400) current.Height = outerHeight - listTop - 400;
    return current;
}
