// The rows of the local folder list: the drive root, every folder down to
// the current one (open), then the current folder's subfolders (closed),
// each one step further in than the row it belongs to. No platform headers.
#pragma once

#include <string>
#include <vector>

struct TFolderRow {
    std::string Name;  // what the row shows: "c:\" for the root, else the folder's own name
    std::string Path;  // the folder the row opens
    int Indent = 0;    // steps in from the left
    bool Open = false; // the current folder or one above it
};

// Folder: a full path ("C:\a\b", "C:\", "\\host\share\a"); Subfolders: the
// names inside it, any order ("." and ".." are left out). Subfolders come
// sorted without regard to case.
std::vector<TFolderRow> FolderTreeRows(const std::string& Folder, std::vector<std::string> Subfolders);
// The row of the current folder: the last open one (-1 for no rows).
int CurrentFolderRow(const std::vector<TFolderRow>& Rows);
