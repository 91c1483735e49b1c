#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <windows.h>

TScriptedPrompter::TScriptedPrompter() : previous_(SetPrompter(this)) {}
TScriptedPrompter::~TScriptedPrompter() { SetPrompter(previous_); }

int TScriptedPrompter::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    log_.push_back({"MessageBox", text, caption, flags, {}});
    if (messages_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << caption << ": " << text;
        return IDCANCEL;
    }
    int b = messages_.front();
    messages_.pop_front();
    return b;
}

bool TScriptedPrompter::File(const char* kind, TFileDialogRequest& r) {
    log_.push_back({kind, r.Title, "", r.Options, r});
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected " << kind << " dialog: " << r.Title;
        return false;
    }
    std::string name = files_.front();
    files_.pop_front();
    if (name.empty()) return false;
    r.FileName = name;
    return true;
}

bool TScriptedPrompter::OpenFileDialog(TFileDialogRequest& r) { return File("OpenFile", r); }
bool TScriptedPrompter::SaveFileDialog(TFileDialogRequest& r) { return File("SaveFile", r); }

bool TScriptedPrompter::ColorDialog(uint32_t& color) {
    log_.push_back({"ChooseColor", "", "", 0, {}});
    if (colors_.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return false;
    }
    auto [ok, c] = colors_.front();
    colors_.pop_front();
    if (ok) color = c;
    return ok;
}

bool TScriptedPrompter::PrintDialog(TPrintRequest&) {
    log_.push_back({"Print", "", "", 0, {}});
    if (prints_.empty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return false;
    }
    bool ok = prints_.front();
    prints_.pop_front();
    return ok;
}
