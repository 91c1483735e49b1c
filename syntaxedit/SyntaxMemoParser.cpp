#include "SyntaxMemoParser.h"

#include <windows.h>

#include <algorithm>

#include "runtime/core/SysUtils.h"
#include "syntaxedit/core/SM_Base.h"
#include "syntaxedit/core/SyntaxMemoErrors.h"
#include "ui/core/Prompter.h"

TSyntaxMemoParser::TSyntaxMemoParser(TComponent* AOwner) : TComponent(AOwner) {
    SetName("SyntaxMemoParser1");
    highlighter_.Name = Name();
    highlighter_.Scanner.OnCustomParse = [this](int32_t id, TEdStream& stream, int32_t& length, int32_t& value) {
        return OnCustomParse && !Designing && OnCustomParse(this, id, stream, length, value);
    };
}

TSyntaxMemoParser::~TSyntaxMemoParser() {
    BeginDestroy();
    // Editors must not keep settings of a parser that is gone.
    std::vector<ISyntaxMemoClient*> editors;
    editors.swap(editors_);
    editors.insert(editors.end(), waiting_.begin(), waiting_.end());
    waiting_.clear();
    for (ISyntaxMemoClient* e : editors) {
        if (TComponent* c = e->ClientComponent()) RemoveFreeNotification(c);
        e->ParserDetached(*this);
    }
}

void TSyntaxMemoParser::SetScript(const std::string& path) {
    Script = path;
    if (!Script.empty() && Designing && !Loading) CompileScriptFile();
}

bool TSyntaxMemoParser::CompileScriptFile() {
    highlighter_.Name = Name();
    if (!highlighter_.CompileScriptFile(Script)) return false;
    RefreshEditors();
    return true;
}

void TSyntaxMemoParser::Loaded() {
    Loading = false;
    highlighter_.Name = Name();
    if (AutoScriptUpdate && !Script.empty()) highlighter_.CompileScriptFile(Script);
    RefreshEditors();
}

void TSyntaxMemoParser::AttachEditor(ISyntaxMemoClient* editor) {
    if (!editor || std::find(editors_.begin(), editors_.end(), editor) != editors_.end()) return;
    editors_.push_back(editor);
    if (TComponent* c = editor->ClientComponent()) FreeNotification(c);
}

void TSyntaxMemoParser::DetachEditor(ISyntaxMemoClient* editor) {
    std::vector<ISyntaxMemoClient*>& list =
        std::find(editors_.begin(), editors_.end(), editor) != editors_.end() ? editors_ : waiting_;
    auto it = std::find(list.begin(), list.end(), editor);
    if (it == list.end()) return;
    list.erase(it);
    if (TComponent* c = editor->ClientComponent()) RemoveFreeNotification(c);
    editor->ParserDetached(*this);
}

void TSyntaxMemoParser::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || Destroying()) return;
    for (std::vector<ISyntaxMemoClient*>* list : {&editors_, &waiting_})
        for (size_t i = 0; i < list->size(); i++)
            if ((*list)[i]->ClientComponent() == AComponent) {
                ISyntaxMemoClient* e = (*list)[i];
                list->erase(list->begin() + static_cast<std::ptrdiff_t>(i));
                e->ParserDetached(*this);
                return;
            }
}

void TSyntaxMemoParser::RefreshEditors() {
    if (editors_.empty() || Loading) return;
    AllEditorsUpdated = 1;
    // A copy: an editor may detach itself while it re-highlights.
    std::vector<ISyntaxMemoClient*> editors = editors_;
    for (ISyntaxMemoClient* e : editors) {
        if (std::find(editors_.begin(), editors_.end(), e) == editors_.end()) continue;
        try {
            e->ParserChanged(*this);
        } catch (const Exception&) {
            AllEditorsUpdated = 0;
        }
    }
}

bool TSyntaxMemoParser::ReadParser(TStream& s) {
    highlighter_.Name = Name();
    std::string message;
    if (highlighter_.ReadTables(s, message)) return true;
    Prompter().ShowMessageBox(message, "Information", MB_OK | MB_ICONINFORMATION);
    return false;
}

void TSyntaxMemoParser::Assign(TObject* source) {
    auto* other = dynamic_cast<TSyntaxMemoParser*>(source);
    if (!other)
        throw ESyntaxMemo(Format("Cannot assign a %s to %s", ClassNameOf(source).c_str(), "TSyntaxMemoParser"));
    if (other == this) return;
    TMemoryStream data;
    other->WriteParser(data);
    data.SetPosition(0);
    ReadParser(data);
}

namespace {

void SetValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
    if (rc != ERROR_SUCCESS)
        throw ESyntaxMemo(Format("Cannot write the registry value %s", name.c_str()));
}

}  // namespace

void TSyntaxMemoParser::SaveToRegistry() {
    if (RegistryKey.empty() || !UseRegistry)
        throw ESyntaxMemo("Registry interface disabled in: " + Name());
    std::string path = RegistryKey;
    while (!path.empty() && path[0] == '\\') path.erase(0, 1);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw ESyntaxMemo(Format("Cannot open the registry key %s", RegistryKey.c_str()));
    const std::string& language = highlighter_.LanguageSettings.LanguageName;
    try {
        // A string value holds its terminating NUL.
        std::string style = highlighter_.StyleString();
        SetValue(key, "Highlighting - " + language, REG_SZ, std::string(style.c_str(), style.size() + 1));
        SetValue(key, "Key Assignments - " + language, REG_BINARY, highlighter_.KeyAssignmentsData());
    } catch (...) {
        RegCloseKey(key);
        throw;
    }
    RegCloseKey(key);
}
