// The options' Add box, the about box and the properties sheet.
#include <gtest/gtest.h>

#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"
#include "ui/ComCtrls.h"

#include <commdlg.h>

using namespace qfclient;

namespace {

TEdit* FirstEdit(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* e = dynamic_cast<TEdit*>(parent.Controls(i))) return e;
    return nullptr;
}

std::vector<std::string> Extensions(TfrmOptions& o) {
    std::vector<std::string> out;
    for (int i = 0; i < o.lbFTPTextExt->Items().Count(); ++i) out.push_back(o.lbFTPTextExt->Items().Strings(i));
    return out;
}

bool Listed(TfrmOptions& o, const std::string& ext) {
    auto v = Extensions(o);
    return std::find(v.begin(), v.end(), ext) != v.end();
}

void CloseAll(std::vector<TfrmFileProperties*>& shown) {
    for (auto* f : shown) f->Close();
    Application->ProcessMessages();
    shown.clear();
}

}  // namespace

TEST(OptionsDialog, AddAsksForTheExtensionInTheInputBox) {
    Program prog;
    TfrmMain m(prog.Settings());
    TfrmOptions& o = *m.frmOptions;
    const struct {
        const char* typed;  // null: Cancel
        const char* refusal;  // the box shown, or null
        const char* added;
    } rows[] = {
        {"readme.pas", nullptr, ".pas"},
        {".ZIP", "This extension is not a Ascii Text type.", nullptr},
        {"", "Please enter an extension such as \".txt\".", nullptr},
        {"noext", "Please enter an extension such as \".txt\".", nullptr},
        {"x.HTM", "The extension \".HTM\" is already in the list.", nullptr},
        {nullptr, nullptr, nullptr},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.typed ? r.typed : "(cancel)");
        TScriptedModalRunner runner;
        TScriptedPrompter prompter;
        if (r.refusal) prompter.AnswerMessage(IDOK);
        auto before = Extensions(o);
        std::string caption, prompt;
        runner.Expect("InputQueryForm", [&](TForm& f) {
            caption = f.Caption();
            TEdit* e = FirstEdit(f);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->Text(), "");
            if (!r.typed) {
                f.SetModalResult(mrCancel);
                return;
            }
            SetWindowTextA(e->Handle(), r.typed);
            f.SetModalResult(mrOk);
        });
        ClickButton(o.btnAddFTPText);
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(caption, "Velmora Larch FTP");
        if (r.refusal) {
            ASSERT_EQ(prompter.Log().size(), 1u);
            EXPECT_EQ(prompter.Log()[0].Text, r.refusal);
        }
        EXPECT_TRUE(prompter.AllAnswersUsed());
        if (r.added) {
            EXPECT_TRUE(Listed(o, r.added));
            EXPECT_EQ(Extensions(o).size(), before.size() + 1);
        } else {
            EXPECT_EQ(Extensions(o), before);
        }
    }
    // Remove: enabled once an entry is chosen, then takes it out and disables itself.
    EXPECT_FALSE(o.btnRmvFTPText->Enabled());
    int at = o.lbFTPTextExt->Items().IndexOf(".pas");
    ASSERT_GE(at, 0);
    ClickListItem(*o.lbFTPTextExt, at);
    EXPECT_TRUE(o.btnRmvFTPText->Enabled());
    ClickButton(o.btnRmvFTPText);
    EXPECT_FALSE(Listed(o, ".pas"));
    EXPECT_FALSE(o.btnRmvFTPText->Enabled());
}

TEST(OptionsDialog, BrowseButtonsChooseTheSounds) {
    Program prog;
    TfrmMain m(prog.Settings());
    TfrmOptions& o = *m.frmOptions;
    ASSERT_EQ(o.pcOptions->PageCount(), 3);
    EXPECT_EQ(o.pcOptions->Tabs(0), "General");
    EXPECT_EQ(o.pcOptions->Tabs(1), "Transferring files");
    EXPECT_EQ(o.pcOptions->Tabs(2), "FTP");
    EXPECT_EQ(o.pcOptions->ActivePageIndex(), 0);
    const std::string before = o.ebxSoundUpload->Text();
    TScriptedPrompter prompter;
    prompter.AnswerFile("C:\\sounds\\done.wav");
    prompter.AnswerFile("");  // cancelled: the box keeps its text
    ClickButton(o.btnOpenDownWave);
    ClickButton(o.btnOpenUpWave);
    ASSERT_EQ(prompter.Log().size(), 2u);
    const TFileDialogRequest& down = prompter.Log()[0].File;
    EXPECT_EQ(prompter.Log()[0].Kind, "OpenFile");
    EXPECT_EQ(down.Title, "Choose Wave file to play when download finishes");
    EXPECT_EQ(down.Filter, "Wave files|*.wav");
    EXPECT_EQ(down.Options, static_cast<uint32_t>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
    EXPECT_EQ(down.FileName.substr(down.FileName.size() - 8), "blip.wav");  // the box's text as the preset
    EXPECT_EQ(prompter.Log()[1].File.Title, "Choose Wave file to play when upload finishes");
    EXPECT_EQ(o.ebxSoundDownload->Text(), "C:\\sounds\\done.wav");
    EXPECT_EQ(o.ebxSoundUpload->Text(), before);
}

TEST(AboutBox, ShowsItsTextsAndOpensTheWebAddress) {
    Program prog;
    TfrmMain m(prog.Settings());
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    std::vector<std::string> opened;
    TUrlOpener saved = UrlOpener();
    bool opens = true;
    UrlOpener() = [&](const std::string& url) {
        opened.push_back(url);
        return opens;
    };
    prompter.AnswerMessage(IDOK);
    std::string caption, app;
    runner.Expect("frmAbout", [&](TForm& f) {
        auto& a = static_cast<TfrmAbout&>(f);
        caption = a.Caption();
        app = a.lblAppName->Caption();
        SendMessageA(a.lblWEB->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
        opens = false;  // the shell fails: the address is shown instead
        SendMessageA(a.lblWEB->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
        ClickButton(a.btnOk);
    });
    m.itmAboutClick();
    UrlOpener() = saved;
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(caption, "About Velmora Larch FTP");
    EXPECT_EQ(app, "Larch FTP");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], MakerWebAddress);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, std::string("Please go to : \r\n") + MakerWebAddress);
}

TEST(LocalPane, PropertiesOfSelectedFiles) {
    Program prog;
    qftest::TempDir dir;
    qftest::WriteFileBytes(dir.File("small.txt"), "12345");
    qftest::WriteFileBytes(dir.File("big.log"), std::string(1536, 'x'));
    SetFileAttributesA(dir.File("big.log").c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    TfrmMain m(prog.Settings());
    m.Local->SetDirectory(dir.Path());
    m.Local->SetFilterIndex(5);
    ASSERT_TRUE(m.Local->SelectFile("small.txt"));
    ASSERT_TRUE(m.Local->SelectFile("big.log"));
    auto shown = m.itmLocFilePropertiesClick();
    ASSERT_EQ(shown.size(), 2u);
    // The list is sorted: big.log first.
    TfrmFileProperties& big = *shown[0];
    EXPECT_EQ(big.Caption(), "Properties");
    EXPECT_TRUE(big.Visible());
    EXPECT_EQ(big.lblFilename->Caption(), "big.log");
    EXPECT_EQ(big.lblLocation->Caption(), dir.Path());
    EXPECT_EQ(big.lblSize->Caption(), "1.5 KB (1,536 bytes)");
    EXPECT_EQ(big.lblPermDesc->Caption(), "Attributes:");
    EXPECT_EQ(big.lblPermissions->Caption(), "Archive / Read-Only / Hidden ");
    EXPECT_EQ(big.lblGroup->Caption(), "n/a");
    EXPECT_FALSE(big.lblUser->Caption().empty());
    EXPECT_FALSE(big.lblModified->Caption().empty());
    EXPECT_FALSE(big.lblType->Caption().empty());
    TfrmFileProperties& small = *shown[1];
    EXPECT_EQ(small.lblSize->Caption(), "5 bytes");
    SetFileAttributesA(dir.File("big.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    CloseAll(shown);
}

TEST(LocalPane, PropertiesSheetClosesOnEscapeWhereverTheFocusIs) {
    Program prog;
    qftest::TempDir dir;
    qftest::WriteFileBytes(dir.File("one.txt"), "1");
    TfrmMain m(prog.Settings());
    m.Local->SetDirectory(dir.Path());
    ASSERT_TRUE(m.Local->SelectFile("one.txt"));
    using Target = TWinControl* (*)(TfrmFileProperties&);
    const std::pair<const char*, Target> targets[] = {
        {"the Close button", [](TfrmFileProperties& f) -> TWinControl* { return f.btnOk; }},
        {"the page control", [](TfrmFileProperties& f) -> TWinControl* { return f.pcProperties; }},
        {"the sheet itself", [](TfrmFileProperties& f) -> TWinControl* { return &f; }},
    };
    for (const auto& t : targets) {
        SCOPED_TRACE(t.first);
        auto shown = m.itmLocFilePropertiesClick();
        ASSERT_EQ(shown.size(), 1u);
        bool gone = false;
        shown[0]->OnDestroy = [&](TObject*) { gone = true; };
        TWinControl* target = t.second(*shown[0]);
        target->SetFocus();
        SendMessageA(target->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
        Application->ProcessMessages();
        EXPECT_TRUE(gone);
    }
}
