// A multiple-document frame with two children and its window menu open,
// drawn by the main menu component, for screenshots under Xvfb (with "max",
// the second child maximised: its icon and boxes on the frame's bar):
// components_mdi_demo.exe [seconds [max]]
#include <windows.h>

#include <cstdlib>
#include <string>

#include "DemoPump.h"
#include "components/Menus97.h"
#include "ui/Form.h"

namespace {

TMenuItem* NewItem(TComponent* owner, const char* caption) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    return i;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    TForm frame;
    frame.SetCaption("Sites");
    frame.SetFormStyle(fsMDIForm);
    frame.SetBounds(40, 40, 640, 420);
    auto* menu = new TMainMenu(&frame);
    TMenuItem* file = NewItem(&frame, "&File");
    file->Add(NewItem(&frame, "E&xit"));
    TMenuItem* window = NewItem(&frame, "&Window");
    window->Add(NewItem(&frame, "&Cascade"));
    window->Add(NewItem(&frame, "&Tile"));
    menu->Items()->Add(file);
    menu->Items()->Add(window);
    for (TMenuItem* i : {file, window}) i->Tag = -1;
    for (TMenuItem* i : {file->Items(0), window->Items(0), window->Items(1)}) i->Tag = -2;
    frame.SetMenu(menu);
    frame.SetWindowMenu(window);
    auto* menus = new TMainMenus97(&frame);
    menus->SetMainMenu(menu);
    frame.Show();
    TForm one(&frame), two(&frame);
    one.SetFormStyle(fsMDIChild);
    one.SetCaption("ftp.example.org");
    one.Show();
    two.SetFormStyle(fsMDIChild);
    two.SetCaption("Local files");
    two.Show();
    if (argc > 2 && std::string(argv[2]) == "max")
        SendMessageA(frame.ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two.Handle()), 0);
    PumpMessages(800);
    // The window menu as the user opens it, closed again after the time given.
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, CloseMenu);
    RECT r;
    GetWindowRect(frame.Handle(), &r);
    TrackPopupMenu(window->Handle(), TPM_LEFTALIGN, r.left + 60, r.top + 50, 0, frame.Handle(), nullptr);
    return 0;
}
