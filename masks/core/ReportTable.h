// The table of a report window and its text: column 1 holds the reported
// mask's values, each further column the values of one mask that depends on
// it; a cell keeps the first non-empty value put into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LineWriter;

enum ReportKind : int32_t { kValuesReport = 1, kUniqueValuesReport = 2 };

class ReportTable {
public:
    int32_t ReportType = 0;

    void SetMaskName(const std::string& name);
    const std::string& MaskName() const { return headers_[0]; }
    // "<mask> - Report Values", for both kinds.
    std::string Caption() const;

    // Appends a row and returns its 1-based number (rows are 32-bit).
    int32_t AddValue(const std::string& text);
    // Puts value under the column headed header (made on first use); a cell
    // that already holds text keeps it. A header equal to the mask's own
    // names column 1, which has no cell: ignored. std::out_of_range for a
    // row that does not exist.
    void AddSubValue(int32_t row, const std::string& value, const std::string& header);
    const std::string& GetValue(int32_t row) const;
    int32_t GetValueCount() const { return static_cast<int32_t>(rows_.size()); }

    int32_t ColumnCount() const { return static_cast<int32_t>(headers_.size()); }
    const std::string& Header(int32_t column) const;
    // Column 1 is the row's value; a missing cell reads "".
    std::string Cell(int32_t row, int32_t column) const;
    // How many cells the row holds (columns 2 and on; may be fewer than the columns).
    int32_t CellCount(int32_t row) const;

    // The report text (ReportType 1 or 2; false and nothing written for
    // other kinds): values report, per row one "header : text" line per
    // column and an empty line; unique values, one row a line.
    bool Write(LineWriter& file) const;

    // The proposed file name of Save: the mask name, "." and "txt".
    std::string ProposedFileName() const { return MaskName() + ".txt"; }

private:
    struct Row {
        std::string text;
        std::vector<std::string> cells;  // columns 2, 3, ...
    };
    const Row& RowAt(int32_t row) const;

    std::vector<std::string> headers_{std::string()};
    std::vector<Row> rows_;
};

// Equal widths for every column: (listWidth - 80) / columns, halves to even.
int32_t ReportColumnWidth(int32_t listWidth, int32_t columns);

// The list's size after the window was sized to outerWidth x outerHeight
// (twips, frame included): 90 narrower and 400 lower than the window less
// the list's top; a dimension that would not fit keeps its current size.
struct ReportListSize {
    int32_t Width;
    int32_t Height;
};
ReportListSize ReportListSizeFor(int32_t outerWidth, int32_t outerHeight, int32_t listTop, ReportListSize current);
