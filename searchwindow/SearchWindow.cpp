// TSearchWindow: building the controls and laying them out.
#include "searchwindow/SearchWindow.h"
#include "ui/core/Prompter.h"
#include "runtime/Application.h"

#include "masks/core/FileNames.h"
#include "searchwindow/core/StartAddress.h"

namespace {
constexpr float kTwips = 15;  // per pixel at 96 dots an inch
int Px(float twips) { return static_cast<int>(twips / kTwips + 0.5f); }
float Tw(int px) { return static_cast<float>(px) * kTwips; }

// The three connection pictures of the found list: not known, connected, not connected.
HIMAGELIST MakeImages(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, 4, 0);
    const COLORREF colours[4] = {RGB(200, 200, 200), RGB(150, 150, 150), RGB(40, 160, 60), RGB(200, 50, 40)};
    HDC screen = GetDC(nullptr);
    for (COLORREF c : colours) {
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(dc, bmp);
        RECT r{0, 0, size, size};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH b = CreateSolidBrush(c);
        RECT page{size / 5, size / 8, size - size / 5, size - size / 8};
        FillRect(dc, &page, b);
        FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        DeleteObject(b);
        SelectObject(dc, old);
        ImageList_Add(list, bmp, nullptr);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    ReleaseDC(nullptr, screen);
    return list;
}
}  // namespace

TSearchWindow::TSearchWindow() : TForm(nullptr) {
    SetCaption(AppTitle);
    SetBounds(40, 30, 1000, 700);
    BuildControls();
    BuildMenu();
    fillTimer_.SetEnabled(false);
    fillTimer_.SetInterval(50);
    fillTimer_.OnTimer = [this](TObject*) { FillTick(); };
    startButtonTimer_.SetEnabled(false);
    startButtonTimer_.SetInterval(300);
    startButtonTimer_.OnTimer = [this](TObject*) {
        if (const char* c = StopFrameCaption(stopFrame_)) start_->SetCaption(c);
        stopFrame_ = NextStopFrame(stopFrame_);
    };
    trafficTimer_.SetInterval(1000);
    trafficTimer_.OnTimer = [this](TObject*) {
        if (!session_) return;
        session_->TrafficTick();
        traffic_->SetCaption(session_->Traffic.TrafficLine());
        total_->SetCaption(session_->Traffic.TotalLine());
    };
    OnResize = [this](TObject*) { Relayout(); };
    // A window of the New window command is the program's to free once closed.
    OnClose = [this](TObject*, TCloseAction& action) {
        if (IsNewWindow) action = caFree;
    };
}

TSearchWindow::~TSearchWindow() {
    Uncount(false);
    if (images_) ImageList_Destroy(images_);
    if (smallImages_) ImageList_Destroy(smallImages_);
}

void TSearchWindow::SetUpImages() {
    images_ = MakeImages(32);
    smallImages_ = MakeImages(16);
    for (TListViewBox* l : {foundList_, maskList_, propertiesList_}) {
        ListView_SetImageList(l->Handle(), images_, LVSIL_NORMAL);
        ListView_SetImageList(l->Handle(), smallImages_, LVSIL_SMALL);
    }
}

TButton* TSearchWindow::AddButton(TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                                  std::function<void()> click) {
    auto* b = new TButton(parent);
    b->SetCaption(caption);
    b->SetBounds(x, y, w, h);
    b->OnClick = [click](TObject*) { click(); };
    return b;
}

void TSearchWindow::BuildControls() {
    toolbar_ = new TPanel(this);
    toolbar_->BevelOuter = bvNone;
    int x = 2;
    for (const char* key : {"New", "Open", "Save", "View", "Sort"}) {
        const std::string k = key;
        lastMainButton_ = AddButton(toolbar_, k, x, 2, 56, 24, [this, k] { Run(MainButtonCommand(k)); });
        x += 56;
        if (k == "New") {
            x += 2;
            continue;
        }
        // The drop-down arrow beside the button.
        TButton* arrow = AddButton(toolbar_, "v", x, 2, 16, 24, nullptr);
        arrow->OnClick = [this, k, arrow](TObject*) { ShowDropDown(k, arrow); };
        lastMainButton_ = arrow;
        x += 18;
    }
    address_ = new TEdit(this);
    address_->OnChange = [this](TObject*) {
        // Both start buttons follow whether there is an address.
        const bool any = !address_->Text().empty();
        if (session_ && session_->RunState == SearchRunState::Idle) {
            start_->SetEnabled(any);
            merge_->SetEnabled(any);
        }
    };
    openFile_ = AddButton(this, "...", 0, 32, 26, 22, [this] {
        TFileDialogRequest r;
        r.Title = "Open file";
        r.Filter = "Documents (*.htm;*.html;*.txt)|*.htm;*.html;*.txt|All Files (*.*)|*.*";
        if (session_) r.InitialDir = session_->StartPageFolder;
        if (!Prompter().OpenFileDialog(r)) return;
        address_->SetText("file://" + r.FileName);
        if (session_) session_->StartPageFolder = GetFileDir(r.FileName);
    });
    merge_ = AddButton(this, "Merge", 0, 32, 54, 22, [this] { StartClick(true); });
    start_ = AddButton(this, "   Start   ", 0, 32, 66, 22, [this] { StartClick(false); });
    foundList_ = new TListViewBox(this, LVS_ICON | LVS_SINGLESEL | LVS_AUTOARRANGE);
    foundList_->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { FoundListKey(key, shift); };
    foundList_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == LVN_ITEMCHANGED) {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(h);
            if ((nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED)) {
                currentRecord_ = static_cast<int32_t>(foundList_->TagOf(nm->iItem));
                if (panels_.CurrentPanel() == 2) SelectPanel(2);
                if (panels_.CurrentPanel() == 3) ShowPropertiesOfCurrent();
            }
        }
        return false;
    };
    promotion_ = new TBrowserPane(this);
    vsplit_ = new TSplitBar(this, true);
    vsplit_->ControlMoveing = vsplit_->ControlMove = [this](float d) {
        if (MoveVSplitBar1(panes_, Tw(static_cast<int>(d)), Tw(Width()))) Relayout();
    };
    panelTitle_ = new TLabel(this);
    panelTitle_->Font().SetStyle(fsBold);
    maskList_ = new TListViewBox(this, LVS_ICON);
    maskList_->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { MaskListKey(key, shift); };
    maskList_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == NM_DBLCLK) CallGuarded(this, [this] { EditSelectedMask(); });
        return false;
    };
    maskToolbar_ = new TPanel(this);
    x = 2;
    for (const char* key : {"New", "Open", "Save", "Cut", "Copy", "Paste", "Large Icons", "Small Icons", "List",
                            "Filter"}) {
        const std::string k = key;
        maskButtons_.push_back(AddButton(maskToolbar_, k, x, 2, k.size() > 6 ? 72 : 46, 22,
                                         [this, k] { Run(PropertyButtonCommand(k)); }));
        x += k.size() > 6 ? 74 : 48;
    }
    content_ = new TBrowserPane(this);
    help_ = new TBrowserPane(this);
    browserToolbar_ = new TPanel(this);
    x = 2;
    for (const char* key : {"Back", "Forward", "Stop", "Refresh", "Home"}) {
        const std::string k = key;
        AddButton(browserToolbar_, k, x, 2, 52, 22, [this, k] {
            TBrowserPane* b = panels_.CurrentPanel() == 5 ? help_ : panels_.CurrentPanel() == 3 ? propertyBrowser_ : content_;
            if (k == "Back") b->GoBack();
            if (k == "Forward") b->GoForward();
            if (k == "Stop") b->Stop();
            if (k == "Refresh") b->Refresh();
            if (k == "Home") b->GoHome();
        });
        x += 54;
    }
    // The Results panel's own buttons: the property list's view and the reports.
    x += 8;
    const std::pair<const char*, int> propertyButtons[] = {
        {"Large", 0}, {"Small", 1}, {"List", 2}, {"Report", 3}, {"Unique", 4}};
    for (const auto& [caption, what] : propertyButtons) {
        const int w = what;
        TButton* b = AddButton(browserToolbar_, caption, x, 2, 52, 22, [this, w] {
            if (panels_.CurrentPanel() != 3) return;
            if (w < 3) SetPropertyListView(static_cast<int16_t>(w));
            if (w >= 3) Run(w == 3 ? WindowCommand::ReportValues : WindowCommand::ReportUniqueValues);
        });
        b->Hint = w == 3 ? "Report property values..." : w == 4 ? "Report unique values..." : "";
        x += 54;
    }
    propertiesList_ = new TListViewBox(this, LVS_ICON | LVS_SINGLESEL);
    propertiesList_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == LVN_ITEMCHANGED) ShowPropertiesOfCurrent();
        return false;
    };
    hsplit_ = new TSplitBar(this, false);
    hsplit_->ControlMoveing = hsplit_->ControlMove = [this](float d) {
        if (MoveHSplitBar1(panes_, Tw(static_cast<int>(d)))) Relayout();
    };
    contentList_ = new TListViewBox(this, LVS_REPORT | LVS_SINGLESEL);
    contentList_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == NM_CLICK) CallGuarded(this, [this] { ShowSelectedValue(); });
        return false;
    };
    hcontent_ = new TSplitBar(this, false);
    hcontent_->ControlMoveing = hcontent_->ControlMove = [this](float d) {
        if (MoveHContentSplitBar(panes_, Tw(static_cast<int>(d)))) Relayout();
    };
    propertyBrowser_ = new TBrowserPane(this);
    BuildOptions();
    tabs_ = new TSysControl(this, WC_TABCONTROLA, "QfSbfTabStrip", TCS_BOTTOM | WS_CLIPSIBLINGS);
    tabs_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == TCN_SELCHANGE) SelectPanel(static_cast<int16_t>(tabs_->Perform(TCM_GETCURSEL) + 1));
        return false;
    };
    statusBar_ = new TPanel(this);
    statusBar_->BevelOuter = bvLowered;
    status1_ = new TLabel(statusBar_);
    status2_ = new TLabel(statusBar_);
    traffic_ = new TLabel(statusBar_);
    total_ = new TLabel(statusBar_);
    progress_ = new TSysControl(statusBar_, PROGRESS_CLASSA, "QfSbfProgress", 0);
    progress_->SetVisible(false);
    traffic_->SetCaption("Traffic:");
    total_->SetCaption("Total:");
    named_ = {{"MaskList", maskList_},          {"frmToolbarFrame", maskToolbar_},
              {"tbPropertyToolBar", maskToolbar_}, {"ContentWebBrowser", content_},
              {"frmTbBrowser", browserToolbar_}, {"ShowPropertiesList", propertiesList_},
              {"HSplitBar1", hsplit_},          {"HContentSplitBar", hcontent_},
              {"PropertyContentList", contentList_}, {"PropertyContentBrowser", propertyBrowser_},
              {"frmOptions", options_},         {"HelpWebBrowser", help_}};
    for (auto& [name, c] : named_) c->SetVisible(false);

    // Design positions, in twips as the layout works.
    panes_.tbMainToolbar = {0, 0, Tw(1000), Tw(30)};
    panes_.StartButton = {0, Tw(34), Tw(66), Tw(22)};
    panes_.btnStartMerge = {0, Tw(34), Tw(54), Tw(22)};
    panes_.OpenFileButton = {0, Tw(34), Tw(26), Tw(22)};
    panes_.StartAddressCombo = {0, Tw(34), Tw(300), Tw(22)};
    panes_.lblPanelTitle = {0, Tw(60), 0, Tw(18)};
    panes_.VSplitBar1 = {Tw(330), Tw(34), Tw(6), 0};
    panes_.FoundList = {Tw(2), 0, 0, 0};
    panes_.wbPromotion = {Tw(2), 0, 0, Tw(120)};
    panes_.TabStrip = {0, 0, 0, Tw(26)};
    panes_.MainStatusBar = {0, 0, 0, Tw(22)};
    panes_.pbProgress = {Tw(300), 0, 0, Tw(16)};
    panes_.frmTbBrowser = {0, 0, 0, Tw(28)};
    panes_.frmToolbarFrame = {0, 0, 0, Tw(28)};
    for (PaneBox* b : {&panes_.ContentWebBrowser, &panes_.HelpWebBrowser, &panes_.MaskList, &panes_.frmOptions})
        b->Top = Tw(82);
    panes_.ShowPropertiesList = {0, Tw(82), 0, Tw(120)};
    panes_.HSplitBar1 = {0, Tw(202), 0, Tw(6)};
    panes_.PropertyContentList = {0, Tw(213), 0, Tw(120)};
    panes_.HContentSplitBar = {0, Tw(340), 0, Tw(6)};
    panes_.PropertyContentBrowser = {0, Tw(351), 0, Tw(100)};
    panes_.HContentSplitBar.Visible = panes_.PropertyContentBrowser.Visible = false;
}

void TSearchWindow::BuildOptions() {
    options_ = new TPanel(this);
    auto* caption = new TLabel(options_);
    caption->SetCaption("Options:");
    caption->SetBounds(8, 6, 200, 16);
    const char* protocols[5] = {"file://", "http://", "ftp://", "gopher://", "mailto:"};
    for (int i = 0; i < 5; ++i) {
        auto* box = new TCheckBox(options_);
        box->SetCaption(protocols[i]);
        box->SetBounds(12, 28 + 22 * i, 110, 20);
        box->OnClick = [this, i](TObject*) {
            if (session_) session_->ProtocolClicked(i);
        };
        protocolBoxes_[i] = box;
    }
    externalLinks_ = new TCheckBox(options_);
    externalLinks_->SetCaption("Do not process links to other servers");
    externalLinks_->SetBounds(140, 28, 260, 20);
    externalLinks_->OnClick = [this](TObject*) {
        if (search_) search_->SetProcessExternalLinks(externalLinks_->Checked() ? 0 : -1);
    };
    suspend_ = AddButton(options_, "Suspend", 140, 56, 90, 24, [this] {
        if (session_) session_->SuspendClicked();
    });
    const char* labels[4] = {"Channels:", "Max found:", "Max level:", "Read block:"};
    const Spinner spinners[4] = {Spinner::ChannelCount, Spinner::MaxFound, Spinner::MaxLevel, Spinner::ReadBlock};
    for (int i = 0; i < 4; ++i) {
        const int y = 150 + 28 * i;
        auto* l = new TLabel(options_);
        l->SetCaption(labels[i]);
        l->SetBounds(12, y + 3, 90, 16);
        auto* e = new TEdit(options_);
        e->SetBounds(104, y, 80, 22);
        const Spinner which = spinners[i];
        e->OnChange = [this, which, e](TObject*) { SettingChanged(which, e); };
        settingEdits_[i] = e;
        auto* down = AddButton(options_, "-", 186, y, 22, 22, [this, which] {
            if (session_) session_->SpinClick(which, false);
        });
        auto* up = AddButton(options_, "+", 208, y, 22, 22, [this, which] {
            if (session_) session_->SpinClick(which, true);
        });
        if (i == 0) {
            settingSpins_[0] = down;
            settingSpins_[1] = up;
        }
    }
    auto* l = new TLabel(options_);
    l->SetCaption("Format table address (URL):");
    l->SetBounds(12, 268, 220, 16);
    formatTable_ = new TEdit(options_);
    formatTable_->SetBounds(12, 286, 380, 22);
    formatTable_->OnExit = [this](TObject*) {
        if (!session_) return;
        session_->FormatTableAddress = formatTable_->Text();
        session_->LoadFormatTable();
    };
    formatTableButton_ = AddButton(options_, "Open file...", 398, 285, 90, 24, [this] { OpenFormatTable(); });
}

void TSearchWindow::SettingChanged(Spinner which, TEdit* edit) {
    if (settingText_ || !session_) return;
    settingText_ = true;
    session_->SettingEdited(which, edit->Text());
    settingText_ = false;
}

void TSearchWindow::ApplyPane(TWinControl* c, const PaneBox& b) {
    c->SetBounds(Px(b.Left), Px(b.Top), Px(b.Width), Px(b.Height));
}

void TSearchWindow::Relayout() {
    if (!HandleAllocated()) return;
    // The status bar sits at the bottom of the client area.
    const int statusTop = ClientHeight() - Px(panes_.MainStatusBar.Height);
    panes_.StatusPanel1Left = 0;
    panes_.StatusPanel1Width = Tw(ClientWidth() / 2);
    panes_.LastMainButtonRight = Tw(lastMainButton_->Left() + lastMainButton_->Width());
    panes_.HContentSplitBar.Visible = panes_.PropertyContentBrowser.Visible = propertyBrowser_->Visible();
    ResizePanes(panes_, Tw(Width()), Tw(Height()));
    ApplyPane(toolbar_, panes_.tbMainToolbar);
    ApplyPane(start_, panes_.StartButton);
    ApplyPane(merge_, panes_.btnStartMerge);
    ApplyPane(openFile_, panes_.OpenFileButton);
    ApplyPane(address_, panes_.StartAddressCombo);
    ApplyPane(panelTitle_, panes_.lblPanelTitle);
    ApplyPane(vsplit_, panes_.VSplitBar1);
    ApplyPane(foundList_, panes_.FoundList);
    ApplyPane(promotion_, panes_.wbPromotion);
    ApplyPane(tabs_, panes_.TabStrip);
    ApplyPane(browserToolbar_, panes_.frmTbBrowser);
    ApplyPane(maskToolbar_, panes_.frmToolbarFrame);
    ApplyPane(content_, panes_.ContentWebBrowser);
    ApplyPane(help_, panes_.HelpWebBrowser);
    ApplyPane(maskList_, panes_.MaskList);
    ApplyPane(propertiesList_, panes_.ShowPropertiesList);
    ApplyPane(hsplit_, panes_.HSplitBar1);
    ApplyPane(contentList_, panes_.PropertyContentList);
    ApplyPane(hcontent_, panes_.HContentSplitBar);
    ApplyPane(propertyBrowser_, panes_.PropertyContentBrowser);
    ApplyPane(options_, panes_.frmOptions);
    statusBar_->SetBounds(0, statusTop, ClientWidth(), Px(panes_.MainStatusBar.Height));
    const int w = ClientWidth();
    status1_->SetBounds(6, 3, w / 2 - 10, 16);
    status2_->SetBounds(w / 2, 3, 110, 16);
    progress_->SetBounds(Px(panes_.pbProgress.Left), 3, 160, 16);
    traffic_->SetBounds(w / 2 + 115, 3, 190, 16);
    total_->SetBounds(w / 2 + 310, 3, w / 2 - 315 > 0 ? w / 2 - 315 : 0, 16);
}

void TSearchWindow::SelectPanel(int16_t panel) {
    if (panel < 1 || panel > 5) return;
    if (panel == 2 && currentRecord_ >= 0 && db_) {
        const int32_t c = OpenCurrentRecord();
        if (c >= 0) {
            content_->Navigate(db_->Value(c));
            db_->DestroyCursor(c);
        }
    }
    panels_.Select(panel);
    for (int i = 0; i < 5; ++i)
        if (panelItems_[i]) panelItems_[i]->SetChecked(panels_.MenuChecked(static_cast<int16_t>(i + 1)));
    for (auto& [name, control] : named_) control->SetVisible(panels_.IsVisible(name));
    panelTitle_->SetCaption(panels_.Title());
    if (tabs_->Perform(TCM_GETCURSEL) != panel - 1) tabs_->Perform(TCM_SETCURSEL, panel - 1);
    if (panel == 3) ShowPropertiesOfCurrent();
    Relayout();
}
