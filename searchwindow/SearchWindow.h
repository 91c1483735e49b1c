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
#include "masks/AddFilterMaskDialog.h"
#include "masks/FilterDialog.h"
#include "masks/ReportListForm.h"
#include "searchwindow/core/FoundList.h"
#include "searchwindow/core/PaneLayout.h"
#include "searchwindow/core/PanelSwitcher.h"
#include "searchwindow/core/SearchSession.h"
#include "searchwindow/core/ToolbarCommands.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

class TSearchWindow : public TForm, public SessionView, private FoundListSink {
public:
    TSearchWindow();
    ~TSearchWindow() override;

    // Binds the engine by progIdPrefix and runs the load; false (after the
    // "Can not initialize search" box) when the engine cannot be made.
    bool Load(const std::string& progIdPrefix = "Gleaner");
    // The close: stops, asks to save, ends the engine. False: the user
    // cancelled, the save failed, or a command (a close or a new search
    // waiting for the crawl among them) is still under way.
    bool Unload();
    // Windows of this program open now: the last one closed ends it.
    static int OpenWindows();

    // Commands, as the toolbars and keys run them.
    void Run(WindowCommand command);
    void StartClick(bool merge);
    void FillTick();
    std::string AppTitle = "Sablefind";
    std::string CaptionMaskName = "Page title";
    // Picks the mask whose first value captions the found records.
    void SetCaptionMask(const std::string& name);

    // The mask list's commands, as the template toolbar, the Mask menu and
    // the mask list's keys run them.
    void CopyMasks();
    void PasteMasks();
    void DeleteSelectedMasks();
    void NewMask();
    void OpenMask();
    void SaveMaskAs();
    void EditSelectedMask();  // the mask list's double-click
    void EditFilter();
    // The values report (or the unique values) of the mask picked in the property list.
    void BuildReport(bool unique);
    const std::vector<std::unique_ptr<TReportListForm>>& Reports() const { return reports_; }
    // The main toolbar's drop-downs: the entries of a button's menu, and a click on one.
    std::vector<DropDownEntry> DropDownEntries(const std::string& buttonKey);
    void DropDownClick(const DropDownEntry& entry);
    void MaskListKey(WORD key, TShiftState shift);
    void FoundListKey(WORD key, TShiftState shift);
    void OpenFormatTable();  // the "Open file..." button of the format table
    TListViewBox* MaskListBox() { return maskList_; }
    TListViewBox* PropertiesListBox() { return propertiesList_; }
    TListViewBox* PropertyContentListBox() { return contentList_; }
    TEdit* FormatTableBox() { return formatTable_; }
    SearchSession* Session() { return session_.get(); }
    TDispatchDriver& SearchDriver() { return searchDriver_; }
    const FoundList& Found() const { return found_; }
    bool FillTimerRunning() const { return fillTimer_.Enabled(); }
    // Inserts into and clears of the found list on screen, since the load.
    int FoundListInserts() const { return foundInserts_; }
    int FoundListClears() const { return foundClears_; }
    TListViewBox* FoundListBox() { return foundList_; }
    TEdit* StartAddressCombo() { return address_; }
    TBrowserPane* ContentBrowser() { return content_; }
    TBrowserPane* PromotionPane() { return promotion_; }
    TCheckBox* ProtocolBox(int which) { return protocolBoxes_[which]; }
    // Page of the promotion pane below the found list; empty at the load:
    // the page shipped beside the program.
    std::string PromotionAddress;
    void SelectPanel(int16_t panel);

    // SessionView
    void ShowSetting(Spinner which, const std::string& text) override;
    void ShowProtocolBox(int which, bool checked) override;
    void ShowPriority(int32_t priority) override;
    void ShowExternalLinksBox(bool checked) override;
    void ShowRunState(SearchRunState state) override;
    void ClearFoundList() override;
    void Message(const std::string& text, const std::string& title, MessageIcon icon) override;
    void ShowMasks() override;
    SaveAnswer AskSave(const std::string& question) override;
    bool SaveSearch() override;
    void Pump(int ms) override;
    void ShowPromotion() override;

    bool HandleMessage(TMessage& m) override;
    bool IsNewWindow = false;
    int16_t FoundListView = 0, MaskListView = 0, PropertyListView = 0;
    void SetMaskListView(int16_t mode);
    void SetPropertyListView(int16_t mode);
    void SetFoundListView(int16_t mode);
    TMenuItem* MaskMenuItem(int i) { return maskMenuItems_[i]; }
    void ShowAbout();

private:
    void BuildMenu();
    void WindowClosed();
    void Uncount(bool quitWhenLast);
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut key, std::function<void()> click);
    TMainMenu* menu_ = nullptr;
    TMenuItem* viewItems_[3] = {};
    TMenuItem* panelItems_[5] = {};
    TMenuItem* maskMenuItems_[5] = {};  // New, Open, Save, the two reports
    void BuildControls();
    void BuildOptions();
    void SetUpImages();
    TButton* AddButton(TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                       std::function<void()> click);
    void Relayout();
    void ApplyPane(TWinControl* c, const PaneBox& b);
    // FoundListSink: the list on screen follows the items.
    void FoundInserted(int32_t at, const FoundItem& item) override;
    void FoundChanged(int32_t at, const FoundItem& item) override;
    void FoundCleared() override;
    void StopRunTimers();
    // A cursor on the record shown in the property view; kNoCursor when none.
    int32_t OpenCurrentRecord();
    void FillMaskList();
    void FillPropertiesList();
    void AppendMaskItem(TListViewBox* list, int32_t index);
    void RefreshFoundList(bool clearAll);
    void ShowDropDown(const std::string& key, TButton* arrow);
    bool AskSearchFile(bool merge, std::string& file);
    void MergeFile(const std::string& file);
    void ShowPropertiesOfCurrent();
    void ShowSelectedValue();
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
    int32_t fillRecord_ = 0;  // database position of the fill cursor's record
    int16_t stopFrame_ = 0;
    int32_t currentRecord_ = -1;  // database position of the record on view
    bool settingText_ = false;
    bool counted_ = false;  // counted among the open windows
    int commandDepth_ = 0;  // commands under way (their dialogs and waits pump messages)
    int foundInserts_ = 0, foundClears_ = 0;

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
    TBrowserPane *content_ = nullptr, *help_ = nullptr, *propertyBrowser_ = nullptr, *promotion_ = nullptr;
    TLabel *status1_ = nullptr, *status2_ = nullptr, *traffic_ = nullptr, *total_ = nullptr;
    std::vector<TButton*> maskButtons_;  // New, Open, Save, Cut, Copy, Paste, ...
    TCheckBox* protocolBoxes_[5] = {};
    TCheckBox* externalLinks_ = nullptr;
    TButton* suspend_ = nullptr;
    TEdit* settingEdits_[4] = {};
    TButton* settingSpins_[2] = {};  // channel count - and +
    TEdit* formatTable_ = nullptr;
    TButton* formatTableButton_ = nullptr;
    std::map<std::string, TWinControl*> named_;
    TSysControl* progress_ = nullptr;
    TPopupMenu* dropDown_ = nullptr;
    std::unique_ptr<TAddFilterMaskDialog> addFilterDialog_;
    std::unique_ptr<TFilterDialog> filterDialog_;
    std::vector<std::unique_ptr<TReportListForm>> reports_;
    TTimer fillTimer_, startButtonTimer_, trafficTimer_;
    HIMAGELIST images_ = nullptr, smallImages_ = nullptr;
};
