// TSearchWindow: the load and close, the commands, and what the session shows.
#include <windows.h>
#include <commctrl.h>

#include "masks/core/FileNames.h"
#include "masks/core/MaskParseError.h"
#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"
#include "searchwindow/AboutBox.h"
#include "searchwindow/core/StartAddress.h"
#include "searchwindow/core/PropertyTable.h"
#include "searchwindow/core/RunStateControls.h"

namespace {
std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of("\\/"));
}

// The found list's pictures: not known yet light grey, connected green, not connected red.
int FoundImage(int icon) { return icon == 2 ? 2 : icon == 3 ? 3 : 0; }

int g_openSearchWindows = 0;  // the last one closed ends the program

}  // namespace

int TSearchWindow::OpenWindows() { return g_openSearchWindows; }

void TSearchWindow::WindowClosed() { Uncount(true); }

void TSearchWindow::Uncount(bool quitWhenLast) {
    if (!counted_) return;
    counted_ = false;
    if (--g_openSearchWindows <= 0 && quitWhenLast) PostQuitMessage(0);
}

bool TSearchWindow::Load(const std::string& progIdPrefix) {
    progIdPrefix_ = progIdPrefix;
    std::unique_ptr<TSplashForm> splash;
    if (!IsNewWindow) {
        splash = std::make_unique<TSplashForm>();
        splash->Show();
        splash->Update();
    }
    Handle();
    SetUpImages();
    if (!BindEngine(progIdPrefix, dbDriver_, searchDriver_)) {
        Message("Can not initialize search", "Error", MessageIcon::Critical);
        return false;
    }
    db_ = std::make_unique<DatabaseDispatch>(dbDriver_);
    search_ = std::make_unique<SearchEngineDispatch>(searchDriver_, progIdPrefix);
    session_ = std::make_unique<SearchSession>(*search_, *db_, *this);
    const std::string folder = ProgramFolder();
    session_->FormatTableAddress = "file://" + folder + "\\" + "Resource/HTML.ftbl";
    session_->MasksFolder = folder + "\\Masks\\";
    found_.SetSink(this);
    help_->HomeAddress = "file://" + folder + "\\" + "Help/index.html";
    help_->GoHome();
    if (PromotionAddress.empty()) PromotionAddress = "file://" + folder + "\\" + "Help/promotion.html";
    formatTable_->SetText(session_->FormatTableAddress);
    CallGuarded(this, [this] { session_->Load(); });
    FillMaskList();
    FillPropertiesList();
    SelectPanel(1);
    ShowRunState(SearchRunState::Idle);
    SetStatus(1, "");
    Relayout();
    counted_ = true;
    ++g_openSearchWindows;
    return true;
}

bool TSearchWindow::Unload() {
    if (!session_) return true;
    // A close while a command (a new search waiting for the crawl, a save
    // dialog) is under way would free what that command still uses.
    if (commandDepth_ > 0 || session_->Busy()) return false;
    // So would a close while a page loads (its wait pumps messages): the loads
    // stop and this close is refused; the next one goes through.
    bool loading = false;
    for (TBrowserPane* pane : {content_, propertyBrowser_, help_})
        if (pane && pane->Loading()) {
            pane->Stop();
            loading = true;
        }
    if (loading) return false;
    CommandDepthScope command(commandDepth_);
    StopRunTimers();
    trafficTimer_.SetEnabled(false);
    // A save that fails or throws keeps the window open (with its message).
    bool done = false;
    CallGuarded(this, [&] {
        if (search_->Status() != 0) SetStatus(1, "Finishing task...");
        done = session_->Unload();
        if (done) SetStatus(1, "Done");
    });
    if (!done) {
        SetStatus(1, "");
        trafficTimer_.SetEnabled(true);
        if (session_->RunState != SearchRunState::Idle) {
            fillTimer_.SetEnabled(true);
            startButtonTimer_.SetEnabled(true);
        }
        return false;
    }
    session_.reset();
    search_.reset();
    db_.reset();
    dbDriver_.Release();
    searchDriver_.Release();
    return true;
}

void TSearchWindow::StopRunTimers() {
    fillTimer_.SetEnabled(false);
    startButtonTimer_.SetEnabled(false);
    if (fillCursor_ >= 0 && db_) db_->DestroyCursor(fillCursor_);
    fillCursor_ = DatabaseCalls::kNoCursor;
}

bool TSearchWindow::HandleMessage(TMessage& m) {
    if (m.Msg == WM_CLOSE) {
        if (!Unload()) {
            m.Result = 0;
            return true;
        }
        WindowClosed();
    }
    return TForm::HandleMessage(m);
}

void TSearchWindow::StartClick(bool merge) {
    if (!session_ || commandDepth_ > 0 || session_->Busy()) return;
    CommandDepthScope command(commandDepth_);
    const std::string typed = address_->Text();
    std::string address = typed;
    NormalizeAddress(address);
    const bool running = search_->Status() != 0;
    if (!running && !typed.empty()) {
        // The box collects every address started and shows the one now taken.
        address_->Items().Add(address);
        address_->SetText(address);
    }
    if (session_->StartSearch(typed, merge)) {
        found_.FirstFoundPending = true;
        stopFrame_ = 0;
        found_.ShownFoundCount = 0;
        fillTimer_.SetEnabled(true);
        startButtonTimer_.SetEnabled(true);
        if (!typed.empty()) address_->Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    } else if (running && !merge) {
        SetStatus(1, "Finishing task...");
    }
}

void TSearchWindow::FillTick() {
    // After the close, or while a close or a new search waits: nothing to fill.
    if (!session_ || !db_ || session_->Busy()) return;
    CallGuarded(this, [this] {
        if (fillCursor_ < 0) {
            fillCursor_ = db_->CreateCursor();
            fillRecord_ = 0;
        }
        if (db_->TestCursor(fillCursor_)) {
            const FoundListEvents ev =
                found_.AddFoundRecord(*db_, fillCursor_, fillRecord_, session_->Masks, session_->Filters);
            db_->NextRecord(fillCursor_);
            ++fillRecord_;
            if (ev.Modified) MarkCaption();
            if (ev.FirstSelected) {
                const int at = found_.IndexOfRecord(ev.SelectedRecord);
                if (at >= 0) foundList_->Select(at);
            }
            if (ev.CountChanged) SetStatus(2, "Found " + std::to_string(found_.ShownFoundCount));
            if (!ev.StatusText.empty()) SetStatus(1, ev.StatusText);
        } else {
            db_->DestroyCursor(fillCursor_);
            fillCursor_ = DatabaseCalls::kNoCursor;
        }
        if (session_->PollEnd()) {
            StopRunTimers();
            FoundList::ClearRecordListMarks(*db_);
            const FoundListEvents ev = found_.FillFoundList(*db_, session_->Masks, session_->Filters);
            if (ev.Modified) MarkCaption();
            SetStatus(2, "Found " + std::to_string(db_->Size()));
            SetStatus(1, "Complete");
        }
    });
}

void TSearchWindow::FoundInserted(int32_t at, const FoundItem& item) {
    ++foundInserts_;
    foundList_->Insert(at, item.Text, FoundImage(item.Icon), item.Record);
}

void TSearchWindow::FoundChanged(int32_t at, const FoundItem& item) {
    if (foundList_->GetText(at) != item.Text) foundList_->SetText(at, 0, item.Text);
    foundList_->SetImage(at, FoundImage(item.Icon));
}

void TSearchWindow::FoundCleared() {
    ++foundClears_;
    foundList_->Clear();
}

int32_t TSearchWindow::OpenCurrentRecord() {
    if (!db_) return DatabaseCalls::kNoCursor;
    return FoundList::OpenRecord(*db_, currentRecord_);
}

void TSearchWindow::MarkCaption() {
    // The found list's first change is the search's: closing then asks to save.
    session_->SearchModified = true;
    const std::string c = Caption();
    if (c.empty() || c.back() != '*') SetCaption(c + "*");
}

void TSearchWindow::ShowPropertiesOfCurrent() {
    contentList_->Clear();
    contentList_->ClearColumns();
    const int sel = propertiesList_->Selected();
    if (sel < 0 || !db_) return;
    const int32_t index = static_cast<int32_t>(propertiesList_->TagOf(sel));
    if (index < 1 || index > session_->Masks.Count()) return;
    const SearchMask& m = session_->Masks.Item(index);
    // 0 the list alone, 1 the list over a browser; "with parent only" keeps the layout.
    if (m.BrowserType == 0 || m.BrowserType == 1) {
        propertyBrowser_->SetVisible(m.BrowserType == 1);
        hcontent_->SetVisible(m.BrowserType == 1);
        if (m.BrowserType == 1) PlaceHContentSplitBar(panes_);
    }
    PropertyTable table;
    table.Columns.push_back(m.MaskName);
    const int32_t c = OpenCurrentRecord();
    if (c >= 0) {
        table = BuildPropertyTable(*db_, c, session_->Masks, index);
        db_->DestroyCursor(c);
    }
    // Further columns keep a fixed width; the first takes what they leave.
    constexpr int kOtherColumn = 150;
    for (size_t col = 0; col < table.Columns.size(); ++col)
        contentList_->AddColumn(table.Columns[col], col == 0 ? 100 : kOtherColumn);
    for (size_t r = 0; r < table.Rows.size(); ++r) {
        const PropertyRow& row = table.Rows[r];
        const int at = static_cast<int>(r);
        contentList_->Insert(at, row.Cells[0], -1, row.ValueNumber);
        for (size_t col = 1; col < row.Cells.size(); ++col)
            if (!row.Cells[col].empty()) contentList_->SetText(at, static_cast<int>(col), row.Cells[col]);
    }
    Relayout();  // which sizes the columns
}

void TSearchWindow::SizePropertyColumns() {
    const HWND header = reinterpret_cast<HWND>(contentList_->Perform(LVM_GETHEADER));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (columns < 1) return;
    std::vector<float> others;
    for (int i = 1; i < columns; ++i)
        others.push_back(static_cast<float>(contentList_->Perform(LVM_GETCOLUMNWIDTH, i)) * 15);
    const float first = PropertyFirstColumnWidth(static_cast<float>(contentList_->Width()) * 15, others);
    if (first > 0) contentList_->Perform(LVM_SETCOLUMNWIDTH, 0, static_cast<int>(first / 15 + 0.5f));
}

void TSearchWindow::ShowSelectedValue() {
    const int sel = propertiesList_->Selected(), row = contentList_->Selected();
    if (sel < 0 || row < 0 || currentRecord_ < 0 || !propertyBrowser_->Visible()) return;
    const int32_t index = static_cast<int32_t>(propertiesList_->TagOf(sel));
    if (index < 1 || index > session_->Masks.Count()) return;
    const int32_t c = OpenCurrentRecord();
    if (c < 0) return;
    int32_t id = -1;
    const std::string value =
        db_->GetValue(c, session_->Masks.Item(index).MaskName, static_cast<int32_t>(contentList_->TagOf(row)), id);
    db_->DestroyCursor(c);
    if (id < 0) return;
    PropertyPageAddress = value;
    propertyBrowser_->Navigate(value);
}

void TSearchWindow::SetStatus(int panel, const std::string& text) {
    (panel == 1 ? status1_ : status2_)->SetCaption(text);
}
