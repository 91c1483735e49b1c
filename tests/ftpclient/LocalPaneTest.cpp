// The local pane's folder and file operations, driven through their dialogs.
#include <gtest/gtest.h>

#include "LocalFiles.h"
#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"

using namespace qfclient;

namespace {

struct Pane {
    Program prog;
    qftest::TempDir dir;
    std::unique_ptr<TfrmMain> main;
    TRecycler savedRecycler = Recycler();
    std::vector<std::string> recycled;
    Pane() {
        // No recycle bin here: every attempt fails, so deletions must ask.
        Recycler() = [this](const std::string& p) {
            recycled.push_back(p);
            return false;
        };
        main = std::make_unique<TfrmMain>(prog.Settings());
        main->Show();
        main->Local->SetFilterIndex(5);
        main->Local->SetDirectory(dir.Path());
    }
    ~Pane() {
        main.reset();
        SetCurrentDirectoryA("\\");
        Recycler() = savedRecycler;
    }
    void Select(std::initializer_list<const char*> names) {
        main->Local->Refresh();
        for (auto* n : names) EXPECT_TRUE(main->Local->SelectFile(n)) << n;
    }
    std::vector<std::string> Files() {
        main->Local->Refresh();
        std::vector<std::string> out;
        for (int i = 0; i < main->Local->lbFiles->Items().Count(); ++i)
            out.push_back(main->Local->lbFiles->Items().Strings(i));
        return out;
    }
};

// Answers one-line dialog: types text (null: Cancel) and checks what it showed.
// newLabel: the label above the input.
TScriptedModalRunner::Script Answer(const char* typed, std::string* shown = nullptr, std::string* preset = nullptr,
                                    std::string* newLabel = nullptr) {
    return [=](TForm& f) {
        auto& d = static_cast<TfrmFolder&>(f);
        if (shown) *shown = d.Caption() + "|" + d.lblCurrentFolder->Caption() + "|" + d.lblCurDir->Caption();
        if (preset) *preset = d.ebx97NewDir->Text();
        if (newLabel) *newLabel = d.lblNewFolder->Caption();
        if (!typed) {
            ClickButton(d.btnCancel);
            return;
        }
        SetWindowTextA(d.ebx97NewDir->Handle(), typed);
        ClickButton(d.btnCreate);
    };
}

}  // namespace

TEST(LocalPane, RenameFileTable) {
    const struct {
        const char* name;
        std::vector<const char*> typed;  // one answer per selected file, in list order
        std::string message;             // the box shown, or empty
        std::vector<std::string> after;
    } rows[] = {
        {"plain", {"c.txt"}, "", {"b.txt", "c.txt"}},
        {"case only", {"A.TXT"}, "", {"A.TXT", "b.txt"}},
        {"collides: stops before the next file", {"b.txt"}, "File: \"b.txt\"\r\nalready exists. Rename aborted.",
         {"a.txt", "b.txt"}},
        {"a pasted path keeps only its last element", {"..\\up.txt"}, "", {"b.txt", "up.txt"}},
        {"a colon is refused", {"x:y"}, "\"x:y\" is not a valid name.", {"a.txt", "b.txt"}},
        {"cancel", {nullptr}, "", {"a.txt", "b.txt"}},
        {"two files", {"one.txt", "two.txt"}, "", {"one.txt", "two.txt"}},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        Pane p;
        qftest::WriteFileBytes(p.dir.File("a.txt"), "a");
        qftest::WriteFileBytes(p.dir.File("b.txt"), "b");
        if (r.typed.size() == 2)
            p.Select({"a.txt", "b.txt"});
        else
            p.Select({"a.txt"});
        TScriptedModalRunner runner;
        TScriptedPrompter prompter;
        if (!r.message.empty()) prompter.AnswerMessage(IDOK);
        std::string shown, preset;
        for (auto* t : r.typed) runner.Expect("frmFolder", Answer(t, &shown, &preset));
        p.main->itmRenameLocalFileClick();
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(p.Files(), r.after);
        if (!r.message.empty()) {
            ASSERT_EQ(prompter.Log().size(), 1u);
            EXPECT_EQ(prompter.Log()[0].Text, r.message);
        }
        EXPECT_EQ(shown, "Rename a file|Original file name:|" + p.dir.File(r.typed.size() == 2 ? "b.txt" : "a.txt"));
        EXPECT_EQ(preset, r.typed.size() == 2 ? "b.txt" : "a.txt");
    }
}

TEST(LocalPane, CollidingRenameStopsTheRemainingFiles) {
    Pane p;
    for (auto* n : {"a.txt", "b.txt", "c.txt"}) qftest::WriteFileBytes(p.dir.File(n), n);
    p.Select({"a.txt", "c.txt"});
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    runner.Expect("frmFolder", Answer("b.txt"));
    p.main->itmRenameLocalFileClick();
    EXPECT_TRUE(runner.AllUsed());  // c.txt was not asked for
    EXPECT_EQ(p.Files(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(qftest::ReadFileBytes(p.dir.File("b.txt")), "b.txt");
}

TEST(LocalPane, DeleteFileAsksWhenTheRecycleBinFails) {
    Pane p;
    for (auto* n : {"a.txt", "b.txt", "c.txt"}) qftest::WriteFileBytes(p.dir.File(n), n);
    p.Select({"a.txt", "b.txt", "c.txt"});
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    std::string shown;
    runner.Expect("frmFolder", Answer("", &shown));  // a.txt: delete
    runner.Expect("frmFolder", Answer(nullptr));     // b.txt: Cancel
    runner.Expect("frmFolder", Answer(""));          // c.txt: delete, but No for good
    prompter.AnswerMessage(IDYES);
    prompter.AnswerMessage(IDNO);
    p.main->itmDeleteLocalFileClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(prompter.AllAnswersUsed());
    EXPECT_EQ(shown, "Delete a file|Are you sure you want to delete this file:|" + p.dir.File("a.txt"));
    EXPECT_EQ(p.recycled, (std::vector<std::string>{p.dir.File("a.txt"), p.dir.File("c.txt")}));
    EXPECT_EQ(p.Files(), (std::vector<std::string>{"b.txt", "c.txt"}));
    ASSERT_EQ(prompter.Log().size(), 2u);
    EXPECT_NE(prompter.Log()[0].Text.find(RecycleFailedText), std::string::npos);
}

TEST(LocalPane, FolderNewRenameAndDelete) {
    Pane p;
    std::string work = p.dir.File("work");
    CreateDirectoryA(work.c_str(), nullptr);
    qftest::WriteFileBytes(work + "\\f.txt", "f");
    ASSERT_TRUE(p.main->Local->SetDirectory(work));
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;

    // New folder; a pasted name that leaves the folder is refused.
    std::string shown;
    runner.Expect("frmFolder", Answer("made", &shown));
    p.main->itmNewLocalDirClick();
    EXPECT_EQ(shown, "Create a new folder|Current Folder:|" + work);
    EXPECT_TRUE(FolderExistsAt(work + "\\made"));
    EXPECT_GE(p.main->Local->lbDirectory->Items().IndexOf("made"), 0);
    runner.Expect("frmFolder", Answer("..\\out"));
    prompter.AnswerMessage(IDOK);
    p.main->itmNewLocalDirClick();
    EXPECT_FALSE(FolderExistsAt(p.dir.File("out")));
    EXPECT_FALSE(FolderExistsAt(work + "\\..\\out"));

    // Rename the folder shown: the pane follows it.
    std::string preset, label;
    runner.Expect("frmFolder", Answer("renamed\\", &shown, &preset, &label));
    p.main->itmRenameLocalDirClick();
    EXPECT_EQ(shown, "Rename a folder|Original folder name:|" + work);
    EXPECT_EQ(preset, "work");
    EXPECT_EQ(label, "New Folder name:");  // the dialog's own label, as the new-folder road shows it
    std::string renamed = p.dir.File("renamed");
    EXPECT_TRUE(FileExistsAt(renamed + "\\f.txt"));
    EXPECT_FALSE(FolderExistsAt(work));
    EXPECT_EQ(p.main->Local->Directory(), renamed);

    // Delete it: the recycle bin fails, the user agrees, the pane shows the parent.
    runner.Expect("frmFolder", Answer("", &shown));
    prompter.AnswerMessage(IDYES);
    p.main->itmDeleteLocalDirClick();
    EXPECT_EQ(shown, "Delete a folder|Are you sure you want to delete this folder:|" + renamed);
    EXPECT_FALSE(FolderExistsAt(renamed));
    EXPECT_EQ(p.main->Local->Directory(), p.dir.Path());
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST(LocalPane, PopupStatesKeysAndTheDriveRoot) {
    Pane p;
    qftest::WriteFileBytes(p.dir.File("a.txt"), "a");
    p.main->Local->Refresh();
    p.main->popLocalFilesPopup();
    for (TMenuItem* i : {p.main->itmRenameLocalFile, p.main->itmDeleteLocalFile, p.main->itmLocFileProperties,
                         p.main->itmUploadLocalFile})
        EXPECT_FALSE(i->Enabled()) << i->Caption();
    p.Select({"a.txt"});
    p.main->popLocalFilesPopup();
    EXPECT_TRUE(p.main->itmRenameLocalFile->Enabled());
    EXPECT_TRUE(p.main->itmDeleteLocalFile->Enabled());
    EXPECT_TRUE(p.main->itmLocFileProperties->Enabled());
    EXPECT_FALSE(p.main->itmUploadLocalFile->Enabled());  // not connected

    // F2 in the file list renames.
    TScriptedModalRunner runner;
    runner.Expect("frmFolder", Answer("k.txt"));
    SendMessageA(p.main->Local->lbFiles->Handle(), WM_KEYUP, VK_F2, 0);
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(FileExistsAt(p.dir.File("k.txt")));

    // A drive root can be neither renamed nor deleted: no dialog at all.
    p.main->popLocalDirPopup();
    EXPECT_TRUE(p.main->itmDeleteLocalDir->Enabled());
    ASSERT_TRUE(p.main->Local->SetDirectory("C:\\"));
    p.main->popLocalDirPopup();
    EXPECT_FALSE(p.main->itmRenameLocalDir->Enabled());
    EXPECT_FALSE(p.main->itmDeleteLocalDir->Enabled());
    p.main->itmDeleteLocalDirClick();
    p.main->itmRenameLocalDirClick();
    SendMessageA(p.main->Local->lbDirectory->Handle(), WM_KEYUP, VK_DELETE, 0);
    EXPECT_TRUE(runner.Shown().size() == 1u);
}

TEST(LocalPane, FiltersAsTheirNamesSay) {
    Pane p;
    const struct {
        const char* name;
        const char* mask;
    } filters[] = {
        {"Web files",
         "*.htm*;*.shtml;*.asp;*.css;*.phtml;*.txt;*.cgi;*.pl;*.gif;*.jpg;*.bmp;*.png;*.mpg;*.avi;*.mov;*.mpeg;*.mp3;"
         "*.mp2;*.au;*.snd;*.ra;*.wav"},
        {"HTML files", "*.htm;*.shtml;*.asp;*.css;*.phtml"},
        {"Text files", "*.txt;*.log;*.diz"},
        {"CGI files", "*.cgi;*.pl"},
        {"Images, Sounds and Movies",
         "*.jpg;*.gif;*.bmp;*.png;*.mpg;*.avi;*.mov;*.mpeg;*.mp3;*.mp2;*.au;*.snd;*.ra;*.wav"},
        {"All files", "*.*"},
    };
    ASSERT_EQ(p.main->Local->cbFilter->Items().Count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p.main->Local->cbFilter->Items().Strings(i), filters[i].name);
        p.main->Local->SetFilterIndex(i);
        EXPECT_EQ(p.main->Local->Mask(), filters[i].mask) << filters[i].name;
    }
    for (auto* n : {"index.HTML", "CMakeLists.txt", "main.cpp", "x.rar", "run.pl", "run.plx", "noext", "a.Wav"})
        qftest::WriteFileBytes(p.dir.File(n), "x");
    const struct {
        int filter;
        std::vector<std::string> listed;
    } rows[] = {
        // "*.txt" is one of the web masks, so a CMakeLists.txt belongs there.
        {0, {"a.Wav", "CMakeLists.txt", "index.HTML", "run.pl"}},
        {1, {}},  // "*.htm" is not "*.html"
        {2, {"CMakeLists.txt"}},
        {3, {"run.pl"}},
        {4, {"a.Wav"}},
        {5, {"a.Wav", "CMakeLists.txt", "index.HTML", "main.cpp", "noext", "run.pl", "run.plx", "x.rar"}},
    };
    for (auto& r : rows) {
        p.main->Local->SetFilterIndex(r.filter);
        EXPECT_EQ(p.Files(), r.listed) << filters[r.filter].name;
    }
}
