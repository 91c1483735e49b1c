#include "SettingsProbe.h"

#include "runtime/core/Stream.h"
#include "syntaxedit/core/SM_Settings.h"

SettingsProbe::SettingsProbe() : settings_(new TSM_Settings) {
    TSM_Settings& s = *settings_;
    s.LanguageName = "C-like";
    s.ExampleText = "int x = 1; /* note */\r\nreturn x;";
    s.SetEditableStyle(1, {"Comment", 2});
    s.SetEditableStyle(2, {"Keyword", 3});
    s.CodeTemplates->AddTemplate("for", "loop", "for (|) {\r}");
    s.AutoReplace->AddReplacement("teh", "the");
}

SettingsProbe::~SettingsProbe() = default;

std::string SettingsProbe::Snapshot() const {
    TMemoryStream m;
    settings_->SaveToStream(m);
    return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

std::string SettingsProbe::FontName() const { return settings_->FontName; }
void SettingsProbe::SetFontName(const std::string& name) { settings_->FontName = name; }
