// The common controls the search window needs (list view, tab control),
// superclassed like the standard controls so our handlers see their
// messages first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Control.h"

class TSysControl : public TWinControl {
public:
    TSysControl(TWinControl* parent, const char* systemClass, const char* ourClass, DWORD style, DWORD exStyle = 0)
        : TWinControl(parent), systemClass_(systemClass), ourClass_(ourClass), style_(style), exStyle_(exStyle) {}
    std::function<bool(NMHDR*, LRESULT&)> OnNotify;
    bool Notify(NMHDR* header, LRESULT& result) override {
        return OnNotify ? OnNotify(header, result) : false;
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.BaseClass = systemClass_;
        p.WinClassName = ourClass_;
        p.Style |= style_;
        p.ExStyle |= exStyle_;
    }

private:
    const char* systemClass_;
    const char* ourClass_;
    DWORD style_, exStyle_;
};

// A list view with the few operations the window uses; positions are 0-based.
class TListViewBox : public TSysControl {
public:
    explicit TListViewBox(TWinControl* parent, DWORD style = LVS_ICON)
        : TSysControl(parent, WC_LISTVIEWA, "QfSbfListView", style | LVS_SHOWSELALWAYS | WS_TABSTOP,
                      WS_EX_CLIENTEDGE) {}
    int Count() { return static_cast<int>(Perform(LVM_GETITEMCOUNT)); }
    void Clear() { Perform(LVM_DELETEALLITEMS); }
    void Insert(int at, const std::string& text, int image, LPARAM tag);
    void SetText(int at, int column, const std::string& text);
    std::string GetText(int at, int column = 0);
    void SetImage(int at, int image);
    LPARAM TagOf(int at);
    void SetTag(int at, LPARAM tag);
    int Selected() { return static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); }
    bool IsSelected(int at) { return Perform(LVM_GETITEMSTATE, at, LVIS_SELECTED) != 0; }
    void Select(int at);
    void Deselect(int at);
    void Delete(int at) { Perform(LVM_DELETEITEM, at); }
    void SetView(int view);  // 0 large icons, 1 small icons, 2 list, 3 report
    void AddColumn(const std::string& text, int width);
    void ClearColumns();

private:
    void SetItem(int at, LVITEMA& item);
};
