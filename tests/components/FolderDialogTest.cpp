// The folder browser driven to OK and to Cancel under Wine.
#include <gtest/gtest.h>

#include <objbase.h>

#include "ComponentTestSupport.h"
#include "components/FolderDialog.h"
#include "ui/Form.h"

namespace {

struct Seen {
    std::string caption, status, directory;
    RECT rect{};
    bool okEnabled = false;
};

void DriveTo(TFolderDialog& d, Seen& seen, WPARAM button) {
    d.OnShow = [&d, &seen, button](TObject*) {
        HWND w = d.DialogWindow();
        char buf[256];
        GetWindowTextA(w, buf, sizeof buf);
        seen.caption = buf;
        GetWindowRect(w, &seen.rect);
        seen.okEnabled = IsWindowEnabled(GetDlgItem(w, IDOK)) != FALSE;
        seen.status = d.StatusText();
        seen.directory = d.Directory();
        PostMessageA(w, WM_COMMAND, button, 0);
    };
}

}  // namespace

TEST(FolderDialog, DrivenToOk) {
    CoInitialize(nullptr);
    TForm owner;
    owner.SetBounds(100, 100, 400, 300);
    owner.Show();
    TFolderDialog d(&owner);
    d.SetTitle("Choose destination for this directory");
    d.SetDirectory("C:\\windows");
    Seen seen;
    DriveTo(d, seen, IDOK);
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(seen.caption, "Choose destination for this directory");
    EXPECT_TRUE(seen.okEnabled);
    EXPECT_TRUE(_stricmp(seen.directory.c_str(), "C:\\windows") == 0) << seen.directory;
    EXPECT_FALSE(seen.status.empty()) << "the path in the status line";
    // Centred on the owner horizontally, a quarter of its height below its top.
    const int w = seen.rect.right - seen.rect.left;
    EXPECT_EQ(seen.rect.left, 100 + (400 - w) / 2);
    EXPECT_EQ(seen.rect.top, 100 + 300 / 4);
    EXPECT_TRUE(_stricmp(d.Directory().c_str(), "C:\\windows") == 0) << d.Directory();
    CoUninitialize();
}

TEST(FolderDialog, CancelEmptiesDirectoryAndNegativePlaceIsKept) {
    CoInitialize(nullptr);
    TFolderDialog d;
    d.SetOptions(d.Options() & static_cast<TFolderDialogOptions>(~Opt(bfParentCenter)));
    d.SetLeft(-10);
    d.SetTop(-5);
    EXPECT_EQ(d.Left(), -10);
    EXPECT_EQ(d.Top(), -5);
    d.SetDirectory("C:\\windows");
    Seen seen;
    DriveTo(d, seen, IDCANCEL);
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(d.Directory(), "") << "even though it was preset";
    EXPECT_EQ(seen.rect.left, -10);
    EXPECT_EQ(seen.rect.top, -5);
    CoUninitialize();
}

TEST(FolderDialog, DriveRootWithTrailingDot) {
    CoInitialize(nullptr);
    TFolderDialog d;
    d.SetDirectory("C:\\.");
    Seen seen;
    DriveTo(d, seen, IDOK);
    ASSERT_TRUE(d.Execute());
    EXPECT_TRUE(_stricmp(seen.directory.c_str(), "C:\\") == 0) << seen.directory;
    EXPECT_TRUE(_stricmp(d.Directory().c_str(), "C:\\") == 0) << d.Directory();
    CoUninitialize();
}

TEST(FolderDialog, StatusTextShortenedWithinItsBuffer) {
    HDC dc = GetDC(nullptr);
    const std::string longPath = "C:\\a very long folder name\\another long folder name\\and the last one";
    const std::string shown = TFolderDialog::ShortenText(dc, longPath, 80, true);
    ReleaseDC(nullptr, dc);
    EXPECT_LT(shown.size(), longPath.size() + 1);
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    HDC dc2 = GetDC(nullptr);
    EXPECT_EQ(TFolderDialog::ShortenText(dc2, "C:\\a", 400, true), "C:\\a") << "short text unchanged";
    ReleaseDC(nullptr, dc2);
}
