#include "ftpclient/core/FTPCommand.h"

#include "runtime/core/SysUtils.h"

const char* const AbortedTransferText = "Transfer aborted.";

TEngineCall EngineCallOf(const TFTPCommand& Command) {
    switch (Command.Kind) {
    case cmdConnect: return TEngineCall::Connect;
    case cmdQuit: return TEngineCall::Quit;
    case cmdList: return TEngineCall::Dir;
    case cmdPwd: return TEngineCall::Pwd;
    case cmdCwd: return TEngineCall::Cwd;
    case cmdDele: return TEngineCall::Dele;
    case cmdRmd: return TEngineCall::Rmd;
    case cmdRename: return TEngineCall::Rename;
    case cmdMkd: return TEngineCall::Mkd;
    case cmdGet: return Command.ResumeAt != 0 ? TEngineCall::RestGet : TEngineCall::Get;
    case cmdPut: return TEngineCall::Put;
    case cmdCDup: return TEngineCall::CDup;
    case cmdType: return TEngineCall::SetType;
    case cmdQuote: return TEngineCall::Quote;
    case cmdSize: return TEngineCall::Size;
    }
    return TEngineCall::Pwd;
}

const char* KindName(TFTPCommandKind Kind) {
    switch (Kind) {
    case cmdConnect: return "Connect";
    case cmdQuit: return "QUIT";
    case cmdList: return "LIST";
    case cmdPwd: return "PWD";
    case cmdCwd: return "CWD";
    case cmdDele: return "DELE";
    case cmdRmd: return "RMD";
    case cmdRename: return "Rename";
    case cmdMkd: return "MKD";
    case cmdGet: return "Download";
    case cmdPut: return "Upload";
    case cmdCDup: return "CDUP";
    case cmdType: return "TYPE";
    case cmdQuote: return "Quote";
    case cmdSize: return "SIZE";
    }
    return "?";
}

TFTPCommand MakeSimple(TFTPCommandKind Kind) {
    TFTPCommand c;
    c.Kind = Kind;
    return c;
}

TFTPCommand MakeConnect(const std::string& Host, const std::string& Port, const std::string& User,
                        const std::string& Pass) {
    TFTPCommand c = MakeSimple(cmdConnect);
    c.Host = Host;
    c.Port = Port;
    c.User = User;
    c.Pass = Pass;
    return c;
}

TFTPCommand MakeNamed(TFTPCommandKind Kind, const std::string& Name) {
    TFTPCommand c = MakeSimple(Kind);
    c.HostFileName = Name;
    return c;
}

TFTPCommand MakeCwd(const std::string& Folder) {
    TFTPCommand c = MakeSimple(cmdCwd);
    c.HostDirName = Folder;
    return c;
}

TFTPCommand MakeList(const std::string& ListingFile, bool Passive) {
    TFTPCommand c = MakeSimple(cmdList);
    c.LocalFileName = ListingFile;
    c.Passive = Passive;
    return c;
}

TFTPCommand MakeRename(const std::string& OldName, const std::string& NewName) {
    TFTPCommand c = MakeNamed(cmdRename, OldName);
    c.LocalFileName = NewName;
    return c;
}

TFTPCommand MakeTypeSet(bool Binary) {
    TFTPCommand c = MakeSimple(cmdType);
    c.Binary = Binary;
    return c;
}

TFTPCommand MakeQuote(const std::string& Text) {
    TFTPCommand c = MakeSimple(cmdQuote);
    c.QuoteText = Text;
    return c;
}

bool MakeDownload(const std::string& LocalPath, int64_t ResumeAt, int64_t Size, bool Binary,
                  const std::string& RemoteName, const std::string& RemoteFolder, TFTPCommand& Out) {
    if (RemoteName == "." || RemoteName == "..") return false;
    Out = MakeNamed(cmdGet, RemoteName);
    Out.LocalFileName = LocalPath;
    Out.HostDirName = RemoteFolder;
    Out.Binary = Binary;
    Out.Size = Size;
    Out.ResumeAt = ResumeAt;
    return true;
}

TFTPCommand MakeUpload(const std::string& LocalPath, const std::string& RemoteFolder, int64_t Size, bool Binary,
                       const std::string& RemoteName) {
    TFTPCommand c = MakeNamed(cmdPut, RemoteName);
    c.LocalFileName = LocalPath;
    c.HostDirName = RemoteFolder;
    c.Binary = Binary;
    c.Size = Size;
    return c;
}

std::string FallbackErrorText(TFTPCommandKind Kind) {
    return std::string(KindName(Kind)) + " failed: the FTP engine refused the request.";
}

TCommandEnd PlanCommandEnd(const TFTPCommand& Command, const TCommandResult& Result) {
    TCommandEnd end;
    bool aborted = Command.IsTransfer() && Result.AbortRequested;
    end.Failed = !Result.Succeeded || aborted;
    if (!end.Failed) {
        end.LogText = "- Command Success";
    } else {
        std::string text = Result.ErrorMessage;
        if (aborted && Result.Succeeded) text = AbortedTransferText;
        if (text.empty()) text = FallbackErrorText(Command.Kind);
        // A failed size probe of a link is an answer, not an error to show.
        end.ShowMessage = Command.Kind != cmdSize;
        end.MessageText = end.ShowMessage ? text : std::string();
        // Whatever failed, a progress window left behind would abort the next transfer when closed.
        end.FreeProgressWindow = true;
        end.ClearEngineError = !Result.ErrorMessage.empty();
        end.LogText = "- Command Failure : " + text;
        end.Relist = Command.Kind == cmdRename;
        if (Command.StopOnFail && Command.Kind == cmdConnect) {
            end.ClearConnecting = true;
            end.ClearQueue = true;
        }
    }
    if (!Result.ConnectedAfter) {
        end.ClearQueue = true;
        end.DisconnectedUI = true;
    }
    return end;
}

bool RequestMovesServerDir(int RqType) {
    // ftpRqCwd, ftpRqPwd, ftpRqCDup; an MKD reply names the new folder, not the current one.
    return RqType == 4 || RqType == 31 || RqType == 33;
}

void PushServerDir(std::vector<std::string>& Items, const std::string& Folder) {
    if (Folder.empty()) return;
    for (size_t i = 0; i < Items.size(); ++i) {
        if (SameText(Items[i], Folder)) {
            Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    Items.insert(Items.begin(), Folder);
}
