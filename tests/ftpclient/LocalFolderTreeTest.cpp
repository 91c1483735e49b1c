// The local folder list as a tree: the rows of a fixture folder, their
// indents and icons as painted, and opening rows by double click and Enter.
#include <gtest/gtest.h>

#include "LocalFiles.h"
#include "MainWindowSupport.h"

using namespace qfclient;

namespace {

struct Tree {
    Program prog;
    qftest::TempDir dir;
    std::string site;
    std::unique_ptr<TfrmMain> main;
    Tree() : site(dir.File("site")) {
        for (const char* sub : {"", "\\cgi", "\\Images", "\\b c", "\\cgi\\deep"})
            CreateDirectoryA((site + sub).c_str(), nullptr);
        qftest::WriteFileBytes(site + "\\index.htm", "x");
        main = std::make_unique<TfrmMain>(prog.Settings());
        main->Show();
        main->Local->SetDirectory(site);
    }
    TFolderList& List() { return *main->Local->lbDirectory; }
};

// The folders of a path, root first: "C:\a\b" gives "c:\", "a", "b".
std::vector<std::string> Chain(const std::string& path) {
    std::vector<std::string> out{std::string(1, static_cast<char>(tolower(path[0]))) + ":\\"};
    size_t start = 3;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        out.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The columns of row i, as painted in a memory bitmap, that differ from the background.
struct Painted {
    int firstInk = -1;
    std::vector<COLORREF> icon;  // the 16 x 16 pixels where the icon goes
};
Painted Paint(TFolderList& list, int i) {
    const int w = 200, h = TFolderList::RowHeight;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, w, h};
    list.DrawRow(dc, r, i, false, false);
    Painted p;
    const COLORREF back = GetPixel(dc, w - 1, h - 1);
    for (int x = 0; x < w && p.firstInk < 0; ++x)
        for (int y = 0; y < h; ++y)
            if (GetPixel(dc, x, y) != back) {
                p.firstInk = x;
                break;
            }
    const int left = 2 + list.Rows()[static_cast<size_t>(i)].Indent * TFolderList::IndentStep;
    for (int y = 1; y < 17; ++y)
        for (int x = left; x < left + 16; ++x) p.icon.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return p;
}

}  // namespace

TEST(LocalFolderTree, RowsIndentsAndIconsOfAFixtureFolder) {
    Tree t;
    TFolderList& list = t.List();
    std::vector<std::string> chain = Chain(t.main->Local->Directory());
    ASSERT_EQ(chain.back(), "site");
    const size_t open = chain.size();
    // Root, parents and the folder itself open; subfolders closed, by name without case; no file, no "..".
    std::vector<std::string> expected = chain;
    for (const char* sub : {"b c", "cgi", "Images"}) expected.push_back(sub);
    ASSERT_EQ(list.Items().Count(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + " " + expected[i]);
        const TFolderRow& row = list.Rows()[i];
        EXPECT_EQ(list.Items().Strings(static_cast<int>(i)), expected[i]);
        EXPECT_EQ(row.Open, i < open);
        EXPECT_EQ(row.Indent, static_cast<int>(i < open ? i : open));
    }
    EXPECT_EQ(list.ItemIndex(), static_cast<int>(open - 1));  // the current folder
    EXPECT_EQ(list.Rows()[open].Path, t.main->Local->Directory() + "\\b c");

    // Painted: the icon starts at its row's indent, and open and closed folders look different.
    const Painted root = Paint(list, 0), current = Paint(list, static_cast<int>(open - 1)),
                  sub = Paint(list, static_cast<int>(open));
    EXPECT_GE(root.firstInk, 2);
    EXPECT_LE(root.firstInk, 2 + 4);
    EXPECT_GE(current.firstInk, 2 + static_cast<int>(open - 1) * TFolderList::IndentStep);
    EXPECT_LE(current.firstInk, 2 + static_cast<int>(open - 1) * TFolderList::IndentStep + 4);
    EXPECT_GE(sub.firstInk, 2 + static_cast<int>(open) * TFolderList::IndentStep);
    EXPECT_LE(sub.firstInk, 2 + static_cast<int>(open) * TFolderList::IndentStep + 4);
    EXPECT_EQ(root.icon, current.icon);
    EXPECT_NE(current.icon, sub.icon);
    MaybeSaveShot(t.main->Handle(), "local-pane");
}

TEST(LocalFolderTree, DoubleClickAndEnterOpenTheRowsFolder) {
    Tree t;
    TFolderList& list = t.List();
    const std::string site = t.main->Local->Directory();
    const int current = list.ItemIndex();
    // Down into a subfolder by double click: it becomes the open row at the end of the chain.
    const int cgi = list.Items().IndexOf("cgi");
    ASSERT_GT(cgi, current);
    ClickListItem(list, cgi);
    ClickListItem(list, cgi, WM_LBUTTONDBLCLK);
    EXPECT_EQ(t.main->Local->Directory(), site + "\\cgi");
    EXPECT_EQ(list.ItemIndex(), current + 1);
    EXPECT_EQ(list.Items().Strings(current + 2), "deep");
    EXPECT_TRUE(list.Rows()[static_cast<size_t>(current + 1)].Open);
    // Up two levels by double clicking a parent row.
    ClickListItem(list, current - 1);
    ClickListItem(list, current - 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(t.main->Local->Directory(), t.dir.Path());
    EXPECT_EQ(list.Items().Strings(current), "site");
    EXPECT_FALSE(list.Rows()[static_cast<size_t>(current)].Open);
    // Enter opens the selected row; a single click only selects.
    ClickListItem(list, current);
    EXPECT_EQ(t.main->Local->Directory(), t.dir.Path());
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(t.main->Local->Directory(), site);
    // The root row opens the drive's root.
    SendMessageA(list.Handle(), LB_SETTOPINDEX, 0, 0);  // the root row in sight
    ClickListItem(list, 0);
    ClickListItem(list, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(t.main->Local->Directory(), site.substr(0, 3));
    EXPECT_EQ(list.ItemIndex(), 0);
    const int users = list.Items().IndexOf(Chain(site)[1]);
    ASSERT_GT(users, 0);
    EXPECT_EQ(list.Rows()[static_cast<size_t>(users)].Indent, 1);
    EXPECT_FALSE(list.Rows()[static_cast<size_t>(users)].Open);
}
