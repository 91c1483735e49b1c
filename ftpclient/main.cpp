// QuillonFTP: the program block.
#include <windows.h>

#include "AppTitle.h"
#include "LocalFiles.h"
#include "MainForm.h"
#include "ScriptedSession.h"
#include "runtime/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TMainSettings s;
    s.ProgramFolder = ProgramFolder();
    s.RegistryRoot = RegRoot;
    Application->Title = AppTitle;
    TfrmMain frm(s);
    frm.QuitOnClose = true;
    frm.Show();
    // Without a desktop to look at, the program drives itself.
    TScriptedSession session;
    if (session.FromEnvironment()) return RunScriptedSession(frm, session);
    Application->Run();
    return 0;
}
