// frmInterface: SBF's main window. A thin shell: layout arithmetic, tables,
// the state string, the found list's bookkeeping and the engine session
// live in core/; this forwards the controls' events and shows the results.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "searchwindow/BrowserPane.h"
#include "searchwindow/EngineDispatch.h"
#include "searchwindow/SplitBar.h"
#include "searchwindow/SysControl.h"
#include "searchwindow/core/FoundList.h"
#include "searchwindow/core/PaneLayout.h"
#include "searchwindow/core/PanelSwitcher.h"
#include "searchwindow/core/SearchSession.h"
#include "searchwindow/core/ToolbarCommands.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

class TSearchWindow : public TForm, public SessionView {
public:
    TSearchWindow();
    ~TSearchWindow() override;

    // Binds the engine by progIdPrefix and runs the load; false (after the
    // "Can not initialize search" box) when the engine cannot be made.
    bool Load(const std::string& progIdPrefix = "Gleaner");
    // The close: stops, asks to save, ends the engine. False: the user cancelled.
    bool Unload();

    // Commands, as the toolbars and keys run them.
    void Run(WindowCommand command);
    void StartClick(bool merge);
    void FillTick();
    std::string AppTitle = "Sablefind";
    std::string CaptionMaskName = "Page title";
    SearchSession* Session() { return session_.get(); }
    const FoundList& Found() const { return found_; }
    TListViewBox* FoundListBox() { return foundList_; }
    TEdit* StartAddressCombo() { return address_; }
    TBrowserPane* ContentBrowser() { return content_; }
    void SelectPanel(int16_t panel);

    // SessionView
    void ShowSetting(Spinner which, const std::string& text) override;
    void ShowProtocolBox(int which, bool checked) override;
    void ShowPriority(int32_t priority) override;
    void ShowExternalLinksBox(bool checked) override;
    void ShowRunState(SearchRunState state) override;
    void ClearFoundList() override;
    void Message(const std::string& text, const std::string& title) override;
    SaveAnswer AskSave(const std::string& question) override;
    bool SaveSearch() override;
    void Pump(int ms) override;

    bool HandleMessage(TMessage& m) override;
    bool IsNewWindow = false;
    int16_t FoundListView = 0;
    void SetFoundListView(int16_t mode);
    void ShowAbout();

private:
    void BuildMenu();
    void WindowClosed();
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut key, std::function<void()> click);
    TMainMenu* menu_ = nullptr;
    TMenuItem* viewItems_[3] = {};
    TMenuItem* panelItems_[5] = {};
    void BuildControls();
    void BuildOptions();
    void SetUpImages();
    TButton* AddButton(TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                       std::function<void()> click);
    void Relayout();
    void ApplyPane(TWinControl* c, const PaneBox& b);
    void SyncFoundList();
    void FillMaskList();
    void ShowPropertiesOfCurrent();
    void SetStatus(int panel, const std::string& text);
    void MarkCaption();
    bool SaveSearchAs();
    void OpenSearch(bool merge);
    void SettingChanged(Spinner which, TEdit* edit);

    TDispatchDriver dbDriver_, searchDriver_;
    std::string progIdPrefix_;
    std::unique_ptr<DatabaseDispatch> db_;
    std::unique_ptr<SearchEngineDispatch> search_;
    std::unique_ptr<SearchSession> session_;
    FoundList found_;
    WindowPanes panes_;
    PanelSwitcher panels_;
    int32_t fillCursor_ = DatabaseCalls::kNoCursor;
    int16_t stopFrame_ = 0;
    int32_t currentRecordKey_ = -1;
    bool settingText_ = false;
    std::string searchFolder_;

    TPanel* toolbar_ = nullptr;
    TButton* lastMainButton_ = nullptr;
    TEdit* address_ = nullptr;
    TButton *openFile_ = nullptr, *merge_ = nullptr, *start_ = nullptr;
    TListViewBox* foundList_ = nullptr;
    TSplitBar *vsplit_ = nullptr, *hsplit_ = nullptr, *hcontent_ = nullptr;
    TLabel* panelTitle_ = nullptr;
    TSysControl* tabs_ = nullptr;
    TListViewBox *maskList_ = nullptr, *propertiesList_ = nullptr, *contentList_ = nullptr;
    TPanel *maskToolbar_ = nullptr, *browserToolbar_ = nullptr, *options_ = nullptr, *statusBar_ = nullptr;
    TBrowserPane *content_ = nullptr, *help_ = nullptr, *propertyBrowser_ = nullptr;
    TLabel *status1_ = nullptr, *status2_ = nullptr, *traffic_ = nullptr, *total_ = nullptr;
    std::vector<TButton*> maskButtons_;  // New, Open, Save, Cut, Copy, Paste, ...
    TCheckBox* protocolBoxes_[5] = {};
    TCheckBox* externalLinks_ = nullptr;
    TButton* suspend_ = nullptr;
    TEdit* settingEdits_[4] = {};
    TButton* settingSpins_[2] = {};  // channel count - and +
    TEdit* formatTable_ = nullptr;
    std::map<std::string, TWinControl*> named_;
    TTimer fillTimer_, startButtonTimer_, trafficTimer_;
    HIMAGELIST images_ = nullptr, smallImages_ = nullptr;
};
