// TSearchWindow: the masks' views and commands (mask list, property list,
// template files, the template clipboard, the filter and the reports).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "Kestrel_h.h"
#include "OleSysError.h"
#include "WideString.h"
#include <stdexcept>

#include "masks/EditMaskWizard.h"
#include "masks/KesTextFile.h"
#include "masks/core/FileNames.h"
#include "masks/core/MaskFileCommands.h"
#include "masks/core/MaskParseError.h"
#include "masks/core/MaskTexts.h"
#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"
#include "searchwindow/core/MaskListOps.h"
#include "searchwindow/core/MaskReports.h"
#include "ui/core/Prompter.h"

#undef GetFileTitle  // the masks helper of that name, not the dialog function

namespace {
const char* const kMaskFormat = "Search Mask";

// Kestrel's clipboard object, one for each use, as the window binds it.
class KesClipboardObject {
public:
    KesClipboardObject() {
        OleCheck(CoCreateInstance(CLSID_KesClipboard, nullptr, CLSCTX_INPROC_SERVER, IID_IKesClipboard,
                                  reinterpret_cast<void**>(&clip_)),
                 "KesClipboard");
    }
    ~KesClipboardObject() { clip_->Release(); }
    KesClipboardObject(const KesClipboardObject&) = delete;
    KesClipboardObject& operator=(const KesClipboardObject&) = delete;
    std::string Data(const char* format) {
        WideString s;
        OleCheck(clip_->get_Data(WideString::FromAnsi(format).c_bstr(), s.Receive()), "Data");
        return s.ToAnsi();
    }
    void SetData(const char* format, const std::string& text) {
        OleCheck(clip_->put_Data(WideString::FromAnsi(format).c_bstr(), WideString::FromAnsi(text).c_bstr()), "Data");
    }

private:
    IKesClipboard* clip_ = nullptr;
};

class FormReportSink : public ReportSink {
public:
    explicit FormReportSink(TReportListForm& form) : form_(form) {}
    int32_t AddValue(const std::string& text) override { return form_.AddValue(text); }
    void AddSubValue(int32_t row, const std::string& value, const std::string& header) override {
        form_.AddSubValue(row, value, header);
    }
    int32_t GetValueCount() const override { return form_.GetValueCount(); }
    const std::string& GetValue(int32_t row) const override { return form_.GetValue(row); }

private:
    TReportListForm& form_;
};

void ErrorBox(const std::string& text) { Prompter().ShowMessageBox(text, MaskTexts::kError, MB_OK); }

TFileDialogRequest MaskDialog(const char* title, const char* defaultExt, const std::string& fileName,
                              const std::string& folder) {
    TFileDialogRequest r;
    r.Title = title;
    r.DefaultExt = defaultExt;
    r.Filter = MaskTexts::kMaskFileFilter;
    r.FileName = fileName;
    r.InitialDir = folder;
    r.Options = OFN_HIDEREADONLY;
    return r;
}
}  // namespace

void TSearchWindow::AppendMaskItem(TListViewBox* list, int32_t index) {
    const SearchMask& m = session_->Masks.Item(index);
    list->Insert(list->Count(), m.MaskName, m.MaskType >= 0 && m.MaskType < 4 ? m.MaskType : 0, index);
}

void TSearchWindow::FillMaskList() {
    maskList_->Clear();
    for (int32_t i = 1; i <= session_->Masks.Count(); ++i) AppendMaskItem(maskList_, i);
}

void TSearchWindow::FillPropertiesList() {
    propertiesList_->Clear();
    const MaskCollection& masks = session_->Masks;
    for (int32_t i = 1; i <= masks.Count(); ++i)
        if (!masks.Item(i).Hidden && masks.Item(i).BrowserType != 2) AppendMaskItem(propertiesList_, i);
    // The toolbar's Sort and View drop-downs are made from the masks when they open.
}

void TSearchWindow::CopyMasks() {
    std::vector<int32_t> indices;
    for (int i = 0; i < maskList_->Count(); ++i)
        if (maskList_->IsSelected(i)) {
            const int32_t tag = static_cast<int32_t>(maskList_->TagOf(i));
            if (tag >= 1 && tag <= session_->Masks.Count()) indices.push_back(tag);
        }
    if (indices.empty()) return;  // the clipboard keeps what it holds
    // Made first: masks that cannot be put as text leave the clipboard as it was.
    const std::string text = session_->Masks.PutMasks(indices);
    KesClipboardObject clip;
    if (OpenClipboard(Handle())) {
        EmptyClipboard();
        CloseClipboard();
    }
    clip.SetData(kMaskFormat, text);
}

void TSearchWindow::PasteMasks() {
    std::string text = KesClipboardObject().Data(kMaskFormat);
    if (text.empty()) return;
    const int32_t first = session_->Masks.Count() + 1;
    int32_t added = 0;
    try {
        added = session_->Masks.RestoreMasks(text);
    } catch (const MaskParseError&) {
        // Nothing was appended: the masks stay as they were.
        ErrorBox("Can not paste masks");
        return;
    }
    for (int32_t i = first; i < first + added; ++i) AppendMaskItem(maskList_, i);
    if (added == 0) return;
    session_->Masks.Apply(*search_);
    FillPropertiesList();
}

void TSearchWindow::DeleteSelectedMasks() {
    int n = maskList_->Count();
    for (int k = 0; k < n;) {
        if (!maskList_->IsSelected(k)) {
            ++k;
            continue;
        }
        const int32_t tag = static_cast<int32_t>(maskList_->TagOf(k));
        if (tag > 0 && tag <= session_->Masks.Count()) RemoveMaskAt(session_->Masks, session_->Filters, tag);
        maskList_->Delete(k);
        n = maskList_->Count();
        for (int j = k; j < n; ++j) maskList_->SetTag(j, maskList_->TagOf(j) - 1);
    }
    session_->Masks.Apply(*search_);
    FillPropertiesList();
}

void TSearchWindow::EditSelectedMask() {
    if (search_->Status() != 0) {
        Prompter().ShowMessageBox("Can not edit mask, while search is in progress.", "Action Not Allowed",
                                  MB_OK | MB_ICONINFORMATION);
        return;
    }
    const int at = maskList_->Selected();
    if (at < 0) return;
    const int32_t index = static_cast<int32_t>(maskList_->TagOf(at));
    if (index < 1 || index > session_->Masks.Count()) return;
    TEditMaskWizard wizard;
    wizard.ShowDialog(index, session_->Masks, this);
    if (!wizard.Finished()) return;
    const SearchMask& m = session_->Masks.Item(index);
    maskList_->SetText(at, 0, m.MaskName);
    maskList_->SetImage(at, m.MaskType >= 0 && m.MaskType < 4 ? m.MaskType : 0);
    session_->Masks.Apply(*search_);
    FillPropertiesList();
}

void TSearchWindow::NewMask() {
    MaskCollection& masks = session_->Masks;
    const int32_t n = masks.Count() + 1;
    masks.Add("Keyword" + std::to_string(n), "", 0, 0, 0, 2, true, false, -1);
    TEditMaskWizard wizard;
    wizard.ShowDialog(masks.Count(), masks, this);
    if (!wizard.Finished()) {
        masks.Remove(n);
        return;
    }
    masks.Apply(*search_);
    FillPropertiesList();
    FillMaskList();
}

void TSearchWindow::OpenMask() {
    TFileDialogRequest r = MaskDialog(MaskTexts::kOpenMaskTitle, "mask*", "", session_->MasksFolder);
    if (!Prompter().OpenFileDialog(r) || r.FileName.empty()) return;
    KesTextFile file;
    // The template reaches the engine at once (OpenMaskFile applies the masks).
    const int32_t before = session_->Masks.Count();
    const std::string error = OpenMaskFile(session_->Masks, file, *search_, r.FileName);
    if (!error.empty()) {
        ErrorBox(error);
        return;
    }
    // A value longer than a mask string holds could never be saved or
    // copied: such a template is refused here, where it comes in.
    std::vector<int32_t> added;
    for (int32_t i = before + 1; i <= session_->Masks.Count(); ++i) added.push_back(i);
    try {
        session_->Masks.PutMasks(added);
    } catch (const std::length_error&) {
        for (int32_t i = session_->Masks.Count(); i > before; --i) session_->Masks.Remove(i);
        session_->Masks.Apply(*search_);
        ErrorBox(std::string(MaskTexts::kCanNotOpenMask) + " - " + r.FileName);
        return;
    }
    FillMaskList();
    FillPropertiesList();
    session_->MasksFolder = GetFileDir(r.FileName);
}

void TSearchWindow::SaveMaskAs() {
    const int count = maskList_->Count();
    for (int i = 0; i < count; ++i) {
        if (!maskList_->IsSelected(i)) continue;
        const int32_t k = static_cast<int32_t>(maskList_->TagOf(i));
        if (k < 1 || k > session_->Masks.Count()) continue;
        const SearchMask& mask = session_->Masks.Item(k);
        TFileDialogRequest r = MaskDialog(MaskTexts::kSaveMaskTitle, "mask", mask.MaskName, session_->MasksFolder);
        // A cancelled dialog ends the whole loop.
        if (!Prompter().SaveFileDialog(r) || r.FileName.empty()) return;
        const std::string fileName = MaskFileName(r.FileName, mask.MaskType);
        KesTextFile file;
        if (file.CheckExists(fileName) &&
            Prompter().ShowMessageBox(OverwriteQuestion(fileName), MaskTexts::kSaveFile,
                                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            continue;
        const std::string error = SaveMaskFile(mask, file, fileName);
        if (!error.empty()) {
            ErrorBox(error);
            continue;
        }
        maskList_->Deselect(i);
        session_->MasksFolder = GetFileDir(fileName);
    }
}

void TSearchWindow::EditFilter() {
    if (!filterDialog_) {
        addFilterDialog_ = std::make_unique<TAddFilterMaskDialog>(this);
        filterDialog_ = std::make_unique<TFilterDialog>(*addFilterDialog_, this);
    }
    if (::EditFilter(*filterDialog_, session_->Filters, session_->Masks)) RefreshFoundList(true);
}

void TSearchWindow::BuildReport(bool unique) {
    const int sel = propertiesList_->Selected();
    if (sel < 0 || foundList_->Count() < 1) return;
    const int32_t index = static_cast<int32_t>(propertiesList_->TagOf(sel));
    if (index < 1 || index > session_->Masks.Count()) return;
    auto report = std::make_unique<TReportListForm>();
    report->SetReportType(unique ? kUniqueValuesReport : kValuesReport);
    report->SetMaskName(session_->Masks.Item(index).MaskName);
    report->SetRememberedFolder(session_->ReportFolder);
    std::vector<int32_t> keys;
    for (const FoundItem& item : found_.Items()) keys.push_back(item.Key);
    SetStatus(1, "");
    progress_->Perform(PBM_SETRANGE32, 0, static_cast<LPARAM>(keys.size()));
    progress_->Perform(PBM_SETPOS, 0);
    progress_->SetVisible(true);
    FormReportSink sink(*report);
    const auto step = [this] { progress_->Perform(PBM_DELTAPOS, 1); };
    if (unique)
        BuildUniqueValuesReport(*db_, keys, session_->Masks, index, sink, step);
    else
        BuildValuesReport(*db_, keys, session_->Masks, index, sink, step);
    SetStatus(1, "Complete");
    progress_->SetVisible(false);
    if (!unique) report->SizeColumns();
    // A closed report frees itself: the list lets go of it.
    TReportListForm* shown = report.get();
    report->OnClose = [this, shown](TObject*, TCloseAction& action) {
        // The folder a report was saved in is the next report's, and the search's.
        if (session_ && !shown->RememberedFolder().empty()) session_->ReportFolder = shown->RememberedFolder();
        for (auto it = reports_.begin(); it != reports_.end(); ++it)
            if (it->get() == shown) {
                it->release();
                reports_.erase(it);
                action = caFree;
                return;
            }
    };
    report->Show();
    reports_.push_back(std::move(report));
}

void TSearchWindow::MaskListKey(WORD key, TShiftState shift) {
    const WindowCommand c = MaskListKeyCommand(key, (shift & ssCtrl) != 0, (shift & ssShift) != 0);
    if (c != WindowCommand::None) Run(c);
}
