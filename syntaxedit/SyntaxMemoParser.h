// The highlighter component an editor names in its parser slots: the scheme
// highlighter with its form property "Parser", its registry values and the
// list of editors that use it. Editors are reached through a small interface
// so that the component does not depend on the editor control.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/core/Component.h"
#include "runtime/core/Stream.h"
#include "syntaxedit/core/SchemeHighlighter.h"

class TSyntaxMemoParser;

// What the parser needs of an editor that uses it.
class ISyntaxMemoClient {
public:
    virtual ~ISyntaxMemoClient() = default;
    // The editor as a component (for the notice of its removal); may be null.
    virtual TComponent* ClientComponent() = 0;
    // Takes the parser's settings again and re-highlights (sets its active
    // parser to itself). May raise.
    virtual void ParserChanged(TSyntaxMemoParser& parser) = 0;
    // The parser stops serving this editor: drop its settings.
    virtual void ParserDetached(TSyntaxMemoParser& parser) = 0;
};

// A custom scanning routine (the scheme's "match"): the number the scheme
// gives, the stream at the position, the token length to add to and the
// token value; true when it accepted.
using TCustomParseEvent = std::function<bool(TObject* Sender, int32_t ParseID, TEdStream& IStream,
                                             int32_t& kLength, int32_t& kValue)>;

class TSyntaxMemoParser : public TComponent {
public:
    explicit TSyntaxMemoParser(TComponent* AOwner = nullptr);
    ~TSyntaxMemoParser() override;

    TSchemeHighlighter& Highlighter() { return highlighter_; }
    // The settings in force: the options dialog's copy while it runs.
    TSM_Settings& LanguageSettings() { return installed_ ? *installed_ : highlighter_.LanguageSettings; }

    std::string Script;
    std::string Compile;
    bool AutoScriptUpdate = false;
    bool UseRegistry = false;
    std::string RegistryKey;
    TNotifyEvent OnModifyProperties;
    // Not run while the component is being designed.
    TCustomParseEvent OnCustomParse;
    uint8_t AllEditorsUpdated = 0;
    bool Loading = false;
    bool Designing = false;

    // Stores the path; at design time (not while loading) compiles it.
    void SetScript(const std::string& path);
    // Compiles the file Script names and has every editor take the new
    // tables; a missing file does nothing (false).
    bool CompileScriptFile();
    // After the form is read: compiles Script when AutoScriptUpdate, then
    // refreshes the editors.
    void Loaded();

    void AttachEditor(ISyntaxMemoClient* editor);
    void DetachEditor(ISyntaxMemoClient* editor);
    const std::vector<ISyntaxMemoClient*>& Editors() const { return editors_; }
    // Every editor takes the parser again; AllEditorsUpdated is 0 when one of
    // them failed with an Exception (the others still run).
    void RefreshEditors();

    // The form property "Parser". Reading a stream of another version tells
    // the user through the prompter and leaves empty tables (false).
    void WriteParser(TStream& s) const { highlighter_.WriteTables(s); }
    bool ReadParser(TStream& s);
    // Copies another parser's tables and settings through "Parser" data.
    // ESyntaxMemo "Cannot assign a <class> to TSyntaxMemoParser" for others.
    void Assign(TObject* source);

    // Writes "Highlighting - <language>" and "Key Assignments - <language>"
    // under RegistryKey (current user). ESyntaxMemo "Registry interface
    // disabled in: <name>" unless UseRegistry with a key.
    void SaveToRegistry();
    // OnModifyProperties when assigned (false); else the options dialog on
    // these settings with the given pages (SyntaxMemoParserOptions.cpp): on
    // OK the editors take the settings again and, with the registry in use,
    // they are saved there. True when the dialog was closed with OK.
    bool ShowOptions(unsigned visiblePages = 31);
    // For the options dialog (SyntaxMemoParserOptions.cpp): settings go in
    // force with a fresh editor list, the editors attached so far waiting
    // aside with the own settings; null lets the fresh list's editors go and
    // puts the own settings and the waiting editors back.
    void InstallSettings(TSM_Settings* settings);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TSchemeHighlighter highlighter_;
    std::vector<ISyntaxMemoClient*> editors_;
    TSM_Settings* installed_ = nullptr;
    std::vector<ISyntaxMemoClient*> waiting_;  // the editors aside while installed_ is in force
};
