// Remembers where its owner form stood: position, size and the maximised flag,
// in the registry below HKEY_CURRENT_USER or in a private INI file.
#pragma once

#include <string>

#include "ui/Form.h"

class TRePosApp : public TComponent {
public:
    // The owner is the form that is moved.
    explicit TRePosApp(TForm* owner);
    // Signed: a form may stand left of or above a secondary monitor's origin.
    int Top = 100, Left = 100, Height = 300, Width = 300;
    std::string LeftName = "Left", TopName = "Top", HeightName = "Height", WidthName = "Width";
    std::string SectionName = "Dimensions", InifileName = "MyApp", WindowStateName = "MyWindowState";
    bool ForceINIFile = false;

    void LoadAppPosition();
    void SaveAppPosition();

private:
    std::string StoreName() const { return InifileName + ".INI"; }
    std::string ReadString(const std::string& name, const std::string& def) const;
    void WriteString(const std::string& name, const std::string& value) const;
    TForm* form_;
};
