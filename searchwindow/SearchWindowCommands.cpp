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
}  // namespace

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
        Message("Can not initialize search", "Error");
        return false;
    }
    db_ = std::make_unique<DatabaseDispatch>(dbDriver_);
    search_ = std::make_unique<SearchEngineDispatch>(searchDriver_, progIdPrefix);
    session_ = std::make_unique<SearchSession>(*search_, *db_, *this);
    const std::string folder = ProgramFolder();
    session_->FormatTableAddress = "file://" + folder + "\\" + "Resource/HTML.ftbl";
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
    return true;
}

bool TSearchWindow::Unload() {
    if (!session_) return true;
    bool done = true;
    CallGuarded(this, [&] {
        if (search_->Status() != 0) SetStatus(1, "Finishing task...");
        done = session_->Unload();
        if (done) SetStatus(1, "Done");
    });
    if (!done) {
        SetStatus(1, "");
        return false;
    }
    session_.reset();
    search_.reset();
    db_.reset();
    dbDriver_.Release();
    searchDriver_.Release();
    return true;
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
    if (!session_) return;
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
    CallGuarded(this, [this] {
        if (fillCursor_ < 0) fillCursor_ = db_->CreateCursor();
        if (db_->TestCursor(fillCursor_)) {
            const FoundListEvents ev = found_.AddFoundRecord(*db_, fillCursor_, session_->Masks, session_->Filters);
            db_->NextRecord(fillCursor_);
            SyncFoundList();
            if (ev.Modified) MarkCaption();
            if (ev.FirstSelected) {
                currentRecordKey_ = ev.SelectedKey;
                const int at = found_.IndexOfKey(ev.SelectedKey);
                if (at >= 0) foundList_->Select(at);
            }
            if (ev.CountChanged) SetStatus(2, "Found " + std::to_string(found_.ShownFoundCount));
            if (!ev.StatusText.empty()) SetStatus(1, ev.StatusText);
        } else {
            db_->DestroyCursor(fillCursor_);
            fillCursor_ = DatabaseCalls::kNoCursor;
        }
        if (session_->PollEnd()) {
            if (fillCursor_ >= 0) db_->DestroyCursor(fillCursor_);
            fillCursor_ = DatabaseCalls::kNoCursor;
            fillTimer_.SetEnabled(false);
            startButtonTimer_.SetEnabled(false);
            FoundList::ClearRecordListMarks(*db_);
            const FoundListEvents ev = found_.FillFoundList(*db_, session_->Masks, session_->Filters);
            SyncFoundList();
            if (ev.Modified) MarkCaption();
            SetStatus(2, "Found " + std::to_string(db_->Size()));
            SetStatus(1, "Complete");
        }
    });
}

void TSearchWindow::SyncFoundList() {
    const auto& items = found_.Items();
    if (foundList_->Count() != static_cast<int>(items.size())) {
        // A sorted insert moves the items after it: lay the list out again.
        const int selected = foundList_->Selected();
        const LPARAM key = selected >= 0 ? foundList_->TagOf(selected) : -1;
        foundList_->Perform(WM_SETREDRAW, FALSE);
        foundList_->Clear();
        for (size_t i = 0; i < items.size(); ++i)
            foundList_->Insert(static_cast<int>(i), items[i].Text, FoundImage(items[i].Icon), items[i].Key);
        if (key >= 0 && found_.IndexOfKey(static_cast<int32_t>(key)) >= 0)
            foundList_->Select(found_.IndexOfKey(static_cast<int32_t>(key)));
        foundList_->Perform(WM_SETREDRAW, TRUE);
        foundList_->Invalidate();
        return;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const int at = static_cast<int>(i);
        if (foundList_->GetText(at) != items[i].Text) foundList_->SetText(at, 0, items[i].Text);
        foundList_->SetImage(at, FoundImage(items[i].Icon));
    }
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
    }
    PropertyTable table;
    table.Columns.push_back(m.MaskName);
    const int32_t c = db_->FindRecordByKey(currentRecordKey_);
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
    Relayout();
    SizePropertyColumns();
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
    if (sel < 0 || row < 0 || currentRecordKey_ < 0 || !propertyBrowser_->Visible()) return;
    const int32_t index = static_cast<int32_t>(propertiesList_->TagOf(sel));
    if (index < 1 || index > session_->Masks.Count()) return;
    const int32_t c = db_->FindRecordByKey(currentRecordKey_);
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
