// TSearchWindow: building the controls and laying them out.
#include "searchwindow/SearchWindow.h"

#include <commdlg.h>

#include <algorithm>
#undef GetFileTitle  // the masks helper of that name, not the dialog function

#include "masks/core/FileNames.h"
#include "runtime/Application.h"
#include "searchwindow/core/StartAddress.h"
#include "ui/core/Prompter.h"

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

// A picture's 0x00RRGGBB pixel as a colour.
TColor GlyphColour(uint32_t rgb) { return static_cast<TColor>(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF)); }

// The start address box: its text set from code is a change too, as typing is.
class TAddressCombo : public TComboBox {
public:
    using TComboBox::TComboBox;

protected:
    void TextChanged() override {
        if (OnChange) OnChange(this);
    }
};

// The panel tabs sit below their panels.
class TPanelTabs : public TTabControl {
public:
    using TTabControl::TTabControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TTabControl::CreateParams(p);
        p.Style |= TCS_BOTTOM | WS_CLIPSIBLINGS;
        p.Style &= ~static_cast<DWORD>(WS_TABSTOP);
    }
};
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

TToolBar* TSearchWindow::AddToolbar(TWinControl* parent, const std::vector<ToolbarButtonSpec>& buttons,
                                    bool captions, std::function<void(const std::string& key)> click) {
    auto* bar = new TToolBar(parent);
    bar->SetAlign(alNone);
    bar->SetList(captions);
    bar->SetShowCaptions(captions);
    bar->SetImages(toolbarImages_);
    for (const ToolbarButtonSpec& spec : buttons) {
        const TToolButtonStyle style = spec.Style == ToolbarButtonSpec::DropDown       ? tbsDropDown
                                       : spec.Style == ToolbarButtonSpec::GroupedCheck ? tbsCheck
                                       : spec.Style == ToolbarButtonSpec::Separator    ? tbsSeparator
                                                                                       : tbsButton;
        TToolButton* b = bar->AddButton(style, spec.Style == ToolbarButtonSpec::GroupedCheck);
        if (spec.Style == ToolbarButtonSpec::Separator) continue;
        b->Key = spec.Key;
        b->Hint = spec.Hint;
        if (captions && *spec.Caption) b->SetCaption(spec.Caption);
        b->SetImageIndex(static_cast<int>(spec.Picture));
        const std::string key = spec.Key;
        b->OnClick = [this, click, key](TObject*) { CallGuarded(this, [&] { click(key); }); };
    }
    return bar;
}

void TSearchWindow::BuildToolbars() {
    // One list of our own pictures serves the three toolbars.
    toolbarImages_ = new TImageList(this, kGlyphSize, kGlyphSize);
    for (int i = 0; i < static_cast<int>(SbfGlyph::Count); ++i) {
        const GlyphPixels g = DrawGlyph(static_cast<SbfGlyph>(i));
        TBitmap bmp(g.Width, g.Height);
        for (int y = 0; y < g.Height; ++y)
            for (int x = 0; x < g.Width; ++x) bmp.Canvas().SetPixel(x, y, GlyphColour(g.At(x, y)));
        toolbarImages_->AddMasked(bmp, GlyphColour(kGlyphTransparent));
    }
    mainToolbar_ = AddToolbar(this, MainToolbarButtons(), true, [this](const std::string& key) {
        Run(MainButtonCommand(key));
    });
    for (int i = 0; i < mainToolbar_->ButtonCount(); ++i) {
        TToolButton* b = mainToolbar_->Buttons(i);
        if (b->Style() != tbsDropDown) continue;
        // The menu is made afresh each time it drops down: its entries follow the masks.
        auto* menu = new TPopupMenu(this);
        const std::string key = b->Key;
        menu->OnPopup = [this, key, menu](TObject*) { FillDropDown(key, menu); };
        b->DropdownMenu = menu;
    }
    maskToolbarFrame_ = new TPanel(this);
    maskToolbarFrame_->BevelOuter = bvNone;
    propertyToolbar_ = AddToolbar(maskToolbarFrame_, PropertyToolbarButtons(), false, [this](const std::string& key) {
        Run(PropertyButtonCommand(key));
    });
    propertyToolbar_->SetBounds(0, 0, 400, 26);
    propertyToolbar_->FindButton("Large Icons")->SetDown(true);
    browserToolbarFrame_ = new TPanel(this);
    browserToolbarFrame_->BevelOuter = bvNone;
    browserToolbar_ = AddToolbar(browserToolbarFrame_, BrowserToolbarButtons(), false,
                                 [this](const std::string& key) { BrowserButtonClick(key); });
    browserToolbar_->SetBounds(0, 0, 400, 26);
    browserToolbar_->FindButton("Large icons")->SetDown(true);
    browserToolbar_->FindButton("Stop")->SetEnabled(false);
}

void TSearchWindow::BuildControls() {
    BuildToolbars();
    address_ = new TAddressCombo(this);
    address_->OnChange = [this](TObject*) { FollowStartAddress(); };
    // A pick from the list puts the address in the box before the change is told.
    address_->OnSelect = [this](TObject*) {
        const int i = address_->ItemIndex();
        if (i >= 0) address_->SetText(address_->Items().Strings(i));
    };
    openFile_ = AddButton(this, "...", 0, 32, 26, 22, [this] {
        TFileDialogRequest r;
        r.Title = "Open File";
        r.DefaultExt = "htm";
        r.Filter = "Internet documents(*.html)|*.htm*|All Files (*.*)|*.*";
        r.Options = OFN_HIDEREADONLY;
        if (session_) r.InitialDir = session_->StartPageFolder;
        if (!Prompter().OpenFileDialog(r) || r.FileName.empty()) return;
        if (session_) session_->StartPageFolder = GetFileDir(r.FileName);
        address_->SetText("file://" + r.FileName);
    });
    openFile_->Hint = "Open file...";
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
    content_ = new TBrowserPane(this);
    help_ = new TBrowserPane(this);
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
    // Stop is enabled while the browser of the panel on view loads a page.
    for (TBrowserPane* b : {content_, propertyBrowser_, help_}) FollowBrowser(b);
    BuildOptions();
    tabs_ = new TPanelTabs(this);
    for (int i = 0; i < 5; ++i) {
        tabs_->AddTab(kPanelTabs[i].Caption);
        tabs_->SetTabHint(i, kPanelTabs[i].Hint);
    }
    tabs_->OnChange = [this](TObject*) { SelectPanel(static_cast<int16_t>(tabs_->TabIndex() + 1)); };
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
    named_ = {{"MaskList", maskList_},          {"frmToolbarFrame", maskToolbarFrame_},
              {"tbPropertyToolBar", propertyToolbar_}, {"ContentWebBrowser", content_},
              {"frmTbBrowser", browserToolbarFrame_}, {"ShowPropertiesList", propertiesList_},
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
    options_ = new TGroupBox(this);
    options_->SetCaption("Options:");
    auto* protocols = new TGroupBox(options_);
    protocols->SetCaption("Avaliable protocols:");
    protocols->SetBounds(12, 22, 160, 142);
    for (int i = 0; i < 5; ++i) {
        auto* box = new TCheckBox(protocols);
        box->SetCaption(kProtocolPrefixes[i]);
        box->SetBounds(12, 20 + 23 * i, 130, 20);
        box->OnClick = [this, i](TObject*) {
            if (session_) session_->ProtocolClicked(i);
        };
        protocolBoxes_[i] = box;
    }
    auto* priority = new TGroupBox(options_);
    priority->SetCaption("Search priority:");
    priority->SetBounds(184, 22, 160, 96);
    const char* priorities[3] = {"Above normal", "Normal", "Below normal"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TRadioButton(priority);
        b->SetCaption(priorities[i]);
        b->SetBounds(12, 20 + 23 * i, 130, 20);
        const int32_t value = 1 - i;  // 1, 0, -1
        b->OnClick = [this, value](TObject*) {
            if (search_) CallGuarded(this, [&] { search_->SetThreadPriority(value); });
        };
        priorityButtons_[i] = b;
    }
    externalLinks_ = new TCheckBox(options_);
    externalLinks_->SetCaption("Do not process links to other servers");
    externalLinks_->SetBounds(184, 128, 270, 20);
    externalLinks_->OnClick = [this](TObject*) {
        if (search_) search_->SetProcessExternalLinks(externalLinks_->Checked() ? 0 : -1);
    };
    suspend_ = AddButton(options_, "Suspend", 364, 28, 90, 25, [this] {
        if (session_) session_->SuspendClicked();
    });
    suspend_->Hint = "Suspend process";
    // In the order the panel shows them; the arrays are indexed by Spinner.
    const std::pair<const char*, Spinner> settings[4] = {{"Channel count:", Spinner::ChannelCount},
                                                         {"Maximum link recurse level:", Spinner::MaxLevel},
                                                         {"Maximum found count:", Spinner::MaxFound},
                                                         {"Read block size:", Spinner::ReadBlock}};
    for (int i = 0; i < 4; ++i) {
        const int y = 176 + 30 * i;
        const Spinner which = settings[i].second;
        auto* l = new TLabel(options_);
        l->SetCaption(settings[i].first);
        l->SetBounds(12, y + 3, 180, 16);
        auto* e = new TEdit(options_);
        e->SetBounds(196, y, 80, 22);
        e->OnChange = [this, which, e](TObject*) { SettingChanged(which, e); };
        settingEdits_[static_cast<int>(which)] = e;
        auto* spin = new TUpDown(options_);
        spin->SetBounds(277, y, 17, 22);
        spin->SetMin(-10000);
        spin->SetMax(10000);
        // Only the two buttons count: the control's own position is never read.
        spin->OnClick = [this, which](TObject*, TUDBtnType button) {
            if (session_) CallGuarded(this, [&] { session_->SpinClick(which, button == btNext); });
        };
        settingSpins_[static_cast<int>(which)] = spin;
    }
    auto* l = new TLabel(options_);
    l->SetCaption("Format table address (URL):");
    l->SetBounds(12, 300, 220, 16);
    formatTable_ = new TEdit(options_);
    formatTable_->SetBounds(12, 318, 380, 22);
    formatTable_->OnExit = [this](TObject*) {
        if (!session_) return;
        session_->FormatTableAddress = formatTable_->Text();
        session_->LoadFormatTable();
    };
    formatTableButton_ = AddButton(options_, "Open file...", 398, 317, 90, 24, [this] { OpenFormatTable(); });
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
    RECT last{};
    mainToolbar_->Perform(TB_GETITEMRECT, static_cast<WPARAM>(mainToolbar_->ButtonCount() - 1),
                          reinterpret_cast<LPARAM>(&last));
    panes_.LastMainButtonRight = Tw(mainToolbar_->Left() + last.right);
    panes_.HContentSplitBar.Visible = panes_.PropertyContentBrowser.Visible = propertyBrowser_->Visible();
    ResizePanes(panes_, Tw(Width()), Tw(Height()));
    ApplyPane(mainToolbar_, panes_.tbMainToolbar);
    ApplyPane(start_, panes_.StartButton);
    ApplyPane(merge_, panes_.btnStartMerge);
    ApplyPane(openFile_, panes_.OpenFileButton);
    ApplyPane(address_, panes_.StartAddressCombo);
    ApplyPane(panelTitle_, panes_.lblPanelTitle);
    ApplyPane(vsplit_, panes_.VSplitBar1);
    ApplyPane(foundList_, panes_.FoundList);
    ApplyPane(promotion_, panes_.wbPromotion);
    ApplyPane(tabs_, panes_.TabStrip);
    ApplyPane(browserToolbarFrame_, panes_.frmTbBrowser);
    ApplyPane(maskToolbarFrame_, panes_.frmToolbarFrame);
    browserToolbar_->SetBounds(0, 0, browserToolbarFrame_->Width(), browserToolbarFrame_->Height());
    propertyToolbar_->SetBounds(0, 0, maskToolbarFrame_->Width(), maskToolbarFrame_->Height());
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
    // The progress bar's top is the window's: brought into the status bar, kept inside it.
    const int barHeight = statusBar_->Height(), pbHeight = Px(panes_.pbProgress.Height);
    const int pbTop = std::max(0, std::min(Px(panes_.pbProgress.Top) - statusTop, barHeight - pbHeight - 1));
    progress_->SetBounds(Px(panes_.pbProgress.Left), pbTop, Px(panes_.pbProgress.Width), pbHeight);
    traffic_->SetBounds(w / 2 + 115, 3, 190, 16);
    total_->SetBounds(w / 2 + 310, 3, w / 2 - 315 > 0 ? w / 2 - 315 : 0, 16);
    SizePropertyColumns();
}

void TSearchWindow::SelectPanel(int16_t panel) {
    if (panel < 1 || panel > 5) return;
    // The tab is the panel's before its browser loads: Stop follows that load.
    panels_.Select(panel);
    if (panel == 2 && currentRecord_ >= 0 && db_) {
        const int32_t c = OpenCurrentRecord();
        if (c >= 0) {
            ContentAddress = db_->Value(c);
            db_->DestroyCursor(c);  // before the load: its wait pumps messages
            content_->Navigate(ContentAddress);
        }
    }
    for (int i = 0; i < 5; ++i)
        if (panelItems_[i]) panelItems_[i]->SetChecked(panels_.MenuChecked(static_cast<int16_t>(i + 1)));
    for (auto& [name, control] : named_) control->SetVisible(panels_.IsVisible(name));
    // Buttons 8 to 13 of the browser toolbar are the Results panel's.
    for (int i = 7; i < browserToolbar_->ButtonCount(); ++i)
        browserToolbar_->Buttons(i)->SetVisible(panels_.IsVisible("tbBrowser" + std::to_string(i + 1)));
    FollowBrowserCommands();
    panelTitle_->SetCaption(panels_.Title());
    if (tabs_->TabIndex() != panel - 1) tabs_->SetTabIndex(panel - 1);
    if (panel == 3) ShowPropertiesOfCurrent();
    Relayout();
}

TBrowserPane* TSearchWindow::PanelBrowser(int16_t panel, std::string& home) {
    switch (panel) {
        case 2: home = ContentAddress; return content_;
        case 3: home = PropertyPageAddress; return propertyBrowser_;
        case 5: home = help_->HomeAddress; return help_;
        default: home.clear(); return nullptr;
    }
}

void TSearchWindow::BrowserButtonClick(const std::string& key) {
    std::string home;
    TBrowserPane* b = PanelBrowser(panels_.CurrentPanel(), home);
    switch (BrowserButtonAction(panels_.CurrentPanel(), key, home)) {
        case BrowserAction::Back: b->GoBack(); break;
        case BrowserAction::Forward: b->GoForward(); break;
        case BrowserAction::Stop: b->Stop(); break;
        case BrowserAction::Refresh: b->Refresh(); break;
        case BrowserAction::Home: b->Navigate(home); break;
        case BrowserAction::PropertyViewLarge: SetPropertyListView(0); break;
        case BrowserAction::PropertyViewSmall: SetPropertyListView(1); break;
        case BrowserAction::PropertyViewList: SetPropertyListView(2); break;
        case BrowserAction::ReportValues: Run(WindowCommand::ReportValues); break;
        case BrowserAction::ReportUnique: Run(WindowCommand::ReportUniqueValues); break;
        case BrowserAction::None: break;
    }
}

void TSearchWindow::FollowBrowser(TBrowserPane* browser) {
    auto ours = [this, browser] {
        std::string home;
        return PanelBrowser(panels_.CurrentPanel(), home) == browser;
    };
    browser->OnBeforeNavigate = [this, ours](const std::string&, bool&) {
        if (ours()) browserToolbar_->FindButton("Stop")->SetEnabled(true);
    };
    browser->OnNavigateComplete = [this, ours](const std::string&) {
        if (ours()) browserToolbar_->FindButton("Stop")->SetEnabled(false);
        FollowBrowserCommands();
    };
}

void TSearchWindow::FollowBrowserCommands() {
    // Back, Forward, Refresh and Home do nothing until the panel's browser has its page.
    std::string home;
    PanelBrowser(panels_.CurrentPanel(), home);
    const bool usable = BrowserCommandsUsable(panels_.CurrentPanel(), home);
    for (const char* key : {"Back", "Forward", "Refresh", "Home"}) browserToolbar_->FindButton(key)->SetEnabled(usable);
}

void TSearchWindow::FollowStartAddress() {
    // Both start buttons want an address; while a search runs the run decides.
    if (session_ && session_->RunState != SearchRunState::Idle) return;
    const bool any = !address_->Text().empty();
    start_->SetEnabled(any);
    merge_->SetEnabled(any);
}

void TSearchWindow::PressViewButton(TToolBar* bar, int firstIndex, int16_t mode) {
    if (mode >= 0 && mode <= 2) bar->Buttons(firstIndex + mode)->SetDown(true);
}

std::string TSearchWindow::StatusText(int panel) const { return (panel == 1 ? status1_ : status2_)->Caption(); }
