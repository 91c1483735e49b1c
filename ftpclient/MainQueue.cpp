// The command queue, its engine driver and the FTP log.
#include <windows.h>

#include "AppTitle.h"
#include "MainForm.h"
#include "runtime/Application.h"

void TfrmMain::QueueCommand(const TFTPCommand& c) {
    auto cmd = std::make_unique<TFTPCommand>(c);
    cmd->QueuedAt = settings_.Now();
    cmd->UseSync = UseSync;
    AbortRequested = false;
    queue_.push_back(std::move(cmd));
    ExecuteNextCommand();
}

void TfrmMain::QueueQuit() {
    connectBox_.reset();
    // With the line down already (a cancelled or refused connect) the engine
    // would refuse the quit, and its refusal would show as a second error.
    if (!FTP->IsConnected()) {
        queue_.clear();
        SetConnectedUI(false);
        return;
    }
    QueueCommand(MakeSimple(cmdQuit));
}

void TfrmMain::QueueList() {
    QueueTypeSet(false);
    // The TYPE found the session gone: the LIST would only fail once more.
    if (!FTP->IsConnected()) return;
    DeleteFileA(ListingFile.c_str());
    QueueCommand(MakeList(ListingFile, CurrentServer.IsPassive()));
}

void TfrmMain::QueueChMod(const std::string& name, const TPermissions& p) {
    QueueCommand(MakeQuote(ChModCommand(name, p)));
}

void TfrmMain::QueueDownload(const std::string& local, int64_t resume, int64_t size, bool binary,
                             const std::string& name, const std::string& folder) {
    TFTPCommand c;
    if (!MakeDownload(local, resume, size, binary, name, folder, c)) return;
    QueueTypeSet(binary);
    if (!FTP->IsConnected()) return;
    QueueCommand(c);
}

void TfrmMain::QueueUpload(const std::string& local, const std::string& folder, int64_t size, bool binary,
                           const std::string& name) {
    QueueTypeSet(binary);
    if (!FTP->IsConnected()) return;
    QueueCommand(MakeUpload(local, folder, size, binary, name));
}

void TfrmMain::FreeProgress() {
    FTP->Tag = 0;
    if (progress_) {
        progress_->OnAbort = nullptr;
        progress_.reset();
    }
}

void TfrmMain::CopyOperands(TFTPCommand& c) {
    switch (c.Kind) {
        case cmdConnect:
            FTP->HostName = c.Host;
            FTP->Port = c.Port;
            FTP->UserName = c.User;
            FTP->PassWord = c.Pass;
            break;
        case cmdList:
            FTP->HostFileName.clear();
            FTP->LocalFileName = c.LocalFileName;
            FTP->Passive = c.Passive;
            break;
        case cmdCwd: FTP->HostDirName = c.HostDirName; break;
        case cmdDele:
        case cmdRmd:
        case cmdMkd:
        case cmdSize: FTP->HostFileName = c.HostFileName; break;
        case cmdRename:
            FTP->HostFileName = c.HostFileName;
            FTP->LocalFileName = c.LocalFileName;
            break;
        case cmdType: FTP->SetBinary(c.Binary); break;
        case cmdQuote: FTP->LocalFileName = c.QuoteText; break;
        case cmdGet:
        case cmdPut: {
            FreeProgress();
            progress_ = std::make_unique<TfrmDownload>(this, settings_.Now);
            progress_->lblUploading->SetVisible(c.Kind == cmdPut);
            progress_->lblDownloading->SetVisible(c.Kind != cmdPut);
            if (c.Kind == cmdPut) progress_->SetCaption("Uploading ...");
            progress_->UpdateProgress(c.HostFileName, c.Size, 0);
            progress_->OnAbort = [this] {
                AbortRequested = true;
                if (FTP->DataConnection()) FTP->DataConnection()->Close();
                if (progress_) progress_->Hide();
            };
            progress_->Show();
            FTP->Tag = reinterpret_cast<intptr_t>(progress_.get());
            FTP->LocalFileName = c.LocalFileName;
            FTP->ResumeAt = c.ResumeAt;
            FTP->HostDirName = c.HostDirName;
            FTP->HostFileName = c.HostFileName;
            FTP->SetBinary(c.Binary);
            FTP->Passive = CurrentServer.IsPassive();
            pbTransferStatus->SetMax(c.Size);
            AbortRequested = false;
            break;
        }
        default: break;
    }
}

bool TfrmMain::RunCall(const TFTPCommand& c) {
    if (!c.UseSync) {
        switch (EngineCallOf(c)) {
            case TEngineCall::Connect: FTP->ConnectAsync(); break;
            case TEngineCall::Quit: FTP->QuitAsync(); break;
            case TEngineCall::Dir: FTP->DirAsync(); break;
            case TEngineCall::Pwd: FTP->PwdAsync(); break;
            case TEngineCall::Cwd: FTP->CwdAsync(); break;
            case TEngineCall::Dele: FTP->DeleAsync(); break;
            case TEngineCall::Rmd: FTP->RmdAsync(); break;
            case TEngineCall::Rename: FTP->RenameAsync(); break;
            case TEngineCall::Mkd: FTP->MkdAsync(); break;
            case TEngineCall::Get: FTP->GetAsync(); break;
            case TEngineCall::RestGet: FTP->RestGetAsync(); break;
            case TEngineCall::Put: FTP->PutAsync(); break;
            case TEngineCall::CDup: FTP->CDupAsync(); break;
            case TEngineCall::SetType: FTP->TypeSetAsync(); break;
            case TEngineCall::Quote: FTP->QuoteAsync(); break;
            case TEngineCall::Size: FTP->SizeAsync(); break;
        }
        return true;
    }
    switch (EngineCallOf(c)) {
        case TEngineCall::Connect: return FTP->Connect();
        case TEngineCall::Quit: return FTP->Quit();
        case TEngineCall::Dir: return FTP->Dir();
        case TEngineCall::Pwd: return FTP->Pwd();
        case TEngineCall::Cwd: return FTP->Cwd();
        case TEngineCall::Dele: return FTP->Dele();
        case TEngineCall::Rmd: return FTP->Rmd();
        case TEngineCall::Rename: return FTP->Rename();
        case TEngineCall::Mkd: return FTP->Mkd();
        case TEngineCall::Get: return FTP->Get();
        case TEngineCall::RestGet: return FTP->RestGet();
        case TEngineCall::Put: return FTP->Put();
        case TEngineCall::CDup: return FTP->CDup();
        case TEngineCall::SetType: return FTP->SetType();
        case TEngineCall::Quote: return FTP->Quote();
        case TEngineCall::Size: return FTP->Size();
    }
    return false;
}

void TfrmMain::ExecuteNextCommand() {
    if (FTP->State() != ftpStReady && FTP->State() != ftpStStepDone) return;
    if (queue_.empty()) return;
    std::unique_ptr<TFTPCommand> cmd = std::move(queue_.front());
    queue_.pop_front();
    try {
        FTP->DisplayFlag = cmd->DisplayFlag;
        FTP->Timeout = frmOptions->TimeOut();
        FTP->Tag = 0;
        CopyOperands(*cmd);
    } catch (...) {
        queue_.clear();
        FreeProgress();
        return;
    }
    SetBusy(true);
    Application->ProcessMessages();
    StartAnimation();
    AddLog("- Executing Requested Command", lkDebug);
    TCommandResult r;
    try {
        r.Succeeded = RunCall(*cmd);
    } catch (const std::exception&) {
        r.Succeeded = false;
    }
    r.ErrorMessage = FTP->ErrorMessage;
    r.AbortRequested = AbortRequested;
    SetBusy(false);
    StopAnimation();
    Application->ProcessMessages();
    r.ConnectedAfter = FTP->IsConnected();
    TCommandEnd end = PlanCommandEnd(*cmd, r);
    LastCommandOk = !end.Failed;
    if (end.Failed) {
        if (end.ShowMessage) {
            frmMessage->FormCreate();
            frmMessage->lblDesc->SetCaption(end.MessageText);
            frmMessage->ShowModal();
        }
        if (end.FreeProgressWindow) {
            FreeProgress();
            pbTransferStatus->SetPosition(0);
        }
        if (end.ClearEngineError) FTP->ErrorMessage.clear();
        if (end.ClearConnecting) Connecting = false;
        if (end.ClearQueue) queue_.clear();
    } else if (cmd->IsTransfer()) {
        FreeProgress();
    }
    AddLog(end.LogText, lkDebug);
    Application->ProcessMessages();
    cmd.reset();
    if (!FTP->IsConnected()) {
        queue_.clear();
        SetConnectedUI(false);
        SetBusy(false);
        return;
    }
    // The list shows the edited caption of a rename the server refused.
    if (end.Relist) {
        QueueList();
        QueuePwd();
    }
    if (!queue_.empty()) ExecuteNextCommand();
}

void TfrmMain::AddLog(const std::string& text, int kind) {
    TLogLine line;
    if (!MakeLogLine(text, kind, line)) return;
    HWND focus = GetFocus();
    try {
        mmoFTPLog->Lines().Add(line.Text);
        int n = mmoFTPLog->Lines().Count();
        mmoFTPLog->SetLineTextColor(n + 1, static_cast<TColor>(line.TextColor));
        mmoFTPLog->SetLineTextBack(n + 1, mmoFTPLog->def_BackColor());
        mmoFTPLog->Repaint();
    } catch (...) {
        mmoFTPLog->Lines().Clear();
    }
    if (focus && GetFocus() != focus) ::SetFocus(focus);
}

void TfrmMain::WireEngine() {
    FTP->OnCommand = [this](TObject*, std::string& cmd) { AddLog(cmd, lkCommand); };
    FTP->OnDisplay = [this](TObject*, std::string& msg) {
        AddLog(msg, lkReply);
        if (connectBox_) connectBox_->AddProgressLine(TickerText(msg), clWindowText);
    };
    FTP->OnReadyToTransmit = [this](TObject*, bool&) { AddLog("Ready to transmit", lkInfo); };
    FTP->OnProgress = [this](TObject*, int64_t count, bool& abort) { FTPProgress(count, abort); };
    FTP->OnSessionConnected = [this](TObject*, uint16_t error) {
        AddLog("Session Connected, error = " + std::to_string(error), lkSession);
        ConnectedAt = settings_.Now();
        Connected = true;
        SetConnectedUI(true);
        connectBox_.reset();
    };
    FTP->OnSessionClosed = [this](TObject*, uint16_t error) {
        AddLog("Session Disconnected, error = " + std::to_string(error), lkSession);
        Connected = false;
        SetConnectedUI(false);
        SetBusy(false);
    };
    FTP->OnStateChange = [this](TObject*) { FTPStateChange(); };
    FTP->OnRequestDone = [this](TObject*, TFtpRequest rq, uint16_t error) { FTPRequestDone(rq, error); };
}

void TfrmMain::FTPStateChange() {
    std::string text = StateText(FTP->State(), FTP->HostName);
    AddLog(text, lkStatus);
    if (FTP->State() == ftpStNotConnected) StopAnimation();
    if (connectBox_ && !text.empty()) connectBox_->AddProgressLine(text, static_cast<TColor>(11));
    if (FTP->IsConnected() && FTP->State() == ftpStReady) connectBox_.reset();
}

void TfrmMain::FTPProgress(int64_t count, bool& abort) {
    // Every report is shown, also one that arrives while the outer report
    // pumps messages: on a fast line that pump can last the whole transfer.
    try {
        pbTransferStatus->SetPosition(count);
        if (progress_) progress_->UpdateProgress(FTP->HostFileName, -1, count);
    } catch (...) {
    }
    abort = AbortRequested;
    if (abort) pbTransferStatus->SetPosition(0);
    if (inProgress_) return;
    inProgress_ = true;
    Application->ProcessMessages();
    abort = abort || AbortRequested;
    inProgress_ = false;
}

void TfrmMain::FTPRequestDone(int rq, uint16_t error) {
    AddLog("- Request " + std::to_string(rq) + " Done.", lkDebug);
    if (error != 0) return;
    if (RequestMovesServerDir(rq) || rq == ftpRqMkd) {
        AddLog("- Directory is \"" + FTP->DirResult + "\"", lkDebug);
        // An MKD reply names the new folder, not the one the server is in.
        if (RequestMovesServerDir(rq) && !FTP->DirResult.empty()) {
            PushServerDir(serverDirs_, FTP->DirResult);
            cbServerDir->Items().Clear();
            for (auto& d : serverDirs_) cbServerDir->Items().Add(d);
            cbServerDir->SetItemIndex(0);
            CurrentServerDir = FTP->DirResult;
        }
        return;
    }
    switch (rq) {
        case ftpRqDir:
        case ftpRqNameList:
        case ftpRqFullDir:
        case ftpRqFullNameList:
            FTP_ProcessDir(ListingFile);
            pbTransferStatus->SetPosition(0);
            break;
        case ftpRqGet:
        case ftpRqRestGet:
            pbTransferStatus->SetPosition(0);
            if (!AbortRequested) Local->Refresh();
            PlayTransferSound(false);
            break;
        case ftpRqSize: AddLog("- File size is " + std::to_string(FTP->SizeResult) + " bytes", lkDebug); break;
        case ftpRqPut:
            pbTransferStatus->SetPosition(0);
            PlayTransferSound(true);
            if (frmOptions->AutoRefresh() && !AbortRequested) {
                QueueList();
                QueuePwd();
            }
            break;
        default: break;
    }
}

void TfrmMain::PlayTransferSound(bool upload) {
    TCheckBox* play = upload ? frmOptions->cbPlaySoundUpload : frmOptions->cbPlaySoundDownload;
    std::string file = (upload ? frmOptions->ebxSoundUpload : frmOptions->ebxSoundDownload)->Text();
    if (!play->Checked() || file.empty() || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    PlayerWave->WaveName = file;
    PlayerWave->Play();  // synchronous: the queue goes on when it has ended
}
