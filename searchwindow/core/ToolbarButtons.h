// The buttons of the window's three toolbars and the tabs of its panel
// strip, in their order: keys, captions, tool tips and pictures. The window
// builds its controls from these tables; the browser toolbar's clicks are
// decided here too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "searchwindow/core/ToolbarArt.h"

struct ToolbarButtonSpec {
    enum Kind { Button, DropDown, GroupedCheck, Separator };
    Kind Style = Button;
    const char* Key = "";
    const char* Caption = "";  // shown beside the picture; "" for none
    const char* Hint = "";
    SbfGlyph Picture = SbfGlyph::New;
};

// tbMainToolbar: New, and Open, Save, View, Sort with their drop-down arrows.
const std::vector<ToolbarButtonSpec>& MainToolbarButtons();
// tbPropertyToolBar, separators between its groups.
const std::vector<ToolbarButtonSpec>& PropertyToolbarButtons();
// tbBrowser's 13 buttons; buttons 8 to 13 (positions 7 to 12) belong to the Results panel.
const std::vector<ToolbarButtonSpec>& BrowserToolbarButtons();

// The View button's picture for the found list's view mode 0, 1, 2.
SbfGlyph ViewModeGlyph(int16_t mode);

struct PanelTabSpec {
    const char* Caption;
    const char* Key;
    const char* Hint;
};
// Tab i stands for panel i + 1.
extern const PanelTabSpec kPanelTabs[5];

// A tbBrowser click by its key on the panel on view: the five browser
// commands act on the panel's browser only when its home address (the page
// last loaded there) is known; on the Results panel the view and report keys.
enum class BrowserAction {
    None, Back, Forward, Stop, Refresh, Home,
    PropertyViewLarge, PropertyViewSmall, PropertyViewList, ReportValues, ReportUnique,
};
BrowserAction BrowserButtonAction(int16_t panel, const std::string& key, const std::string& homeAddress);
// Whether the browser commands can do anything on the panel (the buttons' enabled state).
bool BrowserCommandsUsable(int16_t panel, const std::string& homeAddress);
// The panel's browser: 2 Content, 3 Results, 5 Help; false for the others.
bool PanelHasBrowser(int16_t panel);
