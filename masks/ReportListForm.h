// frmReportList: one report on one mask, shown without being modal, with
// Save, Copy and Print. A shell over ReportTable and ReportSaver.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "masks/core/ReportSaver.h"
#include "masks/core/ReportTable.h"
#include "masks/core/TextFile.h"
#include "ui/ListView.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/ToolBar.h"

class TReportListForm : public TForm {
public:
    TReportListForm();

    // The members the main window fills the report with, in its order.
    void SetReportType(int32_t t) { table_.ReportType = t; }
    int32_t ReportType() const { return table_.ReportType; }
    void SetMaskName(const std::string& name) { table_.SetMaskName(name); }
    int32_t AddValue(const std::string& Text);
    void AddSubValue(int32_t Row, const std::string& Value, const std::string& Header);
    const std::string& GetValue(int32_t Row) const { return table_.GetValue(Row); }
    int32_t GetValueCount() const { return table_.GetValueCount(); }
    void SizeColumns();
    const ReportTable& Table() const { return table_; }
    const std::string& RememberedFolder() const { return saver_.RememberedFolder(); }
    void SetRememberedFolder(const std::string& folder) { saver_.SetRememberedFolder(folder); }

    // The toolbar's actions, by the button's key.
    void ButtonClick(const std::string& key);
    void Save();
    void Copy();
    void Print();

    // Seams: the file object a save writes through (Kestrel's by default)
    // and the window's print operation.
    std::function<std::unique_ptr<TextFile>()> MakeFile;
    std::function<void(TForm&)> PrintForm;

    TToolBar* tbReport;
    TListView* lstValues;

private:
    void SetUp();
    void ShowRow(int32_t row);
    void LayOut();

    ReportTable table_;
    ReportSaver saver_;
    bool setUp_ = false;
};

// Prints the form's client area on the default printer, scaled to the page
// (the forms runtime's print of a window).
void PrintFormImage(TForm& form);
