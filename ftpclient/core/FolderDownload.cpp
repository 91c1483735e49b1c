#include "ftpclient/core/FolderDownload.h"

#include "ftpclient/core/ClientUtils.h"

namespace {

std::string JoinRemote(const std::string& parent, const std::string& name) {
    return (!parent.empty() && parent.back() == '/') ? parent + name : parent + "/" + name;
}

}  // namespace

std::vector<TDirEntry> SnapshotRows(const std::vector<TListingEntry>& Rows) {
    std::vector<TDirEntry> out;
    for (const TListingEntry& r : Rows) {
        if (IsDotRow(r.Name)) continue;
        out.push_back(TDirEntry{r.Name, SizeOfText(r.SizeText), IsFolderRow(r)});
    }
    return out;
}

bool TFolderDownload::CheckAbort() {
    if (!cancelled_ && site_.AbortRequested()) cancelled_ = true;
    if (!lost_ && !site_.Connected()) lost_ = cancelled_ = true;
    return cancelled_;
}

bool TFolderDownload::Lost() {
    CheckAbort();
    return lost_;
}

void TFolderDownload::Run(const std::string& LocalPath, const std::string& RemoteParent, const std::string& Name,
                          const std::string& ParentFolder) {
    std::string message;
    if (!CheckRemoteNameForLocal(Name, message)) {
        site_.Skipped(message);
        return;
    }
    if (CheckAbort()) return;
    if (!ParentFolder.empty()) visited_.insert(ParentFolder);
    Walk(LocalPath, RemoteParent, Name, ParentFolder, 1);
}

void TFolderDownload::Walk(const std::string& local, const std::string& remote, const std::string& name,
                           const std::string& parentFolder, int depth) {
    std::string here = JoinRemote(remote, name);
    if (depth > MaxDepth) {
        site_.Skipped("The folder \"" + here + "\" is nested too deep; it was skipped.");
        return;
    }
    site_.CreateLocalFolder(local);
    std::string folder;
    if (!site_.EnterFolder(name, folder)) {
        if (Lost()) return;
        // The server stayed where it was: nothing to list and nothing to leave.
        site_.Skipped("Could not open the folder \"" + here + "\"; it was skipped.");
        return;
    }
    // A link back to a folder already on the way ("." or a parent) would never end.
    if (!folder.empty() && !visited_.insert(folder).second) {
        site_.Skipped("The folder \"" + here + "\" was already fetched; it was skipped.");
        site_.LeaveFolder(parentFolder);
        return;
    }
    std::vector<TListingEntry> rows;
    if (!site_.ListFolder(rows)) {
        if (Lost()) return;
        // What the list still shows is another folder's: nothing of it belongs here.
        site_.Skipped("Could not list the folder \"" + here + "\"; it was skipped.");
        site_.LeaveFolder(parentFolder);
        return;
    }
    std::vector<TDirEntry> entries = SnapshotRows(rows);
    for (const TDirEntry& e : entries) {
        if (CheckAbort()) break;
        std::string message;
        if (!CheckRemoteNameForLocal(e.Name, message)) {
            site_.Skipped(message);
            continue;
        }
        if (e.IsFolder) Walk(local + "\\" + e.Name, here, e.Name, folder, depth + 1);
        else site_.QueueDownload(local + "\\" + e.Name, e.Size, e.Name, here);
    }
    if (Lost()) return;
    site_.LeaveFolder(parentFolder);
}
