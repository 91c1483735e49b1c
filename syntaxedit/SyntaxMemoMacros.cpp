#include "SyntaxMemoMacros.h"

#include <algorithm>

#include "SyntaxMemo.h"
#include "runtime/core/SysUtils.h"

namespace {

// The platform's own character to key translation, so activation keys follow
// the keyboard layout in use (AltGr characters included).
int16_t SystemKeyScan(char c) { return VkKeyScanA(c); }

int TextWidthIn(HDC dc, HFONT font, const std::string& s) {
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

}  // namespace

TMacroListBox::TMacroListBox(TSyntaxMemoMacros& owner, TWinControl* editor, TMacroTable table)
    : TListBox(editor), Table(table), owner_(owner) {
    Font().SetName("Arial");
    Font().SetSize(8);
    LOGFONTA lf{};
    GetObjectA(Font().Handle(), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectA(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bold_);
    SIZE size{};
    GetTextExtentPoint32A(dc, "Wy", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    itemHeight_ = size.cy + 2;
    SetVisible(false);
    OnDblClick = [this](TObject*) { owner_.Accept(*this, ItemIndex()); };
}

TMacroListBox::~TMacroListBox() {
    BeginDestroy();
    if (bold_) DeleteObject(bold_);
}

void TMacroListBox::CreateParams(TCreateParams& p) {
    TListBox::CreateParams(p);
    // Every item has the same height, so a fixed owner-drawn list serves.
    p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_BORDER;
    p.ExStyle &= ~WS_EX_CLIENTEDGE;
    p.WinClassName = "QfMacroListBox";
}

void TMacroListBox::WndCreated() {
    TListBox::WndCreated();
    Perform(LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TMacroListBox::Fill(const std::vector<TMacroListItem>& items) {
    Clear();
    DescWidth = NameWidth = 0;
    HDC dc = GetDC(nullptr);
    for (const TMacroListItem& it : items) {
        Items().Add(it.Description + "\t" + it.Name);
        DescWidth = std::max(DescWidth, TextWidthIn(dc, Font().Handle(), it.Description));
        NameWidth = std::max(NameWidth, TextWidthIn(dc, bold_, it.Name));
    }
    ReleaseDC(nullptr, dc);
}

std::string TMacroListBox::NameOf(int i) const {
    const std::string& s = const_cast<TMacroListBox*>(this)->Items().Strings(i);
    size_t tab = s.find('\t');
    return LowerCase(tab == std::string::npos ? s : s.substr(tab + 1));
}

bool TMacroListBox::DrawItem(DRAWITEMSTRUCT& dis) {
    if (dis.itemID == static_cast<UINT>(-1) || static_cast<int>(dis.itemID) >= Items().Count()) return false;
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    HDC dc = dis.hDC;
    RECT r = dis.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::string& s = Items().Strings(static_cast<int>(dis.itemID));
    size_t tab = s.find('\t');
    std::string desc = tab == std::string::npos ? s : s.substr(0, tab);
    std::string name = tab == std::string::npos ? std::string() : s.substr(tab + 1);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    TextOutA(dc, r.left + 2, r.top + 1, desc.c_str(), static_cast<int>(desc.size()));
    SelectObject(dc, bold_);
    TextOutA(dc, r.left + DescWidth + 24, r.top + 1, name.c_str(), static_cast<int>(name.size()));
    SelectObject(dc, old);
    if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return true;
}

bool TMacroListBox::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == VK_RETURN) {
        owner_.Accept(*this, ItemIndex());
        return true;
    }
    if (key == VK_ESCAPE) {
        if (Parent()) Parent()->SetFocus();
        return true;
    }
    return false;
}

int TMacroListBox::FindPrefix(const std::string& prefix) const {
    for (int i = 0; i < const_cast<TMacroListBox*>(this)->Items().Count(); i++)
        if (NameOf(i).compare(0, prefix.size(), prefix) == 0) return i;
    return -1;
}

bool TMacroListBox::KeyPress(char& key) {
    if (key == '\r' || key == 27) return true;  // taken by KeyDown
    search_ += key;
    int i = FindPrefix(LowerCase(search_));
    if (i < 0) {
        bool single = search_.size() == 1;
        search_.clear();
        if (single) return false;  // the list's own handling
        search_ = std::string(1, key);
        i = FindPrefix(LowerCase(search_));
    }
    if (i >= 0) {
        SetItemIndex(i);
        Invalidate();
    }
    return true;
}

void TMacroListBox::FocusChanged(bool gained) {
    TListBox::FocusChanged(gained);
    if (gained) return;
    search_.clear();
    owner_.ListExit(*this);
}

TSyntaxMemoMacros::TSyntaxMemoMacros(TSyntaxMemo& editor) : editor_(editor), keys_(editor.Core()) {
    InstallPlatformKeyScan(SystemKeyScan);
    keys_.RefreshActivationKeys();
    keys_.OnShowList = [this](TMacroTable table) { ShowList(table); };
}

TSyntaxMemoMacros::~TSyntaxMemoMacros() {
    for (TMacroListBox*& slot : lists_) {
        TMacroListBox* list = slot;
        slot = nullptr;
        delete list;
    }
}

bool TSyntaxMemoMacros::KeyDown(WORD& key, TShiftState shift, bool& handled) {
    uint8_t s = static_cast<uint8_t>(shift & (ssShift | ssAlt | ssCtrl));
    return keys_.KeyDown(key, s, handled);
}

void TSyntaxMemoMacros::ShowList(TMacroTable table) {
    TMacroListBox*& list = lists_[static_cast<int>(table)];
    if (!list) list = new TMacroListBox(*this, &editor_, table);
    list->Hide();
    std::vector<TMacroListItem> items = keys_.ListItems(table);
    list->Fill(items);
    PlaceList(*list);
    if (!items.empty()) list->SetItemIndex(keys_.PreselectedItem(table, items));
    SetWindowPos(list->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    list->Show();
    list->SetFocus();
}

void TSyntaxMemoMacros::PlaceList(TMacroListBox& list) {
    TSyntaxMemoCore& core = editor_.Core();
    int32_t x = 0, y = 0;
    core.PointOfOffset(std::max(core.Anchor(), core.Caret()), x, y);
    const int h = list.Height();
    const int lh = core.LineHeight();
    const bool fits = y + lh + h < editor_.ClientHeight();
    const int top = fits ? y + lh : y - h;
    const int width = list.DescWidth + list.NameWidth + 48;
    int left = x;
    if (left + width > editor_.ClientWidth()) left = editor_.ClientWidth() - width - 24;
    list.SetBounds(std::max(0, left), std::max(0, top), width, h);
}

void TSyntaxMemoMacros::Accept(TMacroListBox& list, int i) {
    if (i >= 0 && i < list.Items().Count()) keys_.Accept(list.Table, list.NameOf(i));
    editor_.SetFocus();
}

void TSyntaxMemoMacros::ListExit(TMacroListBox& list) {
    list.Hide();
    keys_.ListClosed();
    editor_.Invalidate();
}
