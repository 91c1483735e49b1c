// The shell's folder browser as a dialog component: preselects a folder,
// sets the caption, places the dialog, shows the selected path in its status
// line and enables OK only for file-system folders.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "components/core/FolderDialogRules.h"
#include "ui/Control.h"

enum TShellFolder {
    sfoDesktopExpanded, sfoDesktop, sfoPrograms, sfoControlPanel, sfoPrinters, sfoPersonal, sfoFavorites,
    sfoStartup, sfoRecent, sfoSendto, sfoRecycleBin, sfoStartMenu, sfoDesktopDirectory, sfoMyComputer,
    sfoNetwork, sfoNetworkNeighborhood, sfoFonts, sfoTemplates, sfoCommonStartMenu, sfoCommonPrograms,
    sfoCommonStartup, sfoCommonDesktopDirectory, sfoAppData, sfoPrintHood
};

class TFolderDialog : public TComponent {
public:
    explicit TFolderDialog(TComponent* owner = nullptr);
    ~TFolderDialog() override;

    // Signed: the dialog may stand left of or above the owner's origin.
    int Left() const { return left_; }
    int Top() const { return top_; }
    void SetLeft(int v);
    void SetTop(int v);
    std::string Title() const;
    void SetTitle(const std::string& t);
    std::string Directory() const;
    void SetDirectory(const std::string& d);
    std::string Text;
    TFolderDialogOptions Options() const { return options_; }
    // Newly adding bfBrowseForComputer roots the tree at the network.
    void SetOptions(TFolderDialogOptions o);
    TShellFolder RootFolder() const { return root_; }
    void SetRootFolder(TShellFolder f);
    std::string DisplayName() const { return displayName_; }
    // Shows the text, shortened to the status line, while the dialog is open.
    void SetStatusText(const std::string& s);
    std::string StatusText() const { return status_; }
    // The dialog window while it is open, else null.
    HWND DialogWindow() const { return dialog_; }
    TNotifyEvent OnShow, OnClose, OnChange;
    // A button, check box or radio button copied into the dialog beside its
    // buttons (not owned; null for none). Its click runs while the dialog is
    // open; OK copies a check back without a click event.
    TWinControl* CustomButton() const { return custom_; }
    void SetCustomButton(TWinControl* button);
    // The copy inside the open dialog, else null.
    HWND CustomCopy() const { return copy_; }

    bool Execute();

    // The text as the status line shows it: shortened with an ellipsis to
    // width pixels in the dialog's font (the path kept whole at its end when pathStyle).
    static std::string ShortenText(HDC dc, const std::string& s, int width, bool pathStyle);

private:
    static int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM lp, LPARAM data);
    void Opened(HWND wnd);
    void SelectionChanged(LPCITEMIDLIST pidl);
    void Place();
    void CopyCustomButton();
    // The nominal layout in dialog units, in pixels of the open dialog.
    RECT Scaled(int x, int y, int w, int h) const;
    friend LRESULT CALLBACK FolderDialogProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The item list of an existing folder or drive root, or null.
    static LPITEMIDLIST PathToIdList(const std::string& path);
    static std::string IdListPath(LPCITEMIDLIST pidl);

    int left_ = 0, top_ = 0;
    std::string title_ = "Browse for Folder";
    std::string directory_;
    TFolderDialogOptions options_ = kDefaultFolderOptions;
    TShellFolder root_ = sfoDesktopExpanded;
    LPITEMIDLIST rootList_ = nullptr, current_ = nullptr;
    std::string displayName_, status_;
    HWND dialog_ = nullptr;
    HWND owner_ = nullptr;  // the owner control's window during Execute
    TWinControl* custom_ = nullptr;
    HWND copy_ = nullptr;
    bool treeFocused_ = false;
};
