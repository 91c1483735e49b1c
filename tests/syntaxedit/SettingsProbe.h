// Settings for the options dialog's tests: made, filled with a small language
// and compared as their stream bytes.
#pragma once

#include <string>

#include "runtime/core/Stream.h"
#include "syntaxedit/core/SM_Settings.h"

class SettingsProbe {
public:
    // A C-like language with two styles, a template and a replacement.
    SettingsProbe() {
        settings_.LanguageName = "C-like";
        settings_.ExampleText = "int x = 1; /* note */\r\nreturn x;";
        settings_.SetEditableStyle(1, {"Comment", 2});
        settings_.SetEditableStyle(2, {"Keyword", 3});
        settings_.CodeTemplates->AddTemplate("for", "loop", "for (|) {\r}");
        settings_.AutoReplace->AddReplacement("teh", "the");
    }
    TSM_Settings& Settings() { return settings_; }
    // Everything the settings store, as bytes.
    std::string Snapshot() const {
        TMemoryStream m;
        settings_.SaveToStream(m);
        return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
    }
    std::string FontName() const { return settings_.FontName; }
    void SetFontName(const std::string& name) { settings_.FontName = name; }

private:
    TSM_Settings settings_;
};
