// Settings for window tests whose translation units cannot see the key-map
// headers (they clash with the window layer's key names): made, filled with a
// small language and compared as their stream bytes here.
#pragma once

#include <memory>
#include <string>

class TSM_Settings;

class SettingsProbe {
public:
    SettingsProbe();  // a C-like language with two styles, a template and a replacement
    ~SettingsProbe();
    TSM_Settings& Settings() { return *settings_; }
    // Everything the settings store, as bytes.
    std::string Snapshot() const;
    std::string FontName() const;
    void SetFontName(const std::string& name);

private:
    std::unique_ptr<TSM_Settings> settings_;
};
