// The remote pane's list: the ui list view with rows given whole (caption,
// sub-items, image) and read back by their place, as the user sees them.
// The rows live here and the window only asks for what it shows (a virtual
// list): a folder of 100,000 entries is shown without one message per row,
// each of which costs a round trip to Wine's server while a window hook is set.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/ListView.h"

enum TRemoteViewStyle { rvsIcon = vsIcon, rvsSmallIcon = vsSmallIcon, rvsList = vsList, rvsReport = vsReport };

struct TRemoteRow {
    std::string Caption;
    std::vector<std::string> SubItems;
    int ImageIndex = -1;
};

class TRemoteListView : public TListView {
public:
    explicit TRemoteListView(TWinControl* parent);

    void AddColumn(const std::string& caption, int width);
    // Only the details view knows column widths; the others keep the last known.
    int ColumnWidth(int i) const;
    void SetColumnWidth(int i, int w);

    // Rows in the window's order; SetRows puts rows in as given, none selected.
    void SetRows(std::vector<TRemoteRow> rows);
    void Clear() { SetRows({}); }
    int Count() const { return static_cast<int>(rows_.size()); }
    TRemoteRow Row(int i) const;
    void SetCaption(int i, const std::string& s);

    bool Selected(int i) const;
    void SetSelected(int i, bool s);
    // Row i alone selected (and focused).
    void SelectOnly(int i);
    int SelCount() const { return TListView::SelCount(); }
    std::vector<int> SelectedRows() const;
    void SelectAll();

    TRemoteViewStyle ViewStyle() const { return static_cast<TRemoteViewStyle>(TListView::ViewStyle()); }
    void SetViewStyle(TRemoteViewStyle s);
    void SetImages(TImageList* small, TImageList* large);

    // Starts in-place editing of row i's caption; the edit box, or null.
    HWND EditCaption(int i);
    // An in-place edit was accepted: row and the new text (the row shows it).
    std::function<void(int row, std::string& text)> OnRowEdited;

    // A right click (or the menu key) asks for the pop-up menu at this screen point.
    std::function<void(POINT)> OnContextMenu;
    bool HandleMessage(TMessage& m) override;
    bool Notify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    void SetState(int i, UINT state, UINT mask);
    int FindByPrefix(const std::string& prefix, int start, bool wrap) const;
    std::vector<int> widths_;
    std::vector<TRemoteRow> rows_;
    std::string text_;                // what the last text request handed out
    std::vector<int> keptSelection_;  // across a window made anew
};
