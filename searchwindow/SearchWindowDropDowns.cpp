// TSearchWindow: the main toolbar's drop-down menus, the found list's keys,
// and the format table's file dialog.
#include <windows.h>
#include <commdlg.h>

#include "masks/core/FileNames.h"
#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"
#include "ui/core/Prompter.h"

#undef GetFileTitle  // the masks helper of that name, not the dialog function

std::vector<DropDownEntry> TSearchWindow::DropDownEntries(const std::string& buttonKey) {
    if (!session_) return {};
    return MainDropDownEntries(buttonKey, session_->Masks, CaptionMaskName, FoundListView);
}

void TSearchWindow::FillDropDown(const std::string& key, TPopupMenu* menu) {
    menu->Items()->Clear();
    for (const DropDownEntry& e : DropDownEntries(key)) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(e.Text);
        item->Tag = e.Tag;
        item->OnClick = [this, e](TObject*) { CallGuarded(this, [&] { DropDownClick(e); }); };
        menu->Items()->Add(item);
    }
}

void TSearchWindow::DropDownClick(const DropDownEntry& entry) {
    if (!session_) return;
    const WindowCommand byKey = MainMenuCommand(entry.Key);
    if (byKey != WindowCommand::None) Run(byKey);
    const TagAction a = MenuTagAction(entry.Tag, session_->Masks.Count());
    if (a.kind == TagAction::SortAt) {
        session_->Masks.SetSortAt(static_cast<int16_t>(a.Value));
        RefreshFoundList(true);
    } else if (a.kind == TagAction::CaptionMask) {
        SetCaptionMask(session_->Masks.Item(a.Value).MaskName);
    }
}

void TSearchWindow::SetCaptionMask(const std::string& name) {
    if (name == CaptionMaskName) return;
    CaptionMaskName = found_.CaptionMaskName = name;
    RefreshFoundList(false);
}

void TSearchWindow::FoundListKey(WORD key, TShiftState shift) {
    const WindowCommand c = FoundListKeyCommand(key, (shift & ssCtrl) != 0);
    // The keys change the list's view only, not the menu's marks.
    if (c == WindowCommand::FoundViewLarge || c == WindowCommand::FoundViewSmall || c == WindowCommand::FoundViewList)
        foundList_->SetView(static_cast<int>(c) - static_cast<int>(WindowCommand::FoundViewLarge));
    else if (c != WindowCommand::None)
        Run(c);
}

void TSearchWindow::OpenFormatTable() {
    TFileDialogRequest r;
    r.Title = "Open format table";
    r.DefaultExt = "ftbl";
    r.Filter = "Format tables (*.ftbl)|*.ftbl|All Files (*.*)|*.*";
    r.Options = OFN_HIDEREADONLY;
    const std::string& address = session_->FormatTableAddress;
    if (address.compare(0, 7, "file://") == 0) r.InitialDir = GetFileDir(address.substr(7));
    // The name is always cleared: a name left from another dialog would load another table.
    r.FileName.clear();
    if (!Prompter().OpenFileDialog(r) || r.FileName.empty()) return;
    session_->FormatTableAddress = "file://" + r.FileName;
    formatTable_->SetText(session_->FormatTableAddress);
    session_->LoadFormatTable();
}
