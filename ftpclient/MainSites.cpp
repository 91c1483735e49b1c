// The main window's saved sites, the Servers menu and the connect road.
#include "MainForm.h"

#include <windows.h>

#include "ProfileIniFile.h"
#include "components/RegistryEnhanced.h"
#include "ftpclient/core/StoredValue.h"

void TfrmMain::LoadServers() {
    RegEnh->RootKey = hkCurrentUser;
    RegEnh->Access = kRead;
    RegEnh->Key = settings_.RegistryRoot + "FTP Servers\\";
    SiteFile = StoredText(RegEnh->ReadValue("INIFilename", TRegVariant::String(DefaultSiteFile)), DefaultSiteFile);
    TProfileIniFile ini(SiteFile);
    auto onChange = std::move(Servers.OnChange);
    TSiteFileGeneral g = Servers.Load(ini);
    Servers.OnChange = std::move(onChange);
    UseSync = true;  // the blocking road is the one the window supports
    FTP->Timeout = g.FTPTimeOut;  // until the first command takes the options' value
}

bool TfrmMain::SaveServers() {
    if (SiteFile != DefaultSiteFile) {
        RegEnh->RootKey = hkCurrentUser;
        RegEnh->Access = kAllAccess;
        RegEnh->Key = settings_.RegistryRoot + "FTP Servers\\";
        // A registry that refuses the name ends the save, as an unwritable site file does.
        try {
            RegEnh->WriteValue("INIFilename", TRegVariant::String(SiteFile));
        } catch (const Exception&) {
            return false;
        }
    }
    TProfileIniFile ini(SiteFile);
    return Servers.Save(ini);
}

void TfrmMain::BuildServerMenu() {
    for (int i = itmServers->Count() - 1; i >= 0; --i)
        if (itmServers->Items(i)->Tag >= 100) itmServers->Delete(i);
    for (auto& m : Servers.BuildMenu()) {
        TMenuItem* it = AddMenuItem(itmServers, m.Caption, nullptr, m.Tag);
        int tag = m.Tag;
        it->OnClick = [this, tag](TObject*) {
            if (Busy) return;
            int i = Servers.IndexOfMenuTag(tag);
            if (i >= 0) ConnectToServer(Servers.Items(i));
        };
    }
}

void TfrmMain::itmAddServerClick() {
    TfrmServerAdd dlg(this);
    // A name that is taken is refused in the dialog, which stays open.
    dlg.OnAccept = [this](const TFTPServer& s, std::string& msg) { return Servers.Add(s, msg); };
    if (dlg.ShowModal() != mrOk) return;
    BuildServerMenu();
}

void TfrmMain::itmEditServerClick() {
    TfrmServerEdit dlg(this, Servers);
    dlg.OnChanged = [this] { BuildServerMenu(); };
    dlg.ShowModal();
}

void TfrmMain::itmRemoveServerClick() {
    TfrmServerRemove dlg(this, Servers);
    dlg.OnChanged = [this] { BuildServerMenu(); };
    dlg.ShowModal();
}

void TfrmMain::tb97ConnectClick() {
    if (Busy) return;
    TfrmServerConnectTo dlg(this, Servers);
    dlg.OnAdd = [this] { itmAddServerClick(); };
    dlg.OnEdit = [this, &dlg] {
        TfrmServerEdit edit(&dlg, Servers);
        edit.OnChanged = [this] { BuildServerMenu(); };
        edit.SelectName(dlg.Chosen());
        edit.EditSelected();
    };
    if (dlg.ShowModal() != mrOk) return;
    int i = Servers.IndexOf(dlg.Chosen());
    if (i >= 0) ConnectToServer(TFTPServer(Servers.Items(i)));
}

void TfrmMain::ConnectToServer(TFTPServer site) {
    connectBox_ = std::make_unique<TfrmServerConnect>(this, FTP);
    connectBox_->OnForget = [this] { connectBox_.release(); };
    connectBox_->lblServerName->SetCaption(site.Name);
    connectBox_->lblServerAddress->SetCaption(site.Hostname + " on port " + site.Port);
    connectBox_->Show();
    CurrentServer = site;
    Connecting = true;
    QueueCommand(MakeConnect(site.Hostname, site.Port, site.Username, site.Password));
    if (FTP->IsConnected() && Connecting)
        AfterConnect();
    else
        tb97DisconnectClick();
}

void TfrmMain::AfterConnect() {
    try {
        if (!CurrentServer.LocalStartDir.empty()) Local->SetDirectory(CurrentServer.LocalStartDir);
        if (!CurrentServer.StartDir.empty()) ChangeServerDir(CurrentServer.StartDir);
        QueueList();
        QueuePwd();
    } catch (...) {
    }
}

void TfrmMain::tb97DisconnectClick() {
    if (Busy) {
        try {
            FTP->Abort();
        } catch (...) {
        }
    }
    QueueQuit();
}
