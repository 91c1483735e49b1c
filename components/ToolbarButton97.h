// A flat toolbar button: glyph and/or caption, a border while the mouse is
// over it, latching in a group, repeating while held, and a drop-down part.
#pragma once

#include <functional>
#include <memory>

#include "components/ButtonGlyph.h"
#include "components/core/HookList.h"
#include "ui/Control.h"
#include "ui/Menus.h"

enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };

// What a button's parent may say about where it is docked, so the drop-down
// menu opens on the side away from the dock edge (a vertical dock is kind 2).
class IMenuAnchorSite {
public:
    virtual ~IMenuAnchorSite() = default;
    virtual int GetDockKind() const = 0;
    virtual bool DockedAtLeft() const = 0;
};

using TButtonDropdownEvent = std::function<void(TObject* Sender, bool& ShowMenu, bool& RemoveClicks)>;

class TToolbarButton97 : public TWinControl {
public:
    explicit TToolbarButton97(TWinControl* parent);
    ~TToolbarButton97() override;

    TButtonPaintState State() const { return state_; }
    bool MouseInControl() const { return mouseIn_; }
    bool Down() const { return down_; }
    void SetDown(bool d);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool a);
    TButtonGlyph& Glyph() { return glyph_; }
    void SetGlyph(HBITMAP bmp) { glyph_.SetGlyph(bmp); }
    // Monochrome strip laid out like the glyph, white = transparent.
    void SetGlyphMask(HBITMAP bmp) { glyph_.SetGlyphMask(bmp); }
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int n) { glyph_.SetNumGlyphs(n); }
    // An image of a list instead of the glyph strip (not owned).
    TImageList* Images() const { return glyph_.Images(); }
    void SetImages(TImageList* images);
    int ImageIndex() const { return glyph_.ImageIndex(); }
    void SetImageIndex(int index) { glyph_.SetImageIndex(index); }
    // Enter clicks a Default button and Esc a Cancel one, wherever the focus
    // is on the form, unless the focused control wants the key itself.
    bool Default = false, Cancel = false;

    // Flat and not Opaque: the parent's background shows through the button.
    bool Flat = true, Opaque = true, NoBorder = false, ShowBorderWhenInactive = false;
    bool Repeating = false;
    int RepeatDelay = 400, RepeatInterval = 100;
    TButtonLayout Layout = blGlyphLeft;
    // Distance of the glyph from the edge; -1 centres the content. Values
    // below -1 are ignored.
    int Margin() const { return margin_; }
    void SetMargin(int m);
    int Spacing = 4;
    bool WordWrap = false;
    TButtonDisplayMode DisplayMode = dmBoth;
    enum TAlignment { taLeftJustify, taRightJustify, taCenter } Alignment = taCenter;
    int ModalResult = 0;
    bool DropdownArrow = true, DropdownAlways = false;
    bool DropdownCombo() const { return combo_; }
    void SetDropdownCombo(bool c);
    // Not owned; null for none. The menu is routed through the drop-down list.
    TPopupMenu* DropdownMenu() const { return menu_; }
    void SetDropdownMenu(TPopupMenu* m);
    bool UsesDropdown() const { return DropdownAlways || menu_ != nullptr; }

    TButtonDropdownEvent OnDropdown;
    TNotifyEvent OnMouseEnter, OnMouseExit;

    virtual void Click();
    void MouseEntered();
    void MouseLeft();
    // The one button shown hot in the process, or null.
    static TToolbarButton97* HotButton();

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DblClick(TMouseButton button, TShiftState shift, int x, int y) override;
    bool Timer(UINT_PTR id) override;
    bool HandleMessage(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    static void ButtonHookProc(THookKind kind, uintptr_t wnd, uintptr_t wp, intptr_t lp);
    friend LRESULT CALLBACK DialogKeyHook(int code, WPARAM wp, LPARAM lp);
    // Enter, Esc or an accelerator typed on form: true when a button took it.
    static bool DialogKey(HWND form, UINT msg, WPARAM key);
    bool CanTakeDialogKey() const;
    bool CursorOverMe() const;
    bool PointInButton(int x, int y) const;
    void Redraw() { Invalidate(); }
    void StopHoverTimer();
    void StopRepeat();
    void RefreshHotState();
    void ReleaseGroupSiblings();
    void EnabledChanged(bool enabled);
    void DropDown();
    void RemovePendingClicks();
    // The parent's client area under the button, into dc (button coordinates).
    void PaintParentBackground(HDC dc);

    TButtonGlyph glyph_;
    TButtonPaintState state_ = bsUp;
    bool mouseIn_ = false, tracking_ = false, inClick_ = false, arrowPressed_ = false;
    bool down_ = false, allowAllUp_ = false, combo_ = false, repeatOn_ = false;
    int groupIndex_ = 0;
    int margin_ = -1;
    TPopupMenu* menu_ = nullptr;
};
