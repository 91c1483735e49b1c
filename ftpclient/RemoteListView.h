// The remote pane's list: the ui list view with rows given whole (caption,
// sub-items, image) and read back by their place, as the user sees them.
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

    // Rows in the window's order; SetRows puts rows in as given.
    void SetRows(const std::vector<TRemoteRow>& rows);
    void Clear() { SetRows({}); }
    int Count() const { return ItemCount(); }
    TRemoteRow Row(int i) const;
    void SetCaption(int i, const std::string& s) { Items(i)->SetCaption(s); }

    bool Selected(int i) const;
    void SetSelected(int i, bool s);
    int SelCount() const { return TListView::SelCount(); }
    std::vector<int> SelectedRows() const;
    void SelectAll();

    TRemoteViewStyle ViewStyle() const { return static_cast<TRemoteViewStyle>(TListView::ViewStyle()); }
    void SetViewStyle(TRemoteViewStyle s);
    void SetImages(TImageList* small, TImageList* large);

    // Starts in-place editing of row i's caption; the edit box, or null.
    HWND EditCaption(int i);

    // A right click (or the menu key) asks for the pop-up menu at this screen point.
    std::function<void(POINT)> OnContextMenu;
    bool HandleMessage(TMessage& m) override;

private:
    std::vector<int> widths_;
};
