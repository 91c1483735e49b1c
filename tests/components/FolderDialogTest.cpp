// The folder browser driven to OK and to Cancel under Wine.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdlib>

#include "ComponentTestSupport.h"
#include "TestSupport.h"
#include "components/FolderDialog.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

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

namespace {
void CALLBACK ClickCopyThenOk(HWND dlg, UINT, UINT_PTR id, DWORD) {
    KillTimer(dlg, id);
    HWND c = GetDlgItem(dlg, 0x4C43);
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(0x4C43, BN_CLICKED), reinterpret_cast<LPARAM>(c));
    SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(FolderDialog, CustomCheckBoxIsCopiedBesideTheButtonsAndItsCheckComesBack) {
    CoInitialize(nullptr);
    // The focus goes with the activation, which another process showing a
    // window takes meanwhile: such a run is repeated.
    qftest::RetryWhileActivationTaken([] {
        TForm owner;
        owner.SetBounds(100, 100, 400, 300);
        auto* keep = new TCheckBox(&owner);
        keep->SetBounds(10, 10, 80, 20);
        keep->SetCaption("&Keep folder names");
        keep->SetChecked(true, true);
        owner.Show();
        int clicks = 0;
        bool treeHadFocus = false;
        TFolderDialog d(&owner);
        d.SetCustomButton(keep);
        d.SetDirectory("C:\\windows");
        keep->OnClick = [&](TObject*) {
            ++clicks;
            treeHadFocus = GetFocus() == GetDlgItem(d.DialogWindow(), 14145);
        };
        HWND copy = nullptr;
        char text[64] = "";
        LRESULT copiedCheck = -1;
        RECT copyRect{}, okRect{};
        bool copyEnabled = false;
        d.OnShow = [&](TObject*) {
            HWND w = d.DialogWindow();
            copy = d.CustomCopy();
            ASSERT_NE(copy, nullptr);
            GetWindowTextA(copy, text, sizeof text);
            copiedCheck = SendMessageA(copy, BM_GETCHECK, 0, 0);
            copyEnabled = IsWindowEnabled(copy) != FALSE;
            GetWindowRect(copy, &copyRect);
            GetWindowRect(GetDlgItem(w, IDOK), &okRect);
            // Once the dialog shows, the user clicks the copy, clears its check and chooses OK.
            SetTimer(w, 1, 100, ClickCopyThenOk);
        };
        ASSERT_TRUE(d.Execute());
        EXPECT_STREQ(text, "&Keep folder names");
        EXPECT_EQ(copiedCheck, BST_CHECKED);
        EXPECT_TRUE(copyEnabled) << "in step with OK (a file-system folder is selected)";
        EXPECT_LT(copyRect.right, okRect.left) << "at the left of the button row";
        EXPECT_LT(std::abs(copyRect.top - okRect.top), 8) << "in the button row";
        EXPECT_EQ(clicks, 1) << "the copy's click ran the button's handler";
        EXPECT_TRUE(treeHadFocus) << "the folder tree has the focus once shown";
        EXPECT_FALSE(keep->Checked()) << "OK copies the check back";
        EXPECT_EQ(clicks, 1) << "without a click event";
        EXPECT_EQ(d.CustomCopy(), nullptr) << "the copy goes with the dialog";
    });
    CoUninitialize();
}

TEST(FolderDialog, BrowsingForComputersRootsTheTreeAtTheNetwork) {
    struct Case {
        const char* name;
        TFolderDialogOptions before, set;
        TShellFolder root;
    } cases[] = {
        {"newly added: the network", kDefaultFolderOptions, Opt(bfBrowseForComputer), sfoNetwork},
        {"already there: the root stays", Opt(bfBrowseForComputer), Opt(bfBrowseForComputer) | Opt(bfStatusText),
         sfoMyComputer},
        {"other options: the root stays", kDefaultFolderOptions, Opt(bfBrowseForPrinter), sfoMyComputer},
    };
    for (const Case& c : cases) {
        TFolderDialog d;
        d.SetOptions(c.before);
        d.SetRootFolder(sfoMyComputer);
        d.SetOptions(c.set);
        EXPECT_EQ(d.RootFolder(), c.root) << c.name;
        EXPECT_FALSE(d.Options() & Opt(bfFileSysDirsOnly)) << c.name;
    }
}
