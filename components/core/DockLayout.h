// What a dock bar decides about the tool windows in it: their rows and
// positions, the row thicknesses, and the dock's own thickness. The dock
// window forwards to this and applies the results. No platform headers.
#pragma once

#include <vector>

enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };

struct TBarBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

inline bool operator==(const TBarBounds& a, const TBarBounds& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

// A tool window as its dock sees it.
class TDockedBar {
public:
    virtual ~TDockedBar() = default;

    int DockRow = 0;
    int DockPos = 0;        // distance along the row
    bool FillsRow = false;  // takes the whole row

    // Length along the row: width in a horizontal dock, height in a vertical one.
    virtual int RowExtent(bool Vertical) const = 0;
    // Docked thickness across the row for the dock kind (1 horizontal, 2 vertical).
    virtual int DockedBaseSize(int DockKind) const = 0;
    // Bounds in the dock's client area. The window knows the dock is moving it.
    virtual void SetDockedBounds(const TBarBounds& Bounds) = 0;
};

class TDockLayout {
public:
    explicit TDockLayout(TDockPosition Position = dpTop) : Position(Position) {}

    TDockPosition Position;
    bool FixAlign = false;       // an empty dock stays 1 pixel thick
    bool LimitToOneRow = false;  // every window in row 0
    bool Designing = false;
    bool Loading = false;
    int ClientLength = 0;  // client width of a horizontal dock, height of a vertical one
    std::vector<TDockedBar*> DockList;  // in layout order

    // 1 for a top or bottom dock, 2 for a left or right one.
    int GetDockKind() const { return Vertical() ? 2 : 1; }
    bool Vertical() const { return Position == dpLeft || Position == dpRight; }

    void BeginUpdate() { ++arrangeLock_; }
    // Arranges when the last lock goes and an arrange was put off.
    void EndUpdate();
    bool ArrangeNeeded() const { return arrangeNeeded_; }

    // Rows, positions and bounds of every window; false when put off
    // (locked or loading).
    bool ArrangeToolbars();
    // The summed rows (each with a 4-pixel gap) after the last arrange.
    int Thickness() const { return thickness_; }
    const std::vector<int>& RowSizes() const { return rowSizes_; }
    // The dock's bounds in its parent after it grew or shrank across its edge
    // to Thickness() plus NonClient, keeping the edge it is aligned to.
    TBarBounds ResizedBounds(const TBarBounds& Current, int NonClient) const;

    // Inserting takes the window out and appends it again when Force or
    // designing; removing takes it out. True (after arranging) when the list changed.
    bool InsertRemoveBar(TDockedBar* Bar, bool Inserting, bool Force);

    // The row at a coordinate across the dock while dragging; NewRow asks
    // for a new row before Row.
    void RowAt(int Coordinate, int& Row, bool& NewRow) const;
    int RowContaining(int Coordinate) const;
    int CountInRow(int Row, const TDockedBar* Except) const;
    void ShiftRowsFrom(int Row);
    int HighestRow() const;

private:
    void CloseBlankRows();
    void SplitFilledRows();
    void PullBackOverflow();
    void Place();

    int arrangeLock_ = 0;
    bool arrangeNeeded_ = false;
    int thickness_ = 0;
    std::vector<int> rowSizes_;
};

// The row a window dropped at Coordinate (across the dock) takes: RowAt's
// answer, a new row opened before it on request, and after it for a window
// that fills its row and would otherwise share it. Rows are shifted to make room.
int DropRow(TDockLayout& Dock, const TDockedBar* Bar, int Coordinate);

// The area around a dock where a dragged window docks: the dock widened by
// 32 pixels along x and 20 along y, shared between the sides by where the
// window was grabbed: a window grabbed at its left end hangs right of the
// cursor, so the zone reaches farther left (and likewise for the other sides).
TBarBounds DragTolerance(const TBarBounds& Dock, int GrabX, int GrabY, int Width, int Height);

// A floating window dragged to Window stays within reach: it overlaps the work
// area shrunk by Frame + 4 on every side, and its top lies no higher than the
// work area's top + 4 - Frame - Caption (the caption's lower part stays on it).
TBarBounds KeepFloatingReachable(TBarBounds Window, const TBarBounds& WorkArea, int Frame, int Caption);
// The point moved onto the area (its right and bottom edges excluded).
void ClampToArea(int& X, int& Y, const TBarBounds& Area);

// 0 for no dock (floating), else the dock's kind.
inline int GetDockKind(const TDockLayout* Dock) { return Dock ? Dock->GetDockKind() : 0; }
