// The base of every window of the programs: a real child or top-level window
// whose messages come through one window procedure, under the application's
// exception guard, into typed handlers grouped by concern. Standard controls
// (BUTTON, EDIT, ...) are superclassed, so their own behaviour stays and our
// handlers see every message first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Graphics.h"
#include "core/AlignLayout.h"
#include "ui/core/ShiftState.h"
#include "runtime/core/Component.h"

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// What CreateWindowEx gets. WinClassName is registered once per process; with
// BaseClass set it is a superclass of that system class.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;
    std::string BaseClass;
    UINT ClassStyle = CS_DBLCLKS;
    HCURSOR Cursor = nullptr;  // null: the arrow
    HBRUSH Background = nullptr;
};

class TWinControl : public TComponent {
public:
    // Parent may be null for top-level windows. The window is made when first
    // needed (Handle(), showing the form), so derived CreateParams count.
    explicit TWinControl(TWinControl* parent);
    ~TWinControl() override;

    HWND Handle() const;
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    // True once this control or one of its parents has begun to be destroyed:
    // its window then gets the default procedure only, and raises no events.
    bool InDestruction() const;
    TWinControl* Parent() const { return parent_; }
    int ControlCount() const { return static_cast<int>(children_.size()); }
    TWinControl* Controls(int i) const { return children_.at(static_cast<size_t>(i)); }
    // The control that owns hwnd (ours), or null.
    static TWinControl* FromHandle(HWND hwnd);

    // Geometry, in the parent's client coordinates.
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width; }
    int Height() const { return bounds_.Height; }
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    // Places the aligned children again (after a resize or a child's change).
    void Realign();

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    // WS_TABSTOP. Until set, the window keeps the style its class gives it
    // (false while there is no window yet).
    bool TabStop() const;
    void SetTabStop(bool on);
    std::string Caption() const;  // the window text
    void SetCaption(const std::string& s);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& s) { SetCaption(s); }
    TFont& Font() { return font_; }
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Tag = 0;
    // Shown as a tooltip over the control and made the application's hint
    // (a status bar follows it) while the mouse is over it.
    std::string Hint;
    // Tooltips over this control: its own setting, or its parent's while
    // ParentShowHint holds (the default; a form shows them unless told not to).
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool p) { parentShowHint_ = p; }
    // The hint at a point of the client area and the part of the control it
    // belongs to: -1 for the control as a whole, or a part's own number (a
    // toolbar's button, a tab strip's tab), so moving between parts shows each one's.
    virtual std::string HintAt(POINT client, int& part) const;

    void SetFocus();
    bool Focused() const { return hwnd_ && GetFocus() == hwnd_; }
    void Invalidate();
    // Invalidate and Update; a control that paints itself may draw at once instead.
    virtual void Repaint();
    void Update() {
        if (hwnd_) UpdateWindow(hwnd_);
    }
    // Sends a message to the window and returns its result.
    LRESULT Perform(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(Handle(), msg, wp, lp); }

    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // ---- typed handlers: the cracker calls these. Return true when the
    // message is fully handled (the default procedure is then skipped).
    virtual bool MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool MouseMove(TShiftState shift, int x, int y);
    virtual bool DblClick(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool MouseWheel(int delta, TShiftState shift, int x, int y);
    virtual bool KeyDown(WORD& key, TShiftState shift);
    virtual bool KeyUp(WORD& key, TShiftState shift);
    virtual bool KeyPress(char& key);
    // Paint is called only for controls that PaintsItself().
    virtual bool PaintsItself() const { return false; }
    virtual void Paint(TCanvas& canvas);
    virtual void FocusChanged(bool gained);
    virtual void Resized();
    // After the colour or the caption changed, for controls that draw them themselves.
    virtual void ColorChanged() {}
    virtual void TextChanged() {}
    // A notification from a child control (WM_COMMAND / WM_NOTIFY reflected
    // to the child): code and, for WM_NOTIFY, the header.
    virtual bool Command(WORD code);
    virtual bool Notify(NMHDR* header, LRESULT& result);
    // A menu or accelerator command (WM_COMMAND without a control).
    virtual bool MenuCommand(WORD id);
    virtual bool Scroll(int bar, int code, int pos);
    virtual bool Timer(UINT_PTR id);
    virtual bool DrawItem(DRAWITEMSTRUCT& dis);
    virtual bool MeasureItem(MEASUREITEMSTRUCT& mis);
    // Colours of a standard child (WM_CTLCOLOR*): a brush, or null for the default.
    virtual HBRUSH ChildColors(TWinControl& child, HDC dc);
    // Messages no cracker knows, before the default procedure. The editor
    // answers its EDIT-style messages here.
    virtual bool HandleMessage(TMessage& m);

    // The default procedure: the system class's own for superclassed controls
    // (multiple-document forms use the frame's and the child's).
    virtual LRESULT DefaultHandler(TMessage& m);

protected:
    // Derived classes fill the window's class, styles and size; the base sets
    // the parent, the child style and the bounds.
    virtual void CreateParams(TCreateParams& params);
    // Moves the window to the bounds; a control whose window is taller than
    // what it shows (a drop-down list) adds its part here.
    virtual void PlaceWindow(const TBounds& b);
    // Called once the window exists (and its children were made).
    virtual void WndCreated() {}
    void DoClick() {
        if (OnClick) OnClick(this);
    }
    // Makes the window again (a style that only creation sets has changed).
    void RecreateHandle();
    // The window and then the children's windows.
    void CreateHandle();

private:
    friend LRESULT CALLBACK QfControlWndProc(HWND, UINT, WPARAM, LPARAM);
    void AddChild(TWinControl* c);
    void RemoveChild(TWinControl* c);
    void DestroyHandle();
    void CreateMissingHandles();
    void SyncBoundsFromWindow();

    HWND hwnd_ = nullptr;  // made by CreateHandle, on first need
    WNDPROC baseProc_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
    int tabStop_ = -1;  // -1: not set, the class's own style
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_;
    TBounds bounds_;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool showHint_ = true, parentShowHint_ = true;
    TColor color_ = clBtnFace;
    HBRUSH colorBrush_ = nullptr;
    TFont font_;
};
