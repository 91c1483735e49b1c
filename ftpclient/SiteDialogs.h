// The site dialogs: add (also used to edit), edit, remove, connect-to, and
// the connecting box. They work on the main window's site list directly.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ServerConnectForm.h"
#include "components/Edit97.h"
#include "ftpclient/core/ServerList.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"


class TfrmServerAdd : public TForm {
public:
    explicit TfrmServerAdd(TForm* owner);
    void LoadSite(const TFTPServer& s);
    TFTPServer Site() const;
    // Run on "&Cool" with the dialog's site: false (with a message, which is
    // shown) keeps the dialog open, so nothing typed is lost.
    std::function<bool(const TFTPServer& Site, std::string& Message)> OnAccept;
    TEdit97 *edtName, *edtHost, *edtPort, *edtUser, *edtPass, *edtEmail, *edtStartDir, *edtLocalStartDir;
    TRadioButton *rbAnonymous, *rbUser;
    TCheckBox* cbPassive;
    TButton *btnOk, *btnCancel;

private:
    void ModeChanged();
    void Accept();
};

// The read-only facts of the sites chosen in a site list.
class TSiteInfoPanel : public TPanel {
public:
    explicit TSiteInfoPanel(TWinControl* parent);
    // None: hidden; one: its values; several: "(multiple sites selected)".
    void ShowSites(const std::vector<const TFTPServer*>& Sites);
    TEdit97 *edtAddress, *edtUser, *edtLocalDir, *edtRemoteDir;
};

// A list of the site names with the information panel below it.
class TSiteListForm : public TForm {
public:
    TSiteListForm(TForm* owner, TServerList& Servers, const std::string& Prompt, bool MultiSelect);
    void FillList();
    std::vector<std::string> SelectedNames() const;
    // Selects the entry whose text equals Name (case counts), else the first.
    void SelectName(const std::string& Name);
    TListBox* lbServers;
    TSiteInfoPanel* pnlInfo;

protected:
    virtual void SelectionChanged();
    TServerList& servers_;
};

class TfrmServerEdit : public TSiteListForm {
public:
    TfrmServerEdit(TForm* owner, TServerList& Servers);
    // Edits the selected site in the add dialog; true when it changed.
    bool EditSelected();
    // After every accepted edit (the main window rebuilds its menu).
    std::function<void()> OnChanged;
    TButton* btnFinish;
};

class TfrmServerRemove : public TSiteListForm {
public:
    TfrmServerRemove(TForm* owner, TServerList& Servers);
    std::function<void()> OnChanged;
    TButton *btnDelete, *btnCancel;

private:
    void DeleteClick();
};

// Chooses the site to connect to.
class TfrmServerConnectTo : public TSiteListForm {
public:
    TfrmServerConnectTo(TForm* owner, TServerList& Servers);
    TButton *btnOk, *btnEdit, *btnAdd, *btnCancel;
    std::string Chosen() const;
    std::function<void()> OnAdd, OnEdit;

protected:
    void SelectionChanged() override;
};

// "Is it ok to delete this  FTP server" / "... these 3 FTP servers".
std::string RemoveSitesQuestion(int Count);
