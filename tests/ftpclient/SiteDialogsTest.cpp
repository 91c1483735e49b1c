// The site dialogs on the main window's list: add, edit, remove, connect-to.
#include <gtest/gtest.h>

#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"

using namespace qfclient;

namespace {

TFTPServer Site(const std::string& name, const std::string& host, bool passive = true) {
    TFTPServer s;
    s.Name = name;
    s.Hostname = host;
    s.Username = "joe";
    s.Password = "pw";
    s.PasvMode = passive ? pasvYes : pasvNo;
    s.StartDir = "/pub";
    s.LocalStartDir = "C:\\down";
    return s;
}

struct Fixture {
    Program prog;
    std::unique_ptr<TfrmMain> main;
    Fixture() {
        main = std::make_unique<TfrmMain>(prog.Settings());
        std::string msg;
        main->Servers.Add(Site("Beta", "b.example"), msg);
        main->Servers.Add(Site("Alpha", "a.example"), msg);
        main->Servers.Add(Site("Gamma", "g.example"), msg);
        main->BuildServerMenu();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < main->Servers.Count(); ++i) out.push_back(main->Servers.Items(i).Name);
        return out;
    }
    std::vector<std::string> MenuSites() const {
        std::vector<std::string> out;
        for (int i = 0; i < main->itmServers->Count(); ++i)
            if (main->itmServers->Items(i)->Tag >= 100) out.push_back(main->itmServers->Items(i)->Caption());
        return out;
    }
    std::string SiteFile() const { return qftest::ReadFileBytes(prog.folder.File("FTPServers.ini")); }
};

void TypeName(TfrmServerAdd& d, const std::string& name) { SetWindowTextA(d.edtName->Handle(), name.c_str()); }

// The pixels of an edit's text area as it paints them now.
std::vector<uint32_t> SiteDialogsEditPicture(TWinControl& edit) {
    HWND h = edit.Handle();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(h, &r);
    TBitmap shot(r.right, r.bottom);
    HDC dc = GetDC(h);
    BitBlt(shot.Canvas().Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(h, dc);
    std::vector<uint32_t> px;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) px.push_back(shot.PixelRGB(x, y));
    return px;
}

}  // namespace

TEST(SiteDialogs, AddRefusesATakenNameAndKeepsTheDialogOpen) {
    Fixture f;
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    bool stayedOpen = false;
    runner.Expect("frmServerAdd", [&](TForm& form) {
        auto& d = static_cast<TfrmServerAdd&>(form);
        TypeName(d, "ALPHA");
        ClickButton(d.btnOk);
        stayedOpen = d.ModalResult() == mrNone;
        TypeName(d, "Delta");
        ClickButton(d.btnOk);
    });
    f.main->itmAddServerClick();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, TServerList::DuplicateMessage("ALPHA"));
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Alpha", "Beta", "Delta", "Gamma"}));
    EXPECT_EQ(f.MenuSites(), (std::vector<std::string>{"1. Alpha", "2. Beta", "3. Delta", "4. Gamma"}));
    EXPECT_EQ(f.main->itmServers->Items(f.main->itmServers->Count() - 4)->Tag, 101);
    EXPECT_NE(f.SiteFile().find("Name=\"Delta\""), std::string::npos);
}

TEST(SiteDialogs, EditRenamesReKeysAndSavesAtOnce) {
    Fixture f;
    TScriptedModalRunner runner;
    std::string caption, host;
    bool passiveShown = false, userChosen = false;
    runner.Expect("frmServerEdit", [](TForm& form) {
        auto& d = static_cast<TfrmServerEdit&>(form);
        ClickListItem(*d.lbServers, 0);  // Alpha
        EXPECT_TRUE(d.pnlInfo->Visible());
        EXPECT_EQ(d.pnlInfo->edtAddress->Text(), "a.example on port 21");
        EXPECT_EQ(d.pnlInfo->edtRemoteDir->Text(), "/pub");
        MaybeSaveShot(d.Handle(), "edit-site-list");
        ClickListItem(*d.lbServers, 0, WM_LBUTTONDBLCLK);
        // The list is filled again, in the new order, with the edited site chosen.
        EXPECT_EQ(d.lbServers->Items().Strings(2), "Zulu");
        EXPECT_EQ(d.lbServers->ItemIndex(), 2);
        ClickButton(d.btnFinish);
    });
    runner.Expect("frmServerAdd", [&](TForm& form) {
        auto& d = static_cast<TfrmServerAdd&>(form);
        caption = d.Caption();
        host = d.edtHost->Text();
        passiveShown = d.cbPassive->Checked();
        userChosen = d.rbUser->Checked();
        TypeName(d, "Zulu");
        d.cbPassive->SetChecked(false);
        ClickButton(d.btnOk);
    });
    f.main->itmEditServerClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(caption, "Edit a FTP Server");
    EXPECT_EQ(host, "a.example");
    EXPECT_TRUE(passiveShown);
    EXPECT_TRUE(userChosen);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Beta", "Gamma", "Zulu"}));
    EXPECT_EQ(f.MenuSites(), (std::vector<std::string>{"1. Beta", "2. Gamma", "3. Zulu"}));
    int z = f.main->Servers.IndexOf("zulu");
    ASSERT_GE(z, 0);
    EXPECT_EQ(f.main->Servers.Items(z).PasvMode, pasvNo);
    EXPECT_EQ(f.main->Servers.Items(z).Hostname, "a.example");
    // Saved when it changed, not only at the end: three sections, the renamed one last.
    std::string file = f.SiteFile();
    EXPECT_NE(file.find("Name=\"Zulu\""), std::string::npos);
    EXPECT_EQ(file.find("Name=\"Alpha\""), std::string::npos);
    EXPECT_NE(file.find("PASV=No"), std::string::npos);
}

TEST(SiteDialogs, EditToAnotherSitesNameIsRefused) {
    Fixture f;
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    runner.Expect("frmServerEdit", [](TForm& form) {
        auto& d = static_cast<TfrmServerEdit&>(form);
        ClickListItem(*d.lbServers, 1);  // Beta
        ClickListItem(*d.lbServers, 1, WM_LBUTTONDBLCLK);
        ClickButton(d.btnFinish);
    });
    runner.Expect("frmServerAdd", [](TForm& form) {
        auto& d = static_cast<TfrmServerAdd&>(form);
        TypeName(d, "gamma");
        ClickButton(d.btnOk);
        EXPECT_EQ(d.ModalResult(), mrNone);
        ClickButton(d.btnCancel);
    });
    f.main->itmEditServerClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, TServerList::DuplicateMessage("gamma"));
}

TEST(SiteDialogs, RemoveAsksAndDeletesTheChosenSites) {
    struct Row {
        const char* name;
        std::vector<int> chosen;
        std::vector<int> answers;  // the box's answers in turn; Cancel keeps the dialog open
        std::string question;
        std::vector<std::string> left;
    } rows[] = {
        {"one, yes", {1}, {IDYES}, "Is it ok to delete this  FTP server", {"Alpha", "Gamma"}},
        {"two, yes", {0, 2}, {IDYES}, "Is it ok to delete these 2 FTP servers", {"Beta"}},
        {"two, no", {0, 2}, {IDNO}, "Is it ok to delete these 2 FTP servers", {"Alpha", "Beta", "Gamma"}},
        {"cancel, then yes", {2}, {IDCANCEL, IDYES}, "Is it ok to delete this  FTP server", {"Alpha", "Beta"}},
        {"none chosen", {}, {}, "", {"Alpha", "Beta", "Gamma"}},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        Fixture f;
        TScriptedModalRunner runner;
        TScriptedPrompter prompter;
        for (int a : r.answers) prompter.AnswerMessage(a);
        std::string info;
        runner.Expect("frmServerRemove", [&](TForm& form) {
            auto& d = static_cast<TfrmServerRemove&>(form);
            for (size_t k = 0; k < r.chosen.size(); ++k) ClickListItem(*d.lbServers, r.chosen[k], WM_LBUTTONDOWN, k > 0);
            info = d.pnlInfo->Visible() ? d.pnlInfo->edtUser->Text() : "(hidden)";
            for (size_t k = 0; k < std::max<size_t>(1, r.answers.size()); ++k) ClickButton(d.btnDelete);
        });
        f.main->itmRemoveServerClick();
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_TRUE(prompter.AllAnswersUsed());
        EXPECT_EQ(info, r.chosen.empty() ? "(hidden)" : r.chosen.size() == 1 ? "joe" : "(multiple sites selected)");
        if (!r.question.empty()) {
            ASSERT_FALSE(prompter.Log().empty());
            EXPECT_EQ(prompter.Log()[0].Text, r.question);
        }
        EXPECT_EQ(f.Names(), r.left);
        EXPECT_EQ(f.MenuSites().size(), r.left.size());
    }
}

TEST(SiteDialogs, TheEditedSitesPasswordIsMaskedFromTheFirstPaint) {
    Fixture f;
    TScriptedModalRunner runner;
    LONG style = 0;
    LRESULT shownAs = 0;
    std::string password;
    std::vector<uint32_t> shown, stars, clear;
    runner.Expect("frmServerEdit", [](TForm& form) {
        auto& d = static_cast<TfrmServerEdit&>(form);
        ClickListItem(*d.lbServers, 1);  // Beta
        ClickListItem(*d.lbServers, 1, WM_LBUTTONDBLCLK);
        ClickButton(d.btnFinish);
    });
    runner.Expect("frmServerAdd", [&](TForm& form) {
        // Read while the dialog is up, before anything was clicked in it.
        auto& d = static_cast<TfrmServerAdd&>(form);
        style = GetWindowLongA(d.edtPass->Handle(), GWL_STYLE);
        shownAs = SendMessageA(d.edtPass->Handle(), EM_GETPASSWORDCHAR, 0, 0);
        password = d.edtPass->Text();
        // On a display the dialog is mapped a little later than it is shown.
        for (int i = 0; !qftest::Env("QF_CLIENT_SHOTS").empty() && i < 20; ++i) {
            Application->ProcessMessages();
            Sleep(50);
        }
        MaybeSaveShot(d.Handle(), "edit-site-password");
        shown = SiteDialogsEditPicture(*d.edtPass);
        // The same box showing "**", and then the password, in clear.
        SendMessageA(d.edtPass->Handle(), EM_SETPASSWORDCHAR, 0, 0);
        d.edtPass->SetText("**");
        stars = SiteDialogsEditPicture(*d.edtPass);
        d.edtPass->SetText("pw");
        clear = SiteDialogsEditPicture(*d.edtPass);
        ClickButton(d.btnCancel);
    });
    f.main->itmEditServerClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(style & ES_PASSWORD) << "the saved password showed in clear";
    EXPECT_EQ(shownAs, '*');
    EXPECT_EQ(password, "pw");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown, stars) << "the box does not look as two stars do";
    EXPECT_NE(shown, clear) << "the box looks as the password in clear";
}

TEST(SiteDialogs, TheRemoveDialogsListOfSeveralChoicesGetsItsWindowWithTheForm) {
    Fixture f;
    TfrmServerRemove d(f.main.get(), f.main->Servers);
    EXPECT_FALSE(d.lbServers->HandleAllocated()) << "made before its form's window";
    EXPECT_FALSE(d.HandleAllocated());
    TScriptedModalRunner runner;
    bool buttonsShown = false, painted = false;
    std::vector<std::string> chosen;
    runner.Expect("frmServerRemove", [&](TForm& form) {
        auto& r = static_cast<TfrmServerRemove&>(form);
        buttonsShown = IsWindowVisible(r.btnDelete->Handle()) && IsWindowVisible(r.btnCancel->Handle());
        painted = qftest::PumpUntil([&] { return !GetUpdateRect(r.Handle(), nullptr, FALSE); }, 3000);
        ClickListItem(*r.lbServers, 0);
        ClickListItem(*r.lbServers, 2, WM_LBUTTONDOWN, true);
        chosen.clear();
        for (int i = 0; i < r.lbServers->Items().Count(); ++i)
            if (r.lbServers->Selected(i)) chosen.push_back(r.lbServers->Items().Strings(i));
        ClickButton(r.btnCancel);
    });
    d.ShowModal();
    EXPECT_TRUE(buttonsShown);
    EXPECT_TRUE(painted);
    EXPECT_EQ(chosen, (std::vector<std::string>{"Alpha", "Gamma"}));
}

TEST(SiteDialogs, ConnectToEditsTheChosenSiteAtOnce) {
    Fixture f;
    TScriptedModalRunner runner;
    bool okBefore = true, editBefore = true, okAfter = false;
    runner.Expect("frmServerConnectTo", [&](TForm& form) {
        auto& d = static_cast<TfrmServerConnectTo&>(form);
        okBefore = d.btnOk->Enabled();
        editBefore = d.btnEdit->Enabled();
        ClickListItem(*d.lbServers, 2);  // Gamma
        okAfter = d.btnOk->Enabled() && d.btnEdit->Enabled();
        ClickButton(d.btnEdit);
        EXPECT_EQ(d.lbServers->Items().Strings(0), "Aardvark");
        ClickButton(d.btnCancel);
    });
    runner.Expect("frmServerAdd", [](TForm& form) {
        auto& d = static_cast<TfrmServerAdd&>(form);
        EXPECT_EQ(d.edtName->Text(), "Gamma");
        TypeName(d, "Aardvark");
        ClickButton(d.btnOk);
    });
    f.main->tb97ConnectClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_FALSE(okBefore);
    EXPECT_FALSE(editBefore);
    EXPECT_TRUE(okAfter);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Aardvark", "Alpha", "Beta"}));
    EXPECT_FALSE(f.main->FTP->IsConnected());
}
