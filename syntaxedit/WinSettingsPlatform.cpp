#include "WinSettingsPlatform.h"

#include "DrawUtils.h"

uintptr_t TWinSettingsPlatform::CreateStyleFont(const std::string& face, int32_t size, uint8_t style,
                                                uint8_t charset, bool forPrinter) {
    return reinterpret_cast<uintptr_t>(CreateEditorFont(face, size, style, charset, forPrinter));
}

void TWinSettingsPlatform::DeleteStyleFont(uintptr_t font) {
    DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}

TColor TWinSettingsPlatform::SystemColor(int index) { return static_cast<TColor>(GetSysColor(index)); }

void InstallWinSettingsPlatform() {
    static TWinSettingsPlatform platform;
    SetSettingsPlatform(&platform);
}
