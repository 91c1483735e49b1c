#include "searchwindow/core/PanelSwitcher.h"

const std::vector<std::string>& PanelControls(int16_t panel) {
    static const std::vector<std::string> kPanels[6] = {
        {},
        {"MaskList", "frmToolbarFrame", "tbPropertyToolBar"},
        {"ContentWebBrowser", "frmTbBrowser"},
        {"ShowPropertiesList", "HSplitBar1", "HContentSplitBar", "PropertyContentList", "PropertyContentBrowser",
         "frmTbBrowser", "tbBrowser8", "tbBrowser9", "tbBrowser10", "tbBrowser11", "tbBrowser12", "tbBrowser13"},
        {"frmOptions"},
        {"HelpWebBrowser", "frmTbBrowser"},
    };
    return panel >= 1 && panel <= 5 ? kPanels[panel] : kPanels[0];
}

std::string PanelTitle(int16_t panel) {
    static const char* const kTitles[] = {"Keywords and property templates", "Document content",
                                          "Found properties", "Options", "Help"};
    return panel >= 1 && panel <= 5 ? std::string(" ") + kTitles[panel - 1] : "";
}

// Every panel's controls start hidden; the load runs Select(1).
PanelSwitcher::PanelSwitcher() = default;

void PanelSwitcher::ShowPanel(int16_t panel) {
    if (panel < 1 || panel > 5) return;
    title_ = PanelTitle(panel);
    for (const std::string& c : PanelControls(panel)) visible_.insert(c);
}

void PanelSwitcher::HidePanels(int16_t panel) {
    for (const std::string& c : PanelControls(panel)) visible_.erase(c);
}

void PanelSwitcher::Select(int16_t tab) {
    if (tab < 1 || tab > 5) return;
    HidePanels(current_);
    current_ = tab;
    ShowPanel(current_);
}
