#include "components/core/DockLayout.h"

#include <algorithm>

namespace {
const int kFarPos = 1 << 24;
}  // namespace

void TDockLayout::EndUpdate() {
    if (arrangeLock_ > 0) --arrangeLock_;
    if (arrangeLock_ == 0 && arrangeNeeded_) ArrangeToolbars();
}

int TDockLayout::HighestRow() const {
    int highest = -1;
    for (const TDockedBar* b : DockList) highest = std::max(highest, b->DockRow);
    return highest;
}

int TDockLayout::CountInRow(int Row, const TDockedBar* Except) const {
    int n = 0;
    for (const TDockedBar* b : DockList)
        if (b != Except && b->DockRow == Row) ++n;
    return n;
}

void TDockLayout::ShiftRowsFrom(int Row) {
    for (TDockedBar* b : DockList)
        if (b->DockRow >= Row) ++b->DockRow;
}

// Every blank row closes up, however many follow one another: the rows in
// use are numbered again from 0 in their order.
void TDockLayout::CloseBlankRows() {
    std::vector<int> used;
    for (const TDockedBar* b : DockList) used.push_back(b->DockRow);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (TDockedBar* b : DockList)
        b->DockRow = static_cast<int>(std::lower_bound(used.begin(), used.end(), b->DockRow) - used.begin());
}

// A window that fills its row gets the row to itself; then no window starts
// before the end of the one before it in its row.
void TDockLayout::SplitFilledRows() {
    const bool vertical = Vertical();
    for (int i = 0; i <= HighestRow(); ++i) {
        int end = 0;
        for (TDockedBar* b : DockList) {
            if (b->DockRow != i) continue;
            if (b->FillsRow && CountInRow(i, b) > 0)
                for (TDockedBar* o : DockList)
                    if (o != b && o->DockRow >= i) ++o->DockRow;
            b->DockPos = std::max(b->DockPos, end);
            end = b->DockPos + b->RowExtent(vertical);
        }
    }
}

// A row that runs past the client length moves back by its overhang.
void TDockLayout::PullBackOverflow() {
    const bool vertical = Vertical();
    for (size_t k = 0; k < DockList.size(); ++k) {
        TDockedBar* b = DockList[k];
        if (b->FillsRow) b->DockPos = 0;
        for (size_t m = DockList.size(); m-- > k;) {
            TDockedBar* o = DockList[m];
            if (o->DockRow != b->DockRow) continue;
            int over = o->DockPos + o->RowExtent(vertical) - ClientLength;
            if (over > 0) {
                b->DockPos -= over;
                break;
            }
        }
    }
}

void TDockLayout::Place() {
    const bool vertical = Vertical();
    int offset = 0;
    for (int i = 0; i < static_cast<int>(rowSizes_.size()); ++i) {
        int start = 0;
        for (TDockedBar* b : DockList) {
            if (b->DockRow != i) continue;
            b->DockPos = std::max(b->DockPos, start);
            int extent = b->RowExtent(vertical);
            int along = b->FillsRow ? ClientLength : extent;
            TBarBounds r;
            if (vertical)
                r = {offset, b->DockPos, rowSizes_[static_cast<size_t>(i)], along};
            else
                r = {b->DockPos, offset, along, rowSizes_[static_cast<size_t>(i)]};
            b->SetDockedBounds(r);
            start = b->DockPos + extent;
        }
        offset += rowSizes_[static_cast<size_t>(i)] + 4;
    }
    thickness_ = offset;
}

bool TDockLayout::ArrangeToolbars() {
    if (arrangeLock_ > 0 || Loading) {
        arrangeNeeded_ = true;
        return false;
    }
    ++arrangeLock_;
    struct Release {
        TDockLayout& d;
        ~Release() {
            --d.arrangeLock_;
            d.arrangeNeeded_ = false;
        }
    } release{*this};

    rowSizes_.clear();
    if (DockList.empty()) {
        thickness_ = Designing ? 9 : FixAlign ? 1 : 0;
        return true;
    }
    std::stable_sort(DockList.begin(), DockList.end(), [](const TDockedBar* a, const TDockedBar* b) {
        return a->DockRow != b->DockRow ? a->DockRow < b->DockRow : a->DockPos < b->DockPos;
    });
    for (TDockedBar* b : DockList) {
        // Stored layouts can hold anything: keep rows and positions where sums cannot overflow.
        b->DockRow = LimitToOneRow ? 0 : std::max(b->DockRow, 0);
        b->DockPos = std::min(std::max(b->DockPos, -kFarPos), kFarPos);
    }
    CloseBlankRows();
    SplitFilledRows();
    const int kind = GetDockKind();
    rowSizes_.assign(static_cast<size_t>(HighestRow() + 1), 8);
    for (const TDockedBar* b : DockList) {
        int& size = rowSizes_[static_cast<size_t>(b->DockRow)];
        size = std::max(size, b->DockedBaseSize(kind));
    }
    PullBackOverflow();
    Place();
    return true;
}

TBarBounds TDockLayout::ResizedBounds(const TBarBounds& Current, int NonClient) const {
    TBarBounds r = Current;
    const int size = thickness_ + NonClient;
    switch (Position) {
        case dpTop: r.Height = size; break;
        case dpLeft: r.Width = size; break;
        case dpBottom:
            r.Top = Current.Top + Current.Height - size;
            r.Height = size;
            break;
        case dpRight:
            r.Left = Current.Left + Current.Width - size;
            r.Width = size;
            break;
    }
    return r;
}

bool TDockLayout::InsertRemoveBar(TDockedBar* Bar, bool Inserting, bool Force) {
    auto it = std::find(DockList.begin(), DockList.end(), Bar);
    bool changed = false;
    if (it != DockList.end()) {
        DockList.erase(it);
        changed = true;
    }
    if (Inserting && (Force || Designing)) {
        DockList.push_back(Bar);
        changed = true;
    }
    if (changed) ArrangeToolbars();
    return changed;
}

void TDockLayout::RowAt(int Coordinate, int& Row, bool& NewRow) const {
    Row = 0;
    NewRow = false;
    int start = 0;
    const int last = static_cast<int>(rowSizes_.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        Row = i;
        if (Coordinate <= start + 5) {
            NewRow = true;
            return;
        }
        int end = start + rowSizes_[static_cast<size_t>(i)] + 4;
        if (i == last || Coordinate <= end - 5) return;
        start = end;
    }
}

int TDockLayout::RowContaining(int Coordinate) const {
    int end = 0;
    const int count = static_cast<int>(rowSizes_.size());
    for (int i = 0; i < count; ++i) {
        end += rowSizes_[static_cast<size_t>(i)] + 4;
        if (end > Coordinate) return i;
    }
    return count > 0 ? count - 1 : 0;
}

int DropRow(TDockLayout& Dock, const TDockedBar* Bar, int Coordinate) {
    int row = 0;
    bool newRow = false;
    Dock.RowAt(Coordinate, row, newRow);
    if (!newRow && Bar->FillsRow && Dock.CountInRow(row, Bar) > 0) {
        ++row;
        newRow = true;
    }
    if (newRow) Dock.ShiftRowsFrom(row);
    return row;
}

TBarBounds DragTolerance(const TBarBounds& Dock, int GrabX, int GrabY, int Width, int Height) {
    // The share of each side follows the grab point's place in the window.
    auto share = [](int total, int grab, int size) {
        if (size <= 1) return total / 2;
        grab = grab < 0 ? 0 : grab > size - 1 ? size - 1 : grab;
        return static_cast<int>(static_cast<long long>(total) * grab / (size - 1));
    };
    const int right = share(32, GrabX, Width), bottom = share(20, GrabY, Height);
    const int left = 32 - right, top = 20 - bottom;
    return {Dock.Left - left, Dock.Top - top, Dock.Width + left + right, Dock.Height + top + bottom};
}

TBarBounds KeepFloatingReachable(TBarBounds w, const TBarBounds& a, int Frame, int Caption) {
    const int inset = Frame + 4;
    const int left = a.Left + inset, top = a.Top + inset;
    const int right = a.Left + a.Width - inset, bottom = a.Top + a.Height - inset;
    if (w.Left + w.Width <= left) w.Left = left - w.Width + 1;
    if (w.Left >= right) w.Left = right - 1;
    if (w.Top + w.Height <= top) w.Top = top - w.Height + 1;
    if (w.Top >= bottom) w.Top = bottom - 1;
    const int highest = a.Top + 4 - Frame - Caption;
    if (w.Top < highest) w.Top = highest;
    return w;
}

void ClampToArea(int& X, int& Y, const TBarBounds& Area) {
    X = std::max(Area.Left, std::min(X, Area.Left + Area.Width - 1));
    Y = std::max(Area.Top, std::min(Y, Area.Top + Area.Height - 1));
}
