#include "SiteDialogs.h"

#include "AppTitle.h"
#include "ClientDialogs.h"
#include "ui/core/Prompter.h"

namespace {
void Inform(const std::string& text) { Prompter().ShowMessageBox(text, AppTitle, MB_OK | MB_ICONINFORMATION); }
}  // namespace

std::string RemoveSitesQuestion(int Count) {
    if (Count == 1) return std::string("Is it ok to delete ") + "this " + " FTP server";
    return std::string("Is it ok to delete ") + "these " + std::to_string(Count) + " FTP server" + "s";
}

TfrmServerAdd::TfrmServerAdd(TForm* owner) : TForm(owner) {
    SetUpDialog(*this, "frmServerAdd", " Add a new FTP Server", 420, 360);
    auto edit = [this](const char* label, int y, TEdit97*& e) {
        MakeLabel(this, label, 12, y + 3, 130);
        e = new TEdit97(this);
        e->SetBounds(150, y, 250, 21);
    };
    edit("Name:", 10, edtName);
    edit("Hostname:", 36, edtHost);
    edit("Port:", 62, edtPort);
    edtPort->SetText("21");
    rbAnonymous = new TRadioButton(this);
    rbAnonymous->SetCaption("Anonymous");
    rbAnonymous->SetBounds(12, 90, 200, 18);
    edit("E-mail:", 110, edtEmail);
    edtEmail->SetText("user@domain.com");
    rbUser = new TRadioButton(this);
    rbUser->SetCaption("Requires username and password");
    rbUser->SetBounds(12, 138, 260, 18);
    edit("Username:", 158, edtUser);
    edit("Password:", 184, edtPass);
    edtPass->SetPasswordChar('*');
    cbPassive = new TCheckBox(this);
    cbPassive->SetCaption("Use Firewall Friendly operation (Passive Mode)");
    cbPassive->SetBounds(12, 212, 380, 18);
    edit("Remote start folder:", 236, edtStartDir);
    edit("Local start folder:", 262, edtLocalStartDir);
    btnOk = MakeButton(this, "&Cool", 0, 110, 294);
    btnCancel = MakeButton(this, "&No Way !", mrCancel, 220, 294);
    btnCancel->Cancel = true;
    rbAnonymous->SetChecked(true, true);
    rbAnonymous->OnClick = [this](TObject*) { ModeChanged(); };
    rbUser->OnClick = [this](TObject*) { ModeChanged(); };
    btnOk->OnClick = [this](TObject*) { Accept(); };
    ModeChanged();
}

void TfrmServerAdd::Accept() {
    if (edtName->Text().empty()) {
        Inform("You must enter a name for this FTP Server");
        return;
    }
    if (edtPort->Text().empty()) edtPort->SetText("21");
    std::string msg;
    if (OnAccept && !OnAccept(Site(), msg)) {
        Inform(msg);
        return;
    }
    SetModalResult(mrOk);
}

void TfrmServerAdd::ModeChanged() {
    bool anon = rbAnonymous->Checked();
    edtEmail->SetEnabled(anon);
    edtUser->SetEnabled(!anon);
    edtPass->SetEnabled(!anon);
}

void TfrmServerAdd::LoadSite(const TFTPServer& s) {
    edtName->SetText(s.Name);
    edtHost->SetText(s.Hostname);
    edtPort->SetText(s.Port);
    bool anon = s.IsAnonymous();
    rbAnonymous->SetChecked(anon, true);
    rbUser->SetChecked(!anon, true);
    if (anon) {
        edtEmail->SetText(s.Password);
    } else {
        edtUser->SetText(s.Username);
        edtPass->SetText(s.Password);
    }
    cbPassive->SetChecked(s.PasvMode == pasvYes, true);
    edtStartDir->SetText(s.StartDir);
    edtLocalStartDir->SetText(s.LocalStartDir);
    ModeChanged();
}

TFTPServer TfrmServerAdd::Site() const {
    TFTPServer s;
    s.Name = edtName->Text();
    s.Hostname = edtHost->Text();
    s.Port = edtPort->Text().empty() ? "21" : edtPort->Text();
    if (rbAnonymous->Checked()) {
        s.Username = "anonymous";
        s.Password = edtEmail->Text();
    } else {
        s.Username = edtUser->Text();
        s.Password = edtPass->Text();
    }
    s.PasvMode = cbPassive->Checked() ? pasvYes : pasvNo;
    s.StartDir = edtStartDir->Text();
    s.LocalStartDir = edtLocalStartDir->Text();
    return s;
}

TSiteInfoPanel::TSiteInfoPanel(TWinControl* parent) : TPanel(parent) {
    BevelOuter = bvLowered;
    auto row = [this](const char* label, int y, TEdit97*& e) {
        MakeLabel(this, label, 8, y + 3, 124);
        e = new TEdit97(this);
        e->SetReadOnly(true);
        e->SetBounds(134, y, 188, 21);
    };
    row("Address:", 6, edtAddress);
    row("Username:", 30, edtUser);
    row("Local start folder:", 54, edtLocalDir);
    row("Remote start folder:", 78, edtRemoteDir);
    Hide();
}

void TSiteInfoPanel::ShowSites(const std::vector<const TFTPServer*>& Sites) {
    if (Sites.empty()) {
        Hide();
        return;
    }
    const std::string many = "(multiple sites selected)";
    const TFTPServer* s = Sites.size() == 1 ? Sites[0] : nullptr;
    edtAddress->SetText(s ? s->Hostname + " on port " + s->Port : many);
    edtUser->SetText(s ? s->Username : many);
    edtLocalDir->SetText(s ? s->LocalStartDir : many);
    edtRemoteDir->SetText(s ? s->StartDir : many);
    Show();
}

TSiteListForm::TSiteListForm(TForm* owner, TServerList& Servers, const std::string& Prompt, bool MultiSelect)
    : TForm(owner), servers_(Servers) {
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    SetBounds(0, 0, 360, 380);
    MakeLabel(this, Prompt, 12, 10, 330);
    lbServers = new TListBox(this);
    lbServers->SetSorted(true);
    lbServers->SetMultiSelect(MultiSelect);
    lbServers->SetBounds(12, 30, 330, 160);
    pnlInfo = new TSiteInfoPanel(this);
    pnlInfo->SetBounds(12, 196, 330, 106);
    lbServers->OnClick = [this](TObject*) { SelectionChanged(); };
    lbServers->OnKeyUp = [this](TObject*, WORD&, TShiftState) { SelectionChanged(); };
    FillList();
}

void TSiteListForm::FillList() {
    lbServers->Clear();
    for (int i = 0; i < servers_.Count(); ++i) lbServers->Items().Add(servers_.Items(i).Name);
    SelectionChanged();
}

std::vector<std::string> TSiteListForm::SelectedNames() const {
    std::vector<std::string> out;
    for (int i = 0; i < lbServers->Items().Count(); ++i)
        if (lbServers->Selected(i)) out.push_back(lbServers->Items().Strings(i));
    return out;
}

void TSiteListForm::SelectName(const std::string& Name) {
    int at = 0;
    for (int i = 0; i < lbServers->Items().Count(); ++i)
        if (lbServers->Items().Strings(i) == Name) {
            at = i;
            break;
        }
    if (lbServers->Items().Count() == 0) return;
    if (lbServers->MultiSelect())
        lbServers->SetSelected(at, true);
    else
        lbServers->SetItemIndex(at);
    SelectionChanged();
}

void TSiteListForm::SelectionChanged() {
    std::vector<const TFTPServer*> sites;
    for (auto& n : SelectedNames()) {
        int i = servers_.IndexOf(n);
        if (i >= 0) sites.push_back(&servers_.Items(i));
    }
    pnlInfo->ShowSites(sites);
}

TfrmServerEdit::TfrmServerEdit(TForm* owner, TServerList& Servers)
    : TSiteListForm(owner, Servers, "Double-Click an FTP Server to Edit:", false) {
    SetName("frmServerEdit");
    SetCaption(" Edit a FTP Server");
    btnFinish = MakeButton(this, "&Finish", mrOk, 140, 312);
    btnFinish->SetDefault(true);
    lbServers->OnDblClick = [this](TObject*) { EditSelected(); };
}

bool TfrmServerEdit::EditSelected() {
    auto names = SelectedNames();
    if (names.size() != 1) return false;
    int i = servers_.IndexOf(names[0]);
    if (i < 0) return false;
    TfrmServerAdd dlg(this);
    dlg.SetCaption("Edit a FTP Server");
    dlg.LoadSite(servers_.Items(i));
    // Refused when the new name is another site's; a rename re-sorts the list.
    dlg.OnAccept = [this, i](const TFTPServer& s, std::string& msg) { return servers_.Update(i, s, msg); };
    if (dlg.ShowModal() != mrOk) return false;
    if (OnChanged) OnChanged();
    std::string name = dlg.edtName->Text();
    FillList();
    SelectName(name);
    return true;
}

TfrmServerRemove::TfrmServerRemove(TForm* owner, TServerList& Servers)
    : TSiteListForm(owner, Servers, "Choose which FTP server to remove:", true) {
    SetName("frmServerRemove");
    SetCaption(" Remove a FTP Server");
    btnDelete = MakeButton(this, "&Delete", 0, 80, 312);
    btnCancel = MakeButton(this, "&No Way !", mrCancel, 190, 312);
    btnCancel->Cancel = true;
    btnDelete->OnClick = [this](TObject*) { DeleteClick(); };
}

void TfrmServerRemove::DeleteClick() {
    auto names = SelectedNames();
    if (names.empty()) {
        SetModalResult(mrCancel);
        return;
    }
    int a = Prompter().ShowMessageBox(RemoveSitesQuestion(static_cast<int>(names.size())), AppTitle,
                                      MB_YESNOCANCEL | MB_ICONQUESTION);
    if (a == IDCANCEL) return;
    if (a != IDYES) {
        SetModalResult(mrCancel);
        return;
    }
    for (auto& n : names) servers_.Remove(servers_.IndexOf(n));
    if (OnChanged) OnChanged();
    SetModalResult(mrOk);
}

TfrmServerConnectTo::TfrmServerConnectTo(TForm* owner, TServerList& Servers)
    : TSiteListForm(owner, Servers, "Choose which FTP server to connect to:", false) {
    SetName("frmServerConnectTo");
    SetCaption("Connect To a FTP Server");
    SetBounds(0, 0, 440, 380);
    lbServers->SetBounds(12, 30, 410, 160);
    pnlInfo->SetBounds(12, 196, 410, 106);
    btnOk = MakeButton(this, "&Cool", mrOk, 12, 312);
    btnEdit = MakeButton(this, "&Edit Server", 0, 116, 312, 90);
    btnAdd = MakeButton(this, "&Add Server", 0, 220, 312, 90);
    btnCancel = MakeButton(this, "&No Way !", mrCancel, 330, 312);
    btnCancel->Cancel = true;
    lbServers->OnDblClick = [this](TObject*) {
        if (lbServers->ItemIndex() >= 0) SetModalResult(mrOk);
    };
    btnAdd->OnClick = [this](TObject*) {
        if (OnAdd) OnAdd();
        FillList();
    };
    btnEdit->OnClick = [this](TObject*) {
        if (OnEdit) OnEdit();
        FillList();
    };
    SelectionChanged();
}

void TfrmServerConnectTo::SelectionChanged() {
    TSiteListForm::SelectionChanged();
    bool one = SelectedNames().size() == 1;
    btnOk->SetEnabled(one);
    btnEdit->SetEnabled(one);
}

std::string TfrmServerConnectTo::Chosen() const {
    auto names = SelectedNames();
    return names.size() == 1 ? names[0] : std::string();
}
