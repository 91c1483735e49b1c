// The local pane: drive box, folder list, filter box and file list in one
// control, with the members the main window uses.
#pragma once

#include <string>
#include <vector>

#include "FolderList.h"
#include "ui/StdCtrls.h"

class TLocalBrowser : public TPanel {
public:
    explicit TLocalBrowser(TWinControl* parent);

    std::string Directory() const { return dir_; }
    // False (and no change) when the folder does not exist.
    bool SetDirectory(const std::string& Path);
    // Re-reads folders and files.
    void Refresh();
    int FilterIndex() const { return filter_; }
    void SetFilterIndex(int i);
    std::string Mask() const;
    std::vector<std::string> SelectedFiles() const;
    bool SelectFile(const std::string& Name);
    // The folder n levels up ("C:\a\b", 1 -> "C:\a"; a root stays).
    std::string LocalDirUp(int n) const;

    TLabel* lblLocal;
    TComboBox* cbLocalDrive;
    TFolderList* lbDirectory;  // double click or Enter opens a row's folder
    TComboBox* cbFilter;
    TListBox* lbFiles;

    void Resized() override;
    // The folder list's own height; the file list below it takes the rest.
    static constexpr int FolderListHeight = 150;

private:
    void FillDrives();
    void OpenFolderRow(int i);
    // Hosts that clip the combo boxes' windows, which reach down by their list's height.
    TPanel *driveHost_, *filterHost_;
    std::string dir_;
    int filter_ = 0;
};

bool MatchesMask(const std::string& Name, const std::string& Masks);  // "*.htm*;*.txt"
