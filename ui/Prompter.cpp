// The platform's message boxes and common dialogs behind the prompter.
#include "core/Prompter.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// "a|b|c|d" becomes "a\0b\0c\0d\0\0", the dialogs' filter form.
std::string FilterList(const std::string& filter) {
    std::string s = filter;
    for (char& c : s)
        if (c == '|') c = '\0';
    s.push_back('\0');
    s.push_back('\0');
    return s;
}

bool RunFileDialog(TFileDialogRequest& r, bool save) {
    std::vector<char> name(32768, '\0');
    r.FileName.copy(name.data(), name.size() - 1);
    const std::string filter = FilterList(r.Filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = r.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(r.FilterIndex);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = r.InitialDir.empty() ? nullptr : r.InitialDir.c_str();
    ofn.lpstrTitle = r.Title.empty() ? nullptr : r.Title.c_str();
    ofn.lpstrDefExt = r.DefaultExt.empty() ? nullptr : r.DefaultExt.c_str();
    ofn.Flags = r.Options | OFN_EXPLORER;
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return false;
    r.FileName = name.data();
    r.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

class TPlatformPrompter : public TPrompter {
public:
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return ::MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
    }
    bool OpenFileDialog(TFileDialogRequest& r) override { return RunFileDialog(r, false); }
    bool SaveFileDialog(TFileDialogRequest& r) override { return RunFileDialog(r, true); }
    bool ColorDialog(uint32_t& color) override {
        static uint32_t custom[16];
        return CustomColorDialog(color, custom);
    }
    bool CustomColorDialog(uint32_t& color, uint32_t (&custom)[16]) override {
        COLORREF colours[16];
        std::copy(custom, custom + 16, colours);
        CHOOSECOLORA cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = GetActiveWindow();
        cc.rgbResult = color;
        cc.lpCustColors = colours;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        bool ok = ::ChooseColorA(&cc) != 0;
        std::copy(colours, colours + 16, custom);
        if (ok) color = cc.rgbResult;
        return ok;
    }
    bool PrintDialog(TPrintRequest& r) override {
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = GetActiveWindow();
        pd.Flags = PD_NOPAGENUMS | (r.Selection ? 0 : PD_NOSELECTION);
        pd.nCopies = static_cast<WORD>(r.Copies);
        if (!PrintDlgA(&pd)) return false;
        r.Copies = pd.nCopies;
        r.Selection = (pd.Flags & PD_SELECTION) != 0;
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
        if (pd.hDC) DeleteDC(pd.hDC);
        return true;
    }
};

TPlatformPrompter g_platform;
TPrompter* g_prompter = &g_platform;

}  // namespace

TPrompter& Prompter() { return *g_prompter; }

TPrompter* SetPrompter(TPrompter* p) {
    TPrompter* old = g_prompter == &g_platform ? nullptr : g_prompter;
    g_prompter = p ? p : &g_platform;
    return old;
}
