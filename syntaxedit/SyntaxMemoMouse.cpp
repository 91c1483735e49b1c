// The editor window's mouse: gutter clicks, the cursor chosen by what lies
// under the mouse, and hyperlink hover and clicks.
#include "SyntaxMemo.h"
#include "SyntaxMemoGutter.h"

namespace {
const int32_t kOleDragSource = 0x2000000;
// How often a selection held outside the text scrolls on.
const UINT kTrackInterval = 50;
}

bool TSyntaxMemo::GutterClick(int x, int y) {
    int32_t left = core_.TextLeft();
    if (left <= 0 || x >= left - core_.Margin()) return false;
    TTextStore& store = core_.Store();
    if (store.LineCount() == 0) return true;
    int32_t line = std::min(core_.TopLine() + std::max(y, 0) / core_.LineHeight(), store.LineCount() - 1);
    if (OnGutterClick) {
        if (core_.Options() & smoWordWrap) line = store.LogicalLineStart(line);
        OnGutterClick(this, line + 1);
    }
    return true;
}

void TSyntaxMemo::Hover(int x, int y) {
    if (!Enabled() || !Visible()) return;
    TSyntaxMemoCore::THover h = core_.HoverAt(x, y, HyperCursor, (core_.Options() & kOleDragSource) != 0);
    if (marginDrag_) h = TSyntaxMemoCore::THover{-14, false, true, dragRight_};  // the split cursor till released
    hyperHover_ = h.Hyperlink;
    // A cursor the program set stays; the listed ones and the handler's own
    // choices (the arrow over a selection among them) change.
    if ((ownCursor_ || memogutter::MayReplaceCursor(cursor_, HyperCursor)) && cursor_ != h.Cursor) {
        cursor_ = h.Cursor;
        ownCursor_ = true;
        ::SetCursor(memogutter::CursorFor(cursor_));
    }
    if (h.Hyperlink && OnHyperlinkHover) OnHyperlinkHover(this);
}

bool TSyntaxMemo::HyperlinkClick(int x, int y) {
    if (!hyperHover_) return false;
    if (!core_.HoverAt(x, y, HyperCursor, false).Hyperlink) return false;
    // The character whose cell was clicked, not the nearest boundary.
    int32_t offset = core_.OffsetOfPoint(x, y, true);
    core_.SetSelection(offset, offset);
    std::string text;
    uint8_t style = 0;
    if (OnHyperlinkClick && core_.HyperlinkAt(offset, text, style)) OnHyperlinkClick(this, text, style);
    return true;
}

// Shift+click: the end of the selection nearer the click moves there.
void TSyntaxMemo::ExtendTo(int32_t offset) {
    auto sel = OrderPair({core_.Anchor(), core_.Caret()});
    if (offset < sel.first) core_.SetSelection(sel.second, offset);
    else core_.SetSelection(sel.first, offset);
}

bool TSyntaxMemo::MarginDrag(int x, int y, int stage) {
    int32_t column = core_.GuideColumnAt(x, y);
    if (stage == 0) {
        TSyntaxMemoCore::THover h = core_.HoverAt(x, y, HyperCursor, false);
        if (!h.Margin) return false;
        marginDrag_ = true;
        dragRight_ = h.RightMargin;
        SetCapture(Handle());
    } else if (!marginDrag_) {
        return false;
    }
    if (stage < 2) {
        core_.DragGuideColumn = column;
    } else {
        marginDrag_ = false;
        core_.DragGuideColumn = -1;
        ReleaseCapture();
        if (dragRight_) core_.SetRightMargin(column);
        else core_.SetWrapAtColumn(column);
    }
    ViewInvalidate();
    return true;
}

void TSyntaxMemo::Track(int x, int y) {
    bool outside = y < 0 || y >= core_.ClientHeight() || x < core_.TextLeft() || x >= core_.ClientWidth();
    if (!outside) return StopTracking();
    trackX_ = x;
    trackY_ = y;
    if (!tracking_ && HandleAllocated()) tracking_ = SetTimer(Handle(), kTrackTimer, kTrackInterval, nullptr) != 0;
}

void TSyntaxMemo::StopTracking() {
    if (tracking_ && HandleAllocated()) KillTimer(Handle(), kTrackTimer);
    tracking_ = false;
}

bool TSyntaxMemo::Timer(UINT_PTR id) {
    if (id != kTrackTimer) return false;
    if (!selecting_ || GetCapture() != Handle()) {
        StopTracking();
        return true;
    }
    // Only while the button is really held (as the last input said): moves
    // that merely report it do their own scrolling.
    if (GetKeyState(VK_LBUTTON) >= 0) return true;
    // One line or column a tick, the selection following.
    core_.SetSelection(core_.Anchor(), core_.DragSelectOffset(trackX_, trackY_));
    PlaceCaret();
    return true;
}
