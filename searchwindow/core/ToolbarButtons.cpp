#include "searchwindow/core/ToolbarButtons.h"

namespace {
using B = ToolbarButtonSpec;
}  // namespace

const std::vector<ToolbarButtonSpec>& MainToolbarButtons() {
    static const std::vector<ToolbarButtonSpec> buttons = {
        {B::Button, "New", "New", "New search (Ctrl+N)", SbfGlyph::New},
        {B::DropDown, "Open", "Open", "Open search... (Ctrl+O)", SbfGlyph::Open},
        {B::DropDown, "Save", "Save", "Save search (Ctrl+S)", SbfGlyph::Save},
        {B::DropDown, "View", "View", "View", SbfGlyph::ViewLarge},
        {B::DropDown, "Sort", "Sort", "Sort list", SbfGlyph::Sort},
    };
    return buttons;
}

const std::vector<ToolbarButtonSpec>& PropertyToolbarButtons() {
    static const std::vector<ToolbarButtonSpec> buttons = {
        {B::Button, "New", "", "New keyword (property template)...", SbfGlyph::NewMask},
        {B::Button, "Open", "", "Open property template...", SbfGlyph::Open},
        {B::Button, "Save", "", "Save property template...", SbfGlyph::Save},
        {B::Separator},
        {B::Button, "Cut", "", "Cut (Ctrl+X)", SbfGlyph::Cut},
        {B::Button, "Copy", "", "Copy (Ctrl+C)", SbfGlyph::Copy},
        {B::Button, "Paste", "", "Paste (Ctrl+V)", SbfGlyph::Paste},
        {B::Separator},
        {B::GroupedCheck, "Large Icons", "", "View large icons", SbfGlyph::ViewLarge},
        {B::GroupedCheck, "Small Icons", "", "View small icons", SbfGlyph::ViewSmall},
        {B::GroupedCheck, "List", "", "View list", SbfGlyph::ViewList},
        {B::Separator},
        {B::Button, "Filter", "", "Filter...", SbfGlyph::Filter},
    };
    return buttons;
}

const std::vector<ToolbarButtonSpec>& BrowserToolbarButtons() {
    static const std::vector<ToolbarButtonSpec> buttons = {
        {B::Button, "Back", "", "Back", SbfGlyph::Back},
        {B::Button, "Forward", "", "Forward", SbfGlyph::Forward},
        {B::Separator},
        {B::Button, "Stop", "", "Stop", SbfGlyph::Stop},
        {B::Button, "Refresh", "", "Refresh", SbfGlyph::Refresh},
        {B::Button, "Home", "", "Home", SbfGlyph::Home},
        {B::Separator},
        {B::GroupedCheck, "Large icons", "", "Large icons", SbfGlyph::ViewLarge},
        {B::GroupedCheck, "Small icons", "", "Small icons", SbfGlyph::ViewSmall},
        {B::GroupedCheck, "List", "", "List", SbfGlyph::ViewList},
        {B::Separator},
        {B::Button, "Report mask", "", "Report property values...", SbfGlyph::ReportValues},
        {B::Button, "Report Unique", "", "Report unique values...", SbfGlyph::ReportUnique},
    };
    return buttons;
}

SbfGlyph ViewModeGlyph(int16_t mode) {
    return mode == 1 ? SbfGlyph::ViewSmall : mode == 2 ? SbfGlyph::ViewList : SbfGlyph::ViewLarge;
}

const PanelTabSpec kPanelTabs[5] = {
    {"General", "General", "General search options"},
    {"Content", "Content", "Document content"},
    {"Results", "Properties", "Found results"},
    {"Options", "Options", "Search options"},
    {"Help", "Help", "Help topics"},
};

bool PanelHasBrowser(int16_t panel) { return panel == 2 || panel == 3 || panel == 5; }

bool BrowserCommandsUsable(int16_t panel, const std::string& homeAddress) {
    return PanelHasBrowser(panel) && !homeAddress.empty();
}

BrowserAction BrowserButtonAction(int16_t panel, const std::string& key, const std::string& homeAddress) {
    if (BrowserCommandsUsable(panel, homeAddress)) {
        if (key == "Back") return BrowserAction::Back;
        if (key == "Forward") return BrowserAction::Forward;
        if (key == "Stop") return BrowserAction::Stop;
        if (key == "Refresh") return BrowserAction::Refresh;
        if (key == "Home") return BrowserAction::Home;
    }
    if (panel == 3) {
        if (key == "Large icons") return BrowserAction::PropertyViewLarge;
        if (key == "Small icons") return BrowserAction::PropertyViewSmall;
        if (key == "List") return BrowserAction::PropertyViewList;
        if (key == "Report mask") return BrowserAction::ReportValues;
        if (key == "Report Unique") return BrowserAction::ReportUnique;
    }
    return BrowserAction::None;
}
