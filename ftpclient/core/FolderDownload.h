// Downloading remote folders whole: the walk over the tree, with the
// selection taken as a snapshot first. No platform headers.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "ftpclient/core/ListingParser.h"

// One remote row, copied before anything can re-list.
struct TDirEntry {
    std::string Name;
    int64_t Size = 0;
    bool IsFolder = false;
};

// The rows to fetch, in list order, without "." and "..": a folder download
// re-lists the pane, so the live selection cannot be walked.
std::vector<TDirEntry> SnapshotRows(const std::vector<TListingEntry>& Rows);

// What the walk needs of the window: the queue's blocking commands and the
// local disk.
class TFolderDownloadSite {
public:
    virtual ~TFolderDownloadSite() = default;
    // CWD to Name (relative) and PWD; false when the CWD failed. Folder is
    // the server's answer to PWD, or empty when it gave none.
    virtual bool EnterFolder(const std::string& Name, std::string& Folder) = 0;
    // Back to the folder the walk came from: CWD to its path when known,
    // else CDUP; then LIST and PWD.
    virtual void LeaveFolder(const std::string& ParentFolder) = 0;
    // LIST of the current folder; false when the server did not list it
    // (Rows is then not to be used).
    virtual bool ListFolder(std::vector<TListingEntry>& Rows) = 0;
    virtual void CreateLocalFolder(const std::string& Path) = 0;
    virtual void QueueDownload(const std::string& LocalPath, int64_t Size, const std::string& Name,
                               const std::string& RemoteFolder) = 0;
    virtual bool AbortRequested() = 0;
    // The session still stands: once it is lost every command would fail.
    virtual bool Connected() = 0;
    // A folder or name that was skipped, with the reason, for the user.
    virtual void Skipped(const std::string& Message) = 0;
};

class TFolderDownload {
public:
    static constexpr int MaxDepth = 32;

    explicit TFolderDownload(TFolderDownloadSite& Site) : site_(Site) {}

    // Fetches remote folder Name (below RemoteParent, whose PWD path is
    // ParentFolder when known) into LocalPath. Stops at every level once
    // the user aborts; once the session is lost it stops without another
    // command.
    void Run(const std::string& LocalPath, const std::string& RemoteParent, const std::string& Name,
             const std::string& ParentFolder = "");
    bool Cancelled() const { return cancelled_; }
    bool SessionLost() const { return lost_; }

private:
    void Walk(const std::string& local, const std::string& remote, const std::string& name,
              const std::string& parentFolder, int depth);
    bool CheckAbort();
    bool Lost();  // the session is gone: no command may follow

    TFolderDownloadSite& site_;
    std::set<std::string> visited_;
    // One flag for the whole tree: queueing clears the window's abort
    // request, so each level cannot rely on seeing it for itself.
    bool cancelled_ = false;
    bool lost_ = false;
};
