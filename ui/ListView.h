// The platform's list view with items and columns as objects. Texts and
// images stay in the items and the window asks for them (callback items), so
// an item changed in code shows at once and sorting never copies strings.
#pragma once

#include <memory>

#include "Control.h"
#include "ImgList.h"

void InitCommonControlsOnce();

class TListView;
class TListItem;

// Sub-item texts of one item (column 1 onwards).
class TSubItems {
public:
    int Count() const { return static_cast<int>(strings_.size()); }
    const std::string& Strings(int i) const;
    void SetStrings(int i, const std::string& s);
    int Add(const std::string& s);
    void Clear();

private:
    friend class TListItem;
    explicit TSubItems(TListItem& item) : item_(item) {}
    TListItem& item_;
    std::vector<std::string> strings_;
};

class TListItem {
public:
    TListView* ListView() const { return view_; }
    // The row in the window's present order; -1 when not in the list.
    int Index() const;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s);
    TSubItems& SubItems() { return subItems_; }
    const TSubItems& SubItems() const { return subItems_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    bool Selected() const;
    void SetSelected(bool s);
    bool Focused() const;
    void SetFocused(bool f);
    // The caller's own value for the row.
    void* Data = nullptr;
    // Starts editing the caption in place (the list view must allow it).
    void EditCaption();
    void MakeVisible();
    // Removes the row and frees the item.
    void Delete();
    // Repaints the row from the item.
    void Update();

private:
    friend class TListView;
    friend class TSubItems;
    explicit TListItem(TListView* view) : view_(view), subItems_(*this) {}
    TListView* view_;
    std::string caption_;
    TSubItems subItems_;
    int imageIndex_ = -1;
    bool selected_ = false;  // kept while the window is made again
};

enum TAlignmentText { taLeft, taRight, taCenterText };

class TListColumn {
public:
    int Index() const { return index_; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s);
    // The width shown now (the user may have dragged it).
    int Width() const;
    void SetWidth(int w);
    TAlignmentText Alignment() const { return alignment_; }
    void SetAlignment(TAlignmentText a);

private:
    friend class TListView;
    TListColumn(TListView* view, int index) : view_(view), index_(index) {}
    void Apply() const;
    TListView* view_;
    int index_;
    std::string caption_;
    int width_ = 50;
    TAlignmentText alignment_ = taLeft;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemStates : unsigned { isNone = 0, isSelected = 1, isFocused = 2, isDropHilited = 4, isCut = 8 };
enum TItemChange { ctText, ctImage, ctState };

using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;

class TListView : public TWinControl {
public:
    explicit TListView(TWinControl* parent);
    ~TListView() override;

    // ---- items, in the window's order
    int ItemCount() const;
    TListItem* Items(int i) const;
    TListItem* AddItem();
    TListItem* InsertItem(int index);
    void DeleteItem(int i);
    void Clear();
    // Within an update the window neither repaints nor sorts.
    void BeginUpdate();
    void EndUpdate();

    // ---- columns
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TListColumn* Columns(int i) const { return columns_.at(static_cast<size_t>(i)).get(); }
    TListColumn* AddColumn(const std::string& caption = "", int width = 50);
    void ClearColumns();

    // ---- selection
    // The first selected item, or null; setting selects only that item.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    TListItem* ItemFocused() const;
    // The next item after start (null: from the first) with all the states.
    TListItem* GetNextItem(TListItem* start, TSearchDirection direction, unsigned states) const;
    TListItem* GetItemAt(int x, int y) const;
    bool IsEditing() const;

    // ---- appearance and behaviour
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool m);
    // No caption editing in place.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool r);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool r);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool h);
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* list);
    TImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TImageList* list);

    // ---- order
    TSortType SortType() const { return sortType_; }
    // Anything but stNone keeps the items sorted (after adding, renaming, an update).
    void SetSortType(TSortType t);
    // Sorts once by OnCompare, or else by caption (data for stData).
    void AlphaSort();
    using TCompareFunction = std::function<int(TListItem* a, TListItem* b)>;
    void CustomSort(const TCompareFunction& compare);

    TLVCompareEvent OnCompare;
    TLVColumnClickEvent OnColumnClick;
    TLVSelectItemEvent OnSelectItem;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;

    bool Notify(NMHDR* header, LRESULT& result) override;
    bool DblClick(TMouseButton button, TShiftState shift, int x, int y) override;
    bool HandleMessage(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    friend class TListItem;
    friend class TListColumn;
    friend class TSubItems;
    int IndexOf(const TListItem* item) const;
    void InsertRow(TListItem* item, int index);
    void ItemChanged(TListItem* item, bool reorder);
    void SortIfWanted();
    void SaveWindowState();
    void ApplyStyle();
    void ApplyImages();
    bool GetDispInfo(NMLVDISPINFOA& info);
    bool EndLabelEdit(NMLVDISPINFOA& info, LRESULT& result);
    std::vector<std::unique_ptr<TListItem>> items_;  // in window order once saved
    std::vector<std::unique_ptr<TListColumn>> columns_;
    std::string textBuffer_;  // what the last text callback handed out
    TViewStyle viewStyle_ = vsIcon;
    TSortType sortType_ = stNone;
    bool multiSelect_ = false, readOnly_ = false, rowSelect_ = false, hideSelection_ = true;
    int updates_ = 0;
    bool sortPending_ = false;
    TImageList* smallImages_ = nullptr;
    TImageList* largeImages_ = nullptr;
};
