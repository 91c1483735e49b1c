// The window a tooltip shows in, and the class the application makes it of.
// A component may register a class of its own (a hint style); the window
// layer's own is a plain one: the system's tooltip colours and status font,
// a one-pixel frame, the text centred, just below the cursor.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Control.h"

class THintWindow : public TWinControl {
public:
    THintWindow();
    // Shows hint in rect (screen coordinates), topmost, without activating.
    virtual void ActivateHint(const RECT& rect, const std::string& hint);
    // The rectangle (from 0, 0) the text needs, lines at most maxWidth wide.
    virtual RECT CalcHintRect(int maxWidth, const std::string& hint);
    void ReleaseHint();
    bool Showing() const { return HandleAllocated() && IsWindowVisible(Handle()); }
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool HandleMessage(TMessage& m) override;
    // The cursor's height below its hot spot, read from its mask (32 when unknown).
    static int CursorHeight(HCURSOR cursor);
    // The system's status font, which tooltips are written in.
    static void LoadStatusFont(TFont& font);

protected:
    void CreateParams(TCreateParams& p) override;
};

using THintWindowClass = std::function<std::unique_ptr<THintWindow>()>;

// The class the application's tooltips are shown in from now on. The window
// in use is made again of it when the application's ShowHint goes off and on.
void SetHintWindowClass(THintWindowClass make);
// A new window of the class in force.
std::unique_ptr<THintWindow> MakeHintWindow();
// The application's hint window; null while its ShowHint is off.
THintWindow* ApplicationHintWindow();
