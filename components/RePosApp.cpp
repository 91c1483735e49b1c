#include "components/RePosApp.h"

#include "components/RegistryEnhanced.h"
#include "components/core/FormPosition.h"

TRePosApp::TRePosApp(TForm* owner) : TComponent(owner), form_(owner) {}

std::string TRePosApp::ReadString(const std::string& name, const std::string& def) const {
    if (ForceINIFile) {
        char buf[256];
        GetPrivateProfileStringA(SectionName.c_str(), name.c_str(), def.c_str(), buf, sizeof buf,
                                 StoreName().c_str());
        return buf;
    }
    TRegistryEnhanced reg;
    reg.Key = StoreName() + "\\" + SectionName;
    reg.Access = kRead;
    const TRegVariant v = reg.ReadValue(name, TRegVariant::String(def));
    if (v.Type == rvString) return v.Str;
    if (v.Type == rvInteger) return std::to_string(v.Int);
    return def;
}

void TRePosApp::WriteString(const std::string& name, const std::string& value) const {
    if (ForceINIFile) {
        if (!WritePrivateProfileStringA(SectionName.c_str(), name.c_str(), value.c_str(), StoreName().c_str()))
            throw Exception("Unable to write to " + StoreName());
        return;
    }
    TRegistryEnhanced reg;
    reg.Key = StoreName() + "\\" + SectionName;
    reg.WriteValue(name, TRegVariant::String(value));
}

void TRePosApp::LoadAppPosition() {
    const int top = ParseStoredInt(ReadString(TopName, ""), Top);
    const int left = ParseStoredInt(ReadString(LeftName, ""), Left);
    const int height = ParseStoredInt(ReadString(HeightName, ""), Height);
    const int width = ParseStoredInt(ReadString(WidthName, ""), Width);
    // A stored place off every screen (a minimised form's -32000, a monitor
    // that is gone) would hide the form: keep it on the work area.
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const TPosRect r = ClampToWorkArea({left, top, width, height}, area.left, area.top, area.right, area.bottom);
    HWND h = form_->Handle();
    const bool maximised = SameText(ReadString(WindowStateName, "False"), "True");
    if (IsZoomed(h) || IsIconic(h)) ShowWindow(h, SW_RESTORE);
    form_->SetBounds(r.Left, r.Top, r.Width, r.Height);
    if (maximised) ShowWindow(h, SW_SHOWMAXIMIZED);
}

void TRePosApp::SaveAppPosition() {
    HWND h = form_->Handle();
    if (IsZoomed(h)) {
        WriteString(WindowStateName, "True");
        return;
    }
    // The normal rectangle: a minimised form reports -32000 as its place.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(h, &wp);
    const RECT& n = wp.rcNormalPosition;
    WriteString(WindowStateName, "False");
    WriteString(TopName, std::to_string(n.top));
    WriteString(LeftName, std::to_string(n.left));
    WriteString(WidthName, std::to_string(n.right - n.left));
    WriteString(HeightName, std::to_string(n.bottom - n.top));
}
