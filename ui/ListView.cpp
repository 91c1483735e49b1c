#include "ListView.h"

#include <algorithm>
#include <exception>

#include "runtime/core/SysUtils.h"

void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

namespace {

struct TSortContext {
    const TListView::TCompareFunction* compare;
    std::exception_ptr error;
};

int CALLBACK SortProc(LPARAM a, LPARAM b, LPARAM context) {
    auto* c = reinterpret_cast<TSortContext*>(context);
    if (c->error) return 0;
    try {
        return (*c->compare)(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
    } catch (...) {
        // Not through the list view's own code: rethrown when the sort returns.
        c->error = std::current_exception();
        return 0;
    }
}

}  // namespace

// ---- TSubItems and TListItem

const std::string& TSubItems::Strings(int i) const {
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
    return strings_[static_cast<size_t>(i)];
}

void TSubItems::SetStrings(int i, const std::string& s) {
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
    strings_[static_cast<size_t>(i)] = s;
    if (item_.view_) item_.view_->ItemChanged(&item_, true);
}

int TSubItems::Add(const std::string& s) {
    strings_.push_back(s);
    if (item_.view_) item_.view_->ItemChanged(&item_, true);
    return Count() - 1;
}

void TSubItems::Clear() {
    strings_.clear();
    if (item_.view_) item_.view_->ItemChanged(&item_, true);
}

int TListItem::Index() const { return view_->IndexOf(this); }

void TListItem::SetCaption(const std::string& s) {
    caption_ = s;
    view_->ItemChanged(this, true);
}

void TListItem::SetImageIndex(int i) {
    imageIndex_ = i;
    view_->ItemChanged(this, false);
}

bool TListItem::Selected() const {
    const int i = Index();
    return i >= 0 && view_->Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool s) {
    selected_ = s;
    const int i = Index();
    if (i < 0) return;  // -1 would address every row
    LVITEMA lvi{};
    lvi.stateMask = LVIS_SELECTED;
    lvi.state = s ? LVIS_SELECTED : 0;
    view_->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lvi));
}

bool TListItem::Focused() const {
    const int i = Index();
    return i >= 0 && view_->Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool f) {
    const int i = Index();
    if (i < 0) return;
    LVITEMA lvi{};
    lvi.stateMask = LVIS_FOCUSED;
    lvi.state = f ? LVIS_FOCUSED : 0;
    view_->Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lvi));
}

void TListItem::EditCaption() {
    const int i = Index();
    if (i < 0) return;
    view_->SetFocus();
    view_->Perform(LVM_EDITLABELA, static_cast<WPARAM>(i));
}

void TListItem::MakeVisible() {
    if (const int i = Index(); i >= 0) view_->Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
}

void TListItem::Delete() { view_->DeleteItem(Index()); }

void TListItem::Update() {
    if (const int i = Index(); i >= 0) view_->Perform(LVM_UPDATE, static_cast<WPARAM>(i));
}

// ---- TListColumn

void TListColumn::Apply() const {
    if (!view_->HandleAllocated()) return;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = alignment_ == taRight ? LVCFMT_RIGHT : alignment_ == taCenterText ? LVCFMT_CENTER : LVCFMT_LEFT;
    col.cx = width_;
    col.pszText = const_cast<char*>(caption_.c_str());
    view_->Perform(LVM_SETCOLUMNA, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&col));
}

void TListColumn::SetCaption(const std::string& s) {
    caption_ = s;
    Apply();
}

int TListColumn::Width() const {
    if (!view_->HandleAllocated()) return width_;
    return static_cast<int>(view_->Perform(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index_)));
}

void TListColumn::SetWidth(int w) {
    width_ = w;
    Apply();
}

void TListColumn::SetAlignment(TAlignmentText a) {
    alignment_ = a;
    Apply();
}

// ---- TListView: window

TListView::TListView(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
    BeginDestroy();
    // The rows point at the items, which go before the window does.
    if (HandleAllocated()) Perform(LVM_DELETEALLITEMS);
}

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = WC_LISTVIEWA;
    p.WinClassName = "QfListView";
    p.Style |= WS_TABSTOP | LVS_SHAREIMAGELISTS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::ApplyStyle() {
    if (!HandleAllocated()) return;
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    const DWORD mask = LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SHOWSELALWAYS;
    DWORD style = kViews[viewStyle_];
    if (!multiSelect_) style |= LVS_SINGLESEL;
    if (!readOnly_) style |= LVS_EDITLABELS;
    if (!hideSelection_) style |= LVS_SHOWSELALWAYS;
    const LONG_PTR old = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, (old & ~static_cast<LONG_PTR>(mask)) | static_cast<LONG_PTR>(style));
    Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
}

void TListView::ApplyImages() {
    if (!HandleAllocated()) return;
    Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_ ? smallImages_->Handle() : nullptr));
    Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages_ ? largeImages_->Handle() : nullptr));
}

void TListView::WndCreated() {
    ApplyStyle();
    ApplyImages();
    for (auto& c : columns_) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH;
        col.cx = c->width_;
        Perform(LVM_INSERTCOLUMNA, static_cast<WPARAM>(c->index_), reinterpret_cast<LPARAM>(&col));
        c->Apply();
    }
    // Rows again after the window was made anew, in their last order.
    for (size_t i = 0; i < items_.size(); ++i) {
        InsertRow(items_[i].get(), static_cast<int>(i));
        if (items_[i]->selected_) items_[i]->SetSelected(true);
    }
}

void TListView::SaveWindowState() {
    const int n = static_cast<int>(Perform(LVM_GETITEMCOUNT));
    std::vector<std::unique_ptr<TListItem>> ordered;
    for (int i = 0; i < n; ++i) {
        TListItem* item = Items(i);
        auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
        if (it == items_.end()) continue;
        item->selected_ = item->Selected();
        ordered.push_back(std::move(*it));
        items_.erase(it);
    }
    for (auto& rest : items_) ordered.push_back(std::move(rest));
    items_ = std::move(ordered);
    for (auto& c : columns_) c->width_ = c->Width();
}

bool TListView::HandleMessage(TMessage& m) {
    if (m.Msg == WM_DESTROY && !Destroying()) SaveWindowState();
    return false;
}

void TListView::Notification(TComponent* c, TOperation op) {
    if (op != opRemove) return;
    if (c == smallImages_) smallImages_ = nullptr;
    if (c == largeImages_) largeImages_ = nullptr;
    ApplyImages();
}

// ---- items

int TListView::ItemCount() const { return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0)); }

TListItem* TListView::Items(int i) const {
    LVITEMA lvi{};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = i;
    if (i < 0 || !SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi)))
        throw Exception(Format("List index out of bounds (%d)", i));
    return reinterpret_cast<TListItem*>(lvi.lParam);
}

int TListView::IndexOf(const TListItem* item) const {
    if (!HandleAllocated()) return -1;
    LVFINDINFOA fi{};
    fi.flags = LVFI_PARAM;
    fi.lParam = reinterpret_cast<LPARAM>(item);
    return static_cast<int>(SendMessageA(Handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)));
}

void TListView::InsertRow(TListItem* item, int index) {
    LVITEMA lvi{};
    lvi.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lvi.iItem = index;
    lvi.pszText = LPSTR_TEXTCALLBACKA;
    lvi.iImage = I_IMAGECALLBACK;
    lvi.lParam = reinterpret_cast<LPARAM>(item);
    if (Perform(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)) < 0) throw Exception("Cannot add a list item");
}

TListItem* TListView::AddItem() { return InsertItem(ItemCount()); }

TListItem* TListView::InsertItem(int index) {
    index = std::max(0, std::min(index, ItemCount()));
    items_.push_back(std::unique_ptr<TListItem>(new TListItem(this)));
    TListItem* item = items_.back().get();
    try {
        InsertRow(item, index);
    } catch (...) {
        items_.pop_back();
        throw;
    }
    return item;
}

void TListView::DeleteItem(int i) {
    TListItem* item = Items(i);
    Perform(LVM_DELETEITEM, static_cast<WPARAM>(i));
    items_.erase(std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; }));
}

void TListView::Clear() {
    if (HandleAllocated()) Perform(LVM_DELETEALLITEMS);
    items_.clear();
}

void TListView::BeginUpdate() {
    if (updates_++ == 0 && HandleAllocated()) Perform(WM_SETREDRAW, FALSE);
}

void TListView::EndUpdate() {
    if (updates_ == 0 || --updates_ > 0) return;
    if (sortPending_) AlphaSort();
    if (HandleAllocated()) {
        Perform(WM_SETREDRAW, TRUE);
        Invalidate();
    }
}

void TListView::ItemChanged(TListItem* item, bool reorder) {
    if (!HandleAllocated() || Destroying()) return;
    // Within an update nothing repaints, so the row need not be found (a
    // search over every row: filling a big list would take quadratic time).
    if (updates_ > 0) {
        if (reorder) SortIfWanted();
        return;
    }
    const int i = IndexOf(item);
    if (i < 0) return;
    Perform(LVM_UPDATE, static_cast<WPARAM>(i));
    if (reorder) SortIfWanted();
}

// ---- columns

TListColumn* TListView::AddColumn(const std::string& caption, int width) {
    columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(this, ColumnCount())));
    TListColumn* c = columns_.back().get();
    c->caption_ = caption;
    c->width_ = width;
    if (HandleAllocated()) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH;
        col.cx = width;
        Perform(LVM_INSERTCOLUMNA, static_cast<WPARAM>(c->index_), reinterpret_cast<LPARAM>(&col));
        c->Apply();
    }
    return c;
}

void TListView::ClearColumns() {
    if (HandleAllocated())
        for (int i = ColumnCount() - 1; i >= 0; --i) Perform(LVM_DELETECOLUMN, static_cast<WPARAM>(i));
    columns_.clear();
}

// ---- selection

TListItem* TListView::GetNextItem(TListItem* start, TSearchDirection direction, unsigned states) const {
    static const UINT kDirections[] = {LVNI_TOLEFT, LVNI_TORIGHT, LVNI_ABOVE, LVNI_BELOW, LVNI_ALL};
    UINT flags = kDirections[direction];
    if (states & isSelected) flags |= LVNI_SELECTED;
    if (states & isFocused) flags |= LVNI_FOCUSED;
    if (states & isDropHilited) flags |= LVNI_DROPHILITED;
    if (states & isCut) flags |= LVNI_CUT;
    const int from = start ? IndexOf(start) : -1;
    const int i = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(from), flags));
    return i >= 0 ? Items(i) : nullptr;
}

TListItem* TListView::Selected() const { return GetNextItem(nullptr, sdAll, isSelected); }

void TListView::SetSelected(TListItem* item) {
    LVITEMA lvi{};
    lvi.stateMask = LVIS_SELECTED;
    Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&lvi));
    if (!item) return;
    item->SetSelected(true);
    item->SetFocused(true);
}

int TListView::SelCount() const { return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)); }

TListItem* TListView::ItemFocused() const { return GetNextItem(nullptr, sdAll, isFocused); }

TListItem* TListView::GetItemAt(int x, int y) const {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    const int i = static_cast<int>(SendMessageA(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return i >= 0 && (hit.flags & LVHT_ONITEM) ? Items(i) : nullptr;
}

bool TListView::IsEditing() const {
    return HandleAllocated() && SendMessageA(Handle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

// ---- appearance

void TListView::SetViewStyle(TViewStyle v) {
    viewStyle_ = v;
    ApplyStyle();
}
void TListView::SetMultiSelect(bool m) {
    multiSelect_ = m;
    ApplyStyle();
}
void TListView::SetReadOnly(bool r) {
    readOnly_ = r;
    ApplyStyle();
}
void TListView::SetRowSelect(bool r) {
    rowSelect_ = r;
    ApplyStyle();
}
void TListView::SetHideSelection(bool h) {
    hideSelection_ = h;
    ApplyStyle();
}

void TListView::SetSmallImages(TImageList* list) {
    if (smallImages_ && smallImages_ != largeImages_) RemoveFreeNotification(smallImages_);
    smallImages_ = list;
    if (list) FreeNotification(list);
    ApplyImages();
}

void TListView::SetLargeImages(TImageList* list) {
    if (largeImages_ && largeImages_ != smallImages_) RemoveFreeNotification(largeImages_);
    largeImages_ = list;
    if (list) FreeNotification(list);
    ApplyImages();
}

// ---- order

void TListView::SetSortType(TSortType t) {
    sortType_ = t;
    SortIfWanted();
}

void TListView::SortIfWanted() {
    if (sortType_ == stNone) return;
    if (updates_ > 0) sortPending_ = true;
    else AlphaSort();
}

void TListView::AlphaSort() {
    sortPending_ = false;
    CustomSort([this](TListItem* a, TListItem* b) {
        if (OnCompare) {
            int result = 0;
            OnCompare(this, a, b, 0, result);
            return result;
        }
        if (sortType_ == stData) return a->Data < b->Data ? -1 : a->Data > b->Data ? 1 : 0;
        return CompareText(a->caption_, b->caption_);
    });
}

void TListView::CustomSort(const TCompareFunction& compare) {
    if (!HandleAllocated()) return;
    TSortContext context{&compare, nullptr};
    Perform(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(SortProc));
    if (context.error) std::rethrow_exception(context.error);
}

// ---- notifications

bool TListView::GetDispInfo(NMLVDISPINFOA& info) {
    auto* item = reinterpret_cast<TListItem*>(info.item.lParam);
    if (!item) return false;
    if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        const int sub = info.item.iSubItem;
        textBuffer_ = sub == 0 ? item->caption_ : sub - 1 < item->subItems_.Count() ? item->subItems_.Strings(sub - 1) : "";
        const size_t n = std::min(textBuffer_.size(), static_cast<size_t>(info.item.cchTextMax - 1));
        textBuffer_.copy(info.item.pszText, n);
        info.item.pszText[n] = '\0';
    }
    if (info.item.mask & LVIF_IMAGE) info.item.iImage = info.item.iSubItem == 0 ? item->imageIndex_ : -1;
    return true;
}

bool TListView::EndLabelEdit(NMLVDISPINFOA& info, LRESULT& result) {
    auto* item = reinterpret_cast<TListItem*>(info.item.lParam);
    result = FALSE;
    if (!item || !info.item.pszText) return true;  // cancelled: nothing changes
    std::string text = info.item.pszText;
    if (OnEdited) OnEdited(this, item, text);
    item->caption_ = text;
    result = TRUE;
    ItemChanged(item, true);
    return true;
}

bool TListView::Notify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case LVN_GETDISPINFOA:
            return GetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(header));
        case LVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            bool allow = !readOnly_;
            if (allow && OnEditing) OnEditing(this, reinterpret_cast<TListItem*>(info->item.lParam), allow);
            result = allow ? FALSE : TRUE;
            return true;
        }
        case LVN_ENDLABELEDITA:
            return EndLabelEdit(*reinterpret_cast<NMLVDISPINFOA*>(header), result);
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
            if (OnColumnClick && column >= 0 && column < ColumnCount()) OnColumnClick(this, Columns(column));
            return true;
        }
        case LVN_ITEMCHANGED: {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
            const bool selectionChanged = (nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED);
            if (selectionChanged && nm->iItem >= 0 && nm->lParam && OnSelectItem)
                OnSelectItem(this, reinterpret_cast<TListItem*>(nm->lParam), (nm->uNewState & LVIS_SELECTED) != 0);
            return false;
        }
        case NM_CLICK:
            DoClick();
            return false;
        case NM_DBLCLK:
            if (OnDblClick) OnDblClick(this);
            return false;
        default:
            return false;
    }
}

bool TListView::DblClick(TMouseButton button, TShiftState shift, int x, int y) {
    // OnDblClick comes with NM_DBLCLK.
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    return false;
}
