// The highlighter component's way into the options dialog. It lives with the
// dialog (which needs the window layer) rather than with the component.
#include "SyntaxMemoParser.h"
#include "syntaxedit/core/OptionsModel.h"

bool TSyntaxMemoParser::ShowOptions(unsigned visiblePages) {
    if (OnModifyProperties) {
        OnModifyProperties(this);
        return false;
    }
    if (!ExecuteOptionsDialog(LanguageSettings(), visiblePages)) return false;
    RefreshEditors();
    if (UseRegistry && !RegistryKey.empty()) SaveToRegistry();
    return true;
}
