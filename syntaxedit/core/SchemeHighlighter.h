// The window-free half of the highlighter component: compiles a scheme into
// its tables and settings, scans tokens with them and keeps them in the
// "Parser" property stream (version word, size, KH-compressed tables).
// No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ParserTables.h"
#include "SM_Settings.h"
#include "SYM_Compiler.h"
#include "TokenScanner.h"

class TSchemeHighlighter {
public:
    static const uint16_t kVersion = 49;

    explicit TSchemeHighlighter(const std::string& name = "SyntaxMemoParser1");

    // Compiles into fresh tables and settings; only a compile that succeeds
    // replaces the ones in use. Raises the compile's error; ErrorLine and
    // ErrorColumn (1-based) tell where the compile stopped either way.
    void CompileScript(const std::string& script, const std::string& scriptFolder = std::string(),
                       TSYM_Compiler::TFileReader reader = nullptr);
    // Compiles the file with its folder for "#include <...>"; false, with
    // nothing changed, when the file does not exist.
    bool CompileScriptFile(const std::string& path);
    // Empty tables (every character scans as token 0) and reset settings.
    void ClearTables();

    // Exception "<name>: <message>" for any failure.
    void WriteTables(TStream& s) const;
    // False with the three-line mismatch text in message (tables then empty)
    // when the stream is of another version. A damaged stream raises
    // "<name>: <message>" and leaves empty tables.
    bool ReadTables(TStream& s, std::string& message);

    // The registry's "Highlighting - <language>" value: "Morvex6:", then tag,
    // "#", length, "#", value per field, then "#END#".
    std::string StyleString() const;

    // The registry's "Key Assignments - <language>" value: the short string
    // "Morvex6:" and the key map's stream.
    std::string KeyAssignmentsData() const;
    // Copies another highlighter's tables and settings through the "Parser" stream.
    void AssignFrom(const TSchemeHighlighter& source);

    int NextToken(TEdStream& stream, int32_t& length) { return Scanner.NextToken(stream, length); }
    void ResetState(int token) { Scanner.ResetState(token); }
    TStateSet GetAnchors() const { return Scanner.GetAnchors(); }
    bool InBoundState() const { return Scanner.InBoundState(); }
    bool ContainerPending() const { return Scanner.ContainerPending(); }
    const TParserTables& Tables() const { return *tables_; }

    std::string Name;
    TSM_Settings LanguageSettings;
    std::string CompileContext = "Header";
    int ErrorLine = 0;
    int ErrorColumn = 0;
    TTokenScanner Scanner;

private:
    void Install(std::unique_ptr<TParserTables> tables, TSM_Settings& settings);
    std::unique_ptr<TParserTables> tables_;
};
