// Highlighters and settings helpers for the control's slot and options tests.
#pragma once

#include <functional>
#include <string>

#include "SchemeTestUtil.h"
#include "SyntaxMemoParser.h"
#include "runtime/core/Stream.h"

// A highlighter owned by owner with the scheme fixture name compiled in.
inline TSyntaxMemoParser* NewSchemeParser(TComponent* owner, const std::string& fixture) {
    auto* p = new TSyntaxMemoParser(owner);
    p->Highlighter().CompileScript(ReadFixture(fixture));
    return p;
}

inline TSM_Settings* SettingsOf(TSyntaxMemoParser* parser) { return &parser->LanguageSettings(); }

// Everything the settings store, as bytes.
inline std::string SettingsBytes(TSM_Settings* settings) {
    TMemoryStream m;
    settings->SaveToStream(m);
    return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

// The text colour of a style of these settings.
inline TColor StyleTextColor(TSM_Settings* settings, int style) { return settings->Styles[style & 255].TextColor; }

inline int EditorCount(TSyntaxMemoParser* parser) { return static_cast<int>(parser->Editors().size()); }

// The font the settings name.
inline std::string FontNameOf(TSM_Settings* settings) { return settings->FontName; }
inline int FontSizeOf(TSM_Settings* settings) { return settings->FontSize; }
inline int FontCharsetOf(TSM_Settings* settings) { return settings->FontCharset; }
inline void SetFontOf(TSM_Settings* settings, const std::string& name, int size) {
    settings->FontName = name;
    settings->FontSize = size;
}

// The highlighter's options dialog (true when closed with OK).
inline bool ShowParserOptions(TSyntaxMemoParser* parser, unsigned visiblePages) {
    return parser->ShowOptions(visiblePages);
}

// Frees a highlighter as its owner would.
inline void FreeParser(TSyntaxMemoParser* parser) { delete parser; }

// Counts the fonts made; the platform in use makes them.
class CountingPlatform : public TSettingsPlatform {
public:
    explicit CountingPlatform(TSettingsPlatform& inner) : inner_(inner) {}
    uintptr_t CreateStyleFont(const std::string& face, int32_t size, uint8_t style, uint8_t charset,
                              bool forPrinter) override {
        Made++;
        return inner_.CreateStyleFont(face, size, style, charset, forPrinter);
    }
    void DeleteStyleFont(uintptr_t font) override { inner_.DeleteStyleFont(font); }
    TColor SystemColor(int index) override { return inner_.SystemColor(index); }
    int Made = 0;

private:
    TSettingsPlatform& inner_;
};

// How many style fonts the settings made while run ran.
inline int StyleFontsMadeDuring(const std::function<void()>& run) {
    TSettingsPlatform& inner = SettingsPlatform();
    CountingPlatform counting(inner);
    SetSettingsPlatform(&counting);
    struct Restore {
        TSettingsPlatform* p;
        ~Restore() { SetSettingsPlatform(p); }
    } restore{&inner};
    run();
    return counting.Made;
}
