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
#include "searchwindow/core/ToolbarButtons.h"
#include "searchwindow/core/ToolbarCommands.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/ImgList.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

// Counts a command under way for its scope.
class CommandDepthScope {
public:
    explicit CommandDepthScope(int& depth) : depth_(depth) { ++depth_; }
    ~CommandDepthScope() { --depth_; }
    CommandDepthScope(const CommandDepthScope&) = delete;
    CommandDepthScope& operator=(const CommandDepthScope&) = delete;

private:
    int& depth_;
};

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
    TComboBox* StartAddressCombo() { return address_; }
    TButton* StartButton() { return start_; }
    TButton* MergeButton() { return merge_; }
    TButton* OpenFileButton() { return openFile_; }
    TButton* SuspendButton() { return suspend_; }
    TToolBar* MainToolbar() { return mainToolbar_; }
    TToolBar* PropertyToolbar() { return propertyToolbar_; }
    TToolBar* BrowserToolbar() { return browserToolbar_; }
    TTabControl* TabStrip() { return tabs_; }
    TGroupBox* OptionsFrame() { return options_; }
    TRadioButton* PriorityButton(int i) { return priorityButtons_[i]; }  // above normal, normal, below normal
    TUpDown* SettingSpinner(Spinner which) { return settingSpins_[static_cast<int>(which)]; }
    TBrowserPane* PropertyBrowser() { return propertyBrowser_; }
    TBrowserPane* HelpBrowser() { return help_; }
    TSysControl* ProgressBar() { return progress_; }
    TPanel* StatusBar() { return statusBar_; }
    std::string StatusText(int panel) const;
    // The page last opened on the Content panel and the value last opened
    // in the Results browser: where their Home buttons go.
    std::string ContentAddress, PropertyPageAddress;
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
    void ShowStatus(const std::string& text) override { SetStatus(1, text); }

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
    void BuildToolbars();
    void BuildOptions();
    void SetUpImages();
    TButton* AddButton(TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                       std::function<void()> click);
    TToolBar* AddToolbar(TWinControl* parent, const std::vector<ToolbarButtonSpec>& buttons, bool captions,
                         std::function<void(const std::string& key)> click);
    void BrowserButtonClick(const std::string& key);
    TBrowserPane* PanelBrowser(int16_t panel, std::string& home);
    void FollowBrowser(TBrowserPane* browser);
    void FollowBrowserCommands();
    void FollowStartAddress();
    void PressViewButton(TToolBar* bar, int firstIndex, int16_t mode);
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
    void FillDropDown(const std::string& key, TPopupMenu* menu);
    bool AskSearchFile(bool merge, std::string& file);
    void MergeFile(const std::string& file);
    void ShowPropertiesOfCurrent();
    void ShowSelectedValue();
    // Column 1 of PropertyContentList takes the width the other columns leave.
    void SizePropertyColumns();
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

    TToolBar* mainToolbar_ = nullptr;
    TComboBox* address_ = nullptr;
    TButton *openFile_ = nullptr, *merge_ = nullptr, *start_ = nullptr;
    TListViewBox* foundList_ = nullptr;
    TSplitBar *vsplit_ = nullptr, *hsplit_ = nullptr, *hcontent_ = nullptr;
    TLabel* panelTitle_ = nullptr;
    TTabControl* tabs_ = nullptr;
    TListViewBox *maskList_ = nullptr, *propertiesList_ = nullptr, *contentList_ = nullptr;
    // frmToolbarFrame holds tbPropertyToolBar, frmTbBrowser holds tbBrowser.
    TPanel *maskToolbarFrame_ = nullptr, *browserToolbarFrame_ = nullptr, *statusBar_ = nullptr;
    TToolBar *propertyToolbar_ = nullptr, *browserToolbar_ = nullptr;
    TGroupBox* options_ = nullptr;
    TBrowserPane *content_ = nullptr, *help_ = nullptr, *propertyBrowser_ = nullptr, *promotion_ = nullptr;
    TLabel *status1_ = nullptr, *status2_ = nullptr, *traffic_ = nullptr, *total_ = nullptr;
    TCheckBox* protocolBoxes_[5] = {};
    TCheckBox* externalLinks_ = nullptr;
    TRadioButton* priorityButtons_[3] = {};
    TButton* suspend_ = nullptr;
    TEdit* settingEdits_[4] = {};
    TUpDown* settingSpins_[4] = {};
    TEdit* formatTable_ = nullptr;
    TButton* formatTableButton_ = nullptr;
    std::map<std::string, TWinControl*> named_;
    TSysControl* progress_ = nullptr;
    std::unique_ptr<TAddFilterMaskDialog> addFilterDialog_;
    std::unique_ptr<TFilterDialog> filterDialog_;
    std::vector<std::unique_ptr<TReportListForm>> reports_;
    TTimer fillTimer_, startButtonTimer_, trafficTimer_;
    HIMAGELIST images_ = nullptr, smallImages_ = nullptr;
    // The toolbars' pictures (imlMainToolbar and imlStdToolbarColor in one), by SbfGlyph.
    TImageList* toolbarImages_ = nullptr;
};
