// The list view driven through the platform's own list view: texts read back
// from the window, notifications raised by the window itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/SysUtils.h"
#include "ui/Form.h"
#include "ui/ListView.h"

namespace {

std::string RowText(TListView& lv, int row, int column) {
    char buf[256] = {};
    LVITEMA lvi{};
    lvi.iSubItem = column;
    lvi.pszText = buf;
    lvi.cchTextMax = sizeof buf;
    SendMessageA(lv.Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lvi));
    return buf;
}

std::vector<std::string> Captions(TListView& lv) {
    std::vector<std::string> r;
    for (int i = 0; i < lv.ItemCount(); ++i) r.push_back(RowText(lv, i, 0));
    return r;
}

// A remote folder listing as the FTP client shows it.
struct TFilesForm : TForm {
    TFilesForm() {
        SetBounds(0, 0, 500, 300);
        list = new TListView(this);
        list->SetAlign(alClient);
        list->SetViewStyle(vsReport);
        for (const char* c : {"Name", "Type", "Permission"}) list->AddColumn(c, 100);
    }
    TListItem* Row(const std::string& name, const std::string& perm) {
        TListItem* i = list->AddItem();
        i->SetCaption(name);
        i->SubItems().Add(perm[0] == 'd' ? "Folder" : "File");
        i->SubItems().Add(perm);
        return i;
    }
    TListView* list;
};

bool IsFolder(TListItem* i) { return i->SubItems().Count() > 1 && toupper(i->SubItems().Strings(1)[0]) == 'D'; }

// "." first, then "..", folders before files, then by name.
void FolderOrder(TObject*, TListItem* a, TListItem* b, int, int& compare) {
    auto rank = [](TListItem* i) { return i->Caption() == "." ? 0 : i->Caption() == ".." ? 1 : IsFolder(i) ? 2 : 3; };
    compare = rank(a) != rank(b) ? rank(a) - rank(b) : a->Caption().compare(b->Caption());
}

POINT RowPoint(TListView& lv, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(lv.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return {r.left + 4, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(ListView, RowsAndColumnsReadBackFromTheWindow) {
    TFilesForm f;
    f.Show();
    int payload = 42;
    TListItem* item = f.Row("my file.txt", "-rw-r--r--");
    item->Data = &payload;
    item->SubItems().SetStrings(0, "TXT File");
    EXPECT_EQ(RowText(*f.list, 0, 0), "my file.txt");
    EXPECT_EQ(RowText(*f.list, 0, 1), "TXT File");
    EXPECT_EQ(RowText(*f.list, 0, 2), "-rw-r--r--");
    EXPECT_EQ(RowText(*f.list, 0, 3), "") << "a column past the sub-items is empty";
    EXPECT_EQ(f.list->Items(0), item);
    EXPECT_EQ(*static_cast<int*>(f.list->Items(0)->Data), 42);
    EXPECT_EQ(item->Index(), 0);

    char head[64] = {};
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = head;
    col.cchTextMax = sizeof head;
    SendMessageA(f.list->Handle(), LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&col));
    EXPECT_STREQ(head, "Permission");
    f.list->Columns(1)->SetWidth(75);
    EXPECT_EQ(SendMessageA(f.list->Handle(), LVM_GETCOLUMNWIDTH, 1, 0), 75);
    EXPECT_EQ(GetWindowLongA(f.list->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    f.list->SetViewStyle(vsList);
    EXPECT_EQ(GetWindowLongA(f.list->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    EXPECT_THROW(f.list->Items(3), Exception);
}

TEST(ListView, SortedByOnCompareAfterAnUpdateAndOnEveryChange) {
    TFilesForm f;
    f.Show();
    f.list->OnCompare = FolderOrder;
    f.list->SetSortType(stBoth);
    f.list->BeginUpdate();
    f.Row("zeta.txt", "-rw-r--r--");
    f.Row("..", "drwxr-xr-x");
    f.Row("alpha", "drwxr-xr-x");
    f.Row("beta.txt", "-rw-r--r--");
    f.list->EndUpdate();
    EXPECT_EQ(Captions(*f.list), (std::vector<std::string>{"..", "alpha", "beta.txt", "zeta.txt"}));
    f.Row(".", "drwxrwxrwx");
    EXPECT_EQ(Captions(*f.list)[0], ".");
    f.list->Items(4)->SetCaption("aardvark.txt");  // was zeta.txt
    EXPECT_EQ(Captions(*f.list), (std::vector<std::string>{".", "..", "alpha", "aardvark.txt", "beta.txt"}));

    // A compare handler that throws leaves the list whole and the error with the caller.
    f.list->OnCompare = [](TObject*, TListItem*, TListItem*, int, int&) { throw Exception("compare failed"); };
    EXPECT_THROW(f.list->AlphaSort(), Exception);
    EXPECT_EQ(f.list->ItemCount(), 5);
}

TEST(ListView, SelectionNotifiesAndIsSearchedByState) {
    TFilesForm f;
    f.list->SetMultiSelect(true);
    f.Show();
    for (const char* n : {".", "a", "b", "c"}) f.Row(n, "-rw-r--r--");
    std::vector<std::string> seen;
    f.list->OnSelectItem = [&](TObject*, TListItem* i, bool s) { seen.push_back((s ? "+" : "-") + i->Caption()); };
    f.list->Items(0)->SetSelected(true);
    f.list->Items(2)->SetSelected(true);
    f.list->Items(3)->SetSelected(true);
    EXPECT_EQ(f.list->SelCount(), 3);
    EXPECT_EQ(f.list->Selected(), f.list->Items(0));
    // Selected rows after the first row of the list.
    std::vector<std::string> after;
    for (TListItem* i = f.list->GetNextItem(f.list->Items(0), sdAll, isSelected); i;
         i = f.list->GetNextItem(i, sdAll, isSelected))
        after.push_back(i->Caption());
    EXPECT_EQ(after, (std::vector<std::string>{"b", "c"}));
    f.list->SetSelected(f.list->Items(1));
    EXPECT_EQ(f.list->SelCount(), 1);
    EXPECT_TRUE(f.list->Items(1)->Selected());
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0], "+.");
    EXPECT_EQ(seen.back(), "+a");
}

TEST(ListView, MouseOnTheWindowClicksColumnsAndOpensRows) {
    TFilesForm f;
    f.Show();
    f.Row("readme", "-rw-r--r--");
    f.Row("pub", "drwxr-xr-x");
    int opened = 0;
    std::string column;
    f.list->OnDblClick = [&](TObject*) { ++opened; };
    f.list->OnColumnClick = [&](TObject*, TListColumn* c) { column = c->Caption(); };
    const POINT p = RowPoint(*f.list, 1);
    SendMessageA(f.list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(f.list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(f.list->Selected(), f.list->Items(1));
    EXPECT_EQ(f.list->GetItemAt(p.x, p.y), f.list->Items(1));
    SendMessageA(f.list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(f.list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(opened, 1);

    HWND header = reinterpret_cast<HWND>(SendMessageA(f.list->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(column, "Type");
}

TEST(ListView, CaptionEditedInPlaceEndsInOnEdited) {
    TFilesForm f;
    f.Show();
    f.list->SetSortType(stText);
    TListItem* old = f.Row("old.txt", "-rw-r--r--");
    f.Row("b.txt", "-rw-r--r--");
    std::string before, proposed;
    f.list->OnEdited = [&](TObject*, TListItem* i, std::string& s) {
        before = i->Caption();
        proposed = s;
        s = "a-" + s;  // the handler may change the text
    };
    old->EditCaption();
    HWND edit = reinterpret_cast<HWND>(SendMessageA(f.list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(f.list->IsEditing());
    SetWindowTextA(edit, "new.txt");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(f.list->IsEditing());
    EXPECT_EQ(before, "old.txt");
    EXPECT_EQ(proposed, "new.txt");
    EXPECT_EQ(old->Caption(), "a-new.txt");
    EXPECT_EQ(Captions(*f.list), (std::vector<std::string>{"a-new.txt", "b.txt"})) << "re-sorted";

    // Escape cancels without the event; a read-only list edits nothing.
    proposed.clear();
    old->EditCaption();
    edit = reinterpret_cast<HWND>(SendMessageA(f.list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(proposed.empty());
    f.list->SetReadOnly(true);
    old->EditCaption();
    EXPECT_FALSE(f.list->IsEditing());
}

TEST(ListView, ImageListsAreSharedAndForgottenWhenFreed) {
    TFilesForm f;
    auto* small = new TImageList(&f, 16, 16);
    f.list->SetSmallImages(small);
    f.Show();
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(f.list->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              small->Handle());
    TListItem* i = f.Row("a", "-");
    i->SetImageIndex(0);
    LVITEMA lvi{};
    lvi.mask = LVIF_IMAGE;
    SendMessageA(f.list->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
    EXPECT_EQ(lvi.iImage, 0);
    delete small;
    EXPECT_EQ(f.list->SmallImages(), nullptr);
    EXPECT_EQ(SendMessageA(f.list->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST(ListView, RowsSurviveTheWindowBeingMadeAgain) {
    TFilesForm f;
    f.Show();
    f.Row("one", "-");
    f.Row("two", "-");
    f.list->Items(1)->SetSelected(true);
    f.list->Columns(0)->SetWidth(123);
    f.SetBorderStyle(bsSingle);  // makes every window of the form again
    EXPECT_EQ(Captions(*f.list), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(f.list->Items(1)->Selected());
    EXPECT_EQ(f.list->Columns(0)->Width(), 123);
    f.list->Clear();
    EXPECT_EQ(f.list->ItemCount(), 0);
}
