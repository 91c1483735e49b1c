// The program driving itself where nobody can click: under a virtual display
// it connects to the first site, saves pictures of its windows and, when
// asked, downloads and uploads one file, then closes as a user would (so the
// settings and the site file are written).
#pragma once

#include <string>

class TfrmMain;

struct TScriptedSession {
    std::string Shot;      // the main window's picture (.bmp); the others are saved beside it
    std::string Download;  // a remote file to download, or empty
    std::string Upload;    // a local file to upload, or empty
    std::string LocalDir;  // the local folder of both transfers
    // From QF_SCREENSHOT, QF_SESSION_GET, QF_SESSION_PUT, QF_SESSION_LOCAL; false without QF_SCREENSHOT.
    bool FromEnvironment();
};

// Runs it; returns the program's exit code (0 when every step worked).
int RunScriptedSession(TfrmMain& Main, const TScriptedSession& Session);
