// QuillonFTP: the program block.
#include <windows.h>

#include "LocalFiles.h"
#include "MainForm.h"
#include "Screenshot.h"
#include "AppTitle.h"
#include "runtime/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TMainSettings s;
    s.ProgramFolder = ProgramFolder();
    s.RegistryRoot = RegRoot;
    const char* shot = getenv("QF_SCREENSHOT");
    Application->Title = AppTitle;
    TfrmMain frm(s);
    frm.QuitOnClose = true;
    frm.Show();
    if (shot && *shot) {
        // Without a desktop to look at: connect to the first site and save the window.
        if (frm.Servers.Count() > 0) frm.ConnectToServer(frm.Servers.Items(0));
        Application->ProcessMessages();
        for (int i = 0; i < 20; ++i) {
            Application->ProcessMessages();
            Sleep(50);
        }
        SaveWindowShot(frm.Handle(), shot);
        // The progress window as a transfer shows it, saved beside.
        TfrmDownload progress(&frm, NowDateTime);
        progress.UpdateProgress("sample.bin", 200000, 0);
        progress.Show();
        progress.UpdateProgress("sample.bin", -1, 81920);
        std::string second = shot;
        second.insert(second.size() > 4 ? second.size() - 4 : second.size(), "-progress");
        SaveWindowShot(progress.Handle(), second);
        progress.Hide();
        // Nobody can close it there: close as the user would, keeping the settings.
        frm.Close();
        return 0;
    }
    Application->Run();
    return 0;
}
