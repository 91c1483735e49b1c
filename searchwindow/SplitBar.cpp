#include "searchwindow/SplitBar.h"

void TSplitBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = vertical_ ? "QfSbfVSplitBar" : "QfSbfHSplitBar";
    p.Cursor = LoadCursor(nullptr, vertical_ ? IDC_SIZEWE : IDC_SIZENS);
}

void TSplitBar::Paint(TCanvas& canvas) {
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    const int a = 5 * BorderWidth / 3;  // the bar's pixels are a third of its twips design
    const int extent = vertical_ ? ClientWidth() : ClientHeight();
    const int b = extent - 1 - a;
    canvas.Pen.Width = BorderWidth;
    canvas.Pen.Color = RGB(220, 220, 220);
    if (vertical_) {
        canvas.MoveTo(a, 0);
        canvas.LineTo(a, ClientHeight());
    } else {
        canvas.MoveTo(0, a);
        canvas.LineTo(ClientWidth(), a);
    }
    canvas.Pen.Color = RGB(20, 20, 20);
    if (vertical_) {
        canvas.MoveTo(b, 0);
        canvas.LineTo(b, ClientHeight());
    } else {
        canvas.MoveTo(0, b);
        canvas.LineTo(ClientWidth(), b);
    }
}

bool TSplitBar::MouseDown(TMouseButton, TShiftState, int x, int y) {
    drag_.MouseDown(static_cast<float>(vertical_ ? x : y));
    SetCapture(Handle());
    return true;
}

bool TSplitBar::MouseMove(TShiftState, int x, int y) {
    if (auto d = drag_.MouseMove(static_cast<float>(vertical_ ? x : y)))
        if (ControlMoveing) ControlMoveing(*d);
    return true;
}

bool TSplitBar::MouseUp(TMouseButton, TShiftState, int x, int y) {
    const auto d = drag_.MouseUp(static_cast<float>(vertical_ ? x : y));
    if (d) ReleaseCapture();
    if (d && ControlMove) ControlMove(*d);
    return true;
}

bool TSplitBar::HandleMessage(TMessage& m) {
    // Another window took the mouse (a message box, Alt+Tab): end the drag.
    if (m.Msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        if (auto d = drag_.CaptureLost())
            if (ControlMove) ControlMove(*d);
    }
    return false;
}
