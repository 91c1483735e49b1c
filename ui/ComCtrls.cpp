#include "ComCtrls.h"

#include <algorithm>

#include "runtime/core/SysUtils.h"

// ---- TStatusPanel and TStatusBar

void TStatusPanel::SetText(const std::string& s) {
    text_ = s;
    bar_->ApplyText(*this);
}

void TStatusPanel::SetWidth(int w) {
    width_ = std::max(0, w);
    bar_->ApplyParts();
}

void TStatusPanel::SetBevel(TStatusPanelBevel b) {
    bevel_ = b;
    bar_->ApplyText(*this);
}

void TStatusPanel::SetAlignment(TAlignmentText a) {
    alignment_ = a;
    bar_->ApplyText(*this);
}

TStatusBar::TStatusBar(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = STATUSCLASSNAMEA;
    p.WinClassName = "QfStatusBar";
    // Our layout places the bar; the control must not move itself.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | WS_CLIPCHILDREN;
}

void TStatusBar::WndCreated() {
    ApplyParts();
    SetSimplePanel(simplePanel_);
}

TStatusPanel* TStatusBar::AddPanel() {
    panels_.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(this, PanelCount())));
    ApplyParts();
    return panels_.back().get();
}

void TStatusBar::ClearPanels() {
    panels_.clear();
    ApplyParts();
}

void TStatusBar::ApplyParts() {
    if (!HandleAllocated()) return;
    std::vector<int> edges;
    int edge = 0;
    for (const auto& p : panels_) {
        edge += p->width_;
        edges.push_back(edge);
    }
    if (!edges.empty()) edges.back() = -1;
    else edges.push_back(-1);
    Perform(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (const auto& p : panels_) ApplyText(*p);
}

void TStatusBar::ApplyText(const TStatusPanel& panel) {
    if (!HandleAllocated()) return;
    WPARAM kind = static_cast<WPARAM>(panel.index_);
    if (panel.bevel_ == pbNone) kind |= SBT_NOBORDERS;
    if (panel.bevel_ == pbRaised) kind |= SBT_POPOUT;
    // A tab before the text centres it, two right-align it.
    const std::string prefix = panel.alignment_ == taCenterText ? "\t" : panel.alignment_ == taRight ? "\t\t" : "";
    const std::string text = prefix + panel.text_;
    Perform(SB_SETTEXTA, kind, reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::SetSimplePanel(bool s) {
    simplePanel_ = s;
    if (!HandleAllocated()) return;
    Perform(SB_SIMPLE, s);
    if (s) Perform(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSimpleText(const std::string& s) {
    simpleText_ = s;
    if (HandleAllocated() && simplePanel_) Perform(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(s.c_str()));
}

RECT TStatusBar::PanelRect(int i) const {
    RECT r{};
    SendMessageA(Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

// ---- TProgressBar

TProgressBar::TProgressBar(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = PROGRESS_CLASSA;
    p.WinClassName = "QfProgressBar";
}

void TProgressBar::WndCreated() {
    Perform(PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    Perform(PBM_SETPOS, static_cast<WPARAM>(position_));
}

void TProgressBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::max(min_, std::min(position_, max_));
    if (HandleAllocated()) WndCreated();
}

int TProgressBar::Position() const {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0)) : position_;
}

void TProgressBar::SetPosition(int p) {
    position_ = std::max(min_, std::min(p, max_));
    if (HandleAllocated()) Perform(PBM_SETPOS, static_cast<WPARAM>(position_));
}

// ---- TUpDown

TUpDown::TUpDown(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = UPDOWN_CLASSA;
    p.WinClassName = "QfUpDown";
    p.Style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
    if (Wrap) p.Style |= UDS_WRAP;
    if (!Thousands) p.Style |= UDS_NOTHOUSANDS;
    if (Orientation == udHorizontal) p.Style |= UDS_HORZ;
}

void TUpDown::WndCreated() {
    Perform(UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    Perform(UDM_SETPOS32, 0, position_);
    UDACCEL accel{0, static_cast<UINT>(std::max(1, Increment))};
    Perform(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()));
}

void TUpDown::SetMin(int v) {
    min_ = v;
    if (HandleAllocated()) Perform(UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(int v) {
    max_ = v;
    if (HandleAllocated()) Perform(UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TUpDown::Position() const {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), UDM_GETPOS32, 0, 0)) : position_;
}

void TUpDown::SetPosition(int p) {
    position_ = std::max(std::min(min_, max_), std::min(p, std::max(min_, max_)));
    if (HandleAllocated()) Perform(UDM_SETPOS32, 0, position_);
}

void TUpDown::SetAssociate(TWinControl* c) {
    associate_ = c;
    if (HandleAllocated()) Perform(UDM_SETBUDDY, reinterpret_cast<WPARAM>(c ? c->Handle() : nullptr));
}

bool TUpDown::Notify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    auto* nm = reinterpret_cast<NMUPDOWN*>(header);
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    lastDelta_ = nm->iDelta;
    result = allow ? 0 : 1;
    return true;
}

bool TUpDown::Scroll(int, int code, int) {
    // After a button moved the position (also when a limit held it in place).
    if (code != SB_THUMBPOSITION) return false;
    position_ = Position();
    if (OnClick) OnClick(this, lastDelta_ >= 0 ? btNext : btPrev);
    return true;
}

// ---- TTabControl

TTabControl::TTabControl(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 289, 193);
}

void TTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = WC_TABCONTROLA;
    p.WinClassName = "QfTabControl";
    p.Style |= WS_TABSTOP | WS_CLIPCHILDREN;
}

void TTabControl::InsertTab(int i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs_[static_cast<size_t>(i)].c_str());
    Perform(TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

void TTabControl::WndCreated() {
    for (int i = 0; i < TabCount(); ++i) InsertTab(i);
    if (tabIndex_ >= 0) Perform(TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_));
}

int TTabControl::AddTab(const std::string& caption) {
    tabs_.push_back(caption);
    tabHints_.emplace_back();
    if (HandleAllocated()) InsertTab(TabCount() - 1);
    return TabCount() - 1;
}

void TTabControl::SetTab(int i, const std::string& caption) {
    tabs_.at(static_cast<size_t>(i)) = caption;
    if (!HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    Perform(TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

void TTabControl::DeleteTab(int i) {
    if (i < 0 || i >= TabCount()) throw Exception(Format("Tab index out of bounds (%d)", i));
    tabs_.erase(tabs_.begin() + i);
    tabHints_.erase(tabHints_.begin() + i);
    if (HandleAllocated()) Perform(TCM_DELETEITEM, static_cast<WPARAM>(i));
}

void TTabControl::ClearTabs() {
    tabs_.clear();
    tabHints_.clear();
    tabIndex_ = -1;
    if (HandleAllocated()) Perform(TCM_DELETEALLITEMS);
}

int TTabControl::TabIndex() const {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)) : tabIndex_;
}

void TTabControl::SetTabIndex(int i) {
    tabIndex_ = i >= 0 && i < TabCount() ? i : -1;
    if (HandleAllocated()) Perform(TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_));
}

RECT TTabControl::DisplayRect() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

std::string TTabControl::HintAt(POINT client, int& part) const {
    TCHITTESTINFO hit{client, 0};
    const int tab = HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) : -1;
    if (tab >= 0 && tab < TabCount() && !tabHints_[static_cast<size_t>(tab)].empty()) {
        part = tab;
        return tabHints_[static_cast<size_t>(tab)];
    }
    return TWinControl::HintAt(client, part);
}

bool TTabControl::Notify(NMHDR* header, LRESULT& result) {
    if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        tabIndex_ = TabIndex();
        if (OnChange) OnChange(this);
        return true;
    }
    return false;
}

// ---- TTabSheet and TPageControl

TTabSheet::TTabSheet(TPageControl* pageControl) : TWinControl(pageControl), pageControl_(pageControl) {
    SetVisible(false);
    pageControl_->pages_.push_back(this);
}

TTabSheet::~TTabSheet() {
    if (pageControl_->Destroying()) return;
    // The page takes its tab with it.
    const int i = PageIndex();
    auto& pages = pageControl_->pages_;
    pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
    if (i < pageControl_->TabCount()) pageControl_->DeleteTab(i);
    pageControl_->ShowActivePage();
}

int TTabSheet::PageIndex() const {
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfTabSheet";
    p.Style |= WS_CLIPCHILDREN;
}

TPageControl::TPageControl(TWinControl* parent) : TTabControl(parent) {}

TPageControl::~TPageControl() { BeginDestroy(); }

TTabSheet* TPageControl::AddPage(const std::string& caption) {
    auto* page = new TTabSheet(this);
    page->SetCaption(caption);
    AddTab(caption);
    if (HandleAllocated()) PlacePages();
    if (TabIndex() < 0) SetActivePageIndex(0);
    return page;
}

TTabSheet* TPageControl::ActivePage() const {
    const int i = TabIndex();
    return i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) { SetActivePageIndex(page ? page->PageIndex() : -1); }

void TPageControl::SetActivePageIndex(int i) {
    SetTabIndex(i);
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    TTabSheet* active = ActivePage();
    for (TTabSheet* p : pages_)
        if (p != active) p->Hide();
    if (active) active->Show();
}

void TPageControl::PlacePages() {
    const RECT r = DisplayRect();
    for (TTabSheet* p : pages_) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::WndCreated() {
    TTabControl::WndCreated();
    PlacePages();
    ShowActivePage();
}

void TPageControl::Resized() {
    TTabControl::Resized();
    if (HandleAllocated()) PlacePages();
}

bool TPageControl::Notify(NMHDR* header, LRESULT& result) {
    // The page changes before OnChange runs.
    if (header->code == static_cast<UINT>(TCN_SELCHANGE)) ShowActivePage();
    return TTabControl::Notify(header, result);
}

// ---- TAnimate

TAnimate::TAnimate(TWinControl* parent) : TWinControl(parent) {
    InitCommonControlsOnce();
    SetBounds(0, 0, 100, 80);
}

void TAnimate::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = ANIMATE_CLASSA;
    p.WinClassName = "QfAnimate";
    p.Style |= ACS_CENTER;
    if (Transparent) p.Style |= ACS_TRANSPARENT;
}

void TAnimate::SetCommonAVI(TCommonAVI a) {
    const bool was = active_;
    SetActive(false);
    commonAVI_ = a;
    if (a != aviNone) fileName_.clear();
    if (was) SetActive(true);
}

void TAnimate::SetFileName(const std::string& f) {
    const bool was = active_;
    SetActive(false);
    fileName_ = f;
    if (!f.empty()) commonAVI_ = aviNone;
    if (was) SetActive(true);
}

bool TAnimate::Open() {
    // The shell's clips by their resource numbers.
    static const WORD kResources[] = {0, 150, 151, 152, 160, 161, 162, 163, 164};
    if (commonAVI_ != aviNone) {
        HINSTANCE shell = LoadLibraryA("shell32.dll");
        return shell && Perform(ACM_OPENA, reinterpret_cast<WPARAM>(shell),
                                reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(kResources[commonAVI_])));
    }
    return !fileName_.empty() && Perform(ACM_OPENA, 0, reinterpret_cast<LPARAM>(fileName_.c_str()));
}

void TAnimate::SetActive(bool a) {
    if (!a) {
        if (active_ && HandleAllocated()) {
            Perform(ACM_STOP);
            Perform(ACM_OPENA, 0, 0);  // closes the clip
        }
        active_ = false;
        return;
    }
    if (active_) return;
    if (!Open()) return;
    const UINT repeat = Repetitions > 0 ? static_cast<UINT>(Repetitions) : static_cast<UINT>(-1);
    const WORD from = static_cast<WORD>(std::max(0, StartFrame - 1));
    const WORD to = StopFrame > 0 ? static_cast<WORD>(StopFrame - 1) : static_cast<WORD>(-1);
    active_ = Perform(ACM_PLAY, repeat, MAKELPARAM(from, to)) != 0;
}
