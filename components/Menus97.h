// Menus drawn flat with images: every item of the attached main menu is
// owner-drawn, measured and painted here (image or check mark column, caption,
// shortcut, embossed disabled text, highlight bar, separators with titles and
// an optional gradient banner beside the first drop-down).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Graphics.h"
#include "ui/ImgList.h"
#include "ui/Menus.h"

enum TMenus97Look { mlOffice97Look, mlIE4Look };
enum TBannerJustification97 { bjCenter, bjTop, bjBottom };

// True when the handler drew the item itself (State: ODS_ flags; the
// component's Canvas() holds the item's device context).
using TDrawMenuItemEvent97 =
    std::function<bool(TMenu* Control, TMenuItem* Item, const RECT& Rect, UINT State)>;
// May change an item's measured size.
using TMeasureMenuItemEvent97 = std::function<void(TMenu* Control, TMenuItem* Item, int& Height, int& Width)>;
// The hint a menu item shows in the application's hint when it is selected;
// returns the hint to use (the item keeps it).
using THintEvent97 = std::function<std::string(TMenu* Control, TMenuItem* Item, const std::string& Hint)>;

class TCustomMenus97 : public TComponent, public TMenuHook {
public:
    explicit TCustomMenus97(TComponent* owner);
    ~TCustomMenus97() override;

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* il);
    // The system's menu font while DefaultFont holds (reloaded when the
    // system settings change); HiliteFont draws selected items.
    TFont Font, HiliteFont;
    void SetFont(const TFont& f);
    void SetHiliteFont(const TFont& f);
    bool DefaultFont() const { return defaultFont_; }
    // True reloads Font from the system (and HiliteFont with it).
    void SetDefaultFont(bool d);
    TDrawMenuItemEvent97 OnDrawItem;
    TMeasureMenuItemEvent97 OnMeasureItem;
    // The canvas of the item being measured or drawn; null otherwise.
    TCanvas* Canvas() const { return canvas_; }
    TColor BrushColor = clBtnFace;
    TColor HiliteBar = clHighlight;
    int ItemHeight = 0, ItemWidth = 0;
    bool Banner = false;
    std::string BannerText;
    int BannerWidth = 20;
    TColor BannerColor = SysColor(COLOR_ACTIVECAPTION), BannerEndColor = clBlack;
    int BannerNumColors = 16;
    TBannerJustification97 BannerJustification = bjCenter;
    TFont BannerFont;  // Arial, 12 points
    // 0 or more: the text area stops BannerWidth + 4 pixels above the bottom.
    int BannerImage = -1;
    // The banner as drawn beside the first drop-down: BannerWidth x height,
    // the gradient with BannerText running upward (the caller deletes it).
    HBITMAP MakeBanner(int height) const;
    TMenus97Look Menus97Look() const { return look_; }
    // A new look redraws the owner form's menu bar.
    void SetMenus97Look(TMenus97Look look);
    THintEvent97 OnHint;
    int CheckW() const { return checkW_; }
    int CheckH() const { return checkH_; }

    // Gives untagged items their default tag: -1 at the top of a main menu, -2 below.
    void InitAllTags();
    // The measured size of an item on dc (WM_MEASUREITEM).
    void MeasureItem(TMenuItem& item, HDC dc, int& height, int& width);
    // Paints an item (WM_DRAWITEM); state: ODS_ flags.
    void DrawItem(TMenuItem& item, HDC dc, RECT rect, UINT state);
    bool MenuMessage(TMenu& menu, HWND window, TMessage& m) override;
    // The position of the first enabled item of the drop-down whose caption's
    // accelerator is key; -1 when none (WM_MENUCHAR).
    int FindAccelerator(HMENU popup, char key) const;
    // The item with a command identifier: the attached menu's, else (on a
    // multiple-document form) the window-list entry with that identifier.
    TMenuItem* FindItemByCommand(UINT id) const;
    // Items standing for the MDI children the platform lists in the window
    // menu, newest first; their HelpContext is the entry's identifier.
    const std::vector<TMenuItem*>& WindowListItems() const { return windowList_; }

protected:
    void Attach(TMenu* menu);
    // Font changed in place: the base class stops following the system font.
    virtual void FontChanged();
    void RedrawMenuBar() const;
    // A freed menu is let go (removing the menu from the form detaches it).
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool HasBanner(const TMenuItem& item) const;
    virtual void DrawBarItem(TMenuItem& item, TCanvas& c, RECT r, UINT state);
    TMenu* menu_ = nullptr;

private:
    void LoadDefaultFont();
    int TextWidth(HDC dc, const std::string& s, int* height = nullptr) const;
    void DrawDropDownItem(TMenuItem& item, TCanvas& c, RECT r, UINT state);
    void DrawText(TMenuItem& item, TCanvas& c, RECT r, const std::string& text, bool enabled);
    void DrawMark(HDC dc, int x, int y, bool radio) const;
    void AddWindowList(HWND window, HMENU popup);
    // The column divider left of an item that starts a new column.
    void DrawBarBreak(HDC dc, const RECT& item) const;
    std::vector<TMenuItem*> windowList_;
    TCanvas* canvas_ = nullptr;
    bool defaultFont_ = true;
    bool loadingFont_ = false;
    TMenus97Look look_ = mlOffice97Look;
    bool windowMenuProcessed_ = false;
    TImageList* images_ = nullptr;
    HBITMAP banner_ = nullptr;
    int bannerHeight_ = 0;
    int checkW_ = 0, checkH_ = 0;
    int markW_ = 17, markH_ = 17;
    bool bannerStale_ = true;
};

// A row of buttons standing in for the form's menu bar.
class IMenuToolBar {
public:
    virtual ~IMenuToolBar() = default;
    // Drops every button and makes one per top-level item of menu (none for null).
    virtual void SetMenu(TMainMenu* menu) = 0;
};

class TMainMenus97 : public TCustomMenus97 {
public:
    explicit TMainMenus97(TComponent* owner) : TCustomMenus97(owner) {}
    ~TMainMenus97() override;
    TMainMenu* MainMenu() const { return static_cast<TMainMenu*>(menu_); }
    void SetMainMenu(TMainMenu* m);
    // The form's client area takes the menu bar's place (its keys still work).
    bool HideMenuBar() const { return hideMenuBar_; }
    // Refused while a ToolBar stands in for the bar.
    void SetHideMenuBar(bool hide);
    IMenuToolBar* ToolBar() const { return toolBar_; }
    // A bar of buttons for the menu's items; the form's own bar hides.
    void SetToolBar(IMenuToolBar* bar);
    bool MenuMessage(TMenu& menu, HWND window, TMessage& m) override;
    // What the platform put on the bar beside the menu's own items for a
    // maximised child window (its system menu, drawn as its icon), each made
    // owner-drawn with an item of ours standing for it.
    const std::vector<TMenuItem*>& ChildEntryItems() const { return childEntries_; }

protected:
    void DrawBarItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void FontChanged() override;

private:
    void OwnerDrawChildEntries(HWND window);
    bool IsChildEntry(const TMenuItem& item) const;
    // The active child's small icon on the bar's brush.
    void DrawChildEntry(TCanvas& c, RECT r);
    bool MeasureChildEntry(TMessage& m) const;
    void FrameChanged();
    // The bar's area beyond its items in the menu's background brush.
    void PaintBarBackground(HWND window) const;
    bool hideMenuBar_ = false;
    IMenuToolBar* toolBar_ = nullptr;
    std::vector<TMenuItem*> childEntries_;
};
