#include "SlotParsers.h"

#include "SchemeTestUtil.h"
#include "SyntaxMemoParser.h"

TSyntaxMemoParser* NewSchemeParser(TComponent* owner, const std::string& fixture) {
    auto* p = new TSyntaxMemoParser(owner);
    p->Highlighter().CompileScript(ReadFixture(fixture));
    return p;
}

TSM_Settings* SettingsOf(TSyntaxMemoParser* parser) { return &parser->LanguageSettings(); }

std::string SettingsBytes(TSM_Settings* settings) {
    TMemoryStream m;
    settings->SaveToStream(m);
    return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

TColor StyleTextColor(TSM_Settings* settings, int style) { return settings->Styles[style & 255].TextColor; }

int EditorCount(TSyntaxMemoParser* parser) { return static_cast<int>(parser->Editors().size()); }

bool ShowParserOptions(TSyntaxMemoParser* parser, unsigned visiblePages) { return parser->ShowOptions(visiblePages); }

void FreeParser(TSyntaxMemoParser* parser) { delete parser; }
