// The queued FTP commands of the main window and what their end means:
// which engine call runs a command, and what a success or a failure does to
// the queue, the progress window and the message box. No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum TFTPCommandKind : int32_t {
    cmdConnect = 1,
    cmdQuit = 2,
    cmdList = 4,
    cmdPwd = 5,
    cmdCwd = 7,
    cmdDele = 8,
    cmdRmd = 9,
    cmdRename = 10,
    cmdMkd = 11,
    cmdGet = 12,
    cmdPut = 13,
    cmdCDup = 14,
    cmdType = 16,
    cmdQuote = 18,
    cmdSize = 19,
};

// The engine operation that runs a command (blocking call or its twin).
enum class TEngineCall {
    Connect, Quit, Dir, Pwd, Cwd, Dele, Rmd, Rename, Mkd, Get, RestGet, Put, CDup, SetType, Quote, Size,
};

struct TFTPCommand {
    TFTPCommandKind Kind = cmdPwd;
    double QueuedAt = 0;  // date-time, days
    bool UseSync = true;
    bool StopOnFail = true;
    bool DisplayFlag = false;
    std::string Host;
    std::string Port;
    std::string User;
    std::string Pass;
    std::string HostFileName;
    std::string LocalFileName;  // also the new name of a rename
    bool Passive = false;
    std::string HostDirName;
    std::string QuoteText;
    bool Binary = false;
    int64_t Size = 0;      // progress maximum
    int64_t ResumeAt = 0;  // download offset, 0 for none

    bool IsTransfer() const { return Kind == cmdGet || Kind == cmdPut; }
};

TEngineCall EngineCallOf(const TFTPCommand& Command);
const char* KindName(TFTPCommandKind Kind);

// Builders of the commands the window queues.
TFTPCommand MakeConnect(const std::string& Host, const std::string& Port, const std::string& User,
                        const std::string& Pass);
TFTPCommand MakeSimple(TFTPCommandKind Kind);  // quit, pwd, cdup
TFTPCommand MakeNamed(TFTPCommandKind Kind, const std::string& Name);  // dele, rmd, mkd, size
TFTPCommand MakeCwd(const std::string& Folder);
TFTPCommand MakeList(const std::string& ListingFile, bool Passive);
TFTPCommand MakeRename(const std::string& OldName, const std::string& NewName);
TFTPCommand MakeTypeSet(bool Binary);
TFTPCommand MakeQuote(const std::string& Text);
// False for "." and "..", which are never fetched as files.
bool MakeDownload(const std::string& LocalPath, int64_t ResumeAt, int64_t Size, bool Binary,
                  const std::string& RemoteName, const std::string& RemoteFolder, TFTPCommand& Out);
TFTPCommand MakeUpload(const std::string& LocalPath, const std::string& RemoteFolder, int64_t Size, bool Binary,
                       const std::string& RemoteName);

// How a run ended, as the queue runner saw it.
struct TCommandResult {
    bool Succeeded = false;
    std::string ErrorMessage;     // the engine's, possibly empty
    bool AbortRequested = false;  // the user stopped the transfer
    bool ConnectedAfter = true;   // the engine's IsConnected after the run
};

// What the window does about it.
struct TCommandEnd {
    bool Failed = false;
    bool ShowMessage = false;          // the message box, modal
    std::string MessageText;
    bool FreeProgressWindow = false;   // on every failure, shown or not
    bool ClearEngineError = false;
    bool ClearQueue = false;
    bool ClearConnecting = false;
    bool DisconnectedUI = false;
    bool Relist = false;               // a failed rename: the list shows the edited caption
    std::string LogText;               // debug kind
};

// An aborted transfer counts as failed even when the server closed it with
// 226: a truncated remote file is not done.
TCommandEnd PlanCommandEnd(const TFTPCommand& Command, const TCommandResult& Result);

// The message shown when the engine failed without saying why.
std::string FallbackErrorText(TFTPCommandKind Kind);
extern const char* const AbortedTransferText;

// Request numbers of the engine whose reply names the server's current folder.
bool RequestMovesServerDir(int RqType);

// The folder box keeps reported folders, most recent first: an equal entry
// (case aside) moves to the top, a new one is put there.
void PushServerDir(std::vector<std::string>& Items, const std::string& Folder);
