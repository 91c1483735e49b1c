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

bool TSchemeHighlighter::CompileScriptFile(const std::string& path) {
    if (!FileExists(path)) return false;
    std::string text;
    {
        TFileStream f(path, fmOpenRead | fmShareDenyWrite);
        text.assign(static_cast<size_t>(f.Size()), '\0');
        if (!text.empty()) f.ReadBuffer(&text[0], static_cast<int32_t>(text.size()));
    }
    size_t slash = path.find_last_of("\\/");
    CompileScript(text, slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
    return true;
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

namespace {

std::string TabColumnsText(const int32_t (&columns)[TSM_Settings::kTabColumns]) {
    std::string out;
    for (int32_t c : columns) {
        if (c < 0) break;
        if (!out.empty()) out += ' ';
        out += IntToStr(c + 1);
    }
    return out;
}

// The count of defined styles (all 256 are written as 255, as the values
// already stored have it), then every defined style.
std::string EffectsText(const TSM_Settings& s) {
    int count = 0;
    for (const TStyleEntry& st : s.Styles)
        if (st.Defined) count++;
    std::string out = IntToStr(count == 256 ? 255 : count);
    if (count > 0) out += ',';
    for (int n = 0; n < 256; n++) {
        const TStyleEntry& st = s.Styles[n];
        if (!st.Defined) continue;
        out += Format("%d,%d,%d,", n, st.TextColor, st.BackColor);
        if (st.UseDefaultBack) out += 'X';
        if (st.UseDefaultText) out += 'Y';
        if (st.FontStyle & 1) out += 'B';
        if (st.FontStyle & 2) out += 'I';
        if (st.FontStyle & 4) out += 'U';
        out += ';';
    }
    return out;
}

}  // namespace

std::string TSchemeHighlighter::StyleString() const {
    const TSM_Settings& s = LanguageSettings;
    const std::pair<const char*, std::string> fields[] = {
        {"OPT", IntToStr(s.Options)},      {"GWD", IntToStr(s.Gutter)},
        {"GCL", IntToStr(s.GutterColor)},  {"WRC", IntToStr(s.WrapAtColumn)},
        {"IDS", IntToStr(s.IndentStep)},   {"WRO", s.WrapOverride},
        {"FON", s.FontName},               {"FOS", IntToStr(s.FontSize)},
        {"STC", IntToStr(s.SelTextColor)}, {"STB", IntToStr(s.SelTextBack)},
        {"TBC", TabColumnsText(s.TabColumns)}, {"TBD", IntToStr(s.TabDefault)},
        {"EFF", EffectsText(s)},
    };
    std::string out = "Morvex6:";
    for (const auto& f : fields) out += std::string(f.first) + "#" + IntToStr(static_cast<int64_t>(f.second.size())) + "#" + f.second;
    return out + "#END#";
}

std::string TSchemeHighlighter::KeyAssignmentsData() const {
    TMemoryStream m;
    WriteShortString(m, "Morvex6:");
    LanguageSettings.KeyController->SaveToStream(m);
    std::string out(static_cast<size_t>(m.Size()), '\0');
    m.SetPosition(0);
    if (!out.empty()) m.ReadBuffer(&out[0], static_cast<int32_t>(out.size()));
    return out;
}

void TSchemeHighlighter::AssignFrom(const TSchemeHighlighter& source) {
    TMemoryStream m;
    source.WriteTables(m);
    m.SetPosition(0);
    std::string message;
    ReadTables(m, message);
}
