#include "Splitter.h"

#include <algorithm>

TSplitter::TSplitter(TWinControl* parent) : TWinControl(parent) {
    SetBounds(0, 0, 3, 3);
    SetAlign(alLeft);
}

TWinControl* TSplitter::Neighbour() const {
    // Aligned controls of one kind are placed in list order, so the visible
    // one listed last before the splitter is the one beside it.
    TWinControl* p = Parent();
    TWinControl* found = nullptr;
    for (int i = 0; p && i < p->ControlCount(); ++i) {
        TWinControl* c = p->Controls(i);
        if (c == this) return found;
        if (c->Visible() && c->Align() == Align()) found = c;
    }
    return nullptr;
}

bool TSplitter::SetNeighbourSize(int size) {
    TWinControl* n = Neighbour();
    if (!n) return false;
    // The room the parent has for the neighbour: its own size now plus what
    // the filling control has beyond MinSize.
    int free = 0;
    TWinControl* p = Parent();
    for (int i = 0; i < p->ControlCount(); ++i) {
        TWinControl* c = p->Controls(i);
        if (c->Align() == alClient && c->Visible()) free = (Horizontal() ? c->Width() : c->Height()) - MinSize;
    }
    const int current = Horizontal() ? n->Width() : n->Height();
    // Before the parent has a window its children are not placed yet: only the minimum holds.
    const int most = p->HandleAllocated() ? std::max(MinSize, current + free) : std::max(MinSize, size);
    size = std::clamp(size, MinSize, most);
    if (Horizontal())
        n->SetBounds(n->Left(), n->Top(), size, n->Height());
    else
        n->SetBounds(n->Left(), n->Top(), n->Width(), size);
    return true;
}

bool TSplitter::MouseDown(TMouseButton button, TShiftState, int x, int y) {
    if (button != mbLeft) return false;
    dragged_ = Neighbour();
    if (!dragged_) return true;
    startPos_ = Along(x, y);
    startSize_ = Horizontal() ? dragged_->Width() : dragged_->Height();
    SetCapture(Handle());
    return true;
}

bool TSplitter::MouseMove(TShiftState, int x, int y) {
    if (!dragged_ || dragged_ != Neighbour()) return false;
    // Moving towards the neighbour's far side shrinks it.
    const int delta = Along(x, y) - startPos_;
    const bool grows = Align() == alLeft || Align() == alTop;
    SetNeighbourSize(startSize_ + (grows ? delta : -delta));
    return true;
}

bool TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft || !dragged_) return false;
    MouseMove(shift, x, y);
    dragged_ = nullptr;
    if (GetCapture() == Handle()) ReleaseCapture();
    if (OnMoved) OnMoved(this);
    return true;
}

bool TSplitter::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_SETCURSOR:
            SetCursor(LoadCursor(nullptr, Horizontal() ? IDC_SIZEWE : IDC_SIZENS));
            m.Result = TRUE;
            return true;
        case WM_CAPTURECHANGED:
            dragged_ = nullptr;
            return false;
        default:
            return false;
    }
}
