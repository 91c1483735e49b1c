// Real fonts and system colours for the editor's settings. Windows only.
#pragma once

#include "SM_Settings.h"

class TWinSettingsPlatform : public TSettingsPlatform {
public:
    uintptr_t CreateStyleFont(const std::string& face, int32_t size, uint8_t style, uint8_t charset,
                              bool forPrinter) override;
    void DeleteStyleFont(uintptr_t font) override;
    TColor SystemColor(int index) override;
};

// Makes the settings use TWinSettingsPlatform (once per process).
void InstallWinSettingsPlatform();
