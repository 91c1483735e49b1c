#include "components/Edit97.h"

TEdit97::TEdit97(TWinControl* parent) : TEdit(parent) { SetBounds(0, 0, 121, 19); }

void TEdit97::CreateParams(TCreateParams& p) {
    TEdit::CreateParams(p);
    p.WinClassName = "QfEdit97";
    p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
}

void TEdit97::WndCreated() {
    TEdit::WndCreated();
    // Disabled before the window existed: no WM_ENABLE came to set the colour.
    if (!Enabled()) SetColor(clBtnFace);
    AdjustHeight();
    // The frame width changed after creation: have the non-client area measured again.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void TEdit97::AdjustHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), Width(), tm.tmHeight + 6);
}

bool TEdit97::HotLook() const {
    if (Focused()) return true;
    if (!mouseIn_) return false;
    // Another flat edit holding the focus keeps this one flat.
    TWinControl* active = TWinControl::FromHandle(GetFocus());
    return dynamic_cast<TEdit97*>(active) == nullptr;
}

void TEdit97::DrawFrame(HDC dc, int w, int h, bool hot) {
    RECT r{0, 0, w, h};
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE), window = GetSysColorBrush(COLOR_WINDOW);
    if (hot) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        RECT col{r.left, r.top, r.left + 1, r.bottom - 1}, row{r.left, r.top, r.right - 1, r.top + 1};
        FillRect(dc, &col, face);
        FillRect(dc, &row, face);
        DrawEdge(dc, &r, BDR_SUNKENINNER, BF_BOTTOMRIGHT);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, window);
    } else {
        FrameRect(dc, &r, face);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, face);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, window);
    }
}

void TEdit97::Redraw() {
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(Handle());
    RECT wr;
    GetWindowRect(Handle(), &wr);
    DrawFrame(dc, wr.right - wr.left, wr.bottom - wr.top, HotLook());
    ReleaseDC(Handle(), dc);
}

bool TEdit97::MouseMove(TShiftState shift, int x, int y) {
    if (!mouseIn_) {
        mouseIn_ = true;
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&t);
        Redraw();
    }
    return TEdit::MouseMove(shift, x, y);
}

void TEdit97::FocusChanged(bool gained) {
    TEdit::FocusChanged(gained);
    Redraw();
}

bool TEdit97::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        RECT* r = reinterpret_cast<RECT*>(m.LParam);  // first rectangle of either form
        InflateRect(r, -3, -3);
        m.Result = 0;
        return true;
    }
    case WM_NCPAINT:
        Redraw();
        m.Result = 0;
        return true;
    case WM_MOUSELEAVE:
        mouseIn_ = false;
        Redraw();
        return false;
    case WM_ENABLE:
        SetColor(m.WParam ? clWindow : clBtnFace);
        return false;
    case WM_SETFONT:
        m.Result = DefaultHandler(m);
        AdjustHeight();
        return true;
    default:
        return false;
    }
}
