#include "SchemeHighlighter.h"

#include "Compressor.h"
#include "SchemeCompiler.h"
#include "StreamPrimitives.h"

TSchemeHighlighter::TSchemeHighlighter(const std::string& name)
    : Name(name), Scanner(nullptr, &LanguageSettings), tables_(new TParserTables) {
    Scanner.SetTables(tables_.get());
}

void TSchemeHighlighter::Install(std::unique_ptr<TParserTables> tables, TSM_Settings& settings) {
    // Through the stream form, so that attached settings keep their fonts and
    // editors keep the object they point to.
    LanguageSettings.Assign(&settings);
    LanguageSettings.CodeTemplates->HotKey = settings.CodeTemplates->HotKey;
    tables_ = std::move(tables);
    Scanner.SetTables(tables_.get());
}

void TSchemeHighlighter::ClearTables() {
    TSM_Settings fresh;
    Install(std::unique_ptr<TParserTables>(new TParserTables), fresh);
}

void TSchemeHighlighter::CompileScript(const std::string& script, const std::string& scriptFolder,
                                       TSYM_Compiler::TFileReader reader) {
    std::unique_ptr<TParserTables> tables(new TParserTables);
    TSM_Settings settings;
    CompileContext = "Header";
    std::unique_ptr<TSYM_Compiler> lexer;
    try {
        lexer.reset(new TSYM_Compiler(script, scriptFolder, reader));
        TSchemeCompiler compiler(*lexer, *tables, settings);
        try {
            compiler.CompileAll();
        } catch (...) {
            CompileContext = compiler.CompileContext;
            throw;
        }
        CompileContext = compiler.CompileContext;
    } catch (...) {
        if (lexer) {
            ErrorLine = lexer->Line + 1;
            ErrorColumn = lexer->Column + 1;
        }
        throw;  // the tables in use stay as they were
    }
    ErrorLine = lexer->Line + 1;
    ErrorColumn = lexer->Column + 1;
    Install(std::move(tables), settings);
}

void TSchemeHighlighter::WriteTables(TStream& s) const {
    try {
        WriteWord(s, kVersion);
        TMemoryStream data;
        LanguageSettings.SaveToStream(data);
        tables_->SaveToStream(data);
        WriteInt(s, static_cast<int32_t>(data.Size()));
        data.SetPosition(0);
        TCompressor c;
        c.Method = TCompressor::cmKH;
        c.UseStreams = true;
        c.InputStream = &data;
        c.OutputStream = &s;
        c.Compress();
    } catch (const Exception& e) {
        throw Exception(Format("%s: %s", Name.c_str(), e.what()));
    }
}

bool TSchemeHighlighter::ReadTables(TStream& s, std::string& message) {
    message.clear();
    ClearTables();
    try {
        uint16_t version = ReadWord(s);
        if (version != kVersion) {
            message = Format(
                "%s: DFM file saved by different version of TSyntaxMemoParser.\n\r"
                "Recompile script to update DFM file.\n\r"
                "Expected version was %d read version was %d",
                Name.c_str(), kVersion, version);
            return false;
        }
        ReadInt(s);  // size of the table data: the container says it again
        TMemoryStream data;
        TCompressor c;
        c.Method = TCompressor::cmKH;
        c.UseStreams = true;
        c.InputStream = &s;
        c.OutputStream = &data;
        c.Decompress();
        data.SetPosition(0);
        TSM_Settings settings;
        settings.LoadFromStream(data);
        std::unique_ptr<TParserTables> tables(new TParserTables);
        tables->LoadFromStream(data);
        if (settings.KeyTables) tables->CaseSensitive = settings.KeyTables->CaseSensitive ? 1 : 0;
        Install(std::move(tables), settings);
        return true;
    } catch (const Exception& e) {
        ClearTables();
        throw Exception(Format("%s: %s", Name.c_str(), e.what()));
    }
}
