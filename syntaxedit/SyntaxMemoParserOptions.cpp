// The highlighter component's way into the options dialog. It lives with the
// dialog (which needs the window layer) rather than with the component.
#include "SyntaxMemoParser.h"
#include "syntaxedit/core/OptionsModel.h"

void TSyntaxMemoParser::InstallSettings(TSM_Settings* settings) {
    if (settings) {
        if (installed_) return;
        waiting_.swap(editors_);
        installed_ = settings;
        return;
    }
    if (!installed_) return;
    // Editors still on the copy take their own settings before it goes.
    std::vector<ISyntaxMemoClient*> fresh;
    fresh.swap(editors_);
    installed_ = nullptr;
    editors_.swap(waiting_);
    for (ISyntaxMemoClient* e : fresh) {
        if (TComponent* c = e->ClientComponent()) RemoveFreeNotification(c);
        e->ParserDetached(*this);
    }
}

bool TSyntaxMemoParser::ShowOptions(unsigned visiblePages) {
    if (OnModifyProperties) {
        OnModifyProperties(this);
        return false;
    }
    // One dialog at a time edits these settings.
    if (installed_) return false;
    TOptionsComponent component;
    component.Parser = this;
    component.Install = [this](TSM_Settings* copy) { InstallSettings(copy); };
    if (!ExecuteOptionsDialog(highlighter_.LanguageSettings, visiblePages, &component)) return false;
    RefreshEditors();
    if (UseRegistry && !RegistryKey.empty()) SaveToRegistry();
    return true;
}
