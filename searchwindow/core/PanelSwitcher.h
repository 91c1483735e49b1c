// The five panels of the window's right-hand side: which controls each
// shows, its title, and the Panels menu checks.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// Panel 1 to 5; an empty list and "" outside that.
const std::vector<std::string>& PanelControls(int16_t panel);
std::string PanelTitle(int16_t panel);

class PanelSwitcher {
public:
    PanelSwitcher();
    int16_t CurrentPanel() const { return current_; }
    // TabStrip_Click with tab selected: hide the shown panel, show the chosen
    // one (the same one is hidden and shown again).
    void Select(int16_t tab);
    void ShowPanel(int16_t panel);
    void HidePanels(int16_t panel);
    bool IsVisible(const std::string& control) const { return visible_.count(control) != 0; }
    bool MenuChecked(int16_t panel) const { return panel == current_; }
    const std::string& Title() const { return title_; }

private:
    int16_t current_ = 1;
    std::set<std::string> visible_;
    std::string title_;
};
