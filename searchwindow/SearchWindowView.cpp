// TSearchWindow: toolbar commands, search files, and the session's view.
#include <windows.h>
#include <commdlg.h>
#undef GetFileTitle  // the masks helper of that name, not the dialog function

#include "masks/core/FileNames.h"
#include "masks/core/MaskParseError.h"
#include "searchwindow/SearchWindow.h"
#include "ui/core/Prompter.h"
#include "runtime/Application.h"
#include "searchwindow/core/RunStateControls.h"

namespace {
const char* const kSearchFilter = "Searches (*.search)|*.search|All Files (*.*)|*.*";
std::string RemoveExtension(const std::string& name) { return name.substr(0, name.find('.')); }
}  // namespace

void TSearchWindow::Run(WindowCommand command) {
    // Refused while a close or a new search waits for the crawl (its wait
    // pumps messages) or another command's dialog is up.
    if (!session_ || commandDepth_ > 0 || session_->Busy()) return;
    CommandDepthScope depth(commandDepth_);
    if (RefusedWhileRunning(command) && search_->Status() != 0) {
        Prompter().ShowMessageBox(kNotAllowedText, "", MB_OK);
        return;
    }
    CallGuarded(this, [&] {
        switch (command) {
        case WindowCommand::NewSearch:
            if (session_->AskSaveChanges() && session_->NewSearch()) {
                SetCaption(RemoveExtension(AppTitle));
                session_->SearchModified = found_.SearchModified = false;
            }
            break;
        case WindowCommand::OpenSearch: OpenSearch(false); break;
        case WindowCommand::MergeSearch: OpenSearch(true); break;
        case WindowCommand::SaveSearch: SaveSearch(); break;
        case WindowCommand::SaveSearchAs: SaveSearchAs(); break;
        case WindowCommand::NewAndMergeSearch: {
            // The file is chosen first: a cancelled dialog leaves the search whole.
            std::string file;
            if (AskSearchFile(true, file) && session_->AskSaveChanges() && session_->NewSearch()) MergeFile(file);
            break;
        }
        case WindowCommand::RebuildFoundList: RefreshFoundList(true); break;
        case WindowCommand::EditFilter: EditFilter(); break;
        case WindowCommand::NewMask: NewMask(); break;
        case WindowCommand::OpenMask: OpenMask(); break;
        case WindowCommand::SaveMaskAs: SaveMaskAs(); break;
        case WindowCommand::CopyMasks: CopyMasks(); break;
        case WindowCommand::PasteMasks: PasteMasks(); break;
        case WindowCommand::DeleteMasks: DeleteSelectedMasks(); break;
        case WindowCommand::CutMasks:
            CopyMasks();
            DeleteSelectedMasks();
            break;
        case WindowCommand::ReportValues: BuildReport(false); break;
        case WindowCommand::ReportUniqueValues: BuildReport(true); break;
        case WindowCommand::FoundViewLarge: SetFoundListView(0); break;
        case WindowCommand::FoundViewSmall: SetFoundListView(1); break;
        case WindowCommand::FoundViewList: SetFoundListView(2); break;
        case WindowCommand::MaskViewLarge: SetMaskListView(0); break;
        case WindowCommand::MaskViewSmall: SetMaskListView(1); break;
        case WindowCommand::MaskViewList: SetMaskListView(2); break;
        default: break;
        }
    });
}

bool TSearchWindow::SaveSearchAs() {
    TFileDialogRequest r;
    r.Title = "Save Search As";
    r.DefaultExt = "search";
    r.Filter = kSearchFilter;
    r.InitialDir = session_->SearchFolder;
    r.Options = OFN_HIDEREADONLY;
    if (!Prompter().SaveFileDialog(r) || r.FileName.empty()) return false;
    session_->SearchFolder = GetFileDir(r.FileName);
    if (GetFileAttributesA(r.FileName.c_str()) != INVALID_FILE_ATTRIBUTES &&
        Prompter().ShowMessageBox(OverwriteQuestion(r.FileName), "Save file", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    session_->SearchFile = r.FileName;
    return SaveSearch();
}

bool TSearchWindow::SaveSearch() {
    if (session_->SearchFile.empty()) return SaveSearchAs();
    WindowState state = session_->CollectState(address_->Text(), CaptionMaskName);
    // The views of the three lists are the window's own.
    state.FoundListView = FoundListView;
    state.MaskListView = MaskListView;
    state.PropertyListView = PropertyListView;
    if (db_->Save(session_->SearchFile, PutUserData(state, session_->Masks)) == 0) {
        Message("Can not save search database - " + session_->SearchFile, "Error", MessageIcon::None);
        return false;
    }
    session_->SearchModified = found_.SearchModified = false;
    const std::string c = Caption();
    if (!c.empty() && c.back() == '*') SetCaption(c.substr(0, c.size() - 1));
    return true;
}

bool TSearchWindow::AskSearchFile(bool merge, std::string& file) {
    TFileDialogRequest r;
    r.Title = "Open Search";
    r.DefaultExt = "search";
    r.Filter = merge ? kSearchFilter : "Searches (*.search)|*.search|Search profiles (*.spf)|*.spf|All Files (*.*)|*.*";
    r.InitialDir = session_->SearchFolder;
    r.Options = OFN_HIDEREADONLY;
    if (!Prompter().OpenFileDialog(r) || r.FileName.empty()) return false;
    file = r.FileName;
    session_->SearchFolder = GetFileDir(file);
    return true;
}

void TSearchWindow::MergeFile(const std::string& file) {
    std::string ignored;
    SetStatus(1, "Reading - " + file);
    const int32_t added = db_->AddFile(file, ignored);
    SetStatus(1, "Reading - complete");
    if (added == 0) {
        Message("Can not open search database - " + file, "Error", MessageIcon::None);
        return;
    }
    // Cleared marks put every record in again: the list is rebuilt, or
    // the records already shown would be listed twice.
    RefreshFoundList(true);
}

void TSearchWindow::RefreshFoundList(bool clearAll) {
    if (clearAll) {
        found_.Clear();
        FoundList::ClearRecordMarks(*db_);
    } else {
        FoundList::ClearRecordListMarks(*db_);
    }
    if (found_.FillFoundList(*db_, session_->Masks, session_->Filters).Modified) MarkCaption();
    SetStatus(1, "Complete");
}

void TSearchWindow::OpenSearch(bool merge) {
    std::string file;
    if (!AskSearchFile(merge, file)) return;
    if (merge) {
        MergeFile(file);
        return;
    }
    // The file is read into a scratch database first: a file the engine
    // refuses, or whose user data is malformed, changes nothing here.
    std::string userData;
    bool readable = false;
    try {
        TDispatchDriver scratch = TDispatchDriver::CreateObject(progIdPrefix_ + ".InfoDatabase");
        scratch.Call("Create");
        readable = scratch.Call("Open", {file, Out(userData)}).AsLong() != 0;
        scratch.Call("Destroy");
        if (readable) ParseUserData(userData);
    } catch (const MaskParseError&) {
        readable = false;
    }
    if (!readable) {
        Message("Can not open search database - " + file, "Error", MessageIcon::None);
        return;
    }
    if (!session_->AskSaveChanges() || !session_->NewSearch()) return;
    SetStatus(1, "Reading - " + file);
    if (db_->Open(file, userData) == 0) {
        Message("Can not open search database - " + file, "Error", MessageIcon::None);
        return;
    }
    SetStatus(1, "Reading - complete");
    session_->SearchFile = file;
    const SearchUserData d = session_->ApplyUserData(userData);
    address_->SetText(d.State.StartAddress);
    formatTable_->SetText(session_->FormatTableAddress);
    CaptionMaskName = found_.CaptionMaskName = d.State.CaptionMaskName;
    SetFoundListView(d.State.FoundListView);
    SetMaskListView(d.State.MaskListView);
    SetPropertyListView(d.State.PropertyListView);
    FillMaskList();
    FillPropertiesList();
    RefreshFoundList(true);
    session_->SearchModified = found_.SearchModified = false;
    SetCaption(RemoveExtension(GetFileTitle(file)) + " - " + AppTitle);
}

void TSearchWindow::ShowSetting(Spinner which, const std::string& text) {
    settingText_ = true;
    settingEdits_[static_cast<int>(which)]->SetText(text);
    settingText_ = false;
}

void TSearchWindow::ShowProtocolBox(int which, bool checked) { protocolBoxes_[which]->SetChecked(checked, true); }
void TSearchWindow::ShowPriority(int32_t priority) {
    // The button's click puts the same priority back, as choosing it does.
    if (priority >= -1 && priority <= 1)
        priorityButtons_[1 - priority]->SetChecked(true);
    else
        for (TRadioButton* b : priorityButtons_) b->SetChecked(false, true);
}
void TSearchWindow::ShowExternalLinksBox(bool checked) { externalLinks_->SetChecked(checked, true); }

void TSearchWindow::ShowRunState(SearchRunState state) {
    const RunControls c = ControlsFor(state);
    start_->SetCaption(c.StartCaption);
    start_->Hint = c.StartToolTip;
    start_->SetEnabled(c.StartEnabled);
    merge_->SetEnabled(c.MergeEnabled);
    for (const char* key : {"New", "Open", "Cut", "Paste"})
        propertyToolbar_->FindButton(key)->SetEnabled(c.MaskNewOpenCutPaste);
    for (TCheckBox* b : protocolBoxes_) b->SetEnabled(c.ProtocolBoxes);
    settingEdits_[0]->SetEnabled(c.ChannelCount);
    settingSpins_[static_cast<int>(Spinner::ChannelCount)]->SetEnabled(c.ChannelCount);
    formatTable_->SetEnabled(c.FormatTable);
    formatTableButton_->SetEnabled(c.FormatTable);
    suspend_->SetEnabled(c.SuspendBox);
    suspend_->SetCaption(c.SuspendCaption);
    suspend_->Hint = c.SuspendToolTip;
    if (state == SearchRunState::Idle) FollowStartAddress();
    if (c.StatusText) SetStatus(1, c.StatusText);
    // However the run ended (the fill timer, or a close or new search that
    // waited for it), its timers end with it.
    if (state == SearchRunState::Idle) StopRunTimers();
    if (state == SearchRunState::Running && session_) {
        traffic_->SetCaption(session_->Traffic.TrafficLine());
        total_->SetCaption(session_->Traffic.TotalLine());
    }
}

void TSearchWindow::ClearFoundList() {
    // The database is emptied too: no record is on view any more.
    found_.Clear();
    currentRecord_ = -1;
}

void TSearchWindow::ShowMasks() {
    FillMaskList();
    FillPropertiesList();
}

void TSearchWindow::Message(const std::string& text, const std::string& title, MessageIcon icon) {
    Prompter().ShowMessageBox(text, title, MB_OK | (icon == MessageIcon::Critical ? MB_ICONSTOP : 0));
}

SaveAnswer TSearchWindow::AskSave(const std::string& question) {
    switch (Prompter().ShowMessageBox(question, AppTitle, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return SaveAnswer::Yes;
    case IDNO: return SaveAnswer::No;
    default: return SaveAnswer::Cancel;
    }
}

void TSearchWindow::Pump(int ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms), QS_ALLINPUT);
    Application->ProcessMessages();
}

void TSearchWindow::ShowPromotion() {
    if (!PromotionAddress.empty()) promotion_->Navigate(PromotionAddress);
}
