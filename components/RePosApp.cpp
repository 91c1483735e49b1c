#include "components/RePosApp.h"

#include <vector>

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

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& list = *reinterpret_cast<std::vector<TMonitorArea>*>(data);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(monitor, &mi)) return TRUE;
    const TMonitorArea area{{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right - mi.rcMonitor.left,
                             mi.rcMonitor.bottom - mi.rcMonitor.top},
                            {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right - mi.rcWork.left,
                             mi.rcWork.bottom - mi.rcWork.top}};
    // The primary monitor first: it wins a tie.
    if (mi.dwFlags & MONITORINFOF_PRIMARY) list.insert(list.begin(), area);
    else list.push_back(area);
    return TRUE;
}

// Every monitor with its work area, in screen coordinates.
std::vector<TMonitorArea> Monitors() {
    std::vector<TMonitorArea> list;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    if (list.empty()) {
        const TPosRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        RECT work;
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) work = {0, 0, screen.Width, screen.Height};
        list.push_back({screen, {work.left, work.top, work.right - work.left, work.bottom - work.top}});
    }
    return list;
}

}  // namespace

// The stored numbers are screen coordinates, as the form's own bounds are.
void TRePosApp::LoadAppPosition() {
    const int top = ParseStoredInt(ReadString(TopName, ""), Top);
    const int left = ParseStoredInt(ReadString(LeftName, ""), Left);
    const int height = ParseStoredInt(ReadString(HeightName, ""), Height);
    const int width = ParseStoredInt(ReadString(WidthName, ""), Width);
    // A stored place off every screen (a minimised form's -32000, a monitor
    // that is gone) would hide the form: keep it on its monitor's work area.
    const TPosRect r = PlaceOnNearestMonitor({left, top, width, height}, Monitors());
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
    TPosRect r;
    if (IsIconic(h)) {
        // A minimised form reports -32000 as its place: its normal rectangle
        // is what comes back, and the platform gives it in workspace coordinates.
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        GetWindowPlacement(h, &wp);
        const RECT& n = wp.rcNormalPosition;
        r = WorkspaceToScreen({n.left, n.top, n.right - n.left, n.bottom - n.top}, Monitors());
    } else {
        RECT w;
        GetWindowRect(h, &w);
        r = {w.left, w.top, w.right - w.left, w.bottom - w.top};
    }
    WriteString(WindowStateName, "False");
    WriteString(TopName, std::to_string(r.Top));
    WriteString(LeftName, std::to_string(r.Left));
    WriteString(WidthName, std::to_string(r.Width));
    WriteString(HeightName, std::to_string(r.Height));
}
