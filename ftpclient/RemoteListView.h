// A thin superclass of the platform's list view: columns, rows with
// sub-items, multiple selection, view styles and in-place caption editing.
// The rows are kept here too, so they can be read back as the user sees them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

#include <commctrl.h>

enum TRemoteViewStyle { rvsIcon = 0, rvsSmallIcon = 1, rvsList = 2, rvsReport = 3 };

struct TRemoteRow {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;
};

class TRemoteListView : public TWinControl {
public:
    explicit TRemoteListView(TWinControl* parent);

    void AddColumn(const std::string& caption, int width);
    int ColumnWidth(int i) const;
    void SetColumnWidth(int i, int w);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    // Rows in the window's order; Rebuild puts rows in as given.
    void SetRows(const std::vector<TRemoteRow>& rows);
    void Clear() { SetRows({}); }
    int Count() const { return static_cast<int>(rows_.size()); }
    const TRemoteRow& Row(int i) const { return rows_.at(static_cast<size_t>(i)); }
    void SetCaption(int i, const std::string& s);

    bool Selected(int i) const;
    void SetSelected(int i, bool s);
    int SelCount() const;
    std::vector<int> SelectedRows() const;
    void SelectAll();

    TRemoteViewStyle ViewStyle() const { return style_; }
    void SetViewStyle(TRemoteViewStyle s);
    void SetImages(HIMAGELIST small, HIMAGELIST large);
    HIMAGELIST SmallImages() const { return small_; }

    // Starts in-place editing of row i's caption.
    HWND EditCaption(int i);
    bool IsEditing() const { return editing_; }
    // The accepted new caption (the row shows it, as the list keeps it).
    std::function<void(int Row, std::string& Text)> OnEdited;

    bool Notify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    void PutColumns();
    void PutRows();
    struct Column {
        std::string caption;
        int width;
    };
    std::vector<Column> columns_;
    std::vector<TRemoteRow> rows_;
    std::vector<bool> pendingSel_;
    TRemoteViewStyle style_ = rvsReport;
    bool editing_ = false;
    HIMAGELIST small_ = nullptr, large_ = nullptr;
};
